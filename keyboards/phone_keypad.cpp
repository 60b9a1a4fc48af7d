// PhoneKeyClass: the phone keypad, twelve multi-tap letter keys over Shift, Caps, Space,
// Backspace and Enter. The main screen creates it for keyboard choice 2 as a visible child at
// (0, 122), 240 x 201, and destroys it when another keyboard takes its place.
//
// Choices this window makes where the plain behaviour would lose input or surprise the user:
// - A pen-down outside every key leaves no key current, so its pen-up does nothing.
// - An up stroke while a character is pending replaces that character by its other case: the
//   pending character is dropped (timer stopped, preview hidden) instead of following later.
// - A space, backspace or Enter stroke while a character is pending types that character
//   first, so the stroke's input follows it ("hi " rather than "h i").
// - The main screen's CommitPendingInputMessage types a pending character at once (before it
//   saves, closes or changes keyboards, which would otherwise lose it).
// - A keypad destroyed while a character is pending drops it for good: the pending flag is
//   cleared, so the next keypad never delivers a stale character.
// - A tap on a key whose group is empty commits a pending character and starts nothing.
// - The preview draws with its own two fonts, so it is not given the key font.
#include "keyboards/phone_keypad.h"

#include "common/messages.h"
#include "drawing/button_panel.h"
#include "drawing/skin_images.h"
#include "keyboards/keyboard_common.h"
#include "prediction/language_table.h"
#include "settings/settings_store.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace {

constexpr UINT_PTR kMultiTapTimer = 1;
constexpr UINT kMultiTapStepMs = 300;  // the time-out is phonetimer steps

constexpr UINT kLetterFormat = DT_CENTER | DT_BOTTOM;  // 9
constexpr UINT kFunctionFormat = DT_CENTER;            // 1
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kLabelGrey = 0xB3B3B3;
constexpr int kOpaque = 1;
constexpr int kLabelInset = 8;

// Letter key k of the 3 x 4 grid of 80 x 42 keys. The pictures are listed column by column
// ("02.png" ... "05.png" the first column), so key k shows image slot 4 x column + row. The
// pictures carry their printed characters; the letter keys have no label.
constexpr ButtonSpec LetterKey(int key) {
  const int column = key % 3;
  const int row = key / 3;
  const LONG left = 80 * column;
  const LONG top = 1 + 42 * row;
  return ButtonSpec{.left = left, .top = top, .right = left + 80, .bottom = top + 42, .imageSlot = 4 * column + row,
                    .textFormat = kLetterFormat, .verticalInset = kLabelInset, .drawMode = kOpaque,
                    .textColour = kBlack};
}

// The function keys, 48 x 31 along the bottom; image slots index kPhoneKeyImages.
constexpr ButtonSpec FunctionKey(int column, int imageSlot) {
  const LONG left = 48 * column;
  return ButtonSpec{.left = left, .top = 170, .right = left + 48, .bottom = 201, .imageSlot = imageSlot,
                    .textFormat = kFunctionFormat, .verticalInset = kLabelInset, .drawMode = kOpaque,
                    .textColour = kLabelGrey};
}

template <size_t N>
constexpr ButtonSpec Labelled(ButtonSpec key, const char16_t (&label)[N], int textOffsetX = 0) {
  static_assert(N <= kButtonLabelLength);
  for (size_t i = 0; i < N; ++i) key.label[i] = label[i];
  key.textOffsetX = textOffsetX;
  return key;
}

constexpr std::array<ButtonSpec, kPhoneKeyCount> BuildPhoneKeys() {
  std::array<ButtonSpec, kPhoneKeyCount> keys{};
  for (int key = 0; key < kLetterKeyCount; ++key) keys[key] = LetterKey(key);
  keys[kPhoneShiftKey] = Labelled(FunctionKey(0, 12), u"Shift");
  keys[kPhoneCapsKey] = Labelled(FunctionKey(1, 15), u"Caps", 6);
  keys[kPhoneSpaceKey] = Labelled(FunctionKey(2, 12), u"Space");
  keys[kPhoneBackspaceKey] = FunctionKey(3, 14);
  keys[kPhoneEnterKey] = FunctionKey(4, 13);
  return keys;
}
constexpr std::array<ButtonSpec, kPhoneKeyCount> kPhoneKeyLayout = BuildPhoneKeys();

