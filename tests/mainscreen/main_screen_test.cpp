// The main screen as a person uses it: keyboards cycled from the menu bar and the application
// buttons, Enter in a note and in a field, word completion at the caret, saving and leaving.
#include "main_screen_fixture.h"

#include <device/files.h>
#include <device/shell.h>

#include <gtest/gtest.h>

#include <vector>

using namespace mainscreen_test;

namespace {

std::u16string Completion(int k) {
  WCHAR word[kWordBufferSize] = {};
  ThePredictionEngine().tracker.GetCompletion(k, word);
  return word;
}

bool NotesFolderHoldsANote() {
  WIN32_FIND_DATAW found{};
  HANDLE find = FindFirstFile(u"\\My Documents\\Tavrels\\*.pwi", &found);
  if (find == INVALID_HANDLE_VALUE) return false;
  FindClose(find);
  return true;
}


EditRequest FieldRequest(const WCHAR* title, const WCHAR* text) {
  EditRequest request{};
  CopyBounded(request.title, kEditTitleRoom, title);
  CopyBounded(request.text, kEditTextRoom, text);
  return request;
}

}  // namespace

TEST(MainScreen, KeysRunsPredictiveLandscapePhonePredictiveAndKeepsTheEditor) {
  RunMainScreen({}, [](device::Driver& d) {
    HWND editor = Editor(d);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(ClassOf(Keyboard(d)), u"PredictKeyClass");
    TypeWord(d, u"abc def");
    SendMessage(editor, EM_SETSEL, 2, 2);
    TapMenu(d, 2);
    EXPECT_EQ(TheSettings().inputmethod, 3);
    EXPECT_EQ(ClassOf(Keyboard(d)), u"LandscapeKeyClass");
    TapKeys(d);
    EXPECT_EQ(TheSettings().inputmethod, 2);
    EXPECT_EQ(ClassOf(Keyboard(d)), u"PhoneKeyClass");
    editor = Editor(d);  // the turn to landscape and back made a new one
    d.PressKey(VK_APP2);  // the next-keyboard button runs the same cycle
    EXPECT_EQ(TheSettings().inputmethod, 1);
    EXPECT_EQ(ClassOf(Keyboard(d)), u"PredictKeyClass");
    EXPECT_EQ(Editor(d), editor);
    EXPECT_EQ(EditorText(d), u"abc def");
    EXPECT_EQ(Selection(editor), (std::pair<DWORD, DWORD>{2, 2}));
    EXPECT_EQ(TheSettings().inputmethod2, 1);
  });
}

TEST(MainScreen, KeysInTheContactListAlternatesPredictiveAndPhoneKeepingTheEditor) {
  Opening opening;
  opening.editMode = kEditContactList;
  RunMainScreen(opening, [](device::Driver& d) {
    HWND editor = Editor(d);
    TypeWord(d, u"anna");
    SendMessage(editor, EM_SETSEL, 1, 3);
    TapMenu(d, 2);
    EXPECT_EQ(TheSettings().inputmethod2, 2);
    EXPECT_EQ(ClassOf(Keyboard(d)), u"PhoneKeyClass");
    TapMenu(d, 2);
    EXPECT_EQ(TheSettings().inputmethod2, 1);
    EXPECT_EQ(ClassOf(Keyboard(d)), u"PredictKeyClass");
    EXPECT_EQ(TheSettings().inputmethod, 1);
    EXPECT_EQ(Editor(d), editor);
    EXPECT_EQ(EditorText(d), u"anna");
    EXPECT_EQ(Selection(editor), (std::pair<DWORD, DWORD>{1, 3}));
  });
}

TEST(MainScreen, NumericModeHidesThePredictionBarAndLeavingItShowsItAgain) {
  RunMainScreen({}, [](device::Driver& d) {
    HWND bar = Bar(d);
    ASSERT_TRUE(IsWindowVisible(bar));
    d.PressKey(VK_APP1);
    EXPECT_FALSE(IsWindowVisible(bar));
    EXPECT_EQ(ClassOf(Keyboard(d)), u"NumExpKeyClass");
    d.PressKey(VK_APP1);
    EXPECT_TRUE(IsWindowVisible(bar));
    TapMenu(d, 0);  // "123"
    EXPECT_FALSE(IsWindowVisible(bar));
    TapMenu(d, 2);  // "Keys" leaves numeric mode
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_EQ(TheSettings().inputmethod, 3);
  });
}

