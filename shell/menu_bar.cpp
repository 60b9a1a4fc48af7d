// MenuClass: the soft-key menu bar of every screen, as a 240 x 30 bar or a pop-up 3 x 3 grid.
// Created by its owner (the start window on VK_RETURN, the main screen, the notes list, the
// contact windows, the Fx keys) with a MenuSpec; reports the chosen button to the owner.
//
// Deliberate choices where a reader might expect otherwise:
// - The focused button and the collapse state are kept per menu, not process-wide, so a grid
//   that closes (focus on "Back") leaves the focus of its screen's bar untouched.
// - Only a bar collapses: button 0 of a kind-0 grid (which its owner creates with flag 0)
//   reports its command like every other button instead of shrinking the grid to 45 x 30.
// - A label message for a button outside 0-8 is ignored.
// - A grid asked for by a window that is not the top of the window stack is not created.
#include "shell/menu_bar.h"

#include "common/messages.h"
#include "drawing/button_panel.h"
#include "drawing/font_table.h"
#include "drawing/skin_images.h"
#include "shell/edit_mode.h"
#include "shell/window_stack.h"

#include <device/user.h>

namespace {

constexpr UINT_PTR kUpdateTimer = 1;      // grid: update the window 100 ms after opening or losing the focus
constexpr UINT_PTR kIgnoreKeysTimer = 2;  // grid: keys count again 300 ms after opening
constexpr UINT kUpdateDelayMs = 100;
constexpr UINT kIgnoreKeysMs = 300;
constexpr UINT kOwnerMenuClosedDelayMs = 100;

constexpr int kCellWidth = 48;
constexpr int kCellHeight = 30;
constexpr int kBarWidth = 240;
constexpr int kCollapsedWidth = 45;
constexpr RECT kGridWindow{48, 200, 48 + 3 * kCellWidth, 200 + 3 * kCellHeight};
constexpr int kLabelRoom = 199;  // characters a label message copies

// Image list of every menu: slot 0 plain, 1 right arrow, 2 left arrow.
constexpr int kMenuImages[] = {kSkinMenuUres, kSkinMenuJobb, kSkinMenuBal};

constexpr UINT kCentred = 5;  // DT_CENTER | DT_VCENTER
constexpr int kVerticalInset = 8;

// Labels and image slots by kind (buttons 0 to 4; buttons 1 and 2 take the slots given, all
// others slot 0). Kind 0's buttons 3 and 4 read "Ok" and "Cancel" when EditMode is 0.
struct KindLabels {
  const WCHAR* label[5];
  int slot1, slot2;
  int textOffsetX0;  // text x offset of button 0
};
constexpr KindLabels kKindLabels[] = {
    // button 0    button 1 button 2  button 3   button 4   slots  x offset
    {{u"ABC",    u"", u"Keys", u"Save",   u"Back"}, 0, 0, 0},  // 0 main screen
    {{u"Delete", u"", u"",     u"Edit",   u"Back"}, 2, 1, 1},  // 1 notes list
    {{u"",       u"", u"Keys", u"",       u"Back"}, 0, 0, 0},  // 2 contact list
    {{u"Setup",  u"", u"",     u"Save",   u"Back"}, 2, 1, 0},  // 3 contact menu
    {{u"Edit",   u"", u"",     u"Delete", u"Back"}, 2, 1, 0},  // 4 contact details
    {{u"",       u"", u"",     u"Setup",  u"Exit"}, 0, 0, 0},  // 5 start window
    {{u"",       u"", u"",     u"",       u"OK"},   2, 1, 0},  // 6 Fx keys
};
constexpr WCHAR kFieldOk[] = u"Ok";
constexpr WCHAR kFieldCancel[] = u"Cancel";
constexpr WCHAR kCornerLabel[] = u"x";
constexpr WCHAR kCollapsedLabel[] = u">>";
constexpr WCHAR kExpandedLabel[] = u"<<";
constexpr WCHAR kPortraitLabel[] = u"ABC";

// The grid's cells, row by row.
enum Cell { kTopLeft, kTop, kTopRight, kLeft, kCentre, kRight, kBottomLeft, kBottom, kBottomRight };

// Grid places by kind: the cells of buttons 0 to 3 and the button focused at start. Buttons 4
// to 8 are always the centre, top-right, bottom-right, top-left and bottom-left cells.
struct KindPlaces {
  Cell cell[4];
  int startFocus;
};
constexpr KindPlaces kKindPlaces[] = {
    // button 0  button 1 button 2 button 3   focus
    {{kRight,  kTop,   kLeft,  kBottom}, 3},  // 0
    {{kBottom, kLeft,  kRight, kTop},    4},  // 1
    {{kRight,  kTop,   kLeft,  kBottom}, 4},  // 2
    {{kTop,    kLeft,  kRight, kBottom}, 3},  // 3
    {{kBottom, kLeft,  kRight, kTop},    4},  // 4
    {{kTop,    kLeft,  kRight, kBottom}, 4},  // 5
    {{kTop,    kLeft,  kRight, kBottom}, 4},  // 6
};
constexpr Cell kFixedCells[] = {kCentre, kTopRight, kBottomRight, kTopLeft, kBottomLeft};  // buttons 4-8
constexpr int kKindCount = static_cast<int>(sizeof kKindLabels / sizeof kKindLabels[0]);

struct MenuInstance {
  MenuSpec menuSpec;
  ButtonPanel panel;  // the buttons' panel
  int font;          // label font id
  bool ignoreKeys;   // grid: set for the first 300 ms
  int focused;       // focused button, -1 for none
  bool collapsed;    // landscape bar showing only its ">>" button
  ButtonSpec buttons[kMenuButtonCount];
};

MenuInstance* Menu(HWND hwnd) { return reinterpret_cast<MenuInstance*>(GetWindowLong(hwnd, GWL_USERDATA)); }

void CopyLabel(ButtonSpec& button, const WCHAR* text) {
  int n = 0;
  for (; n < kLabelRoom && text[n] != 0; ++n) button.label[n] = text[n];
  button.label[n] = 0;
}

void PlaceButton(ButtonSpec& button, LONG left, LONG top, LONG right, LONG bottom) {
  button.left = left;
  button.top = top;
  button.right = right;
  button.bottom = bottom;
}

void PlaceInCell(ButtonSpec& button, Cell cell) {
  const LONG left = (cell % 3) * kCellWidth;
  const LONG top = (cell / 3) * kCellHeight;
  PlaceButton(button, left, top, left + kCellWidth, top + kCellHeight);
}

// The default table: bar places (buttons 5 to 8 without width), plain image, "x" on the
// corner buttons, centred black labels.
void FillDefaultButtons(MenuInstance& m) {
  for (int i = 0; i < kMenuButtonCount; ++i) {
    ButtonSpec& b = m.buttons[i];
    b = ButtonSpec{};
    if (i < 5) PlaceButton(b, kCellWidth * i, 0, kCellWidth * i + kCellWidth, kCellHeight);
    else PlaceButton(b, kBarWidth, 0, kBarWidth, kCellHeight);
    b.imageSlot = 0;
    CopyLabel(b, i < 5 ? u"" : kCornerLabel);
    b.textFormat = kCentred;
    b.verticalInset = kVerticalInset;
    b.drawMode = 1;
    b.textColour = RGB(0, 0, 0);
  }
}

// Labels and images of the kind, and in grid form its places and starting focus. A kind
// outside the table keeps blank buttons and takes the places of kinds 3, 5 and 6.
void ApplyKind(MenuInstance& m) {
  const int kind = m.menuSpec.kind;
  const bool known = kind >= 0 && kind < kKindCount;
  if (known) {
    const KindLabels& labels = kKindLabels[kind];
    for (int i = 0; i < 5; ++i) CopyLabel(m.buttons[i], labels.label[i]);
    if (kind == kMenuMainScreen && EditMode == kEditField) {
      CopyLabel(m.buttons[3], kFieldOk);
      CopyLabel(m.buttons[4], kFieldCancel);
    }
    m.buttons[1].imageSlot = labels.slot1;
    m.buttons[2].imageSlot = labels.slot2;
    m.buttons[0].textOffsetX = labels.textOffsetX0;
  }
  if (!m.menuSpec.grid) return;
  const KindPlaces& places = kKindPlaces[known ? kind : kMenuMainWindow];
  for (int i = 0; i < 4; ++i) PlaceInCell(m.buttons[i], places.cell[i]);
  for (int i = 4; i < kMenuButtonCount; ++i) PlaceInCell(m.buttons[i], kFixedCells[i - 4]);
  m.focused = places.startFocus;
}

int FocusedState(const MenuInstance& m) { return m.menuSpec.grid ? kButtonFocused : kButtonNormal; }

void RedrawFocused(HWND hwnd, const MenuInstance& m) {
  if (m.focused >= 0) DrawButton(hwnd, m.buttons[m.focused], FocusedState(m), m.panel);
}

void ResizeBar(HWND hwnd, int width) {
  SetWindowPos(hwnd, nullptr, 0, 0, width, kCellHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Collapse(HWND hwnd, MenuInstance& m) {
  ResizeBar(hwnd, kCollapsedWidth);
  CopyLabel(m.buttons[0], kCollapsedLabel);
  m.collapsed = true;
}

void Expand(HWND hwnd, MenuInstance& m, const WCHAR* label) {
  ResizeBar(hwnd, kBarWidth);
  CopyLabel(m.buttons[0], label);
  m.collapsed = false;
}

// Sends the owner the command; false when the owner destroyed the menu meanwhile.
bool SendCommand(HWND hwnd, int button) {
  SendMessage(GetParent(hwnd), MenuCommandMessage, static_cast<WPARAM>(button), 0);
  return IsWindow(hwnd) != FALSE;
}

bool IsCorner(int button) { return button >= 5 && button < kMenuButtonCount; }

LRESULT OnCreate(HWND hwnd, const CREATESTRUCT* create) {
  // A grid opens only over the window that owns the screen. A key that reaches a window lying
  // under another one (sent before the window above took the focus) opens none: the grid would
  // sit above the window above, whose closing would then leave the window stack out of order.
  const auto* menuSpec = static_cast<const MenuSpec*>(create->lpCreateParams);
  if (menuSpec != nullptr && menuSpec->grid && create->hwndParent != TopWindow()) return -1;
  auto* m = new MenuInstance{};
  SetWindowLong(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(m));
  m->font = CreateAppFont(u"MS SANS SERIF", 13, false, false);
  if (menuSpec != nullptr) m->menuSpec = *menuSpec;
  m->focused = -1;
  FillDefaultButtons(*m);
  ApplyKind(*m);
  m->panel = RegisterButtonPanel(hwnd, m->buttons, kMenuButtonCount, kMenuImages, 3, m->font);
  m->collapsed = false;
  if (m->menuSpec.grid) {
    PushWindow(hwnd);
    SetWindowPos(hwnd, nullptr, kGridWindow.left, kGridWindow.top, kGridWindow.right - kGridWindow.left,
                 kGridWindow.bottom - kGridWindow.top, SWP_NOZORDER);
    SetTimer(hwnd, kUpdateTimer, kUpdateDelayMs, nullptr);
    SetFocus(hwnd);
    m->ignoreKeys = true;
    SetTimer(hwnd, kIgnoreKeysTimer, kIgnoreKeysMs, nullptr);
  }
  return 0;
}

LRESULT OnEraseBackground(HWND hwnd) {
  MenuInstance* m = Menu(hwnd);
  DrawPanel(hwnd, m->buttons, m->panel);
  RedrawFocused(hwnd, *m);
  return 1;
}

LRESULT OnPenDown(HWND hwnd, int x, int y) {
  MenuInstance* m = Menu(hwnd);
  const int previous = m->focused;
  m->focused = PressButtonAt(hwnd, m->buttons, x, y, m->panel, nullptr);
  // The old focus loses its look in a grid, where the focus is drawn.
  if (m->menuSpec.grid && previous >= 0 && previous != m->focused) {
    DrawButton(hwnd, m->buttons[previous], kButtonNormal, m->panel);
  }
  return 0;
}

LRESULT OnPenUp(HWND hwnd) {
  MenuInstance* m = Menu(hwnd);
  if (IsCorner(m->focused)) {
    DestroyWindow(hwnd);
    return 0;
  }
  const bool landscapeBar = !m->menuSpec.grid && m->menuSpec.kind == kMenuMainScreen && m->menuSpec.flag == 0;
  if (m->focused == 0 && landscapeBar) {
    if (m->collapsed) Expand(hwnd, *m, kExpandedLabel);
    else Collapse(hwnd, *m);
  } else if (!SendCommand(hwnd, m->focused)) {
    return 0;
  }
  RedrawFocused(hwnd, *m);
  return 0;
}

LRESULT OnKeyDown(HWND hwnd, UINT key) {
  MenuInstance* m = Menu(hwnd);
  if (m->ignoreKeys) return 0;
  if (key != VK_RETURN) {
    MoveButtonFocus(hwnd, static_cast<int>(key), m->buttons, m->panel, &m->focused, true);
    return 0;
  }
  if (IsCorner(m->focused)) {
    DestroyWindow(hwnd);
    return 0;
  }
  if (SendCommand(hwnd, m->focused)) RedrawFocused(hwnd, *m);
  return 0;
}

LRESULT OnTimer(HWND hwnd, UINT_PTR id) {
  if (id == kUpdateTimer) {
    UpdateWindow(hwnd);
  } else if (id == kIgnoreKeysTimer) {
    Menu(hwnd)->ignoreKeys = false;
  }
  KillTimer(hwnd, id);
  return 0;
}

LRESULT OnKillFocus(HWND hwnd) {
  if (Menu(hwnd)->menuSpec.grid) SetTimer(hwnd, kUpdateTimer, kUpdateDelayMs, nullptr);
  return 0;
}

LRESULT OnLayout(HWND hwnd, int kind, int flag) {
  MenuInstance* m = Menu(hwnd);
  m->menuSpec.kind = kind;
  m->menuSpec.flag = flag;
  if (!m->menuSpec.grid) {
    if (kind == kMenuMainScreen && flag == 0) Collapse(hwnd, *m);
    else if (kind == kMenuMainScreen) Expand(hwnd, *m, kPortraitLabel);
    else ResizeBar(hwnd, kBarWidth);
  }
  InvalidateRect(hwnd, nullptr, TRUE);
  return 0;
}

LRESULT OnLabel(HWND hwnd, WPARAM index, const WCHAR* text) {
  MenuInstance* m = Menu(hwnd);
  if (index >= static_cast<WPARAM>(kMenuButtonCount) || text == nullptr) return 0;
  CopyLabel(m->buttons[index], text);
  InvalidateRect(hwnd, nullptr, TRUE);
  return 0;
}

LRESULT OnDestroy(HWND hwnd) {
  MenuInstance* m = Menu(hwnd);
  if (m->menuSpec.grid) PopWindow(hwnd);
  SetTimer(GetParent(hwnd), kMenuClosedTimer, kOwnerMenuClosedDelayMs, nullptr);
  DeleteAppFont(m->font);
  UnregisterButtonPanel(m->panel);
  SetWindowLong(hwnd, GWL_USERDATA, 0);
  delete m;
  return 0;
}

}  // namespace

LRESULT CALLBACK MenuClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // Messages before WM_CREATE or after WM_DESTROY find no instance.
  if (msg != WM_CREATE && Menu(hwnd) == nullptr) return DefWindowProc(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_CREATE: return OnCreate(hwnd, reinterpret_cast<const CREATESTRUCT*>(lParam));
    case WM_ERASEBKGND: return OnEraseBackground(hwnd);
    case WM_LBUTTONDOWN: return OnPenDown(hwnd, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    case WM_LBUTTONUP: return OnPenUp(hwnd);
    case WM_KEYDOWN: return OnKeyDown(hwnd, static_cast<UINT>(wParam));
    case WM_TIMER: return OnTimer(hwnd, wParam);
    case WM_KILLFOCUS: return OnKillFocus(hwnd);
    case MenuLayoutMessage: return OnLayout(hwnd, static_cast<int>(wParam), static_cast<int>(lParam));
    case MenuLabelMessage: return OnLabel(hwnd, wParam, reinterpret_cast<const WCHAR*>(lParam));
    case WM_DESTROY: return OnDestroy(hwnd);
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}
