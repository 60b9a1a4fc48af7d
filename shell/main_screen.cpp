// MainScreen: the modal dialog (template 101) where all text is typed. Opened by the start
// window's new-note band, the notes list, the contact menu and the predefined-text dialog; it
// makes its own menu bar, editor, prediction bar and keyboard, routes keyboard input into the
// editor and the word tracker, and ends by saving a note or handing the text back.
//
// Deliberate choices where a reader might expect otherwise:
// - The language rule (CurrentLang must be a used language) runs after the settings are
//   loaded, since loading replaces CurrentLang; when CurrentLang then differs from the loaded
//   language, its dictionaries are loaded (the loaded one saved first).
// - The landscape layout is used only while both the landscape editor and the landscape
//   keyboard classes are registered; otherwise input method 3 keeps the portrait editor (and
//   its text) with no keyboard under the prediction bar. A keyboard whose class does not
//   exist is simply not there; nothing stands in for it.
// - The fourth application button (0xC4) chooses the QWERTY keyboard (input method 0), which
//   neither the loaded settings nor the "Keys" cycle ever offer; "Keys" goes on from it to
//   the phone keypad as from any method, and a stored 0 still loads as 1.
// - An input method outside 0-3 (a damaged setting) counts as 1.
// - The focus goes to the editor when the editor is made and whenever the dialog is
//   activated or given the focus, without selecting the editor's text (the dialog manager's
//   own focus handling would select all of it).
// - A note file that cannot be read leaves the editor empty and the opening goes on (timers
//   included). "Save" then never deletes or replaces that file: the user is told, and text
//   typed meanwhile is saved as a new note. "Save" of a note file that was read hands its path
//   to SaveNote, which replaces the file safely (the old one goes only once the new one is
//   written); a note the user emptied is deleted instead of being saved as an empty note.
// - A save that fails keeps the screen open with the text and says so; the user can try
//   again or leave with Back.
// - The whole background is painted dark grey before the title strip, so the strip left
//   below the keyboard when `Menu` is off is not left unpainted.
// - A pop-up menu grid still open when the screen closes is destroyed first, so the window
//   stack pops in order.
// - The accent cycle of the keyboards is reset on every language and input-method change,
//   the application buttons included.
// - A character reaches the word tracker only when the editor took it (the editor refuses
//   characters at its text limit), so the tracker never holds text the note does not.
// - When the program closes (ProgramClosingMessage) a note being typed is saved as "Save"
//   would save it; a field or search text is given up as "Back" would. A failed save keeps
//   the screen open and answers 1, so the program does not end over unsaved text.
// - Characters typed on the desktop keyboard reach the screen through the editor as
//   KeyboardInputMessage, the on-screen keyboards' own path.
// - Before a menu command or an application button the keyboard is asked to type any input it
//   holds back (CommitPendingInputMessage), so a pending multi-tap character is saved with
//   the note or typed before the keyboard changes, instead of being lost.
#include "shell/main_screen.h"

#include "common/full_screen.h"
#include "common/messages.h"
#include "drawing/font_table.h"
#include "drawing/text_drawing.h"
#include "editor/caret_word.h"
#include "editor/landscape_editor.h"
#include "editor/note_editor.h"
#include "keyboards/dead_keys.h"
#include "keyboards/prediction_bar.h"
#include "notes/note_files.h"
#include "prediction/language_switch.h"
#include "prediction/prediction_engine.h"
#include "resources/tavrel_dialogs.h"
#include "settings/settings_store.h"
#include "shell/edit_mode.h"
#include "shell/fx_keys.h"
#include "shell/menu_bar.h"
#include "shell/startup.h"
#include "shell/window_stack.h"

#include <device/dialogs.h>
#include <device/edit.h>
#include <device/files.h>
#include <device/gdi.h>
#include <device/shell.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

// Timers of the dialog.
constexpr UINT_PTR kFullScreenTimer = 1;  // raise the screen and hide the shell's bars while it is on top
constexpr UINT_PTR kLanguageTimer = 2;    // tell the keyboard and the menu bar the language
constexpr UINT_PTR kUpdateEditorTimer = 3;
constexpr UINT_PTR kCaretToEndTimer = 11;  // after a note file was loaded
constexpr UINT kOpeningDelayMs = 100;
constexpr UINT kFocusDelayMs = 50;
constexpr UINT kShortDelayMs = 10;

// Portrait layout with `Menu` on; with `Menu` off every y is kMenuHeight less.
constexpr int kScreenWidth = 240;
constexpr int kScreenHeight = 320;
constexpr int kMenuHeight = 30;
constexpr int kTitleHeight = 16;
constexpr int kEditorLeft = 1;
constexpr int kEditorBottom = 93;
constexpr int kBarTop = 93;
constexpr int kBarHeight = 29;
// Landscape: the prediction bar stands between the editor and the keyboard.
constexpr RECT kVerticalBar{45, 0, 45 + 29, kScreenHeight};
constexpr int kLandscapeEditorWidth = 45;
constexpr int kLandscapeTitleWidth = 12;

