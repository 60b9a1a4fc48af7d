// The program never writes a dictionary it did not load over a language's file: not when the
// start window could not be made (no dictionary was loaded), and not over a file that failed to
// load, which is kept aside under another name and reported once.
#include "../shell/shell_test_support.h"

#include "prediction/dictionary_file.h"
#include "prediction/language_switch.h"
#include "shell/main_window.h"

#include <device/files.h>
#include <device/message_box_probe.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr WCHAR kEnglishDictionary[] = u"\\Program Files\\Tavrel\\english\\db.dat";
constexpr WCHAR kKeptDictionary[] = u"\\Program Files\\Tavrel\\english\\db.dat.bad";

Bytes ReadBytes(const WCHAR* path) {
  HANDLE file = CreateFile(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  Bytes bytes(GetFileSize(file, nullptr));
  DWORD read = 0;
  if (!bytes.empty()) ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  return bytes;
}

void WriteBytes(const WCHAR* path, const Bytes& bytes) {
  HANDLE file = CreateFile(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// A start window class that refuses to be created, registered before the program's own.
LRESULT CALLBACK RefusingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return msg == WM_CREATE ? -1 : DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace

TEST(DictionarySafety, WithoutAStartWindowShutDownLeavesTheDictionaryFileAlone) {
  Bytes before, after;
  const int result = shell_test::RunTavrel(
      [&](device::Driver&) { after = ReadBytes(kEnglishDictionary); },
      [&] {
        before = ReadBytes(kEnglishDictionary);
        WNDCLASSW wc{};
        wc.lpfnWndProc = RefusingProc;
        wc.hInstance = shell_test::TestInstance();
        wc.lpszClassName = kMainWindowClass;
        RegisterClass(&wc);
      });
  UnregisterClass(kMainWindowClass, shell_test::TestInstance());
  EXPECT_EQ(result, 0);
  ASSERT_GT(before.size(), 4u) << "the shipped dictionary is installed";
  EXPECT_EQ(after, before);
}

TEST(DictionarySafety, ADictionaryThatFailedToLoadIsKeptAsideOnceAndANewOneSaved) {
  // A shipped dictionary with one flipped bit in its compressed words.
  Bytes damaged, kept;
  std::u16string message;
  bool boxAfterwards = true;
  const int result = shell_test::RunTavrel(
      [&](device::Driver& d) {
        EXPECT_EQ(ThePredictionEngine().dictionary.WordCount(), 0);  // it did not load
        WCHAR word[] = u"qzxheliotrope";
        ThePredictionEngine().dictionary.LearnWord(word);
        d.Tap(200, 50);  // band 0 right of x 50: close the program, which saves the dictionary
        HWND box = device::FindMessageBox();
        ASSERT_NE(box, nullptr);
        message = device::MessageBoxText(box);
        device::PressMessageBoxButton(box, IDOK);
        d.RunUntilIdle();
        boxAfterwards = device::FindMessageBox() != nullptr;
        kept = ReadBytes(kKeptDictionary);
        WordDictionary saved;
        EXPECT_TRUE(LoadWordDictionary(kEnglishDictionary, saved));
        EXPECT_EQ(saved.CountOf(u"qzxheliotrope"), 1);
      },
      [&] {
        damaged = ReadBytes(kEnglishDictionary);
        ASSERT_GT(damaged.size(), 40u);
        damaged[damaged.size() / 2] ^= 0x10;
        WriteBytes(kEnglishDictionary, damaged);
      });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(message, DictionaryKeptAsideText(kKeptDictionary));
  EXPECT_FALSE(boxAfterwards);
  EXPECT_EQ(kept, damaged);
}
