// Helpers of the main screen tests: the main screen opened as a program of its own (the
// classes, templates, language file, skins and dictionaries of a real start, an owner window
// standing in for the start window), and the places a person taps.
#pragma once

#include "common/messages.h"
#include "drawing/back_buffer.h"
#include "drawing/skin_images.h"
#include "editor/note_editor.h"
#include "keyboards/phone_keypad.h"
#include "keyboards/predict_keypad.h"
#include "keyboards/prediction_bar.h"
#include "prediction/language_switch.h"
#include "prediction/prediction_engine.h"
#include "resources/tavrel_dialogs.h"
#include "settings/settings_store.h"
#include "shell/edit_mode.h"
#include "shell/main_screen.h"
#include "shell/menu_bar.h"
#include "shell/program_folder.h"
#include "shell/startup.h"
#include "shell/window_stack.h"

#include <device/driver.h>
#include <device/edit.h>

#include <functional>
#include <string>

namespace mainscreen_test {

inline HINSTANCE TestInstance() { return reinterpret_cast<HINSTANCE>(0x00010000); }
inline constexpr WCHAR kOwnerClass[] = u"MainScreenTestOwner";

// How a test opens the main screen.
struct Opening {
  std::int32_t editMode = kEditNewNote;
  EditRequest* request = nullptr;
  // Runs after start-up and before the screen opens (to change settings or write files); the
  // settings are saved afterwards, since the main screen loads them again.
  std::function<void(SettingsBlock&)> beforeOpening;
};

// What the program did, for the test to check after the script.
struct Outcome {
  int result = -2;  // OpenMainScreen's value
};

inline void RegisterClasses(HINSTANCE instance) {
  RegisterWindowClasses(instance);  // every class of the program, as start-up registers them
  WNDCLASSW owner{};
  owner.lpfnWndProc = DefWindowProc;
  owner.hInstance = instance;
  owner.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  owner.lpszClassName = kOwnerClass;
  RegisterClass(&owner);
}

// The start-up steps the main screen relies on: classes, templates, the language file, the
// skins, the back buffer, the settings and the current language's dictionaries. Returns the
// window that stands in for the start window.
inline HWND StartProgram() {
  TheWindowStack = WindowStack{};
  PredictionEngine& engine = ThePredictionEngine();
  engine.tracker.SetLoadedLanguage(-1);
  engine.dictionary.EmptyDictionary();
  device::EnsureDeviceImage();
  ProgramInstance = TestInstance();
  RegisterClasses(ProgramInstance);
  RegisterTavrelDialogs();
  WCHAR path[kPathRoom];
  if (ProgramFolderPath(u"keyboard.txt", path)) ReadLanguageFile(path, engine.languages);
  LoadSkinImages();
  HWND owner = CreateWindowEx(0, kOwnerClass, u"owner", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                              ProgramInstance, nullptr);
  PushWindow(owner);
  HDC screen = GetDC(owner);
  CreateBackBuffer(screen);
  ReleaseDC(owner, screen);
  LoadSettings();
  ApplyUsedLanguageRule(TheSettings());
  LoadLanguageDictionaries(engine, TheSettings().CurrentLang);
  WNDCLASSW richInk{};
  if (LoadLibrary(u"richink.dll") != nullptr && GetClassInfo(ProgramInstance, u"richink", &richInk)) {
    RichInkWindow = CreateWindowEx(0, u"richink", u"rec", 0x800, 0, 0, 10, 10, nullptr, nullptr, ProgramInstance,
                                   nullptr);
  }
  return owner;
}

// The program: start-up, then the main screen over the start window's stand-in.
inline int OpenAsProgram(const Opening& opening) {
  HWND owner = StartProgram();
  if (opening.beforeOpening) {
    opening.beforeOpening(TheSettings());
    SaveSettings();
  }
  EditMode = opening.editMode;
  const int result = OpenMainScreen(owner, opening.request);
  DestroyWindow(owner);
  return result;
}

// Opens the main screen and plays `script` against it; the screen's result is returned.
inline int RunMainScreen(const Opening& opening, const std::function<void(device::Driver&)>& script) {
  return device::RunProgramWithScript([&] { return OpenAsProgram(opening); },
                                      [&](device::Driver& d) {
                                        d.AdvanceTime(200);  // the opening timers
                                        script(d);
                                      });
}

// ---- the screen's parts ----

inline HWND Screen(const device::Driver& d) { return d.Find(u"#32770", nullptr); }
inline HWND Editor(const device::Driver& d) { return d.Find(u"EDIT", nullptr); }
inline HWND Bar(const device::Driver& d) { return d.Find(kPredictionBarClass, kPredictionBarTitle); }
inline HWND Keyboard(const device::Driver& d) { return d.Find(nullptr, u"keyboard"); }

inline std::u16string ClassOf(HWND hwnd) {
  WCHAR name[64] = {};
  if (hwnd != nullptr) GetClassName(hwnd, name, 64);
  return name;
}

inline std::u16string EditorText(const device::Driver& d) { return d.WindowText(Editor(d)); }

inline std::pair<DWORD, DWORD> Selection(HWND editor) {
  DWORD start = 0, end = 0;
  SendMessage(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {start, end};
}

// Input as a keyboard sends it.
inline void SendInput(device::Driver& d, WPARAM code, const WCHAR* text = u"") {
  SendMessage(Screen(d), KeyboardInputMessage, code, reinterpret_cast<LPARAM>(text));
  d.RunUntilIdle();
}
inline void TypeWord(device::Driver& d, const std::u16string& word) {
  for (char16_t c : word) {
    const WCHAR one[2] = {c, 0};
    SendInput(d, kInputCharacter, one);
  }
}

// Where the portrait keyboards lie on the screen with `Menu` on.
inline constexpr int kKeyboardTop = 122;

inline POINT KeyCentre(const RECT& key) {
  return POINT{(key.left + key.right) / 2, kKeyboardTop + (key.top + key.bottom) / 2};
}

// The predictive-keypad key that types `c` in the current language (Space for ' ', and the
// Space key too when no key types it).
inline POINT PredictiveKeyPoint(WCHAR c) {
  const WCHAR* row = ThePredictionEngine().languages.Language(TheSettings().CurrentLang).PREDICT_1;
  if (c != u' ') {
    for (int i = 0; i < kCharacterKeyCount && row[i] != 0; ++i) {
      if (row[i] == c) return KeyCentre(PredictKeyPlace(i).rect);
    }
  }
  return KeyCentre(PredictKeyPlace(kPredictSpaceKey).rect);
}

inline POINT PhoneKeyPoint(int key) { return KeyCentre(PhoneKeyPlace(key).rect); }

// The menu bar (`Menu` on): five 48-pixel buttons along the top.
inline void TapMenu(device::Driver& d, int button) { d.Tap(48 * button + 24, 15); }

// "Keys" on the menu bar; with the landscape keyboard the bar is folded to its ">>" button,
// which unfolds it first.
inline void TapKeys(device::Driver& d) {
  RECT bar{};
  GetWindowRect(d.Find(kMenuClassName, nullptr), &bar);
  if (bar.right - bar.left < 240) TapMenu(d, 0);
  TapMenu(d, 2);
}

inline void Tap(device::Driver& d, HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  d.Tap(p.x, p.y);
}

}  // namespace mainscreen_test
