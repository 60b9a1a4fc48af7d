// FxKeyClass: the Fx keys pop-up, 240 x 227 at (0, 93), owned by the main screen, which
// creates it when the prediction bar asks for it. Six text keys show the predefined texts of
// the current page; "#Date", "#Time" and "Lock" lie below them. A chosen text goes to the
// owner with code 114 and, unless locked, the pop-up closes. With `Menu` on it carries a
// kind-6 menu bar (previous page, next page, "OK"); with `Menu` off Enter opens that menu as
// a grid.
//
// Deliberate choices:
// - An empty key sends nothing (it still closes an unlocked pop-up): an empty completion
//   would make the main screen replace the rest of the word at the caret with nothing.
// - A key acts on pen-up only when the pen-down hit it (as on the keypads).
// - The pop-up is not created for an owner that is not the top of the window stack.
// - Timer 1 stops after its first run whether or not the pop-up was on top, so a pop-up
//   under a menu grid does not tick every 100 ms.
#include "shell/fx_keys.h"

#include "common/full_screen.h"
#include "common/messages.h"
#include "drawing/back_buffer.h"
#include "drawing/button_panel.h"
#include "drawing/font_table.h"
#include "drawing/skin_images.h"
#include "drawing/text_drawing.h"
#include "settings/settings_store.h"
#include "shell/menu_bar.h"
#include "shell/window_stack.h"

#include <device/kernel.h>
#include <device/shell.h>

#include <array>
#include <cstdio>
#include <iterator>
#include <string>

namespace {

constexpr UINT_PTR kFullScreenTimer = 1;  // raise the pop-up (and its menu bar) and hide the shell's bars
constexpr UINT_PTR kFocusTimer = 3;       // take the focus back
constexpr UINT kOpeningDelayMs = 100;
constexpr UINT kFocusDelayMs = 50;
constexpr UINT kOwnerTimerDelayMs = 5;
constexpr UINT_PTR kOwnerFullScreenTimer = 1;

constexpr UINT kCentred = DT_CENTER | DT_VCENTER;  // 5
constexpr COLORREF kLabelGrey = 0xB3B3B3;
constexpr int kOpaque = 1;
constexpr int kLabelInset = 2;

// Image list: "01.png", "fura_01.png", "fx_button.png"; the keys use slots 0 and 2.
constexpr int kFxKeyImages[] = {kSkin01, kSkinFura01, kSkinFxButton};
constexpr KeyboardFaces kFxKeyFaces{kFxKeyImages, static_cast<int>(std::size(kFxKeyImages)), 14, 11};

constexpr RECT kPageIndicator{5, 4, 20, 29};
constexpr RECT kMenuBarPlace{0, 0, 240, 30};
constexpr RECT kMenuGridPlace{0, 150, 240, 180};
enum FxMenuButton { kPreviousPageButton = 1, kNextPageButton = 2, kOkButton = 4 };

template <size_t N = 1>
constexpr ButtonSpec Key(LONG left, LONG top, LONG right, LONG bottom, int slot, const char16_t (&label)[N] = u"") {
  ButtonSpec key{.left = left, .top = top, .right = right, .bottom = bottom, .imageSlot = slot, .textFormat = kCentred,
                 .verticalInset = kLabelInset, .drawMode = kOpaque, .textColour = kLabelGrey};
  for (size_t c = 0; c < N; ++c) key.label[c] = label[c];
  return key;
}

constexpr std::array<ButtonSpec, kFxKeyCount> BuildFxKeys() {
  std::array<ButtonSpec, kFxKeyCount> keys{};
  for (int k = 0; k < kFxTextKeyCount; ++k) keys[k] = Key(20, 4 + 32 * k, 220, 29 + 32 * k, 2);
  keys[kFxDateKey] = Key(0, 198, 80, 224, 0, u"#Date");
  keys[kFxTimeKey] = Key(80, 198, 160, 224, 0, u"#Time");
  keys[kFxLockKey] = Key(160, 198, 240, 224, 0, u"Lock");
  return keys;
}
constexpr std::array<ButtonSpec, kFxKeyCount> kFxKeyLayout = BuildFxKeys();

FxKeysState fxKeys{};

struct FxKeysRecord {
  KeyboardBase base;  // key font 14, page font 11 (the label font), panel, pen
  bool locked;
  HWND menu;          // the kind-6 bar or grid, while it exists
  std::array<ButtonSpec, kFxKeyCount> keys;
};

FxKeysRecord* Record(HWND hwnd) { return reinterpret_cast<FxKeysRecord*>(GetWindowLong(hwnd, GWL_USERDATA)); }

void SetLabel(ButtonSpec& key, const WCHAR* text) {
  int c = 0;
  for (; text != nullptr && c < kButtonLabelLength - 1 && text[c] != 0; ++c) key.label[c] = text[c];
  key.label[c] = 0;
}

// Key k shows text 6 x page + k, or nothing beyond the last text.
void FillKeys(FxKeysRecord& record) {
  const SettingsBlock& settings = TheSettings();
  for (int k = 0; k < kFxTextKeyCount; ++k) {
    const int text = kFxTextKeyCount * fxKeys.page + k;
    SetLabel(record.keys[k], text < settings.PredefinedTextCount ? settings.PredefinedTexts[text] : u"");
  }
}

bool MenuExists(const FxKeysRecord& record) { return record.menu != nullptr && IsWindow(record.menu); }

HWND CreateMenu(HWND hwnd, HINSTANCE instance, int grid, DWORD style, const RECT& place) {
  MenuSpec menu{kMenuFxKeys, 0, grid};
  return CreateWindowEx(0, kMenuClassName, kMenuTitle, style, place.left, place.top, place.right - place.left,
                        place.bottom - place.top, hwnd, nullptr, instance, &menu);
}

std::u16string Widen(const char* text) {
  return std::u16string(text, text + std::char_traits<char>::length(text));
}

// The local date as day/month year ("6/12 2026"), the time as hour:minute without leading
// zeros ("9:5").
std::u16string DateText() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  char text[32];
  std::snprintf(text, sizeof text, "%d/%d %d", now.wDay, now.wMonth, now.wYear);
  return Widen(text);
}

