// PredictKeyClass: the predictive keypad, 35 character keys in a 7 x 5 grid over Fn, Caps,
// Space, Backspace and Enter; it marks the keys of the likeliest next characters. The main
// screen creates it for keyboard choice 1 at (0, 122), 240 x 201; it makes itself 240 x 240.
//
// Choices this window makes where the plain behaviour would lose input or surprise the user:
// - A key acts on pen-up only when the pen-down hit it: a pen-down beside every key (the strip
//   under the function keys) moves no focus, and its pen-up no longer repeats the focused key.
// - A key at rest shows its marked look whenever it is marked (or is Caps or Fn while set),
//   also when it is redrawn after a press or a focus move, so a redraw never hides a mark.
// - A stroke redraws the keypad like a key action, so the marks follow the stroke's input.
// - A dead key shows its own character in grey (the combining grave and acute as their signs
//   ` and ´), not the accent its next press would select; only the keys an active accent
//   changes turn red.
// - Space, like a character key labelled with a space, ends an active accent.
// - The accent returns to none when the language changes.
// - Only Fn and Caps outlive a keypad (ThePredictKeypad); the focused key, the pen-down point
//   and a pending hardware key belong to the window, so a new keypad starts on its space key.
#include "keyboards/predict_keypad.h"

#include "common/messages.h"
#include "drawing/back_buffer.h"
#include "drawing/button_panel.h"
#include "drawing/skin_images.h"
#include "drawing/text_drawing.h"
#include "keyboards/dead_keys.h"
#include "keyboards/keyboard_common.h"
#include "prediction/prediction_engine.h"
#include "settings/settings_store.h"

#include <array>
#include <iterator>