constexpr COLORREF kDarkGrey = 0x626262;
constexpr COLORREF kLightGrey = 0xB3B3B3;

constexpr DWORD kChildStyle = 0x50000000;        // visible child: keyboards, prediction bar
constexpr WCHAR kKeyboardTitle[] = u"keyboard";
constexpr WCHAR kEditClass[] = u"EDIT";

// A keyboard window: its class and place (portrait places move up with `Menu` off).
struct KeyboardPlace {
  const WCHAR* className;
  int x, y, width, height;
  bool followsMenu;  // the place moves up by the menu bar's height when `Menu` is off
};
enum InputMethod { kQwerty = 0, kPredictive = 1, kPhone = 2, kLandscape = 3 };
constexpr KeyboardPlace kKeyboards[] = {
    // class                 x   y    width height follows menu
    {u"QwertyKeyClass",      0,  122, 240,  201,   true},   // 0
    {u"PredictKeyClass",     0,  122, 240,  201,   true},   // 1
    {u"PhoneKeyClass",       0,  122, 240,  201,   true},   // 2
    {u"LandscapeKeyClass",   74, 0,   166,  320,   false},  // 3
};
constexpr KeyboardPlace kCalculator{u"NumExpKeyClass", 0, 93, 240, 227, true};

// Menu bar buttons of kind 0.
enum MenuButton { kNumericButton = 0, kLanguageButton = 1, kKeysButton = 2, kSaveButton = 3, kBackButton = 4 };
constexpr WCHAR kTextLabel[] = u"123";
constexpr WCHAR kNumericLabel[] = u"ABC";
constexpr WCHAR kCalculatorMethodLabel[] = u"text";  // numericmethod 1
constexpr WCHAR kTextMethodLabel[] = u"calc";        // numericmethod 0
constexpr RECT kPopupMenu{0, 150, 240, 180};


struct MainScreenState {
  EditRequest* request;  // null when opened for a new note
  HWND editor;
  HWND keyboard;         // null while the chosen keyboard does not exist
  HWND menuBar;          // the bar (`Menu` on) or the pop-up grid (`Menu` off), while it exists
  HWND predictionBar;
  bool landscape;        // the editor is the landscape editor
  bool editorFull;       // the editor refused the last character sent to it (EN_MAXTEXT)
  int titleFont;         // "MS SANS SERIF" 14 px
  int verticalFont;      // the same, rotated, for the landscape title
  int smallFont;         // "MS SANS SERIF" 13 px
  bool noteUnreadable;   // the note file being edited could not be read: Save never touches it
};

// Kept between openings of the main screen: 1 shows the calculator keypad.
bool NumericMode = false;

MainScreenState* State(HWND dialog) {
  return reinterpret_cast<MainScreenState*>(GetWindowLong(dialog, GWL_USERDATA));
}

bool MenuAlwaysShown() { return TheSettings().Menu != 0; }
int MenuShift() { return MenuAlwaysShown() ? 0 : kMenuHeight; }
const WCHAR* LanguageName() { return ThePredictionEngine().languages.Language(TheSettings().CurrentLang).NAME; }

bool ClassExists(const WCHAR* name) {
  WNDCLASSW info{};
  return GetClassInfo(ProgramInstance, name, &info) != FALSE;
}

bool HasTitleStrip(const MainScreenState& s) { return s.request != nullptr && EditMode != kEditNotesList; }
bool MenuBarExists(const MainScreenState& s) { return s.menuBar != nullptr && IsWindow(s.menuBar); }

void SetMenuLabel(const MainScreenState& s, int button, const WCHAR* label) {
  if (MenuBarExists(s)) SendMessage(s.menuBar, MenuLabelMessage, static_cast<WPARAM>(button), reinterpret_cast<LPARAM>(label));
}

void SetMenuLayout(const MainScreenState& s, int flag) {
  if (MenuBarExists(s)) SendMessage(s.menuBar, MenuLayoutMessage, kMenuMainScreen, flag);
}

const WCHAR* NumericMethodLabel() {
  return TheSettings().numericmethod == 1 ? kCalculatorMethodLabel : kTextMethodLabel;
}

void UpdateEditor(const MainScreenState& s) {
  if (s.editor != nullptr) UpdateWindow(s.editor);
}

// With a pop-up grid open the editor is not updated now; it waits for the grid to close.
void UpdateEditorUnlessGridOpen(const MainScreenState& s) {
  if (!MenuBarExists(s) || MenuAlwaysShown()) UpdateEditor(s);
}

void DestroyPopupMenu(MainScreenState& s) {
  if (MenuBarExists(s) && !MenuAlwaysShown()) DestroyWindow(s.menuBar);
  if (!MenuBarExists(s)) s.menuBar = nullptr;
}

void DestroyKeyboard(MainScreenState& s) {
  if (s.keyboard != nullptr) DestroyWindow(s.keyboard);
  s.keyboard = nullptr;
}