std::u16string TimeText() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  char text[32];
  std::snprintf(text, sizeof text, "%d:%d", now.wHour, now.wMinute);
  return Widen(text);
}

void DrawPageIndicator(HWND hwnd, const FxKeysRecord& record) {
  char text[32];
  std::snprintf(text, sizeof text, "%d/%d", fxKeys.page + 1, kFxPageCount);
  DrawPlainText(BackBufferDC(), kPageIndicator, Widen(text).c_str(), GetAppFont(record.base.labelFont), kLabelGrey,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  CopyBackBufferToWindow(hwnd, kPageIndicator);
}

void Redraw(HWND hwnd) {
  InvalidateRect(hwnd, nullptr, TRUE);
  UpdateWindow(hwnd);
}

// Sends the key's text; false for Lock, which sends nothing.
bool SendKeyText(HWND hwnd, FxKeysRecord& record, int key) {
  std::u16string text;
  switch (key) {
    case kFxDateKey: text = DateText(); break;
    case kFxTimeKey: text = TimeText(); break;
    case kFxLockKey:
      record.locked = !record.locked;
      SetLabel(record.keys[kFxLockKey], record.locked ? u"Unlock" : u"Lock");
      Redraw(hwnd);
      return false;
    default: text = record.keys[key].label; break;
  }
  if (!text.empty()) SendKeyboardInput(hwnd, kInputCompleteWord, text.c_str());
  return true;
}

LRESULT OnCreate(HWND hwnd, const CREATESTRUCTW* create) {
  // Only over the window that owns the screen: asked for by a main screen under its own menu
  // grid, the pop-up would lie above the grid, and the grid's closing would leave the window
  // stack out of order.
  if (create->hwndParent != TopWindow()) return -1;
  PushWindow(hwnd);
  auto* record = new FxKeysRecord{};
  record->keys = kFxKeyLayout;
  FillKeys(*record);
  OpenKeyboard(hwnd, record->base, record->keys.data(), kFxKeyCount, kFxKeyFaces, {});
  SetWindowLong(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(record));
  if (TheSettings().Menu != 0) record->menu = CreateMenu(hwnd, create->hInstance, 0, kMenuBarStyle, kMenuBarPlace);
  SetTimer(hwnd, kFullScreenTimer, kOpeningDelayMs, nullptr);
  SetTimer(hwnd, kFocusTimer, kOpeningDelayMs, nullptr);
  return 0;
}

// The owned menu is gone already (owned windows go first), so the stack pops in order.
LRESULT OnDestroy(HWND hwnd) {
  FxKeysRecord* record = Record(hwnd);
  if (record == nullptr) return 0;
  PopWindow(hwnd);
  CloseKeyboard(record->base);
  HWND owner = GetWindow(hwnd, GW_OWNER);
  if (owner != nullptr) {
    SetWindowPos(owner, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SHFullScreen(owner, kFullScreenFlags);
    SetTimer(owner, kOwnerFullScreenTimer, kOwnerTimerDelayMs, nullptr);
  }
  SetWindowLong(hwnd, GWL_USERDATA, 0);
  delete record;
  return 0;
}

LRESULT OnEraseBackground(HWND hwnd) {
  FxKeysRecord* record = Record(hwnd);
  if (record == nullptr) return 1;
  DrawPanel(hwnd, record->keys.data(), record->base.panel);
  DrawPageIndicator(hwnd, *record);
  return 1;
}

LRESULT OnPenDown(HWND hwnd, POINT pen) {
  FxKeysRecord* record = Record(hwnd);
  if (record == nullptr) return 0;
  const int key = BeginKeyPress(hwnd, record->base.press, record->keys.data(), record->base.panel, pen);
  if (key >= 0) DrawButton(hwnd, record->keys[key], kButtonPressed, record->base.panel);
  return 0;
}

LRESULT OnPenUp(HWND hwnd) {
  FxKeysRecord* record = Record(hwnd);
  if (record == nullptr) return 0;
  const int key = EndKeyPress(record->base.press);
  if (key < 0 || key >= kFxKeyCount) return 0;
  if (SendKeyText(hwnd, *record, key) && !record->locked) {
    DestroyWindow(hwnd);
    return 0;
  }
  DrawButton(hwnd, record->keys[key], kButtonNormal, record->base.panel);
  return 0;
}

// Enter opens the menu grid when no bar is shown; a shown grid takes the keys.
LRESULT OnKeyDown(HWND hwnd, WPARAM key) {
  FxKeysRecord* record = Record(hwnd);
  if (record == nullptr) return 0;
  if (MenuExists(*record) && TheSettings().Menu == 0) {
    SendMessage(record->menu, WM_KEYDOWN, key, 0);
  } else if (key == VK_RETURN && !MenuExists(*record) && TheSettings().Menu == 0) {
    record->menu = CreateMenu(hwnd, reinterpret_cast<HINSTANCE>(GetWindowLong(hwnd, GWL_HINSTANCE)), 1,
                              kMenuGridStyle, kMenuGridPlace);
  }
  return 0;
}

void TurnPage(HWND hwnd, FxKeysRecord& record, int step) {
  fxKeys.page += step;
  FillKeys(record);
  Redraw(hwnd);
}

LRESULT OnMenuCommand(HWND hwnd, int button) {
  FxKeysRecord* record = Record(hwnd);
  if (record == nullptr) return 0;
  switch (button) {
    case kPreviousPageButton:
      if (fxKeys.page >= 1) TurnPage(hwnd, *record, -1);
      break;
    case kNextPageButton:
      if (fxKeys.page <= kFxPageCount - 2) TurnPage(hwnd, *record, 1);
      break;
    case kOkButton: DestroyWindow(hwnd); break;
    default: break;
  }
  return 0;
}

LRESULT OnActivate(HWND hwnd) {
  SetTimer(hwnd, kFullScreenTimer, kOpeningDelayMs, nullptr);
  return 0;
}

LRESULT OnKillFocus(HWND hwnd) {
  if (TopWindow() == hwnd) SetTimer(hwnd, kFocusTimer, kFocusDelayMs, nullptr);
  return 0;
}

void OnFullScreenTimer(HWND hwnd) {
  KillTimer(hwnd, kFullScreenTimer);
  if (TopWindow() != hwnd) return;
  const FxKeysRecord* record = Record(hwnd);
  if (record != nullptr && MenuExists(*record)) {
    SetWindowPos(record->menu, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SHFullScreen(hwnd, kFullScreenFlags);
}

LRESULT OnTimer(HWND hwnd, UINT_PTR timer) {
  switch (timer) {
    case kFullScreenTimer: OnFullScreenTimer(hwnd); break;
    case kFocusTimer:
      KillTimer(hwnd, kFocusTimer);
      SetFocus(hwnd);
      break;
    default: break;
  }
  return 0;
}

}  // namespace

FxKeysState& TheFxKeys() { return fxKeys; }

KeyPlace FxKeyPlace(int key) {
  if (key < 0 || key >= kFxKeyCount) return KeyPlace{RECT{0, 0, 0, 0}, -1};
  const ButtonSpec& button = kFxKeyLayout[key];
  return KeyPlace{RECT{button.left, button.top, button.right, button.bottom}, kFxKeyImages[button.imageSlot]};
}

std::u16string FxKeyLabel(HWND popup, int key) {
  const FxKeysRecord* record = Record(popup);
  if (record == nullptr || key < 0 || key >= kFxKeyCount) return u"";
  return record->keys[key].label;
}

LRESULT CALLBACK FxKeyClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE: return OnCreate(hwnd, reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_DESTROY: return OnDestroy(hwnd);
    case WM_ERASEBKGND: return OnEraseBackground(hwnd);
    case WM_LBUTTONDOWN: return OnPenDown(hwnd, PenPoint(lParam));
    case WM_LBUTTONUP: return OnPenUp(hwnd);
    case WM_KEYDOWN: return OnKeyDown(hwnd, wParam);
    case WM_ACTIVATE: return OnActivate(hwnd);
    case WM_KILLFOCUS: return OnKillFocus(hwnd);
    case WM_TIMER: return OnTimer(hwnd, wParam);
    case MenuCommandMessage: return OnMenuCommand(hwnd, static_cast<int>(static_cast<LONG_PTR>(wParam)));
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}
