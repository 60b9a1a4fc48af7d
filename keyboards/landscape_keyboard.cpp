// LandscapeKeyClass: the keyboard of the turned device. The screen stays in portrait
// coordinates: the keys run in columns from the bottom of the screen upwards (the rows of the
// turned device), their pictures are the landscape skin images and their texts are drawn with
// fonts rotated by 90 degrees. Strokes are read in screen directions turned with the device:
// right Enter, left the other case, down Backspace, up a space. Dead-key accents are those of
// the predictive keypad (dead_keys.h, one accent state for both). The main screen creates it
// for keyboard choice 3.
//
// Choices this window makes where the plain behaviour would lose input or surprise the user:
// - Every marked key is remembered, however many there are, so each loses its mark when the
//   next word wants other keys (remembering only some would leave stale marks).
// - A key acts on pen-up only when the pen-down hit it.
// - Strokes redraw the marks like a key action, so the marks follow the stroke's input.
// - Space, like a character key labelled with a space, ends an active accent; a language
//   change returns the accent to none.
// - A key beyond a short QWERTYFULL_* string is empty and types nothing.
// - The pen-down point and the keys marked last belong to the window; only Caps and Fn
//   outlive it (TheLandscapeKeyboard).
#include "keyboards/landscape_keyboard.h"

#include "common/messages.h"
#include "drawing/back_buffer.h"
#include "drawing/button_panel.h"
#include "drawing/font_table.h"
#include "drawing/skin_images.h"
#include "drawing/text_drawing.h"
#include "keyboards/dead_keys.h"
#include "settings/settings_store.h"

#include <array>
#include <iterator>

