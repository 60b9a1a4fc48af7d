// Tavrel: the start window, made of five picture bands (setup/exit, new note, notes, new
// contact, contacts). Created by the start-up sequence; its destruction ends the program.
// With the setting `Menu` off, VK_RETURN opens a grid menu with "Setup" and "Exit".
//
// Deliberate choices where a reader might expect otherwise:
// - Timer 1 raises the window without activating it, so that an open grid menu (an owned
//   pop-up that holds the keyboard focus) keeps the keys.
// - The menu's "Exit" posts WM_CLOSE instead of destroying the window while the menu is still
//   inside its own message handler.
// - A pen-up acts only after a pen-down that hit a band; the band stays the focus for the
//   arrow keys.
// - The contacts band waits for the contacts-ready flag only while a contacts thread runs,
//   and then shows what the thread had to report.
// - Closing the window (its own Exit, the host window's close, the host ending the program)
//   first asks every window opened above it to save what is being typed
//   (ProgramClosingMessage), so a note being typed is saved, not dropped; a window that
//   could not save stays open and the close is given up.
#include "shell/main_window.h"

#include "common/full_screen.h"
#include "common/messages.h"
#include "contacts/poom/poom_interface.h"
#include "drawing/back_buffer.h"
#include "drawing/button_panel.h"
#include "drawing/font_table.h"
#include "settings/settings_store.h"
#include "shell/contacts_host.h"
#include "shell/edit_mode.h"
#include "shell/main_screen.h"
#include "shell/menu_bar.h"
#include "shell/notes_list_host.h"
#include "shell/program_folder.h"
#include "shell/setup_entry.h"
#include "shell/startup.h"
#include "shell/window_stack.h"

#include <device/kernel.h>
#include <device/shell.h>

