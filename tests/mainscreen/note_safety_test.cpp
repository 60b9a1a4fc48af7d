// Notes are never lost through the main screen: a note file that could not be read is never
// deleted or saved over, a note without a byte-order mark in UTF-16LE opens whole, and a save
// that fails keeps the screen open with the text until the user tries again or goes Back.
#include "main_screen_fixture.h"

#include "notes/note_files.h"

#include <device/files.h>
#include <device/message_box_probe.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace mainscreen_test;

namespace {

using Bytes = std::string;

void WriteBytes(const WCHAR* path, const Bytes& bytes) {
  CreateDirectory(u"\\My Documents", nullptr);
  CreateDirectory(u"\\My Documents\\Tavrels", nullptr);
  HANDLE file = CreateFile(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

Bytes ReadBytes(const WCHAR* path) {
  HANDLE file = CreateFile(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<missing>";
  Bytes bytes(GetFileSize(file, nullptr), '\0');
  DWORD read = 0;
  if (!bytes.empty()) ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  return bytes;
}

Bytes Utf16Le(std::u16string_view text) {
  Bytes bytes;
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

// The names of the notes folder's files, in the device's order.
std::vector<std::u16string> NoteNames() {
  std::vector<std::u16string> names;
  WIN32_FIND_DATAW found{};
  HANDLE find = FindFirstFile(u"\\My Documents\\Tavrels\\*", &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do names.emplace_back(found.cFileName);
  while (FindNextFile(find, &found));
  FindClose(find);
  return names;
}

// Opens the note file at `path`, written with `bytes` just before, as the notes list does.
struct NoteFileOpening {
  EditRequest request{};
  Opening opening;
  NoteFileOpening(const WCHAR* path, const Bytes& bytes) {
    CopyBounded(request.text, kEditTextRoom, path);
    opening.editMode = kEditNotesList;
    opening.request = &request;
    opening.beforeOpening = [path, bytes](SettingsBlock&) { WriteBytes(path, bytes); };
  }
};

// The open message box's text, after which OK is pressed; empty when no box is open.
std::u16string AnswerMessageBox(device::Driver& d) {
  HWND box = device::FindMessageBox();
  if (box == nullptr) return {};
  const std::u16string text = device::MessageBoxText(box);
  EXPECT_EQ(device::MessageBoxCaption(box), u"tavrel");
  device::PressMessageBoxButton(box, IDOK);
  d.RunUntilIdle();
  return text;
}

constexpr WCHAR kBinaryNote[] = u"\\My Documents\\Tavrels\\Binary.pwi";
const Bytes kBinaryBytes("\0\x01\x02\x03 binary data\xFF", 17);

}  // namespace

TEST(NoteSafety, SaveOnAnUnreadableNoteKeepsTheFileAndSaysSo) {
  NoteFileOpening note(kBinaryNote, kBinaryBytes);
  std::u16string message;
  Bytes after;
  std::vector<std::u16string> names;
  const int result = RunMainScreen(note.opening, [&](device::Driver& d) {
    EXPECT_EQ(EditorText(d), u"");
    TapMenu(d, 3);  // "Save"
    message = AnswerMessageBox(d);
    EXPECT_EQ(Screen(d), nullptr);
    after = ReadBytes(kBinaryNote);
    names = NoteNames();
  });
  EXPECT_EQ(message, kNoteUnreadableMessage);
  EXPECT_EQ(after, kBinaryBytes);
  EXPECT_EQ(result, 0);  // nothing was saved
  EXPECT_EQ(names, std::vector<std::u16string>{u"Binary.pwi"});
}

TEST(NoteSafety, TextTypedIntoAnUnreadableNoteIsSavedBesideIt) {
  // A file with the mark whose first character is the terminator: bytes, but no text.
  const Bytes bytes("\xFF\xFE\0\0garbage", 11);
  NoteFileOpening note(u"\\My Documents\\Tavrels\\Hi.pwi", bytes);
  std::u16string message;
  const int result = RunMainScreen(note.opening, [&](device::Driver& d) {
    TypeWord(d, u"Hi");  // the name the unreadable file already has
    TapMenu(d, 3);
    message = AnswerMessageBox(d);
    EXPECT_EQ(ReadBytes(u"\\My Documents\\Tavrels\\Hi.pwi"), bytes);
    EXPECT_EQ(ReadBytes(u"\\My Documents\\Tavrels\\Hi (2).pwi"), Bytes("\xFF\xFE", 2) + Utf16Le(u"Hi") + Bytes(2, '\0'));
  });
  EXPECT_EQ(message, kNoteUnreadableMessage);
  EXPECT_EQ(result, 1);
}

TEST(NoteSafety, ANoteReadAndEmptiedByTheUserIsDeletedOnSave) {
  constexpr WCHAR kPath[] = u"\\My Documents\\Tavrels\\Ab.pwi";
  NoteFileOpening note(kPath, Bytes("\xFF\xFE", 2) + Utf16Le(u"Ab") + Bytes(2, '\0'));
  std::u16string message = u"none";
  const int result = RunMainScreen(note.opening, [&](device::Driver& d) {
    EXPECT_EQ(EditorText(d), u"Ab");
    SendInput(d, kInputBackspace);
    SendInput(d, kInputBackspace);
    TapMenu(d, 3);
    message = AnswerMessageBox(d);
    EXPECT_EQ(ReadBytes(kPath), "<missing>");
  });
  EXPECT_EQ(message, u"");
  EXPECT_EQ(result, 1);
}

TEST(NoteSafety, AUtf16NoteWithoutAMarkOpensWholeAndSavesWhole) {
  constexpr WCHAR kPath[] = u"\\My Documents\\Tavrels\\Plain.pwi";
  NoteFileOpening note(kPath, Utf16Le(u"Plain note\r\nsecond line"));
  std::u16string opened;
  RunMainScreen(note.opening, [&](device::Driver& d) {
    opened = EditorText(d);
    TapMenu(d, 3);
    EXPECT_EQ(ReadBytes(u"\\My Documents\\Tavrels\\Plain note  second lin.pwi"),
              Bytes("\xFF\xFE", 2) + Utf16Le(u"Plain note\r\nsecond line") + Bytes(2, '\0'));
    EXPECT_EQ(ReadBytes(kPath), "<missing>");  // replaced by the note under its new name (22 characters)
  });
  EXPECT_EQ(opened, u"Plain note\r\nsecond line");
}

TEST(NoteSafety, AFailedSaveKeepsTheScreenAndTheTextAndSaveCanBeTriedAgain) {
  Opening opening;
  opening.beforeOpening = [](SettingsBlock& s) {
    // A notes folder under a folder that does not exist: it cannot be created (one level only).
    CopyBounded(s.directory, kDirectoryRoom, u"\\Gone\\Notes");
  };
  std::u16string message;
  std::u16string textAfterFailure;
  bool openAfterFailure = false;
  const int result = RunMainScreen(opening, [&](device::Driver& d) {
    TypeWord(d, u"Keep me");
    TapMenu(d, 3);
    message = AnswerMessageBox(d);
    openAfterFailure = Screen(d) != nullptr;
    textAfterFailure = EditorText(d);
    CreateDirectory(u"\\Gone", nullptr);  // the user makes room; Save again succeeds
    TapMenu(d, 3);
    EXPECT_EQ(AnswerMessageBox(d), u"");
    EXPECT_EQ(ReadBytes(u"\\Gone\\Notes\\Keep me.pwi"), Bytes("\xFF\xFE", 2) + Utf16Le(u"Keep me") + Bytes(2, '\0'));
  });
  EXPECT_EQ(message, kNoteNotSavedMessage);
  EXPECT_TRUE(openAfterFailure);
  EXPECT_EQ(textAfterFailure, u"Keep me");
  EXPECT_EQ(result, 1);
}

TEST(NoteSafety, AFailedSaveOfANoteFileKeepsTheOldFileAndBackLeavesIt) {
  constexpr WCHAR kPath[] = u"\\My Documents\\Tavrels\\Old.pwi";
  const Bytes old = Bytes("\xFF\xFE", 2) + Utf16Le(u"Old") + Bytes(2, '\0');
  NoteFileOpening note(kPath, old);
  note.opening.beforeOpening = [&](SettingsBlock& s) {
    WriteBytes(kPath, old);
    CopyBounded(s.directory, kDirectoryRoom, u"\\Gone\\Notes");  // where the new name would go
  };
  std::u16string message;
  const int result = RunMainScreen(note.opening, [&](device::Driver& d) {
    TypeWord(d, u" and new");
    TapMenu(d, 3);
    message = AnswerMessageBox(d);
    EXPECT_NE(Screen(d), nullptr);
    TapMenu(d, 4);  // "Back": leaving unsaved is the user's choice
    EXPECT_EQ(ReadBytes(kPath), old);
  });
  EXPECT_EQ(message, kNoteNotSavedMessage);
  EXPECT_EQ(result, 0);
}