namespace {

constexpr UINT_PTR kAutoRepeatTimer = 2;

constexpr int kWindowWidth = 166;
constexpr int kWindowHeight = 320;
constexpr int kKeyWidth = 32;
constexpr int kKeyHeight = 31;
constexpr int kColumnLength = 10;
constexpr int kOpaque = 1;

constexpr COLORREF kFnArmedText = 0x4F4F4F;
constexpr COLORREF kFnCharacterArmed = 0x0074B5;
constexpr COLORREF kFnCharacterResting = 0x004368;

// Frames of the key pictures: 0 normal, 1 marked or Caps/Fn on, 2 pressed; Fn pressed is 3.
constexpr int kFnPressedFrame = 3;

// Image list: character keys, Space, Backspace, Enter, Fn, Caps.
constexpr int kLandscapeKeyImages[] = {kSkinLs, kSkinLsspace, kSkinLsback, kSkinLsenter, kSkinLsfn, kSkinLscaps};

// Character key i: column i div 10 from the left, key 0 of a column at the bottom; the second
// and fourth columns sit 10 pixels lower.
constexpr ButtonSpec CharacterKey(int i) {
  const int column = i / kColumnLength;
  const int k = i % kColumnLength;
  const LONG left = kKeyWidth * column;
  const LONG bottom = (column % 2 == 0 ? 310 : 320) - kKeyHeight * k;
  return ButtonSpec{.left = left, .top = bottom - kKeyHeight, .right = left + kKeyWidth, .bottom = bottom,
                    .imageSlot = 0, .drawMode = kOpaque};
}

constexpr ButtonSpec FunctionKey(LONG top, LONG bottom, int imageSlot) {
  return ButtonSpec{.left = 134, .top = top, .right = 165, .bottom = bottom, .imageSlot = imageSlot,
                    .drawMode = kOpaque};
}

constexpr std::array<ButtonSpec, kLandscapeKeyCount> BuildLandscapeKeys() {
  std::array<ButtonSpec, kLandscapeKeyCount> keys{};
  for (int i = 0; i < kLandscapeCharacterKeyCount; ++i) keys[i] = CharacterKey(i);
  keys[kLandscapeFnKey] = FunctionKey(268, 316, 4);
  keys[kLandscapeCapsKey] = FunctionKey(223, 271, 5);
  keys[kLandscapeSpaceKey] = FunctionKey(115, 218, 1);
  keys[kLandscapeBackspaceKey] = FunctionKey(60, 108, 2);
  keys[kLandscapeEnterKey] = FunctionKey(12, 60, 3);
  return keys;
}
constexpr std::array<ButtonSpec, kLandscapeKeyCount> kLandscapeKeyLayout = BuildLandscapeKeys();

constexpr KeyboardFaces kLandscapeFaces{.skinImages = kLandscapeKeyImages,
                                        .skinImageCount = static_cast<int>(std::size(kLandscapeKeyImages)),
                                        .keyFontHeight = 14,
                                        .labelFontHeight = 14,
                                        .smallFont = {kKeyboardFace, 12, true},
                                        .vertical = true};

LandscapeKeyboardState keyboard{};

struct LandscapeRecord {
  KeyboardBase base;  // key font, label font, small font (the Fn characters), all rotated; panel, pen
  int language;       // the language whose QWERTYFULL_* strings the keys show
  int currentKey;     // pressed last; -1 for none
  std::array<bool, kLandscapeCharacterKeyCount> marked;  // drawn marked by the last marking
  std::array<ButtonSpec, kLandscapeKeyCount> keys;       // copy of kLandscapeKeyLayout; labels set from the strings
};

LandscapeRecord* Record(HWND hwnd) { return KeyboardRecord<LandscapeRecord>(hwnd); }

const LanguageRecord& LanguageOf(const LandscapeRecord& record) { return KeyboardLanguageRecord(record.language); }

bool IsCharacterKey(int key) { return key >= 0 && key < kLandscapeCharacterKeyCount; }

WCHAR LabelOf(const LandscapeRecord& record, int key) { return record.keys[key].label[0]; }

void SetLabels(LandscapeRecord& record) {
  const LanguageRecord& language = LanguageOf(record);
  const WCHAR* row = keyboard.caps ? language.QWERTYFULL_2 : language.QWERTYFULL_1;
  for (int key = 0; key < kLandscapeCharacterKeyCount; ++key) {
    record.keys[key].label[0] = KeyStringCharacter(row, key);
    record.keys[key].label[1] = 0;
  }
}

int RestingFrame(const LandscapeRecord& record, int key) {
  switch (key) {
    case kLandscapeFnKey: return keyboard.fn ? kButtonFocused : kButtonNormal;
    case kLandscapeCapsKey: return keyboard.caps ? kButtonFocused : kButtonNormal;
    default: return IsCharacterKey(key) && record.marked[key] ? kButtonFocused : kButtonNormal;
  }
}

// The label upwards at the key's bottom, the Fn character smaller beside it (towards the
// top of the turned device). A pressed key's texts move one pixel right and one up.
void DrawCharacterLabels(HDC dc, const LandscapeRecord& record, int key, bool pressed) {
  const ButtonSpec& button = record.keys[key];
  RECT text{button.left + 12, button.top + 6, button.right + 2, button.bottom + 9};
  if (pressed) OffsetRect(&text, 1, -1);
  WCHAR shown[2] = {0, 0};
  COLORREF colour = kFnArmedText;
  if (keyboard.fn) shown[0] = SpacingSign(LabelOf(record, key));
  else colour = AccentedLabel(LabelOf(record, key), LanguageOf(record), shown);
  DrawFittedText(dc, text, shown, GetAppFont(record.base.keyFont), colour, DT_BOTTOM);
  const WCHAR fnCharacter[2] = {KeyStringCharacter(LanguageOf(record).QWERTYFULL_3, key), 0};
  const RECT small{text.left - 10, text.top, text.right, text.bottom - 10};
  DrawFittedText(dc, small, fnCharacter, GetAppFont(record.base.smallFont),
                 keyboard.fn ? kFnCharacterArmed : kFnCharacterResting, DT_BOTTOM);
}

void DrawKeyToBackBuffer(const LandscapeRecord& record, int key, int frame, bool pressed) {
  const ButtonSpec& button = record.keys[key];
  HDC dc = BackBufferDC();
  DrawButtonImage(dc, button, GetPanelImage(record.base.panel, button.imageSlot), frame);
  if (IsCharacterKey(key)) DrawCharacterLabels(dc, record, key, pressed);
}

void DrawKey(HWND hwnd, const LandscapeRecord& record, int key, int frame, bool pressed) {
  if (key < 0 || key >= kLandscapeKeyCount) return;
  DrawKeyToBackBuffer(record, key, frame, pressed);
  CopyKeyToWindow(hwnd, record.keys[key]);
}

void DrawKeyAtRest(HWND hwnd, const LandscapeRecord& record, int key) {
  if (key >= 0 && key < kLandscapeKeyCount) DrawKey(hwnd, record, key, RestingFrame(record, key), false);
}

// The keys marked last lose their mark; then every character key whose label, in lower case,
// is one of the next keys is marked.
void RedrawMarks(HWND hwnd, LandscapeRecord& record) {
  for (int key = 0; key < kLandscapeCharacterKeyCount; ++key) {
    if (!record.marked[key]) continue;
    record.marked[key] = false;
    DrawKeyAtRest(hwnd, record, key);
  }
  for (int key = 0; key < kLandscapeCharacterKeyCount; ++key) {
    if (!IsNextKey(LabelOf(record, key), true)) continue;
    record.marked[key] = true;
    DrawKeyAtRest(hwnd, record, key);
  }
}

void ToggleFn(HWND hwnd, LandscapeRecord& record) {
  keyboard.fn = !keyboard.fn;
  keyboard.caps = false;
  SetLabels(record);
  RedrawKeyboard(hwnd);
}

void ToggleCaps(HWND hwnd, LandscapeRecord& record) {
  keyboard.caps = !keyboard.caps;
  keyboard.fn = false;
  SetLabels(record);
  RedrawKeyboard(hwnd);
}

// The Fn layer types the key's QWERTYFULL_3 character (a space there types nothing) and disarms.
void TypeFnCharacter(HWND hwnd, const LandscapeRecord& record, int key) {
  const WCHAR c = KeyStringCharacter(LanguageOf(record).QWERTYFULL_3, key);
  if (c != u' ' && c != 0) SendKeyboardCharacter(hwnd, c);
  keyboard.fn = false;
  RedrawKeyboard(hwnd);
}

void TypeCharacterKey(HWND hwnd, const LandscapeRecord& record, int key) {
  if (keyboard.fn) TypeFnCharacter(hwnd, record, key);
  else if (TypeAccentedCharacter(hwnd, LabelOf(record, key), LanguageOf(record))) RedrawKeyboard(hwnd);
}

void TypeSpace(HWND hwnd, const LandscapeRecord& record) {
  SendEditingKey(hwnd, EditingKey::kSpace);
  ResetAccent(LanguageOf(record));
  RedrawKeyboard(hwnd);
}

// The key action; every key but Fn and Caps then redraws the marks.
void KeyAction(HWND hwnd, LandscapeRecord& record, int key) {
  switch (key) {
    case kLandscapeFnKey: ToggleFn(hwnd, record); return;
    case kLandscapeCapsKey: ToggleCaps(hwnd, record); return;
    case kLandscapeSpaceKey: TypeSpace(hwnd, record); break;
    case kLandscapeBackspaceKey: SendEditingKey(hwnd, EditingKey::kBackspace); break;
    case kLandscapeEnterKey: SendEditingKey(hwnd, EditingKey::kEnter); break;
    default: TypeCharacterKey(hwnd, record, key); break;
  }
  RedrawMarks(hwnd, record);
}

// A stroke across a character key, in screen directions: right Enter, left the key in the
// other case, down Backspace, up a space. False for a tap.
bool RunStroke(HWND hwnd, const LandscapeRecord& record, int key, StrokeKind stroke) {
  const LanguageRecord& language = LanguageOf(record);
  switch (stroke) {
    case kStrokeRight: SendEditingKey(hwnd, EditingKey::kEnter); return true;
    case kStrokeLeft: {
      const WCHAR c = KeyStringCharacter(keyboard.caps ? language.QWERTYFULL_1 : language.QWERTYFULL_2, key);
      if (c != 0) SendKeyboardCharacter(hwnd, c);
      return true;
    }
    case kStrokeDown: SendEditingKey(hwnd, EditingKey::kBackspace); return true;
    case kStrokeUp: SendEditingKey(hwnd, EditingKey::kSpace); return true;
    case kNoStroke: return false;
  }
  return false;
}

bool Repeats(int key) { return key != kLandscapeFnKey && key != kLandscapeCapsKey; }

LRESULT OnCreate(HWND hwnd) {
  auto* record = new LandscapeRecord{};
  record->keys = kLandscapeKeyLayout;
  record->language = KeyboardLanguage();
  record->currentKey = -1;
  OpenKeyboard(hwnd, record->base, record->keys.data(), kLandscapeKeyCount, kLandscapeFaces, {});
  SetLabels(*record);
  ResetAccent(LanguageOf(*record));
  SetWindowLong(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(record));
  return 0;
}

LRESULT OnDestroy(HWND hwnd) {
  LandscapeRecord* record = Record(hwnd);
  if (record != nullptr) DestroyKeyboardRecord(hwnd, record);
  return 0;
}

LRESULT OnEraseBackground(HWND hwnd) {
  LandscapeRecord* record = Record(hwnd);
  if (record == nullptr) return 1;
  record->marked.fill(false);
  PaintKeyboard(hwnd, record->base, kLandscapeKeyCount, kWindowWidth, kWindowHeight,
                [record](int key) { DrawKeyToBackBuffer(*record, key, RestingFrame(*record, key), false); });
  RedrawMarks(hwnd, *record);
  return 1;
}

LRESULT OnPenDown(HWND hwnd, POINT pen) {
  LandscapeRecord* record = Record(hwnd);
  if (record == nullptr) return 0;
  const int key = BeginKeyPress(hwnd, record->base.press, record->keys.data(), record->base.panel, pen);
  if (key < 0) return 0;
  const int previous = record->currentKey;
  record->currentKey = key;
  DrawKeyAtRest(hwnd, *record, previous);
  DrawKey(hwnd, *record, key, key == kLandscapeFnKey ? kFnPressedFrame : kButtonPressed, true);
  StartAutoRepeatIfOn(hwnd, kAutoRepeatTimer, Repeats(key));
  return 0;
}

LRESULT OnPenMove(HWND hwnd, POINT pen) {
  StopAutoRepeatIfPenLeft<LandscapeRecord>(hwnd, kAutoRepeatTimer, pen);
  return 0;
}

LRESULT OnPenUp(HWND hwnd, POINT pen) {
  StopAutoRepeat(hwnd, kAutoRepeatTimer);
  LandscapeRecord* record = Record(hwnd);
  if (record == nullptr) return 0;
  const int key = EndKeyPress(record->base.press);
  if (key < 0) return 0;
  if (IsCharacterKey(key) && RunStroke(hwnd, *record, key, KeyStroke(record->base.press.penDown, pen))) {
    RedrawMarks(hwnd, *record);
  } else {
    KeyAction(hwnd, *record, key);
  }
  DrawKeyAtRest(hwnd, *record, record->currentKey);
  return 0;
}

LRESULT OnTimer(HWND hwnd, UINT_PTR timer) {
  LandscapeRecord* record = Record(hwnd);
  if (record == nullptr || timer != kAutoRepeatTimer) return 0;
  RunAutoRepeat(hwnd, kAutoRepeatTimer, record->base.press, record->keys.data(), kLandscapeKeyCount,
                kAutoRepeatPeriodMs, [hwnd, record](int key) { KeyAction(hwnd, *record, key); });
  return 0;
}

LRESULT OnLanguageChanged(HWND hwnd, WPARAM language) {
  LandscapeRecord* record = Record(hwnd);
  if (record == nullptr) return 0;
  record->language = static_cast<int>(language);
  ResetAccent(LanguageOf(*record));
  SetLabels(*record);
  RedrawKeyboard(hwnd);
  return 0;
}

LRESULT OnRefresh(HWND hwnd) {
  LandscapeRecord* record = Record(hwnd);
  if (record != nullptr) RedrawMarks(hwnd, *record);
  return 0;
}

}  // namespace

LandscapeKeyboardState& TheLandscapeKeyboard() { return keyboard; }

KeyPlace LandscapeKeyPlace(int key) {
  return KeyPlaceIn(kLandscapeKeyLayout.data(), kLandscapeKeyCount, kLandscapeKeyImages, key);
}

LRESULT CALLBACK LandscapeKeyClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE: return OnCreate(hwnd);
    case WM_DESTROY: return OnDestroy(hwnd);
    case WM_ERASEBKGND: return OnEraseBackground(hwnd);
    case WM_LBUTTONDOWN: return OnPenDown(hwnd, PenPoint(lParam));
    case WM_MOUSEMOVE: return OnPenMove(hwnd, PenPoint(lParam));
    case WM_LBUTTONUP: return OnPenUp(hwnd, PenPoint(lParam));
    case WM_TIMER: return OnTimer(hwnd, wParam);
    case WM_KEYDOWN: return 0;  // the hardware keys are not this keyboard's
    case LanguageChangedMessage: return OnLanguageChanged(hwnd, wParam);
    case RefreshMessage: return OnRefresh(hwnd);
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}