TEST(MainScreen, EnterBreaksTheLineOfANote) {
  RunMainScreen({}, [](device::Driver& d) {
    TypeWord(d, u"ab");
    SendInput(d, kInputEnter);
    TypeWord(d, u"c");
    EXPECT_EQ(EditorText(d), u"ab\r\nc");
    EXPECT_TRUE(IsWindowVisible(Screen(d)));
  });
}

TEST(MainScreen, EnterAcceptsAFieldOrASearchTextAtOnce) {
  for (std::int32_t mode : {kEditField, kEditSearchText}) {
    EditRequest request = FieldRequest(u"Name", u"Bob");
    Opening opening;
    opening.editMode = mode;
    opening.request = &request;
    const int result = RunMainScreen(opening, [](device::Driver& d) {
      EXPECT_EQ(EditorText(d), u"Bob");
      SendMessage(Editor(d), EM_SETSEL, 3, 3);
      TypeWord(d, u"by");
      SendInput(d, kInputEnter);
    });
    EXPECT_EQ(result, 1) << mode;
    EXPECT_EQ(std::u16string(request.text), u"Bobby") << mode;
  }
}

TEST(MainScreen, AnAcceptedTextLongerThanTheFieldIsCutTo999Characters) {
  EditRequest request = FieldRequest(u"Note", u"");
  Opening opening;
  opening.editMode = kEditField;
  opening.request = &request;
  const std::u16string longText(1200, u'x');
  const int result = RunMainScreen(opening, [&](device::Driver& d) {
    SendInput(d, kInputInsertText, longText.c_str());
    EXPECT_EQ(EditorText(d).size(), 1200u);
    TapMenu(d, 3);  // "Ok"
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(std::u16string(request.text), std::u16string(999, u'x'));
}

TEST(MainScreen, CompletionInsertsTheRestOrReplacesTheRestOfTheWord) {
  RunMainScreen({}, [](device::Driver& d) {
    TypeWord(d, u"hel");
    SendInput(d, kInputCompleteWord, u"lo");
    EXPECT_EQ(EditorText(d), u"hello");
    TypeWord(d, u" helper");
    SendMessage(Editor(d), EM_SETSEL, 10, 10);  // help|er
    SendInput(d, kInputCompleteWord, u"ing");
    EXPECT_EQ(EditorText(d), u"hello helping");
    EXPECT_EQ(Selection(Editor(d)), (std::pair<DWORD, DWORD>{13, 13}));
    SendMessage(Editor(d), EM_SETSEL, 5, 5);  // no word before the caret: inserted there
    SendInput(d, kInputCompleteWord, u"!");
    EXPECT_EQ(EditorText(d), u"hello! helping");
  });
}

TEST(MainScreen, TappingASuggestionCompletesTheWordInTheEditor) {
  RunMainScreen({}, [](device::Driver& d) {
    TypeWord(d, u"hel");
    const std::u16string likeliest = Completion(0);
    ASSERT_GT(likeliest.size(), 3u);
    ASSERT_EQ(likeliest.substr(0, 3), u"hel");
    Tap(d, Bar(d), 40, 13);  // the left button shows completion 0
    EXPECT_EQ(EditorText(d), likeliest);
    EXPECT_EQ(std::u16string(ThePredictionEngine().tracker.CurrentWord()), likeliest);
  });
}

TEST(MainScreen, BackspaceAndCaretMovesMakeTheWordBeforeTheCaretCurrent) {
  RunMainScreen({}, [](device::Driver& d) {
    TypeWord(d, u"one two");
    SendInput(d, kInputBackspace);
    EXPECT_EQ(EditorText(d), u"one tw");
    EXPECT_EQ(std::u16string(ThePredictionEngine().tracker.CurrentWord()), u"tw");
    SendMessage(Editor(d), EM_SETSEL, 2, 2);
    d.PressKey(VK_LEFT);  // the editor reports the move; the caret is after "o"
    EXPECT_EQ(std::u16string(ThePredictionEngine().tracker.CurrentWord()), u"o");
    SendMessage(Editor(d), EM_SETSEL, 4, 4);
    d.PressKey(VK_RIGHT);  // after "one t": the word starts after the space
    EXPECT_EQ(std::u16string(ThePredictionEngine().tracker.CurrentWord()), u"t");
    const std::u16string run(300, u'k');
    SendInput(d, kInputInsertText, run.c_str());
    SendInput(d, kInputBackspace);  // a run longer than the word buffer keeps its end
    EXPECT_EQ(std::u16string(ThePredictionEngine().tracker.CurrentWord()), std::u16string(197, u'k'));
  });
}

// The screen rows from `top` to `bottom`, as one list of pixels.
std::vector<COLORREF> ScreenRows(const device::Driver& d, int top, int bottom) {
  std::vector<COLORREF> pixels;
  for (int y = top; y < bottom; ++y)
    for (int x = 0; x < 240; ++x) pixels.push_back(d.Pixel(x, y));
  return pixels;
}

TEST(MainScreen, TheThirdButtonAndTheLanguageButtonSwitchToTheNextUsedLanguage) {
  RunMainScreen({}, [](device::Driver& d) {
    ASSERT_GE(ThePredictionEngine().languages.count, 3);
    EXPECT_EQ(TheSettings().CurrentLang, 0);
    const std::vector<COLORREF> menuBefore = ScreenRows(d, 0, 26);
    const std::vector<COLORREF> keysBefore = ScreenRows(d, kKeyboardTop, 320);
    d.PressKey(VK_APP3);
    EXPECT_EQ(TheSettings().CurrentLang, 1);
    EXPECT_EQ(ThePredictionEngine().tracker.GetLoadedLanguage(), 1);
    // The menu bar shows the new language's name and the keypad its letters.
    EXPECT_NE(ScreenRows(d, 0, 26), menuBefore);
    EXPECT_NE(ScreenRows(d, kKeyboardTop, 320), keysBefore);
    TapMenu(d, 1);
    EXPECT_EQ(TheSettings().CurrentLang, 2);
    EXPECT_EQ(ThePredictionEngine().tracker.GetLoadedLanguage(), 2);
  });
}

TEST(MainScreen, SaveOnAnEmptyNewNoteSavesNothingAndCloses) {
  bool saved = true;
  const int result = RunMainScreen({}, [&](device::Driver& d) {
    TapMenu(d, 3);
    saved = NotesFolderHoldsANote();
    EXPECT_EQ(Screen(d), nullptr);
  });
  EXPECT_EQ(result, 1);
  EXPECT_FALSE(saved);
}

TEST(MainScreen, SaveWritesANewNoteNamedAfterItsFirstWords) {
  bool saved = false;
  const int result = RunMainScreen({}, [&](device::Driver& d) {
    TypeWord(d, u"Hi there");
    TapMenu(d, 3);
    saved = GetFileAttributes(u"\\My Documents\\Tavrels\\Hi there.pwi") != INVALID_FILE_ATTRIBUTES;
  });
  EXPECT_EQ(result, 1);
  EXPECT_TRUE(saved);
}

// A note file as the note files write it: byte-order mark, UTF-16LE text, a 16-bit zero.
void WriteNoteFile(const WCHAR* path, const std::u16string& text) {
  CreateDirectory(u"\\My Documents", nullptr);
  CreateDirectory(u"\\My Documents\\Tavrels", nullptr);
  HANDLE file = CreateFile(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  const BYTE mark[2] = {0xFF, 0xFE};
  DWORD written = 0;
  WriteFile(file, mark, 2, &written, nullptr);
  WriteFile(file, text.c_str(), static_cast<DWORD>((text.size() + 1) * 2), &written, nullptr);
  CloseHandle(file);
}

bool FileExists(const WCHAR* path) { return GetFileAttributes(path) != INVALID_FILE_ATTRIBUTES; }

TEST(MainScreen, ANoteFileOpensWithTheCaretAtTheEndAndSaveReplacesIt) {
  constexpr WCHAR kOld[] = u"\\My Documents\\Tavrels\\Old note.pwi";
  EditRequest request = FieldRequest(u"", kOld);
  Opening opening;
  opening.editMode = kEditNotesList;
  opening.request = &request;
  opening.beforeOpening = [&](SettingsBlock&) { WriteNoteFile(kOld, u"Old note\r\nline"); };
  bool oldKept = true;
  bool newSaved = false;
  const int result = RunMainScreen(opening, [&](device::Driver& d) {
    EXPECT_EQ(EditorText(d), u"Old note\r\nline");
    EXPECT_EQ(Selection(Editor(d)), (std::pair<DWORD, DWORD>{14, 14}));
    RECT editor;
    GetWindowRect(Editor(d), &editor);
    EXPECT_EQ(editor.top, 30);  // no title strip for a note file
    TypeWord(d, u" two");
    TapMenu(d, 3);
    oldKept = FileExists(kOld);
    newSaved = FileExists(u"\\My Documents\\Tavrels\\Old note  line two.pwi");
  });
  EXPECT_EQ(result, 1);
  EXPECT_FALSE(oldKept);
  EXPECT_TRUE(newSaved);
}

TEST(MainScreen, SavingAnEmptiedNoteFileDeletesIt) {
  constexpr WCHAR kOld[] = u"\\My Documents\\Tavrels\\Gone.pwi";
  EditRequest request = FieldRequest(u"", kOld);
  Opening opening;
  opening.editMode = kEditNotesList;
  opening.request = &request;
  opening.beforeOpening = [&](SettingsBlock&) { WriteNoteFile(kOld, u"Gone"); };
  bool anyNote = true;
  RunMainScreen(opening, [&](device::Driver& d) {
    for (int i = 0; i < 4; ++i) SendInput(d, kInputBackspace);
    EXPECT_EQ(EditorText(d), u"");
    TapMenu(d, 3);
    anyNote = NotesFolderHoldsANote();
  });
  EXPECT_FALSE(anyNote);
}

TEST(MainScreen, BackCancelsAndLeavesTheRequestAsItWas) {
  EditRequest request = FieldRequest(u"Name", u"Bob");
  Opening opening;
  opening.editMode = kEditField;
  opening.request = &request;
  const int result = RunMainScreen(opening, [](device::Driver& d) {
    TypeWord(d, u"xyz");
    TapMenu(d, 4);  // "Cancel"
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(std::u16string(request.text), u"Bob");
}

TEST(MainScreen, TheScreenAssertsFullScreenOnceItIsOnTopAndThenRests) {
  RunMainScreen({}, [](device::Driver& d) {
    const device::ShellState shown = device::GetShellState();
    EXPECT_EQ(shown.fullScreenWindow, Screen(d));
    EXPECT_EQ(shown.lastFullScreenFlags, DWORD{0x2A});
    EXPECT_FALSE(shown.taskBarShown);
    d.AdvanceTime(1000);  // no erase, timer and raise loop while nothing happens
    EXPECT_EQ(device::GetShellState().fullScreenCalls, shown.fullScreenCalls);
  });
}

TEST(MainScreen, ClosingSavesTheSettingsForgetsTheCalculatorMethodAndRaisesTheOwner) {
  RunMainScreen({}, [](device::Driver& d) {
    HWND owner = d.Find(kOwnerClass, nullptr);
    TapMenu(d, 2);
    TapKeys(d);  // phone keypad
    TheSettings().numericmethod = 1;
    TapMenu(d, 4);
    EXPECT_EQ(device::GetShellState().fullScreenWindow, owner);
    EXPECT_EQ(TopWindow(), owner);
    LoadSettings();
    EXPECT_EQ(TheSettings().inputmethod, 2);
    EXPECT_EQ(TheSettings().numericmethod, 0);
  });
}

TEST(MainScreen, WithMenuOffEverythingMovesUpAndEnterOpensTheGrid) {
  Opening opening;
  opening.beforeOpening = [](SettingsBlock& settings) { settings.Menu = 0; };
  RunMainScreen(opening, [](device::Driver& d) {
    EXPECT_EQ(d.Find(kMenuClassName, nullptr), nullptr);
    RECT bar;
    GetWindowRect(Bar(d), &bar);
    EXPECT_EQ(bar.top, 63);
    RECT keyboard;
    GetWindowRect(Keyboard(d), &keyboard);
    EXPECT_EQ(keyboard.top, 92);
    d.PressKey(VK_RETURN);
    HWND grid = d.Find(kMenuClassName, nullptr);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(TopWindow(), grid);
    EXPECT_EQ(EditorText(d), u"");  // Enter from the hardware key is not a line break
  });
}

// The grid's cells for kind 0: "Eng" at the top, "Keys" at the left, "Back" in the centre.
constexpr POINT kGridLanguage{48 + 72, 200 + 15};
constexpr POINT kGridKeys{48 + 24, 200 + 45};
constexpr POINT kGridBack{48 + 72, 200 + 45};

TEST(MainScreen, WithMenuOffTheGridsCommandsActAndBackClosesInOrder) {
  Opening opening;
  opening.beforeOpening = [](SettingsBlock& settings) { settings.Menu = 0; };
  const int result = RunMainScreen(opening, [](device::Driver& d) {
    HWND owner = d.Find(kOwnerClass, nullptr);
    d.PressKey(VK_RETURN);
    d.Tap(kGridKeys.x, kGridKeys.y);
    EXPECT_EQ(TheSettings().inputmethod, 3);
    EXPECT_NE(d.Find(kMenuClassName, nullptr), nullptr);  // "Keys" leaves the grid open
    d.Tap(kGridLanguage.x, kGridLanguage.y);
    EXPECT_EQ(TheSettings().CurrentLang, 1);
    EXPECT_EQ(d.Find(kMenuClassName, nullptr), nullptr);  // the language button closes it
    d.AdvanceTime(200);
    d.PressKey(VK_RETURN);
    d.Tap(kGridBack.x, kGridBack.y);
    EXPECT_EQ(Screen(d), nullptr);
    EXPECT_EQ(TopWindow(), owner);  // the grid left the window stack before the screen
  });
  EXPECT_EQ(result, 0);
}

TEST(MainScreen, TypingOnThePredictiveKeypadShowsSuggestionsInTheBar) {
  RunMainScreen({}, [](device::Driver& d) {
    HWND bar = Bar(d);
    RECT r;
    GetWindowRect(bar, &r);
    const COLORREF blank = d.Pixel(40, r.top + 13);
    for (WCHAR c : {u't', u'h'}) {
      const POINT key = PredictiveKeyPoint(c);
      d.Tap(key.x, key.y);
    }
    EXPECT_EQ(EditorText(d), u"th");
    EXPECT_EQ(Completion(0).substr(0, 2), u"th");
    int changed = 0;  // the label of completion 0 is drawn over the blank button
    for (int x = 5; x < 75; ++x) changed += d.Pixel(x, r.top + 13) != blank;
    EXPECT_GT(changed, 0);
  });
}

TEST(MainScreen, TitleStripAndScreenshotsOfEachKeyboard) {
  EditRequest request = FieldRequest(u"Phone\r\nnumber", u"555 0100");
  Opening field;
  field.editMode = kEditField;
  field.request = &request;
  RunMainScreen(field, [](device::Driver& d) {
    RECT screen;
    GetWindowRect(Screen(d), &screen);
    EXPECT_EQ(screen.left, 0);
    EXPECT_EQ(screen.top, 0);
    EXPECT_EQ(screen.right, 240);  // full screen
    EXPECT_EQ(screen.bottom, 320);
    EXPECT_EQ(d.Pixel(235, 38), COLORREF{0xB3B3B3});  // the title strip under the menu bar
    EXPECT_EQ(d.Pixel(0, 60), COLORREF{0x626262});    // the strip left of the editor
    RECT editor;
    GetWindowRect(Editor(d), &editor);
    EXPECT_EQ(editor.top, 46);
    d.Screenshot("mainscreen-field-predictive");
  });
  RunMainScreen({}, [](device::Driver& d) {
    TypeWord(d, u"Hello th");
    d.Screenshot("mainscreen-note-predictive");
    TapMenu(d, 2);
    d.Screenshot("mainscreen-note-landscape");
    TapKeys(d);
    d.AdvanceTime(100);
    d.Screenshot("mainscreen-note-phone");
    TapMenu(d, 0);
    d.Screenshot("mainscreen-note-numeric-missing");
    TapMenu(d, 0);
    TapMenu(d, 2);
  });
  Opening menuOff;
  menuOff.beforeOpening = [](SettingsBlock& settings) { settings.Menu = 0; };
  RunMainScreen(menuOff, [](device::Driver& d) {
    TypeWord(d, u"Menu off");
    d.Screenshot("mainscreen-menu-off");
    d.PressKey(VK_RETURN);
    d.AdvanceTime(400);
    d.Screenshot("mainscreen-menu-off-grid");
  });
}