// Image list: the letter keys' pictures (slots 0-11), then Shift and Space, Enter, Backspace, Caps.
constexpr int kPhoneKeyImages[] = {
    kSkin02, kSkin03, kSkin04, kSkin05, kSkin06, kSkin07, kSkin08, kSkin09, kSkin10, kSkin11, kSkin12, kSkin13,
    kSkinNum03, kSkinNum04, kSkinNum05, kSkinCaps00,
};

constexpr KeyboardFaces kPhoneKeyFaces{kPhoneKeyImages, static_cast<int>(std::size(kPhoneKeyImages)), 14, 14};

constexpr int kPreviewX = 160;
constexpr int kPreviewY = 75;
constexpr int kPreviewWidth = 80;
constexpr int kPreviewHeight = 20;

constexpr WCHAR kGroupSeparator = u'~';

PhoneKeypadState keypad{};

struct PhoneKeypadRecord {
  KeyboardBase base;  // fonts (the label font, of Shift, Caps and Space, made alike), panel, pen
  int language;       // the language whose key strings the letter table holds
  ButtonSpec keys[kPhoneKeyCount];  // copy of kPhoneKeyLayout; the panel writes font ids into it
};

PhoneKeypadRecord* Record(HWND hwnd) { return KeyboardRecord<PhoneKeypadRecord>(hwnd); }

bool IsLetterKey(int key) { return key >= 0 && key < kLetterKeyCount; }

int GroupLength(int key) {
  int n = 0;
  while (n < kLetterGroupRoom - 1 && keypad.letters[key][n] != 0) ++n;
  return n;
}

// The pending character, or the first of the last tapped key when no cycle runs.
WCHAR CycleCharacter() {
  if (!IsLetterKey(keypad.cycleKey)) return 0;
  const int length = GroupLength(keypad.cycleKey);
  if (length == 0) return 0;
  return keypad.letters[keypad.cycleKey][keypad.cycleIndex % length];
}

UINT MultiTapPeriod() { return static_cast<UINT>(TheSettings().phonetimer) * kMultiTapStepMs; }

void ShowPreview(int key) {
  if (keypad.preview == nullptr) return;
  ShowWindow(keypad.preview, SW_SHOWNOACTIVATE);
  SendMessage(keypad.preview, WM_SETTEXT, static_cast<WPARAM>(keypad.cycleIndex),
              reinterpret_cast<LPARAM>(keypad.letters[key]));
}

void HidePreview() {
  if (keypad.preview != nullptr) ShowWindow(keypad.preview, SW_HIDE);
}

// Ends the cycle, sending the pending character.
void CommitPendingCharacter(HWND hwnd) {
  keypad.cyclePending = false;
  HidePreview();
  const WCHAR pending = CycleCharacter();
  keypad.cycleIndex = 0;
  if (pending != 0) SendKeyboardCharacter(hwnd, pending);
}

// Ends the cycle without sending the pending character.
void DropPendingCharacter(HWND hwnd) {
  KillTimer(hwnd, kMultiTapTimer);
  keypad.cyclePending = false;
  keypad.cycleIndex = 0;
  HidePreview();
}

// Types the pending character now, if there is one.
void CommitPendingInput(HWND hwnd) {
  if (!keypad.cyclePending) return;
  KillTimer(hwnd, kMultiTapTimer);
  CommitPendingCharacter(hwnd);
}

