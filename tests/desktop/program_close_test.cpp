// The whole program on the desktop: characters typed on the desktop keyboard reach the main
// screen by the on-screen keyboards' path (the word is learned), and ending the program from
// outside (a termination signal, the host window's close) saves the note being typed as
// "Save" would, and the settings, before the program ends.
#include "tests/mainscreen/main_screen_fixture.h"

#include "common/file_helpers.h"
#include "internal/backend.h"

#include <device/files.h>

#include <gtest/gtest.h>

#include <csignal>

int WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);

using namespace mainscreen_test;

namespace {

constexpr WCHAR kNotes[] = u"\\My Documents\\Tavrels\\*.pwi";

int RunTavrelProgram() {
  TheWindowStack = WindowStack{};
  EditMode = kEditField;
  ThePredictionEngine().tracker.SetLoadedLanguage(-1);
  ThePredictionEngine().dictionary.EmptyDictionary();
  return WinMain(TestInstance(), nullptr, nullptr, SW_SHOW);
}

void OpenNewNote(device::Driver& d) {
  d.AdvanceTime(300);
  d.Tap(120, 130);  // the new-note band
  d.AdvanceTime(200);
}

// The names of the notes in the notes folder.
std::vector<std::u16string> Notes() {
  std::vector<std::u16string> names;
  WIN32_FIND_DATAW found{};
  HANDLE find = FindFirstFile(kNotes, &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do names.emplace_back(found.cFileName);
  while (FindNextFile(find, &found));
  FindClose(find);
  return names;
}

TEST(DesktopKeyboard, TypedTextReachesTheScreenByTheKeyboardPathAndTheWordIsLearned) {
  std::int32_t learned = -1;
  std::u16string afterEditing;
  device::RunProgramWithScript(RunTavrelProgram, [&](device::Driver& d) {
    OpenNewNote(d);
    const std::int32_t before = ThePredictionEngine().dictionary.CountOf(u"hello");
    d.TypeText(u"hello ");
    learned = ThePredictionEngine().dictionary.CountOf(u"hello") - before;
    d.TypeText(u"ax");
    d.TypeChar(8);   // Backspace
    d.TypeChar(13);  // Return: a line break in a note
    d.TypeText(u"b");
    afterEditing = EditorText(d);
    TapMenu(d, 4);  // "Back"
    d.AdvanceTime(300);
    SendMessage(d.Find(u"Tavrel", u"Tavrel"), WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(learned, 1);
  EXPECT_EQ(afterEditing, u"hello a\r\nb");
}

TEST(ProgramClose, ATerminationSignalSavesTheNoteBeingTypedAndEndsTheProgram) {
  device::internal::WatchTerminationSignals();
  std::vector<std::u16string> notes;
  bool startWindowGone = false;
  device::RunProgramWithScript(RunTavrelProgram, [&](device::Driver& d) {
    OpenNewNote(d);
    d.TypeText(u"unsaved words");
    ASSERT_TRUE(Notes().empty());
    std::raise(SIGTERM);
    d.RunUntilIdle();
    notes = Notes();
    startWindowGone = d.Find(u"Tavrel", u"Tavrel") == nullptr;
  });
  EXPECT_EQ(notes, (std::vector<std::u16string>{u"unsaved words.pwi"}));
  EXPECT_TRUE(startWindowGone);
}

TEST(ProgramClose, TheHostWindowsCloseSavesTheNoteAndTheLearnedWords) {
  constexpr WCHAR kDictionary[] = u"\\Program Files\\Tavrel\\english\\db.dat";
  std::vector<std::u16string> notes;
  std::vector<std::uint8_t> before, after;
  device::RunProgramWithScript(RunTavrelProgram, [&](device::Driver& d) {
    OpenNewNote(d);
    ReadWholeFile(kDictionary, before);
    d.TypeText(u"quokkas closing ");
    device::internal::RequestProgramClose();
    d.RunUntilIdle();
    notes = Notes();
    ReadWholeFile(kDictionary, after);
  });
  EXPECT_EQ(notes, (std::vector<std::u16string>{u"quokkas closing .pwi"}));
  EXPECT_FALSE(before.empty());
  EXPECT_NE(after, before);  // the shut-down saved the dictionary with the learned words
}

}  // namespace