namespace {

constexpr UINT_PTR kHardwareKeyTimer = 1;
constexpr UINT_PTR kAutoRepeatTimer = 2;
constexpr UINT kHardwareKeyDelayMs = 100;

constexpr int kKeySize = 34;
constexpr int kWindowWidth = 240;
constexpr int kWindowHeight = 240;
constexpr int kFirstFocusCandidate = 3;  // the search for the space key starts here

constexpr UINT kCharacterFormat = DT_CENTER | DT_BOTTOM;  // 9
constexpr UINT kFunctionFormat = DT_CENTER;               // 1
constexpr COLORREF kLabelGrey = 0xB3B3B3;

// Image list: character keys, Space, Enter, Backspace, Caps, Fn.
constexpr int kPredictKeyImages[] = {kSkinFura01, kSkinNum03, kSkinNum04, kSkinNum05, kSkinCaps00, kSkinFn00};

constexpr int kOpaque = 1;
constexpr int kLabelInset = 8;

// Character key i of the grid: column i mod 7, row i div 7; its label is set at run time.
constexpr ButtonSpec CharacterKey(int i) {
  const LONG left = kKeySize * (i % kPredictColumns);
  const LONG top = kKeySize * (i / kPredictColumns);
  return ButtonSpec{.left = left, .top = top, .right = left + kKeySize, .bottom = top + kKeySize, .imageSlot = 0,
                    .textFormat = kCharacterFormat, .verticalInset = kLabelInset, .drawMode = kOpaque,
                    .textColour = kLabelGrey};
}

// The function keys, 48 x 30 along the bottom; image slots index kPredictKeyImages.
template <size_t N = 1>
constexpr ButtonSpec FunctionKey(int column, int imageSlot, const char16_t (&label)[N] = u"", int textOffsetX = 0) {
  static_assert(N <= kButtonLabelLength);
  const LONG left = 48 * column;
  ButtonSpec key{.left = left, .top = 170, .right = left + 48, .bottom = 200, .imageSlot = imageSlot,
                 .textFormat = kFunctionFormat, .textOffsetX = textOffsetX, .verticalInset = kLabelInset,
                 .drawMode = kOpaque, .textColour = kLabelGrey};
  for (size_t c = 0; c < N; ++c) key.label[c] = label[c];
  return key;
}

constexpr std::array<ButtonSpec, kPredictKeyCount> BuildPredictKeys() {
  std::array<ButtonSpec, kPredictKeyCount> keys{};
  for (int i = 0; i < kCharacterKeyCount; ++i) keys[i] = CharacterKey(i);
  keys[kPredictFnKey] = FunctionKey(0, 5, u"Fn", 5);
  keys[kPredictCapsKey] = FunctionKey(1, 4, u"Caps", 6);
  keys[kPredictSpaceKey] = FunctionKey(2, 1, u"Space");
  keys[kPredictBackspaceKey] = FunctionKey(3, 3);
  keys[kPredictEnterKey] = FunctionKey(4, 2);
  return keys;
}
constexpr std::array<ButtonSpec, kPredictKeyCount> kPredictKeyLayout = BuildPredictKeys();

constexpr KeyboardFaces kPredictKeyFaces{kPredictKeyImages, static_cast<int>(std::size(kPredictKeyImages)), 14, 12};

PredictKeypadState keypad{};

struct PredictKeypadRecord {
  KeyboardBase base;  // fonts (14 pixels; 12 for the labels of Fn, Caps and Space), panel, pen
  int language;    // the language whose key strings the keys show
  int focusedKey;  // pressed last or moved to with the direction keys; -1 for none
  UINT pendingKey;  // hardware key waiting for timer 1: 0, VK_RETURN or a direction key
  std::array<ButtonSpec, kPredictKeyCount> keys;  // copy of kPredictKeyLayout; labels set from the character row
};

PredictKeypadRecord* Record(HWND hwnd) { return KeyboardRecord<PredictKeypadRecord>(hwnd); }

const LanguageRecord& LanguageOf(const PredictKeypadRecord& record) { return KeyboardLanguageRecord(record.language); }

bool IsCharacterKey(int key) { return key >= 0 && key < kCharacterKeyCount; }

WCHAR CharacterOf(const PredictKeypadRecord& record, int key) { return record.keys[key].label[0]; }

bool IsSpaceLabel(const ButtonSpec& key) { return key.label[0] == u' ' && key.label[1] == 0; }

// The first key from index 3 on whose label is a single space; -1 when there is none.
int FirstSpaceKey(const PredictKeypadRecord& record) {
  for (int key = kFirstFocusCandidate; key < kPredictKeyCount; ++key) {
    if (IsSpaceLabel(record.keys[key])) return key;
  }
  return -1;
}

// The character row of the language for the Fn and Caps flags, the first 35 characters of
// its key string (missing characters leave their keys empty), mirrored row by row for the
// left hand.
void FillCharacterRow(PredictKeypadRecord& record) {
  const LanguageRecord& language = LanguageOf(record);
  const WCHAR* source = keypad.fn ? language.PREDICT_3 : keypad.caps ? language.PREDICT_2 : language.PREDICT_1;
  WCHAR row[kCharacterKeyCount] = {};
  for (int i = 0; i < kCharacterKeyCount && source[i] != 0; ++i) row[i] = source[i];
  const bool mirrored = TheSettings().lefthanded != 0;
  for (int key = 0; key < kCharacterKeyCount; ++key) {
    const int column = key % kPredictColumns;
    const int from = mirrored ? key - column + (kPredictColumns - 1 - column) : key;
    record.keys[key].label[0] = row[from];
    record.keys[key].label[1] = 0;
  }
}

// Marked: the next-keys string holds the key's character, or it is empty and the key is
// labelled with a space. The comparison is case-sensitive.
bool IsMarked(const PredictKeypadRecord& record, int key) {
  if (TheSettings().showPredict == 0) return false;
  if (ThePredictionEngine().tracker.GetNextKeys()[0] == 0) return IsSpaceLabel(record.keys[key]);
  return IsCharacterKey(key) && IsNextKey(CharacterOf(record, key), false);
}

int RestingState(const PredictKeypadRecord& record, int key) {
  const bool locked = (key == kPredictCapsKey && keypad.caps) || (key == kPredictFnKey && keypad.fn);
  return locked || IsMarked(record, key) ? kButtonFocused : kButtonNormal;
}

// What a key shows: function keys their label in grey; a character key its character composed
// with the active accent, red when the accent changes it, and a combining accent as its sign.
COLORREF KeyLabel(const PredictKeypadRecord& record, int key, WCHAR (&shown)[2]) {
  if (!IsCharacterKey(key)) {
    shown[0] = 0;
    return kLabelGrey;
  }
  return AccentedLabel(CharacterOf(record, key), LanguageOf(record), shown);
}

// One key into the BackBuffer: kButtonNormal stands for the key's look at rest (marked or
// not); the pressed label moves one pixel right and down.
void DrawKeyToBackBuffer(const PredictKeypadRecord& record, int key, int state) {
  const ButtonSpec& button = record.keys[key];
  WCHAR shown[2] = {0, 0};
  const COLORREF colour = KeyLabel(record, key, shown);
  const int frame = state == kButtonNormal ? RestingState(record, key) : state;
  DrawButtonFace(BackBufferDC(), button, GetPanelImage(record.base.panel, button.imageSlot), frame, state,
                 IsCharacterKey(key) ? shown : button.label, colour);
}

void DrawKey(HWND hwnd, const PredictKeypadRecord& record, int key, int state) {
  if (key < 0 || key >= kPredictKeyCount) return;
  DrawKeyToBackBuffer(record, key, state);
  CopyKeyToWindow(hwnd, record.keys[key]);
}

void MoveFocus(HWND hwnd, PredictKeypadRecord& record, int key) {
  if (key < 0 || key == record.focusedKey) return;
  const int old = record.focusedKey;
  record.focusedKey = key;
  DrawKey(hwnd, record, old, kButtonNormal);
  DrawKey(hwnd, record, key, kButtonFocused);
}

// A key beyond a short key string (0) types nothing.
void TypeCharacterKey(HWND hwnd, const PredictKeypadRecord& record, int key) {
  TypeAccentedCharacter(hwnd, CharacterOf(record, key), LanguageOf(record));
}

// The key action of a pen-up without stroke, an auto-repeat tick and a hardware Enter.
void TriggerKey(HWND hwnd, PredictKeypadRecord& record, int key) {
  StopAutoRepeat(hwnd, kAutoRepeatTimer);
  switch (key) {
    case kPredictFnKey: keypad.fn = !keypad.fn; FillCharacterRow(record); break;
    case kPredictCapsKey: keypad.caps = !keypad.caps; FillCharacterRow(record); break;
    case kPredictSpaceKey: SendEditingKey(hwnd, EditingKey::kSpace); ResetAccent(LanguageOf(record)); break;
    case kPredictBackspaceKey: SendEditingKey(hwnd, EditingKey::kBackspace); break;
    case kPredictEnterKey: SendEditingKey(hwnd, EditingKey::kEnter); break;
    default: TypeCharacterKey(hwnd, record, key); break;
  }
  RedrawKeyboard(hwnd);
}

void RunHardwareKey(HWND hwnd, PredictKeypadRecord& record, UINT key) {
  FocusDirection direction;
  switch (key) {
    case VK_RETURN:
      if (record.focusedKey >= 0) TriggerKey(hwnd, record, record.focusedKey);
      MoveFocus(hwnd, record, FirstSpaceKey(record));
      return;
    case VK_LEFT: direction = FocusDirection::kLeft; break;
    case VK_UP: direction = FocusDirection::kUp; break;
    case VK_RIGHT: direction = FocusDirection::kRight; break;
    case VK_DOWN: direction = FocusDirection::kDown; break;
    default: return;
  }
  MoveFocus(hwnd, record,
            FindNeighbourButton(record.focusedKey, direction, nullptr, record.keys.data(), kPredictKeyCount));
}

bool IsDirectionKey(WPARAM key) { return key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN; }

LRESULT OnCreate(HWND hwnd) {
  auto* record = new PredictKeypadRecord{};
  record->keys = kPredictKeyLayout;
  record->language = KeyboardLanguage();
  OpenKeyboard(hwnd, record->base, record->keys.data(), kPredictKeyCount, kPredictKeyFaces,
               {kPredictFnKey, kPredictCapsKey, kPredictSpaceKey});
  FillCharacterRow(*record);
  SetWindowLong(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(record));
  SetWindowPos(hwnd, nullptr, 0, 0, kWindowWidth, kWindowHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  record->focusedKey = FirstSpaceKey(*record);
  return 0;
}

LRESULT OnDestroy(HWND hwnd) {
  PredictKeypadRecord* record = Record(hwnd);
  if (record != nullptr) DestroyKeyboardRecord(hwnd, record);
  return 1;
}

LRESULT OnEraseBackground(HWND hwnd) {
  PredictKeypadRecord* record = Record(hwnd);
  if (record == nullptr) return 1;
  PaintKeyboard(hwnd, record->base, kPredictKeyCount, kWindowWidth, kWindowHeight,
                [record](int key) { DrawKeyToBackBuffer(*record, key, kButtonNormal); });
  return 1;
}

LRESULT OnPenDown(HWND hwnd, POINT pen) {
  PredictKeypadRecord* record = Record(hwnd);
  if (record == nullptr) return 1;
  const int key = BeginKeyPress(hwnd, record->base.press, record->keys.data(), record->base.panel, pen);
  if (key >= 0) {
    record->focusedKey = key;
    DrawKey(hwnd, *record, key, kButtonPressed);
    StartAutoRepeatIfOn(hwnd, kAutoRepeatTimer, key != kPredictFnKey && key != kPredictCapsKey);
  }
  return 1;
}

LRESULT OnPenMove(HWND hwnd, POINT pen) {
  StopAutoRepeatIfPenLeft<PredictKeypadRecord>(hwnd, kAutoRepeatTimer, pen);
  return 1;
}

// The action belongs to the key hit at pen-down, wherever the pen is lifted.
LRESULT OnPenUp(HWND hwnd, POINT pen) {
  StopAutoRepeat(hwnd, kAutoRepeatTimer);
  PredictKeypadRecord* record = Record(hwnd);
  if (record == nullptr) return 1;
  const int key = EndKeyPress(record->base.press);
  if (key < 0) return 1;
  if (IsCharacterKey(key)) {
    if (RunKeyStroke(hwnd, record->base.press.penDown, pen, keypad.caps, CharacterOf(*record, key)) != kNoStroke) {
      RedrawKeyboard(hwnd);
    } else {
      TriggerKey(hwnd, *record, key);
    }
  } else {
    TriggerKey(hwnd, *record, key);
  }
  DrawKey(hwnd, *record, record->focusedKey, kButtonNormal);
  return 1;
}

LRESULT OnTimer(HWND hwnd, UINT_PTR timer) {
  PredictKeypadRecord* record = Record(hwnd);
  if (record == nullptr) return 1;
  if (timer == kHardwareKeyTimer) {
    KillTimer(hwnd, kHardwareKeyTimer);
    const UINT pending = record->pendingKey;
    record->pendingKey = 0;
    RunHardwareKey(hwnd, *record, pending);
  } else if (timer == kAutoRepeatTimer) {
    RunAutoRepeat(hwnd, kAutoRepeatTimer, record->base.press, record->keys.data(), kPredictKeyCount,
                  kAutoRepeatPeriodMs, [hwnd, record](int key) { TriggerKey(hwnd, *record, key); });
  }
  return 1;
}

// Hardware keys run 100 ms later from timer 1; a pending Enter is not replaced by a
// direction key. Every key is taken, none gets default processing.
LRESULT OnKeyDown(HWND hwnd, WPARAM key) {
  PredictKeypadRecord* record = Record(hwnd);
  if (record == nullptr) return 1;
  if (key == VK_RETURN) {
    KillTimer(hwnd, kHardwareKeyTimer);
    record->pendingKey = VK_RETURN;
    SetTimer(hwnd, kHardwareKeyTimer, kHardwareKeyDelayMs, nullptr);
  } else if (IsDirectionKey(key) && record->pendingKey != VK_RETURN) {
    record->pendingKey = static_cast<UINT>(key);
    KillTimer(hwnd, kHardwareKeyTimer);
    SetTimer(hwnd, kHardwareKeyTimer, kHardwareKeyDelayMs, nullptr);
  }
  return 1;
}

LRESULT OnLanguageChanged(HWND hwnd, WPARAM language) {
  PredictKeypadRecord* record = Record(hwnd);
  if (record == nullptr) return 1;
  record->language = static_cast<int>(language);
  ResetAccent(LanguageOf(*record));
  FillCharacterRow(*record);
  RedrawKeyboard(hwnd);
  return 1;
}

LRESULT OnRefresh(HWND hwnd) {
  RedrawKeyboard(hwnd);
  return 1;
}

}  // namespace

PredictKeypadState& ThePredictKeypad() { return keypad; }

int PredictKeypadFocusedKey(HWND keypadWindow) {
  const PredictKeypadRecord* record = Record(keypadWindow);
  return record != nullptr ? record->focusedKey : -1;
}

KeyPlace PredictKeyPlace(int key) {
  return KeyPlaceIn(kPredictKeyLayout.data(), kPredictKeyCount, kPredictKeyImages, key);
}

LRESULT CALLBACK PredictKeyClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE: return OnCreate(hwnd);
    case WM_DESTROY: return OnDestroy(hwnd);
    case WM_ERASEBKGND: return OnEraseBackground(hwnd);
    case WM_LBUTTONDOWN: return OnPenDown(hwnd, PenPoint(lParam));
    case WM_MOUSEMOVE: return OnPenMove(hwnd, PenPoint(lParam));
    case WM_LBUTTONUP: return OnPenUp(hwnd, PenPoint(lParam));
    case WM_TIMER: return OnTimer(hwnd, wParam);
    case WM_KEYDOWN: return OnKeyDown(hwnd, wParam);
    case LanguageChangedMessage: return OnLanguageChanged(hwnd, wParam);
    case RefreshMessage: return OnRefresh(hwnd);
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}