void MultiTap(HWND hwnd, int key) {
  if (keypad.cyclePending) {
    KillTimer(hwnd, kMultiTapTimer);
    // A group that a refill left empty cannot cycle; its pending character is committed.
    if (key == keypad.cycleKey && GroupLength(key) > 0) {
      keypad.cycleIndex = (keypad.cycleIndex + 1) % GroupLength(key);
      ShowPreview(key);
      SetTimer(hwnd, kMultiTapTimer, MultiTapPeriod(), nullptr);
    } else {
      CommitPendingCharacter(hwnd);
    }
  }
  keypad.cycleKey = key;
  if (!keypad.cyclePending && GroupLength(key) > 0) {
    SetTimer(hwnd, kMultiTapTimer, MultiTapPeriod(), nullptr);
    keypad.cyclePending = true;
    ShowPreview(key);
  }
}

void RefillAndRedraw(HWND hwnd, PhoneKeypadRecord& record) {
  FillLetterTable(record.language);
  RedrawKeyboard(hwnd);
}

void PressFunctionKey(HWND hwnd, PhoneKeypadRecord& record, int key) {
  switch (key) {
    case kPhoneShiftKey: keypad.shift = !keypad.shift; RefillAndRedraw(hwnd, record); break;
    case kPhoneCapsKey: keypad.caps = !keypad.caps; RefillAndRedraw(hwnd, record); break;
    case kPhoneSpaceKey: SendEditingKey(hwnd, EditingKey::kSpace); break;
    case kPhoneBackspaceKey: SendEditingKey(hwnd, EditingKey::kBackspace); break;
    case kPhoneEnterKey: SendEditingKey(hwnd, EditingKey::kEnter); break;
  }
}

// The group of a key as a zero-terminated string; empty for a key that is no letter key.
const WCHAR* GroupOf(int key) { return IsLetterKey(key) ? keypad.letters[key] : u""; }

LRESULT OnCreate(HWND hwnd, const CREATESTRUCTW* create) {
  auto* record = new PhoneKeypadRecord{};
  std::copy(std::begin(kPhoneKeyLayout), std::end(kPhoneKeyLayout), record->keys);
  record->language = KeyboardLanguage();
  RegisterWindowClass(create->hInstance, kPhonePreviewClassRow);
  OpenKeyboard(hwnd, record->base, record->keys, kPhoneKeyCount, kPhoneKeyFaces,
               {kPhoneShiftKey, kPhoneCapsKey, kPhoneSpaceKey});
  FillLetterTable(record->language);
  keypad.preview = CreateWindowEx(0, kPhonePreviewClass, GroupOf(keypad.currentKey), WS_POPUP | WS_BORDER, kPreviewX,
                                  kPreviewY, kPreviewWidth, kPreviewHeight, hwnd, nullptr, create->hInstance, nullptr);
  SetWindowLong(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(record));
  return 0;
}

LRESULT OnDestroy(HWND hwnd) {
  PhoneKeypadRecord* record = Record(hwnd);
  if (record == nullptr) return 0;
  if (keypad.preview != nullptr) DestroyWindow(keypad.preview);
  keypad.preview = nullptr;
  // The timer dies with the window; its character is not delivered, now or by a later keypad.
  keypad.cyclePending = false;
  keypad.cycleIndex = 0;
  DestroyKeyboardRecord(hwnd, record);
  return 0;
}

LRESULT OnEraseBackground(HWND hwnd) {
  PhoneKeypadRecord* record = Record(hwnd);
  if (record == nullptr) return 1;
  DrawPanel(hwnd, record->keys, record->base.panel);
  if (keypad.caps) DrawButton(hwnd, record->keys[kPhoneCapsKey], kButtonFocused, record->base.panel);
  return 1;
}

LRESULT OnPenDown(HWND hwnd, POINT pen) {
  PhoneKeypadRecord* record = Record(hwnd);
  if (record == nullptr) return 0;
  keypad.currentKey = BeginKeyPress(hwnd, record->base.press, record->keys, record->base.panel, pen);
  if (keypad.currentKey >= 0) DrawButton(hwnd, record->keys[keypad.currentKey], kButtonPressed, record->base.panel);
  return 0;
}