// The input method in use: `inputmethod2` while the contact list is open.
int CurrentInputMethod() {
  const int method = EditMode == kEditContactList ? TheSettings().inputmethod2 : TheSettings().inputmethod;
  return method >= kQwerty && method <= kLandscape ? method : kPredictive;
}

bool LandscapeAvailable() {
  return ClassExists(kLandscapeEditorClass) && ClassExists(kKeyboards[kLandscape].className);
}

void ResetAccentCycle() {
  ResetAccent(ThePredictionEngine().languages.Language(TheSettings().CurrentLang));
}

// ---- the editor's text ----

void SendWordBeforeCaret(const MainScreenState& s) {
  WCHAR word[kCaretWordRoom];
  WordBeforeCaret(s.editor, word);
  SendMessage(s.predictionBar, WordBeforeCaretMessage, reinterpret_cast<WPARAM>(word), 0);
}

// True when the editor took the character. At its text limit the editor refuses it and tells
// the screen with EN_MAXTEXT (OnCommand), which costs the typing path nothing.
bool SendCharToEditor(MainScreenState& s, WCHAR c) {
  if (s.editor == nullptr) return false;
  s.editorFull = false;
  SendMessage(s.editor, WM_CHAR, c, 1);
  return !s.editorFull;
}

void AcceptText(HWND dialog, const MainScreenState& s) {
  const std::u16string text = EditorText(s.editor);
  if (s.request != nullptr) CopyBounded(s.request->text, kEditTextRoom, text.c_str());
  EndDialog(dialog, 1);
}

// ---- layout ----

HWND CreateChild(HWND dialog, const WCHAR* className, const WCHAR* title, DWORD style, int x, int y, int width,
                 int height) {
  return CreateWindowEx(0, className, title, style, x, y, width, height, dialog, nullptr, ProgramInstance, nullptr);
}

HWND CreateKeyboard(HWND dialog, const KeyboardPlace& place) {
  const int y = place.followsMenu ? place.y - MenuShift() : place.y;
  return CreateChild(dialog, place.className, kKeyboardTitle, kChildStyle, place.x, y, place.width, place.height);
}

void PlaceHorizontalBar(const MainScreenState& s) {
  MoveWindow(s.predictionBar, 0, kBarTop - MenuShift(), kScreenWidth, kBarHeight, TRUE);
}

void ShowCalculator(HWND dialog, MainScreenState& s) {
  ShowWindow(s.predictionBar, SW_HIDE);
  s.keyboard = CreateKeyboard(dialog, kCalculator);
  SetMenuLabel(s, kLanguageButton, NumericMethodLabel());
  if (s.keyboard != nullptr) SendMessage(s.keyboard, CalculatorModeMessage, static_cast<WPARAM>(TheSettings().numericmethod), 0);
  SetMenuLayout(s, 1);
  SetMenuLabel(s, kNumericButton, kNumericLabel);
}

void ShowTextKeyboard(HWND dialog, MainScreenState& s, bool landscape) {
  ShowWindow(s.predictionBar, SW_SHOW);
  const int method = CurrentInputMethod();
  if (method != kLandscape || landscape) s.keyboard = CreateKeyboard(dialog, kKeyboards[method]);
  if (!landscape) {
    SendMessage(s.predictionBar, BarLayoutMessage, 0, 0);
    SetMenuLayout(s, 1);
    SetMenuLabel(s, kNumericButton, kTextLabel);
    PlaceHorizontalBar(s);
  } else {
    SendMessage(s.predictionBar, BarLayoutMessage, 1, 0);
    MoveWindow(s.predictionBar, kVerticalBar.left, kVerticalBar.top, kVerticalBar.right - kVerticalBar.left,
               kVerticalBar.bottom - kVerticalBar.top, TRUE);
    SetMenuLayout(s, 0);
  }
  SetMenuLabel(s, kLanguageButton, LanguageName());
}

HWND CreateEditor(HWND dialog, const MainScreenState& s, bool landscape) {
  const bool title = HasTitleStrip(s);
  if (landscape) {
    const int x = title ? kLandscapeTitleWidth : 0;
    const int width = kLandscapeEditorWidth - x;
    const int y = MenuAlwaysShown() ? kMenuHeight : 0;
    return CreateChild(dialog, kLandscapeEditorClass, u"", kChildStyle, x, y, width, kScreenHeight - 1 - y);
  }
  const int top = kMenuHeight - MenuShift() + (title ? kTitleHeight : 0);
  const int bottom = kEditorBottom - MenuShift();
  HWND editor = CreateChild(dialog, kEditClass, u"", kNoteEditorStyle, kEditorLeft, top, kScreenWidth - kEditorLeft,
                            bottom - top);
  if (editor != nullptr) MakeNoteEditor(editor);
  return editor;
}

