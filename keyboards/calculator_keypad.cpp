// NumExpKeyClass: the calculator keypad, 26 keys under a one-line display, in text mode or
// calculator mode (CalculatorModeMessage). The main screen creates it in numeric mode as a
// visible child at (0, 93), 240 x 227. The arithmetic is TheCalculator()'s; this window maps
// keys to it and mirrors its display.
//
// Deliberate choices:
// - A key acts on pen-up only when the pen-down hit it (as on the other keypads).
// - Keys 21-23 take the same 14-pixel font as "Add" and "7": a second font of the same face
//   and size would draw nothing different.
// - The display's picture ("display.png", last in the image list) is drawn behind the display.
#include "keyboards/calculator_keypad.h"

#include "common/messages.h"
#include "drawing/back_buffer.h"
#include "drawing/button_panel.h"
#include "drawing/font_table.h"
#include "drawing/skin_images.h"
#include "keyboards/calculator_machine.h"
#include "keyboards/keyboard_common.h"

#include <device/edit.h>

#include <array>
#include <iterator>

namespace {

constexpr UINT kCentred = DT_CENTER | DT_VCENTER;  // 5
constexpr COLORREF kDigitColour = 0x000000;
constexpr COLORREF kSignColour = 0xB0B0B0;
constexpr int kOpaque = 1;

// Image list: slots 0-6.
constexpr int kCalculatorImages[] = {kSkinNum01, kSkinNum02, kSkinNum03, kSkinNum04, kSkinNum05, kSkinAdd, kSkinDisplay};
constexpr int kDisplayImageSlot = 6;

constexpr int kLabelRoom = 100;  // 99 characters and the terminator
using LabelTable = std::array<const char16_t*, kCalcSpaceKey>;  // keys 0-22
constexpr LabelTable kTextLabels = {u"Add", u"7", u"8", u"9", u"/", u"(", u"4", u"5", u"6", u"*", u")", u"1",
                                    u"2",   u"3", u"-", u"#", u"0", u".", u"=", u"+", u",", u"sqrt", u"%"};
constexpr LabelTable kCalculatorLabels = {u"Add", u"7", u"8", u"9", u"/", u"CE/C", u"4", u"5", u"6", u"*", u"M+", u"1",
                                          u"2",   u"3", u"-", u"Ms", u"0", u".", u"=", u"+", u"Mr", u"sqrt", u"%"};

constexpr bool IsDigitKey(int key) {
  return key == 1 || key == 2 || key == 3 || key == 6 || key == 7 || key == 8 || key == 11 || key == 12 ||
         key == 13 || key == 16;
}

constexpr ButtonSpec Key(LONG left, LONG top, LONG right, LONG bottom, int slot, int key) {
  ButtonSpec button{.left = left, .top = top, .right = right, .bottom = bottom, .imageSlot = slot,
                     .textFormat = kCentred, .drawMode = kOpaque,
                     .textColour = IsDigitKey(key) ? kDigitColour : kSignColour};
  if (key < kCalcSpaceKey) {
    for (int c = 0; kTextLabels[key][c] != 0; ++c) button.label[c] = kTextLabels[key][c];
  } else if (key == kCalcSpaceKey) {
    const char16_t space[] = u"space";
    for (int c = 0; space[c] != 0; ++c) button.label[c] = space[c];
  }
  return button;
}

// The 4 x 5 grid of 46 x 43 keys: digits on "num_01.png" (slot 0), the rest on "num_02.png".
constexpr ButtonSpec GridKey(int key) {
  const int row = (key - 1) / 5;
  const int column = (key - 1) % 5;
  const LONG left = 5 + 46 * column;
  const LONG top = 24 + 43 * row;
  return Key(left, top, left + 46, top + 43, IsDigitKey(key) ? 0 : 1, key);
}

constexpr std::array<ButtonSpec, kCalcKeyCount> BuildCalculatorKeys() {
  std::array<ButtonSpec, kCalcKeyCount> keys{};
  keys[kCalcAddKey] = Key(180, 0, 240, 24, 5, kCalcAddKey);
  for (int key = 1; key <= 20; ++key) keys[key] = GridKey(key);
  keys[kCalcSquareRootKey] = Key(0, 196, 48, 227, 2, kCalcSquareRootKey);
  keys[kCalcPercentKey] = Key(48, 196, 96, 227, 2, kCalcPercentKey);
  keys[kCalcSpaceKey] = Key(96, 196, 144, 227, 2, kCalcSpaceKey);
  keys[kCalcBackspaceKey] = Key(144, 196, 192, 227, 4, kCalcBackspaceKey);
  keys[kCalcEnterKey] = Key(192, 196, 240, 227, 3, kCalcEnterKey);
  return keys;
}
constexpr std::array<ButtonSpec, kCalcKeyCount> kCalculatorLayout = BuildCalculatorKeys();

// Key font 18 normal; label font 14 normal ("Add", "7", "sqrt", "%", "space").
constexpr KeyboardFaces kCalculatorFaces{kCalculatorImages, static_cast<int>(std::size(kCalculatorImages)), 18, 14};
constexpr int kBoldKeys[] = {2, 3, 4, 7, 8, 9, 12, 13, 14};

constexpr RECT kDisplayPlace{32, 6, 32 + 130, 6 + 14};
constexpr int kDisplayLimit = 18;
constexpr int kAddTextRoom = 201;  // "Add" reads up to 200 characters

struct CalculatorKeypadRecord {
  KeyboardBase base;  // key font 18, label font 14, panel, pen
  int boldFont;       // 18 bold
  WPARAM mode;        // kCalculatorTextMode or kCalculatorMode
  int focusedKey;     // moved with the direction keys; -1 for none
  HWND display;
  std::array<ButtonSpec, kCalcKeyCount> keys;  // copy of kCalculatorLayout; labels follow the mode
};

CalculatorKeypadRecord* Record(HWND hwnd) { return KeyboardRecord<CalculatorKeypadRecord>(hwnd); }

void SetLabels(CalculatorKeypadRecord& record, const LabelTable& labels) {
  for (size_t key = 0; key < labels.size(); ++key) {
    WCHAR* label = record.keys[key].label;
    int c = 0;
    for (; c < kLabelRoom - 1 && labels[key][c] != 0; ++c) label[c] = labels[key][c];
    label[c] = 0;
  }
}

void ShowMachineDisplay(const CalculatorKeypadRecord& record) {
  SetWindowText(record.display, TheCalculator().Display().c_str());
}

void SendDisplayText(HWND hwnd, const CalculatorKeypadRecord& record) {
  WCHAR text[kAddTextRoom] = {};
  GetWindowText(record.display, text, kAddTextRoom);
  SendKeyboardInput(hwnd, kInputInsertText, text);
}

// Keys that do the same in both modes; false for a key that depends on the mode.
bool RunCommonKey(HWND hwnd, const CalculatorKeypadRecord& record, int key) {
  switch (key) {
    case kCalcAddKey: SendDisplayText(hwnd, record); return true;
    case kCalcSpaceKey: SendEditingKey(hwnd, EditingKey::kSpace); return true;
    case kCalcBackspaceKey: SendEditingKey(hwnd, EditingKey::kBackspace); return true;
    case kCalcEnterKey: SendEditingKey(hwnd, EditingKey::kEnter); return true;
    default: return false;
  }
}

void RunCalculatorKey(const CalculatorKeypadRecord& record, int key) {
  CalculatorMachine& calculator = TheCalculator();
  using Op = CalculatorMachine::Operator;
  switch (key) {
    case 4: calculator.PressOperator(Op::kDivide); break;
    case 9: calculator.PressOperator(Op::kMultiply); break;
    case 14: calculator.PressOperator(Op::kSubtract); break;
    case 19: calculator.PressOperator(Op::kAdd); break;
    case kCalcEqualsKey: calculator.PressOperator(Op::kEquals); break;
    case kCalcPointKey: calculator.Point(); break;
    case kCalcClearKey: calculator.ClearEntryOrAll(); break;
    case kCalcMemoryAddKey: calculator.MemoryAdd(); break;
    case kCalcMemoryStoreKey: calculator.MemoryStore(); break;
    case kCalcMemoryRecallKey: calculator.MemoryRecall(); break;
    case kCalcSquareRootKey: calculator.SquareRoot(); break;
    case kCalcPercentKey: calculator.Percent(); break;
    default:
      if (IsDigitKey(key)) calculator.Digit(record.keys[key].label[0]);
      break;
  }
  ShowMachineDisplay(record);
}

void RunKey(HWND hwnd, const CalculatorKeypadRecord& record, int key) {
  if (RunCommonKey(hwnd, record, key)) return;
  if (record.mode == kCalculatorMode) RunCalculatorKey(record, key);
  else SendKeyboardCharacter(hwnd, kTextLabels[key][0]);
}

HWND CreateDisplay(HWND hwnd, const CREATESTRUCTW* create, const CalculatorKeypadRecord& record) {
  HWND display = CreateWindowEx(0, u"edit", TheCalculator().Display().c_str(),
                                WS_CHILD | WS_VISIBLE | ES_RIGHT | ES_MULTILINE, kDisplayPlace.left, kDisplayPlace.top,
                                kDisplayPlace.right - kDisplayPlace.left, kDisplayPlace.bottom - kDisplayPlace.top,
                                hwnd, nullptr, create->hInstance, nullptr);
  if (display == nullptr) return nullptr;
  SendMessage(display, EM_LIMITTEXT, kDisplayLimit, 0);
  SendMessage(display, WM_SETFONT, reinterpret_cast<WPARAM>(GetAppFont(record.base.labelFont)), FALSE);
  return display;
}

LRESULT OnCreate(HWND hwnd, const CREATESTRUCTW* create) {
  auto* record = new CalculatorKeypadRecord{};
  record->keys = kCalculatorLayout;
  record->mode = kCalculatorTextMode;
  record->focusedKey = -1;
  TheCalculator().StartKeypad();
  OpenKeyboard(hwnd, record->base, record->keys.data(), kCalcKeyCount, kCalculatorFaces,
               {kCalcAddKey, 1, kCalcSquareRootKey, kCalcPercentKey, kCalcSpaceKey});
  record->boldFont = CreateAppFont(u"MS SANS SERIF", 18, false, true);
  for (int key : kBoldKeys) record->keys[key].fontId = record->boldFont;
  record->display = CreateDisplay(hwnd, create, *record);
  SetWindowLong(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(record));
  return 0;
}

LRESULT OnDestroy(HWND hwnd) {
  CalculatorKeypadRecord* record = Record(hwnd);
  if (record == nullptr) return 0;
  DeleteAppFont(record->boldFont);
  DestroyKeyboardRecord(hwnd, record);
  return 0;
}

LRESULT OnEraseBackground(HWND hwnd) {
  CalculatorKeypadRecord* record = Record(hwnd);
  if (record == nullptr) return 1;
  DrawPanel(hwnd, record->keys.data(), record->base.panel);
  const ButtonSpec frame{.left = kDisplayPlace.left - 3, .top = kDisplayPlace.top - 3,
                         .right = kDisplayPlace.right + 3, .bottom = kDisplayPlace.bottom + 3, .drawMode = kOpaque};
  DrawButtonImage(BackBufferDC(), frame, GetPanelImage(record->base.panel, kDisplayImageSlot), kButtonNormal);
  CopyBackBufferToWindow(hwnd, RECT{frame.left, frame.top, frame.right, frame.bottom});
  if (record->display != nullptr) InvalidateRect(record->display, nullptr, TRUE);
  return 1;
}

LRESULT OnPenDown(HWND hwnd, POINT pen) {
  CalculatorKeypadRecord* record = Record(hwnd);
  if (record == nullptr) return 0;
  const int key = BeginKeyPress(hwnd, record->base.press, record->keys.data(), record->base.panel, pen);
  if (key >= 0) DrawButton(hwnd, record->keys[key], kButtonPressed, record->base.panel);
  return 0;
}

// The action belongs to the key hit at pen-down; a stroke across any key gives its input
// instead (a right stroke a space, also in calculator mode).
LRESULT OnPenUp(HWND hwnd, POINT pen) {
  CalculatorKeypadRecord* record = Record(hwnd);
  if (record == nullptr) return 0;
  const int key = EndKeyPress(record->base.press);
  if (key < 0 || key >= kCalcKeyCount) return 0;
  if (RunKeyStroke(hwnd, record->base.press.penDown, pen, false, record->keys[key].label[0]) == kNoStroke) {
    RunKey(hwnd, *record, key);
  }
  DrawButton(hwnd, record->keys[key], kButtonNormal, record->base.panel);
  return 0;
}

LRESULT OnKeyUp(HWND hwnd, WPARAM key) {
  CalculatorKeypadRecord* record = Record(hwnd);
  if (record != nullptr) {
    MoveButtonFocus(hwnd, static_cast<int>(key), record->keys.data(), record->base.panel, &record->focusedKey, true);
  }
  return 0;
}

LRESULT OnModeChanged(HWND hwnd, WPARAM mode) {
  CalculatorKeypadRecord* record = Record(hwnd);
  if (record == nullptr) return 0;
  record->mode = mode == kCalculatorMode ? kCalculatorMode : kCalculatorTextMode;
  SetLabels(*record, record->mode == kCalculatorMode ? kCalculatorLabels : kTextLabels);
  RedrawKeyboard(hwnd);
  UpdateWindow(hwnd);
  return 0;
}

}  // namespace

KeyPlace CalculatorKeyPlace(int key) {
  return KeyPlaceIn(kCalculatorLayout.data(), kCalcKeyCount, kCalculatorImages, key);
}

HWND CalculatorDisplay(HWND keypad) {
  const CalculatorKeypadRecord* record = Record(keypad);
  return record != nullptr ? record->display : nullptr;
}

LRESULT CALLBACK NumExpKeyClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE: return OnCreate(hwnd, reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_DESTROY: return OnDestroy(hwnd);
    case WM_ERASEBKGND: return OnEraseBackground(hwnd);
    case WM_LBUTTONDOWN: return OnPenDown(hwnd, PenPoint(lParam));
    case WM_LBUTTONUP: return OnPenUp(hwnd, PenPoint(lParam));
    case WM_KEYUP: return OnKeyUp(hwnd, wParam);
    case CalculatorModeMessage: return OnModeChanged(hwnd, wParam);
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}
