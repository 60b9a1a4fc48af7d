// The start-up sequence, the message loop and the shut-down, in their fixed order, and the
// table of the program's window classes.
#include "shell/startup.h"

#include "contacts/poom/poom_interface.h"
#include "drawing/skin_images.h"
#include "editor/landscape_editor.h"
#include "editor/note_editor.h"
#include "keyboards/calculator_keypad.h"
#include "keyboards/landscape_keyboard.h"
#include "keyboards/phone_keypad.h"
#include "keyboards/predict_keypad.h"
#include "keyboards/prediction_bar.h"
#include "keyboards/qwerty_keyboard.h"
#include "notes/view_note_window.h"
#include "prediction/language_switch.h"
#include "prediction/prediction_engine.h"
#include "resources/tavrel_dialogs.h"
#include "settings/settings_store.h"
#include "shell/fx_keys.h"
#include "shell/main_window.h"
#include "shell/menu_bar.h"
#include "shell/program_folder.h"
#include "shell/single_instance.h"
#include "shell/start_problems.h"

#include <device/shell.h>

HINSTANCE ProgramInstance = nullptr;
HWND MainWindow = nullptr;
HWND RichInkWindow = nullptr;
HANDLE ContactsThread = nullptr;
std::atomic<std::int32_t>& ContactsReady = TheContactList().ready;

namespace {

// The program's window classes in registration order. A window that becomes part of the
// program adds its class row here, at its place.
constexpr WindowClassRow kWindowClasses[] = {
    {kMainWindowClass, TavrelProc, false, WHITE_BRUSH},
    kNoteEditorClassRow,
    kPredictKeyClassRow,
    kPhoneKeyClassRow,
    kLandscapeKeyClassRow,
    kNumExpKeyClassRow,
    kQwertyKeyClassRow,
    kPredictionBarClassRow,
    kLandscapeEditorClassRow,
    kMenuClassRow,
    kFxKeyClassRow,
    kViewNoteClassRow,
};

constexpr WCHAR kRichInkLibrary[] = u"richink.dll";
constexpr WCHAR kRichInkClass[] = u"richink";
constexpr WCHAR kRichInkTitle[] = u"rec";
constexpr DWORD kRichInkStyle = 0x800;

// ContactLoader runs on its own thread with no argument; the handle is kept, never waited for.
void StartContactsThread() { ContactsThread = StartContactLoader(); }

void LogOffContactStore() { PoomLogoff(); }

// Reads the languages; returns what is wrong with the file, or an empty text.
std::u16string ReadKeyboardFile() {
  WCHAR path[kPathRoom];
  if (!ProgramFolderPath(u"keyboard.txt", path)) return {};
  LanguageTable& languages = ThePredictionEngine().languages;
  const bool read = ReadLanguageFile(path, languages);
  return KeyboardFileProblem(path, read, languages);
}

void LoadCurrentLanguage() {
  SettingsBlock& settings = TheSettings();
  ApplyUsedLanguageRule(settings);
  LoadLanguageDictionaries(ThePredictionEngine(), settings.CurrentLang);
}

// The hidden window that converts note files, only when the rich-ink library and its class
// are there.
void CreateRichInkWindow(HINSTANCE instance) {
  WNDCLASSW info;
  if (LoadLibrary(kRichInkLibrary) == nullptr || !GetClassInfo(instance, kRichInkClass, &info)) return;
  RichInkWindow = CreateWindowEx(0, kRichInkClass, kRichInkTitle, kRichInkStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
}

// Key-down messages are not translated into characters.
void RunMessageLoop() {
  MSG msg;
  while (GetMessage(&msg, nullptr, 0, 0)) DispatchMessage(&msg);
}

// Only a dictionary that was loaded is saved, into its own language's file: when start-up
// stopped before loading one (no start window), saving would write an empty dictionary over
// the language's file.
void ShutDown() {
  PredictionEngine& engine = ThePredictionEngine();
  const int loaded = engine.tracker.GetLoadedLanguage();
  if (loaded >= 0) SaveLanguageDictionary(engine, loaded);
  GXCloseInput();
  LogOffContactStore();
}

}  // namespace

void RegisterWindowClasses(HINSTANCE instance) {
  for (const WindowClassRow& row : kWindowClasses) RegisterWindowClass(instance, row);
}

int RunTavrel(HINSTANCE instance) {
  SingleInstance single;
  if (single.RaiseRunningInstance()) {
    ReportRaisedInstance();
    return 0;
  }
  ProgramInstance = instance;
  RegisterWindowClasses(instance);
  RegisterTavrelDialogs();  // the dialog templates, the device's stand-in for resources
  GXOpenInput();
  const std::u16string keyboardProblem = ReadKeyboardFile();
  LoadSkinImages();
  MainWindow = CreateWindowEx(0, kMainWindowClass, kMainWindowTitle, kMainWindowStyle, 0, 0, kMainWindowWidth,
                              kMainWindowHeight, nullptr, nullptr, instance, nullptr);
  single.StartUpDone();  // the start window can be found now
  // The component object library needs no set-up on the device; the contact store does its own.
  StartContactsThread();
  if (MainWindow != nullptr) {
    UpdateWindow(MainWindow);
    LoadSettings();
    LoadCurrentLanguage();
    CreateRichInkWindow(instance);
    ReportStartProblems(MainWindow, {keyboardProblem, SettingsStoreProblem()});
    // Without a start window nothing could ever end the loop.
    RunMessageLoop();
  }
  ShutDown();
  return 0;
}