// Keeps the editor when its orientation still fits; otherwise its text and selection move
// into a new one.
void PlaceEditor(HWND dialog, MainScreenState& s, bool landscape) {
  std::u16string text;
  DWORD start = 0, end = 0;
  if (s.editor != nullptr && s.landscape != landscape) {
    text = EditorText(s.editor);
    SendMessage(s.editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    DestroyWindow(s.editor);
    s.editor = nullptr;
  }
  if (s.editor != nullptr) return;
  s.editor = CreateEditor(dialog, s, landscape);
  s.landscape = landscape;
  if (s.editor == nullptr) return;
  SetWindowText(s.editor, text.c_str());
  SendMessage(s.editor, EM_SETSEL, start, static_cast<LPARAM>(end));
  SendMessage(s.editor, EM_SCROLLCARET, 0, 0);
  SetFocus(s.editor);
}

// Destroys the keyboard and makes the one the numeric mode and the input method ask for,
// with the editor that fits it.
void ChooseKeyboard(HWND dialog, MainScreenState& s) {
  DestroyKeyboard(s);
  const bool landscape = !NumericMode && CurrentInputMethod() == kLandscape && LandscapeAvailable();
  if (NumericMode) ShowCalculator(dialog, s);
  else ShowTextKeyboard(dialog, s, landscape);
  PlaceEditor(dialog, s, landscape);
  if (!MenuBarExists(s) || MenuAlwaysShown()) {
    UpdateEditor(s);
  } else {
    InvalidateRect(s.menuBar, nullptr, TRUE);
    UpdateWindow(s.menuBar);
  }
}

// ---- modes and languages ----

void ToggleNumericMode(HWND dialog, MainScreenState& s) {
  NumericMode = !NumericMode;
  ChooseKeyboard(dialog, s);
}

// 1, 3, 2, 1, ... (`inputmethod2` in the contact list: 1, 2, 1, ...).
void NextInputMethod(HWND dialog, MainScreenState& s) {
  SettingsBlock& settings = TheSettings();
  NumericMode = false;
  if (EditMode == kEditContactList) settings.inputmethod2 = settings.inputmethod2 == kPredictive ? kPhone : kPredictive;
  else settings.inputmethod = ((settings.inputmethod + 1) % 3) + 1;
  ResetAccentCycle();
  ChooseKeyboard(dialog, s);
}

// The fourth application button: the QWERTY keyboard.
void ChooseQwerty(HWND dialog, MainScreenState& s) {
  SettingsBlock& settings = TheSettings();
  NumericMode = false;
  if (EditMode == kEditContactList) settings.inputmethod2 = kQwerty;
  else settings.inputmethod = kQwerty;
  ResetAccentCycle();
  ChooseKeyboard(dialog, s);
  UpdateEditorUnlessGridOpen(s);
}

void ToggleNumericMethod(const MainScreenState& s) {
  SettingsBlock& settings = TheSettings();
  settings.numericmethod = settings.numericmethod == 1 ? 0 : 1;
  if (s.keyboard != nullptr) SendMessage(s.keyboard, CalculatorModeMessage, static_cast<WPARAM>(settings.numericmethod), 0);
  SetMenuLabel(s, kLanguageButton, NumericMethodLabel());
}

void SwitchLanguage(MainScreenState& s, bool showWaitCursor) {
  DestroyPopupMenu(s);
  if (SwitchToNextLanguage(ThePredictionEngine(), TheSettings(), showWaitCursor)) {
    if (s.keyboard) SendMessage(s.keyboard, LanguageChangedMessage, static_cast<WPARAM>(TheSettings().CurrentLang), 0);
    SetMenuLabel(s, kLanguageButton, LanguageName());
  }
  ResetAccentCycle();
}

// Start-up's language rule again: the settings just loaded may name a language that is no
// longer used, or another one than the dictionaries in memory.
void ChooseLanguage() {
  PredictionEngine& engine = ThePredictionEngine();
  SettingsBlock& settings = TheSettings();
  ApplyUsedLanguageRule(settings);
  const int loaded = engine.tracker.GetLoadedLanguage();
  if (loaded == settings.CurrentLang) return;
  if (loaded >= 0) SaveLanguageDictionary(engine, loaded);
  LoadLanguageDictionaries(engine, settings.CurrentLang);
}

// ---- ending ----

void TellUser(HWND dialog, const WCHAR* text) { MessageBox(dialog, text, kNoteMessageCaption, MB_OK | MB_ICONEXCLAMATION); }

// A failed save keeps the screen open with the text, so the user can try again or leave it
// deliberately with Back.
void EndAfterSaving(HWND dialog, MainScreenState& s, bool saved) {
  if (!saved) {
    TellUser(dialog, kNoteNotSavedMessage);
    return;
  }
  DestroyKeyboard(s);
  EndDialog(dialog, 1);
}

// A note file that could not be read is left exactly as it is: any text typed meanwhile is
// saved as a new note beside it, and an empty editor saves nothing.
void SaveBesideUnreadableNote(HWND dialog, MainScreenState& s, const std::u16string& text) {
  TellUser(dialog, kNoteUnreadableMessage);
  if (text.empty()) {
    DestroyKeyboard(s);
    EndDialog(dialog, 0);
    return;
  }
  EndAfterSaving(dialog, s, SaveNote(dialog, text.c_str(), kEditNewNote));
}

// The note file's text replaces the file (which is renamed when its first words changed); a
// note that was read and then emptied is deleted rather than saved as an empty note.
void SaveNoteFile(HWND dialog, MainScreenState& s, const std::u16string& text) {
  const WCHAR* path = s.request != nullptr ? s.request->text : nullptr;
  if (s.noteUnreadable) {
    SaveBesideUnreadableNote(dialog, s, text);
  } else if (text.empty()) {
    if (path != nullptr && path[0] != 0) DeleteFile(path);
    EndAfterSaving(dialog, s, true);
  } else {
    EndAfterSaving(dialog, s, SaveNote(dialog, text.c_str(), path != nullptr ? kEditNotesList : kEditNewNote, path));
  }
}

void SaveNewNote(HWND dialog, MainScreenState& s, const std::u16string& text) {
  bool saved = true;
  if (!text.empty()) {
    TheSettings().QuickSave = 1;
    saved = SaveNote(dialog, text.c_str(), EditMode);
  }
  EndAfterSaving(dialog, s, saved);
}

void OnSave(HWND dialog, MainScreenState& s) {
  const std::u16string text = EditorText(s.editor);
  switch (EditMode) {
    case kEditField:
    case kEditSearchText: AcceptText(dialog, s); break;
    case kEditNotesList: SaveNoteFile(dialog, s, text); break;
    default: SaveNewNote(dialog, s, text); break;
  }
}

void OnBack(HWND dialog, MainScreenState& s) {
  DestroyKeyboard(s);
  EndDialog(dialog, 0);
}

// ---- opening ----

void CreateMenuBar(HWND dialog, MainScreenState& s) {
  MenuSpec menuSpec{kMenuMainScreen, TheSettings().inputmethod != kLandscape ? 1 : 0, 0};
  s.menuBar = CreateWindowEx(0, kMenuClassName, kMenuTitle, kMenuBarStyle, 0, 0, kScreenWidth, kScreenHeight, dialog,
                             nullptr, ProgramInstance, &menuSpec);
}

// The grid that VK_RETURN opens when `Menu` is off.
void OpenPopupMenu(HWND dialog, MainScreenState& s) {
  MenuSpec menuSpec{kMenuMainScreen, s.landscape ? 0 : 1, 1};
  s.menuBar = CreateWindowEx(0, kMenuClassName, kMenuTitle, kMenuGridStyle, kPopupMenu.left, kPopupMenu.top,
                             kPopupMenu.right - kPopupMenu.left, kPopupMenu.bottom - kPopupMenu.top, dialog, nullptr,
                             ProgramInstance, &menuSpec);
  SetMenuLabel(s, kNumericButton, NumericMode ? kNumericLabel : kTextLabel);
  SetMenuLabel(s, kLanguageButton, NumericMode ? NumericMethodLabel() : LanguageName());
}

// The request's text, or with EditMode 3 the note file it names. A file that is there but
// cannot be read leaves the editor empty and marks the note as not to be saved over.
void LoadRequestText(HWND dialog, MainScreenState& s) {
  if (s.editor == nullptr) return;
  if (EditMode != kEditNotesList) {
    SetWindowText(s.editor, s.request->text);
    return;
  }
  std::u16string text;
  const NoteFileRead read = ReadNoteFile(s.request->text, text);
  s.noteUnreadable = read == NoteFileRead::kUnreadable;
  if (read != NoteFileRead::kRead) return;
  SetWindowText(s.editor, text.c_str());
  SetTimer(dialog, kCaretToEndTimer, kShortDelayMs, nullptr);
}

void CreateFonts(MainScreenState& s) {
  s.titleFont = CreateAppFont(u"MS SANS SERIF", 14, false, false);
  s.verticalFont = CreateAppFont(u"MS SANS SERIF", 14, true, false);
  s.smallFont = CreateAppFont(u"MS SANS SERIF", 13, false, false);
}

void DeleteFonts(const MainScreenState& s) {
  DeleteAppFont(s.titleFont);
  DeleteAppFont(s.verticalFont);
  DeleteAppFont(s.smallFont);
}

BOOL OnInitDialog(HWND dialog, EditRequest* request) {
  auto* s = new MainScreenState{};
  s->request = request;
  SetWindowLong(dialog, GWL_USERDATA, reinterpret_cast<LONG_PTR>(s));
  PushWindow(dialog);
  SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  CreateFonts(*s);
  LoadSettings();
  ChooseLanguage();
  if (MenuAlwaysShown()) CreateMenuBar(dialog, *s);
  s->predictionBar = CreateChild(dialog, kPredictionBarClass, kPredictionBarTitle, kChildStyle, 0,
                                 kBarTop - MenuShift(), kScreenWidth, kBarHeight);
  if (request != nullptr) {
    SetWindowLong(dialog, DWL_USER, reinterpret_cast<LONG_PTR>(request));
    NumericMode = request->numeric != 0;
  }
  ChooseKeyboard(dialog, *s);
  if (request != nullptr && request->text[0] != 0) LoadRequestText(dialog, *s);
  SetTimer(dialog, kFullScreenTimer, kOpeningDelayMs, nullptr);
  SetTimer(dialog, kLanguageTimer, kOpeningDelayMs, nullptr);
  return FALSE;  // the focus is the editor's already
}

// ---- messages ----

// The title with every CR and LF turned into a space, and ":" after it.
std::u16string TitleText(const EditRequest& request) {
  std::u16string title;
  for (int i = 0; i < kEditTitleRoom && request.title[i] != 0; ++i) {
    const WCHAR c = request.title[i];
    title.push_back(c == u'\r' || c == u'\n' ? u' ' : c);
  }
  return title + u":";
}

void PaintPortraitBackground(HDC dc, const MainScreenState& s) {
  FillSolidRect(dc, RECT{0, 0, kScreenWidth, kScreenHeight}, kDarkGrey);
  if (!HasTitleStrip(s)) return;
  const int top = kMenuHeight - MenuShift();
  const RECT strip{0, top, kScreenWidth, top + kTitleHeight};
  FillSolidRect(dc, strip, kLightGrey);
  const RECT text{strip.left + 2, strip.top, strip.right, strip.bottom};
  DrawPlainText(dc, text, TitleText(*s.request).c_str(), GetAppFont(s.titleFont), RGB(0, 0, 0),
                DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

void PaintLandscapeBackground(HDC dc, const MainScreenState& s) {
  FillSolidRect(dc, RECT{0, 0, kScreenWidth, kScreenHeight}, kLightGrey);
  if (!HasTitleStrip(s)) return;
  const RECT column{0, MenuAlwaysShown() ? kMenuHeight : 0, kLandscapeTitleWidth, kScreenHeight};
  DrawLabelText(dc, column, TitleText(*s.request).c_str(), GetAppFont(s.verticalFont), RGB(0, 0, 0), true);
}

BOOL OnEraseBackground(HWND dialog, HDC dc) {
  const MainScreenState& s = *State(dialog);
  if (s.landscape) PaintLandscapeBackground(dc, s);
  else PaintPortraitBackground(dc, s);
  // The background was painted over the editor (the dialog does not clip its children), and
  // an editor made after the dialog's area was invalidated holds no update of its own.
  if (s.editor != nullptr) InvalidateRect(s.editor, nullptr, TRUE);
  UpdateEditorUnlessGridOpen(s);
  SetTimer(dialog, kFullScreenTimer, kFocusDelayMs, nullptr);
  SetWindowLong(dialog, DWL_MSGRESULT, 1);
  return TRUE;
}

BOOL OnActivate(HWND dialog, WPARAM wParam) {
  const MainScreenState& s = *State(dialog);
  if (TopWindow() == dialog) SetTimer(dialog, kFullScreenTimer, kOpeningDelayMs, nullptr);
  if (LOWORD(wParam) != WA_INACTIVE && s.editor != nullptr) SetFocus(s.editor);
  return TRUE;
}

BOOL OnSetFocus(HWND dialog) {
  const MainScreenState& s = *State(dialog);
  if (TopWindow() != dialog) {
    if (MenuBarExists(s)) UpdateWindow(s.menuBar);
    return TRUE;
  }
  SetTimer(dialog, kFullScreenTimer, kFocusDelayMs, nullptr);
  if (s.editor != nullptr) SetFocus(s.editor);
  return TRUE;
}

void OnFullScreenTimer(HWND dialog) {
  if (TopWindow() != dialog) return;  // timer 1 keeps running until the screen is on top again
  SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SHFullScreen(dialog, kFullScreenFlags);
  KillTimer(dialog, kFullScreenTimer);
  SetTimer(dialog, kUpdateEditorTimer, kShortDelayMs, nullptr);
}

void OnLanguageTimer(HWND dialog) {
  const MainScreenState& s = *State(dialog);
  if (s.keyboard != nullptr) SendMessage(s.keyboard, LanguageChangedMessage, static_cast<WPARAM>(TheSettings().CurrentLang), 0);
  SetMenuLabel(s, kLanguageButton, LanguageName());
  KillTimer(dialog, kLanguageTimer);
}

void OnCaretToEndTimer(HWND dialog) {
  const MainScreenState& s = *State(dialog);
  const int length = GetWindowTextLength(s.editor);
  SendMessage(s.editor, EM_SETSEL, static_cast<WPARAM>(length), length);
  SendMessage(s.editor, EM_SCROLLCARET, 0, 0);
  KillTimer(dialog, kCaretToEndTimer);
}

void OnUpdateEditorTimer(HWND dialog) {
  UpdateEditor(*State(dialog));
  KillTimer(dialog, kUpdateEditorTimer);
}

BOOL OnTimer(HWND dialog, UINT_PTR id) {
  switch (id) {
    case kFullScreenTimer: OnFullScreenTimer(dialog); break;
    case kLanguageTimer: OnLanguageTimer(dialog); break;
    case kUpdateEditorTimer: OnUpdateEditorTimer(dialog); break;
    case kCaretToEndTimer: OnCaretToEndTimer(dialog); break;
    default: break;
  }
  return TRUE;
}

// A keyboard may still hold input back (a pending multi-tap character); it is typed before
// the screen saves, closes or changes keyboards or languages.
void CommitPendingInput(const MainScreenState& s) {
  if (s.keyboard != nullptr) SendMessage(s.keyboard, CommitPendingInputMessage, 0, 0);
}

void OnNextKeyboardButton(HWND dialog, MainScreenState& s) {
  NextInputMethod(dialog, s);
  UpdateEditorUnlessGridOpen(s);
}

void OnThirdButton(MainScreenState& s) {
  if (NumericMode) ToggleNumericMethod(s);
  else SwitchLanguage(s, true);
  UpdateEditorUnlessGridOpen(s);
}

// The application buttons act on release; the key then goes on to a bar, or Enter opens the
// grid when the bar is not shown always.
BOOL OnKeyUp(HWND dialog, UINT key) {
  MainScreenState& s = *State(dialog);
  if (key >= VK_APP1 && key <= VK_APP4) CommitPendingInput(s);
  switch (key) {
    case VK_APP1: ToggleNumericMode(dialog, s); break;
    case VK_APP2: OnNextKeyboardButton(dialog, s); break;
    case VK_APP3: OnThirdButton(s); break;
    case VK_APP4: ChooseQwerty(dialog, s); break;
    default: break;
  }
  if (MenuBarExists(s) && MenuAlwaysShown()) SendMessage(s.menuBar, WM_KEYDOWN, key, 0);
  else if (key == VK_RETURN && !MenuBarExists(s) && !MenuAlwaysShown()) OpenPopupMenu(dialog, s);
  return TRUE;
}

// The word tracker learns only what the editor took: a character refused at the editor's
// text limit is not typed, so it must not become part of a word either.
void TypeCharacter(MainScreenState& s, const WCHAR* text) {
  if (text == nullptr || text[0] == 0) return;
  if (SendCharToEditor(s, text[0])) ThePredictionEngine().tracker.TypeCharacter(text[0]);
}

void Backspace(MainScreenState& s) {
  SendCharToEditor(s, 8);
  SendWordBeforeCaret(s);
}

void Tab(MainScreenState& s) {
  if (SendCharToEditor(s, 9)) ThePredictionEngine().tracker.FinishWord();
}

// A line break in a note; the end of the editing of a field or a search text.
void Enter(HWND dialog, MainScreenState& s) {
  if (EditMode == kEditField || EditMode == kEditSearchText) {
    AcceptText(dialog, s);
    return;
  }
  if (SendCharToEditor(s, 10)) ThePredictionEngine().tracker.FinishWord();
}

void InsertText(MainScreenState& s, const WCHAR* text) {
  for (const WCHAR* p = text; p != nullptr && *p != 0; ++p) SendCharToEditor(s, *p);
}

// The rest of a chosen suggestion: it replaces the rest of the word after the caret, or is
// inserted at the caret.
void CompleteWord(const MainScreenState& s, const WCHAR* rest) {
  if (s.editor == nullptr || rest == nullptr) return;
  WCHAR word[kCaretWordRoom];
  WordBeforeCaret(s.editor, word);
  if (s.keyboard != nullptr) SendMessage(s.keyboard, RefreshMessage, 0, 0);
  if (word[0] != 0) {
    const size_t caret = SelectionStart(s.editor);
    const size_t end = WordEndAfterCaret(s.editor);
    if (end > caret) SendMessage(s.editor, EM_SETSEL, caret, static_cast<LPARAM>(end));
  }
  SendMessage(s.editor, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(rest));
  if (TheSettings().showPredict && s.keyboard != nullptr) InvalidateRect(s.keyboard, nullptr, TRUE);
}

BOOL OnKeyboardInput(HWND dialog, WPARAM code, const WCHAR* text) {
  MainScreenState& s = *State(dialog);
  switch (code) {
    case kInputCharacter: TypeCharacter(s, text); break;
    case kInputBackspace: Backspace(s); break;
    case kInputTab: Tab(s); break;
    case kInputEnter: Enter(dialog, s); break;
    case kInputInsertText: InsertText(s, text); break;
    case kInputCompleteWord: CompleteWord(s, text); break;
    default: return TRUE;
  }
  SendMessage(s.predictionBar, RefreshMessage, 0, 0);
  return TRUE;
}

// The editor's notifications: EN_MAXTEXT marks the character just sent as refused.
BOOL OnCommand(HWND dialog, WPARAM wParam, LPARAM lParam) {
  MainScreenState& s = *State(dialog);
  if (HIWORD(wParam) == EN_MAXTEXT && reinterpret_cast<HWND>(lParam) == s.editor) s.editorFull = true;
  return FALSE;
}

BOOL OnCaretMoved(HWND dialog) {
  const MainScreenState& s = *State(dialog);
  SendWordBeforeCaret(s);
  if (s.keyboard != nullptr) SendMessage(s.keyboard, RefreshMessage, 0, 0);
  return TRUE;
}

// The Fx keys pop-up of predefined texts, owned by the main screen.
BOOL OnOpenFxKeys(HWND dialog) {
  CreateWindowEx(0, kFxKeyClass, kFxKeysTitle, kFxKeysStyle, kFxKeysPlace.left, kFxKeysPlace.top,
                 kFxKeysPlace.right - kFxKeysPlace.left, kFxKeysPlace.bottom - kFxKeysPlace.top, dialog, nullptr,
                 ProgramInstance, nullptr);
  return TRUE;
}

// Without the wait cursor, unlike the application button.
void OnLanguageButton(MainScreenState& s) {
  if (NumericMode) ToggleNumericMethod(s);
  else SwitchLanguage(s, false);
}

BOOL OnMenuCommand(HWND dialog, int button) {
  MainScreenState& s = *State(dialog);
  if (button >= kNumericButton && button <= kBackButton) CommitPendingInput(s);
  switch (button) {
    case kNumericButton: ToggleNumericMode(dialog, s); break;
    case kLanguageButton: OnLanguageButton(s); break;
    case kKeysButton: NextInputMethod(dialog, s); break;
    case kSaveButton: OnSave(dialog, s); break;
    case kBackButton: OnBack(dialog, s); break;
    default: return TRUE;  // -1: the pen-up found no button
  }
  if (button == kLanguageButton || button == kKeysButton) UpdateEditorUnlessGridOpen(s);
  return TRUE;
}

BOOL OnProgramClosing(HWND dialog) {
  MainScreenState& s = *State(dialog);
  CommitPendingInput(s);
  if (EditMode == kEditNewNote || EditMode == kEditNotesList) OnSave(dialog, s);
  else OnBack(dialog, s);
  // EndDialog hides the screen; one still shown could not save.
  SetWindowLong(dialog, DWL_MSGRESULT, IsWindowVisible(dialog) ? 1 : 0);
  return TRUE;
}

BOOL OnClose(HWND dialog) {
  EndDialog(dialog, 1);
  return TRUE;
}

BOOL OnDestroy(HWND dialog) {
  MainScreenState* s = State(dialog);
  DestroyPopupMenu(*s);
  PopWindow(dialog);
  DeleteFonts(*s);
  TheSettings().numericmethod = 0;
  RaiseOwnerFullScreen(dialog);
  SaveSettings();
  SetWindowLong(dialog, GWL_USERDATA, 0);
  delete s;
  return FALSE;
}

}  // namespace

BOOL CALLBACK MainScreenProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  // Messages before WM_INITDIALOG or after WM_DESTROY find no state.
  if (msg != WM_INITDIALOG && State(dialog) == nullptr) return FALSE;
  switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dialog, reinterpret_cast<EditRequest*>(lParam));
    case WM_ERASEBKGND: return OnEraseBackground(dialog, reinterpret_cast<HDC>(wParam));
    case WM_ACTIVATE: return OnActivate(dialog, wParam);
    case WM_SETFOCUS: return OnSetFocus(dialog);
    case WM_TIMER: return OnTimer(dialog, wParam);
    case WM_KEYUP: return OnKeyUp(dialog, static_cast<UINT>(wParam));
    case WM_KEYDOWN: return TRUE;  // the application buttons act on release
    case KeyboardInputMessage: return OnKeyboardInput(dialog, wParam, reinterpret_cast<const WCHAR*>(lParam));
    case CaretMovedMessage: return OnCaretMoved(dialog);
    case WM_COMMAND: return OnCommand(dialog, wParam, lParam);
    case OpenFxKeysMessage: return OnOpenFxKeys(dialog);
    case MenuCommandMessage: return OnMenuCommand(dialog, static_cast<int>(static_cast<LONG_PTR>(wParam)));
    case ProgramClosingMessage: return OnProgramClosing(dialog);
    case WM_CLOSE: return OnClose(dialog);
    case WM_DESTROY: return OnDestroy(dialog);
    default: return FALSE;
  }
}

int OpenMainScreen(HWND owner, EditRequest* request) {
  return static_cast<int>(DialogBoxParam(ProgramInstance, MAKEINTRESOURCE(kMainScreenDialog), owner, MainScreenProc,
                                         reinterpret_cast<LPARAM>(request)));
}

void OpenNewNote(HWND mainWindow) { OpenMainScreen(mainWindow, nullptr); }