namespace {

constexpr UINT_PTR kFullScreenTimer = 1;  // raise the window and hide the shell's bars
constexpr UINT_PTR kAssignTimer = 2;      // first-run button assignment, once per start
constexpr UINT kFullScreenDelayMs = 100;
constexpr UINT kAssignDelayMs = 200;

constexpr int kBandCount = 5;
constexpr int kSetupPartWidth = 50;  // band 0: x < 50 opens the setup dialog, the rest closes the program

// The StartPanel: image slot k is skin image kStartImages[k], so slot 0 is "open_01.png" and
// slot 4 "open_00.png". No labels, drawn opaque, text format 0.
constexpr int kStartImages[kBandCount] = {36, 37, 38, 39, 35};
constexpr ButtonSpec kStartBands[kBandCount] = {
    // left top  right bottom slot label format  x  y inset font mode transparent text
    {0,   0,   240, 105, 4, u"", 0, 0, 0, 0, 0, 1, 0, 0},  // 0 setup / exit
    {0,   105, 240, 155, 0, u"", 0, 0, 0, 0, 0, 1, 0, 0},  // 1 new note
    {0,   155, 240, 209, 1, u"", 0, 0, 0, 0, 0, 1, 0, 0},  // 2 notes
    {0,   209, 240, 258, 2, u"", 0, 0, 0, 0, 0, 1, 0, 0},  // 3 new contact
    {0,   258, 240, 320, 3, u"", 0, 0, 0, 0, 0, 1, 0, 0},  // 4 contacts
};

// What a band opens on pen-up: the main screen (template 101, modal), the notes list (117), the
// contact menu with no contact (110) and the contact list (112), the last three modeless. An
// opener stays null until its window is part of the program. Band 0 is handled on its own.
using WindowOpener = void (*)(HWND mainWindow);
struct BandAction {
  std::int32_t editMode;   // EditMode set before opening
  WindowOpener open;
  bool waitsForContacts;   // the contact list needs the loaded contacts
};
constexpr BandAction kBandActions[kBandCount] = {
    // EditMode         opener                 waits
    {kEditField,       nullptr,               false},  // 0 (not used: setup dialog or close)
    {kEditNewNote,     OpenNewNote,           false},  // 1 MainScreen
    {kEditNotesList,   OpenNotesListWindow,   false},  // 2 notes list
    {kEditField,       OpenNewContactWindow,  false},  // 3 contact menu, no contact
    {kEditContactList, OpenContactListWindow, true},   // 4 contact list
};
// The setup dialog (template 119, modal).
constexpr WindowOpener kOpenSetupDialog = OpenSetupDialog;

constexpr int kSetupCommand = 3;  // grid menu buttons of the start window
constexpr int kExitCommand = 4;

struct MainWindowState {
  ButtonSpec bands[kBandCount];  // the StartPanel's buttons; the toolkit keeps a pointer to them
  ButtonPanel startPanel;        // the StartPanel
  int pressedBand;               // written by PressButtonAt and MoveButtonFocus; -1 none
  bool penOnBand;                // a pen-down hit a band and its pen-up has not come yet
  HWND menuBar;                  // the grid menu, while open
};

MainWindowState* State(HWND hwnd) { return reinterpret_cast<MainWindowState*>(GetWindowLong(hwnd, GWL_USERDATA)); }

void Open(WindowOpener opener, HWND hwnd) {
  if (opener != nullptr) opener(hwnd);
}

void OpenGridMenu(HWND hwnd, MainWindowState& state) {
  MenuSpec menuSpec{kMenuMainWindow, 0, 1};
  state.menuBar = CreateWindowEx(0, kMenuClassName, kMenuTitle, kMenuGridStyle, 0, 150, 240, 30, hwnd, nullptr,
                                 ProgramInstance, &menuSpec);
}

LRESULT OnCreate(HWND hwnd) {
  auto* state = new MainWindowState{};
  for (int i = 0; i < kBandCount; ++i) state->bands[i] = kStartBands[i];
  state->pressedBand = -1;
  SetWindowLong(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(state));
  PushWindow(hwnd);
  SetTimer(hwnd, kFullScreenTimer, kFullScreenDelayMs, nullptr);
  SetTimer(hwnd, kAssignTimer, kAssignDelayMs, nullptr);
  HDC screen = GetDC(hwnd);
  CreateBackBuffer(screen);
  ReleaseDC(hwnd, screen);
  state->startPanel = RegisterButtonPanel(hwnd, state->bands, kBandCount, kStartImages, kBandCount, 0);
  return 0;
}

LRESULT OnEraseBackground(HWND hwnd, HDC dc) {
  HDC back = BackBufferDC();
  DrawPanelBackground(hwnd, State(hwnd)->startPanel, back);
  BitBlt(dc, 0, 0, kScreenWidth, kScreenHeight, back, 0, 0, SRCCOPY);
  SetTimer(hwnd, kFullScreenTimer, kFullScreenDelayMs, nullptr);
  return 1;
}

LRESULT OnSetFocus(HWND hwnd) {
  SetTimer(hwnd, kFullScreenTimer, kFullScreenDelayMs, nullptr);
  return 0;
}

void OnFullScreenTimer(HWND hwnd) {
  SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SHFullScreen(hwnd, kFullScreenFlags);
  KillTimer(hwnd, kFullScreenTimer);
}

void OnAssignTimer(HWND hwnd) {
  KillTimer(hwnd, kAssignTimer);
  if (AssignToolStarted()) return;
  StartAssignTool();
  MarkAssignToolStarted();
}

void OnMenuClosedTimer(HWND hwnd) {
  SetWindowPos(hwnd, nullptr, 0, 0, kScreenWidth, kScreenHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(hwnd, nullptr, TRUE);
  KillTimer(hwnd, kMenuClosedTimer);
}

LRESULT OnTimer(HWND hwnd, UINT_PTR id) {
  switch (id) {
    case kFullScreenTimer: OnFullScreenTimer(hwnd); break;
    case kAssignTimer: OnAssignTimer(hwnd); break;
    case kMenuClosedTimer: OnMenuClosedTimer(hwnd); break;
    default: break;
  }
  return 0;
}

LRESULT OnKeyDown(HWND hwnd, UINT key) {
  MainWindowState* state = State(hwnd);
  if (key == VK_RETURN) {
    if (!IsWindow(state->menuBar) && TheSettings().Menu == 0) OpenGridMenu(hwnd, *state);
    return 0;
  }
  MoveButtonFocus(hwnd, static_cast<int>(key), state->bands, state->startPanel, &state->pressedBand, true);
  return 0;
}

LRESULT OnPenDown(HWND hwnd, int x, int y) {
  MainWindowState* state = State(hwnd);
  if (PressButtonAt(hwnd, state->bands, x, y, state->startPanel, &state->pressedBand) >= 0) state->penOnBand = true;
  return 0;
}

LRESULT OnPenUp(HWND hwnd, int x) {
  MainWindowState* state = State(hwnd);
  if (!state->penOnBand) return 0;
  state->penOnBand = false;
  const int band = state->pressedBand;
  if (band == 0) {
    // The window may be gone afterwards: nothing is redrawn.
    if (x < kSetupPartWidth) Open(kOpenSetupDialog, hwnd);
    else SendMessage(hwnd, WM_CLOSE, 0, 0);
    return 0;
  }
  const BandAction& action = kBandActions[band];
  EditMode = action.editMode;
  if (action.waitsForContacts) WaitForContacts();
  Open(action.open, hwnd);
  if (!IsWindow(hwnd)) return 0;
  SetTimer(hwnd, kFullScreenTimer, kFullScreenDelayMs, nullptr);
  DrawButton(hwnd, state->bands[band], kButtonFocused, state->startPanel);
  return 0;
}

LRESULT OnMenuCommand(HWND hwnd, int button) {
  MainWindowState* state = State(hwnd);
  if (button == kSetupCommand) {
    DestroyWindow(state->menuBar);
    state->menuBar = nullptr;
    Open(kOpenSetupDialog, hwnd);
  } else if (button == kExitCommand) {
    PostMessage(hwnd, WM_CLOSE, 0, 0);
  }
  return 0;
}

// True when every window above the start window let the program close.
bool WindowsAboveAgreeToClose(HWND hwnd) {
  for (int i = TheWindowStack.count - 1; i >= 0; --i) {
    HWND window = TheWindowStack.windows[i];
    if (window != hwnd && IsWindow(window) && SendMessage(window, ProgramClosingMessage, 0, 0) != 0) return false;
  }
  return true;
}

LRESULT OnClose(HWND hwnd) {
  if (WindowsAboveAgreeToClose(hwnd)) DestroyWindow(hwnd);
  return 0;
}

LRESULT OnDestroy(HWND hwnd) {
  MainWindowState* state = State(hwnd);
  PopWindow(hwnd);
  UnregisterButtonPanel(state->startPanel);
  SaveSettings();
  DeleteAllAppFonts();
  PostQuitMessage(0);
  SetWindowLong(hwnd, GWL_USERDATA, 0);
  delete state;
  return 0;
}

}  // namespace

LRESULT CALLBACK TavrelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // Messages before WM_CREATE or after WM_DESTROY find no state.
  if (msg != WM_CREATE && State(hwnd) == nullptr) return DefWindowProc(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_CREATE: return OnCreate(hwnd);
    case WM_ERASEBKGND: return OnEraseBackground(hwnd, reinterpret_cast<HDC>(wParam));
    case WM_SETFOCUS: return OnSetFocus(hwnd);
    case WM_TIMER: return OnTimer(hwnd, wParam);
    case WM_KEYDOWN: return OnKeyDown(hwnd, static_cast<UINT>(wParam));
    case WM_LBUTTONDOWN: return OnPenDown(hwnd, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    case WM_LBUTTONUP: return OnPenUp(hwnd, GET_X_LPARAM(lParam));
    case MenuCommandMessage: return OnMenuCommand(hwnd, static_cast<int>(wParam));
    case WM_CLOSE: return OnClose(hwnd);
    case WM_DESTROY: return OnDestroy(hwnd);
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}