// The action belongs to the key hit at pen-down, wherever the pen is lifted.
LRESULT OnPenUp(HWND hwnd, POINT pen) {
  PhoneKeypadRecord* record = Record(hwnd);
  if (record == nullptr) return 0;
  const int key = EndKeyPress(record->base.press);
  if (key < 0 || key >= kPhoneKeyCount) return 0;
  if (IsLetterKey(key)) {
    const StrokeKind stroke = KeyStroke(record->base.press.penDown, pen);
    // A space, backspace or Enter stroke follows the character being cycled, which is typed
    // first; an up stroke replaces it by its other case.
    if (stroke != kNoStroke && stroke != kStrokeUp) CommitPendingInput(hwnd);
    SendKeyStroke(hwnd, stroke, keypad.caps, CycleCharacter());
    if (stroke == kStrokeUp && keypad.cyclePending) DropPendingCharacter(hwnd);
    if (stroke == kNoStroke) MultiTap(hwnd, key);
  } else {
    PressFunctionKey(hwnd, *record, key);
  }
  DrawButton(hwnd, record->keys[key], kButtonNormal, record->base.panel);
  return 0;
}

LRESULT OnTimer(HWND hwnd, UINT_PTR timer) {
  if (timer != kMultiTapTimer) return 0;
  KillTimer(hwnd, kMultiTapTimer);
  if (keypad.cyclePending) CommitPendingCharacter(hwnd);
  return 0;
}

// The direction keys move the focus between keys; no character is produced.
LRESULT OnKeyUp(HWND hwnd, WPARAM key) {
  PhoneKeypadRecord* record = Record(hwnd);
  if (record != nullptr) MoveButtonFocus(hwnd, static_cast<int>(key), record->keys, record->base.panel, &keypad.currentKey, true);
  return 0;
}

LRESULT OnCommitPendingInput(HWND hwnd) {
  CommitPendingInput(hwnd);
  return 0;
}

LRESULT OnLanguageChanged(HWND hwnd, WPARAM language) {
  PhoneKeypadRecord* record = Record(hwnd);
  if (record == nullptr) return 0;
  record->language = static_cast<int>(language);
  RefillAndRedraw(hwnd, *record);
  return 0;
}

}  // namespace

PhoneKeypadState& ThePhoneKeypad() { return keypad; }

KeyPlace PhoneKeyPlace(int key) { return KeyPlaceIn(kPhoneKeyLayout.data(), kPhoneKeyCount, kPhoneKeyImages, key); }

void FillLetterTable(int language) {
  const LanguageRecord& record = KeyboardLanguageRecord(language);
  const WCHAR* keys = keypad.shift == keypad.caps ? record.PHONEKEYS_1 : record.PHONEKEYS_2;
  // Groups beyond the twelfth and characters beyond the nineteenth of a group are cut.
  int group = 0;
  int length = 0;
  for (int i = 0; i < kValueRoom && keys[i] != 0 && group < kLetterKeyCount; ++i) {
    if (keys[i] == kGroupSeparator) {
      keypad.letters[group][length] = 0;
      ++group;
      length = 0;
    } else if (length < kLetterGroupRoom - 1) {
      keypad.letters[group][length++] = keys[i];
    }
  }
  if (group < kLetterKeyCount) keypad.letters[group][length] = 0;
}

LRESULT CALLBACK PhoneKeyClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE: return OnCreate(hwnd, reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_DESTROY: return OnDestroy(hwnd);
    case WM_ERASEBKGND: return OnEraseBackground(hwnd);
    case WM_LBUTTONDOWN: return OnPenDown(hwnd, PenPoint(lParam));
    case WM_LBUTTONUP: return OnPenUp(hwnd, PenPoint(lParam));
    case WM_TIMER: return OnTimer(hwnd, wParam);
    case WM_KEYUP: return OnKeyUp(hwnd, wParam);
    case LanguageChangedMessage: return OnLanguageChanged(hwnd, wParam);
    case CommitPendingInputMessage: return OnCommitPendingInput(hwnd);
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}
