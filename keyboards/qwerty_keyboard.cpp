// QwertyKeyClass: the two-page QWERTY keyboard. Each character key shows its character large
// and, in its corner, the character the key carries on the other page. Horizontal strokes
// turn the page, a stroke down is Enter, a stroke up types the key in the other case; an
// upward stroke on Caps arms the one-shot Fn layer. The main screen creates it for keyboard
// choice 0.
//
// Choices this window makes where the plain behaviour would lose input or surprise the user:
// - A key acts on pen-up only when the pen-down hit it; a pen-down beside every key leaves no
//   key current, so its pen-up does nothing.
// - Only character keys are marked as likely next keys: the first letters of the words "flip"
//   and "space" on two function keys say nothing about what comes next.
// - A key at rest shows its marked look whenever it is marked, also when it is redrawn after
//   a press.
// - With `showPredict` on, every key that sends input redraws the keyboard (Space and Enter,
//   and strokes, included), so the marks never stay on a word that has ended.
// - A key beyond a short QWERTY_* string is empty and types nothing.
#include "keyboards/qwerty_keyboard.h"

#include "common/messages.h"
#include "drawing/back_buffer.h"
#include "drawing/button_panel.h"
#include "drawing/font_table.h"
#include "drawing/skin_images.h"
#include "drawing/text_drawing.h"
#include "settings/settings_store.h"

#include <array>
#include <iterator>

namespace {

constexpr UINT_PTR kAutoRepeatTimer = 2;
constexpr UINT kQwertyRepeatPeriodMs = 100;

constexpr int kWindowWidth = 240;
constexpr int kWindowHeight = 201;
constexpr int kKeyWidth = 39;
constexpr int kKeyHeight = 38;
constexpr int kRowLength = 6;
constexpr int kPageCount = 2;

constexpr UINT kFunctionFormat = DT_CENTER | DT_VCENTER;  // 5
constexpr int kOpaque = 1;
constexpr COLORREF kFnArmedText = 0x4F4F4F;
constexpr COLORREF kCornerText = 0x0074B5;

// Frames of the Caps/Fn picture; the other keys use the ButtonState frames.
constexpr int kCapsNormal = 0;
constexpr int kCapsOn = 1;
constexpr int kFnArmed = 2;
constexpr int kCapsPressed = 3;

// Image list: character keys, flip and Space, Enter, Backspace, Caps/Fn.
constexpr int kQwertyKeyImages[] = {kSkinQwerty05, kSkinNum03, kSkinNum04, kSkinNum05, kSkinCapsFn};

// Character key i: rows of six, the first and third row 6 pixels further right.
constexpr ButtonSpec CharacterKey(int i) {
  const int row = i / kRowLength;
  const LONG left = (row % 2 == 0 ? 6 : 0) + kKeyWidth * (i % kRowLength);
  const LONG top = 9 + kKeyHeight * row;
  return ButtonSpec{.left = left, .top = top, .right = left + kKeyWidth, .bottom = top + kKeyHeight,
                    .imageSlot = 0, .textFormat = kFunctionFormat, .drawMode = kOpaque, .textColour = kKeyLabelGrey};
}

template <size_t N = 1>
constexpr ButtonSpec FunctionKey(int column, int imageSlot, const char16_t (&label)[N] = u"") {
  static_assert(N <= kButtonLabelLength);
  const LONG left = 48 * column;
  ButtonSpec key{.left = left, .top = 170, .right = left + 48, .bottom = 201, .imageSlot = imageSlot,
                 .textFormat = kFunctionFormat, .drawMode = kOpaque, .textColour = kKeyLabelGrey};
  for (size_t c = 0; c < N; ++c) key.label[c] = label[c];
  return key;
}

constexpr std::array<ButtonSpec, kQwertyKeyCount> BuildQwertyKeys() {
  std::array<ButtonSpec, kQwertyKeyCount> keys{};
  for (int i = 0; i < kQwertyCharacterKeyCount; ++i) keys[i] = CharacterKey(i);
  keys[kQwertyFlipKey] = FunctionKey(0, 1, u"flip");
  keys[kQwertyCapsKey] = FunctionKey(1, 4);
  keys[kQwertySpaceKey] = FunctionKey(2, 1, u"space");
  keys[kQwertyBackspaceKey] = FunctionKey(3, 3);
  keys[kQwertyEnterKey] = FunctionKey(4, 2);
  return keys;
}
constexpr std::array<ButtonSpec, kQwertyKeyCount> kQwertyKeyLayout = BuildQwertyKeys();

constexpr WCHAR kArialBold[] = u"ARIAL BOLD";
constexpr KeyboardFaces kQwertyFaces{.skinImages = kQwertyKeyImages,
                                     .skinImageCount = static_cast<int>(std::size(kQwertyKeyImages)),
                                     .keyFontHeight = 18,
                                     .labelFontHeight = 14,
                                     .keyFace = kArialBold,
                                     .keyBold = true,
                                     .smallFont = {kArialBold, 12, true}};

struct QwertyRecord {
  KeyboardBase base;  // key font (characters), label font (flip, space), small font (corner), panel, pen
  int language;       // the language whose QWERTY_* strings the keys show
  int currentKey;     // pressed last; -1 for none
  bool caps;
  bool fn;
  int page;
  std::array<ButtonSpec, kQwertyKeyCount> keys;  // copy of kQwertyKeyLayout; labels set from the strings
};

QwertyRecord* Record(HWND hwnd) { return KeyboardRecord<QwertyRecord>(hwnd); }

const LanguageRecord& LanguageOf(const QwertyRecord& record) { return KeyboardLanguageRecord(record.language); }

bool IsCharacterKey(int key) { return key >= 0 && key < kQwertyCharacterKeyCount; }

// Character `key` of `page` in a QWERTY_* string; 0 beyond a short string.
WCHAR CharacterAt(const WCHAR* row, int page, int key) {
  return KeyStringCharacter(row, page * kQwertyCharacterKeyCount + key);
}

WCHAR LabelOf(const QwertyRecord& record, int key) { return record.keys[key].label[0]; }

void SetLabels(QwertyRecord& record) {
  const LanguageRecord& language = LanguageOf(record);
  const WCHAR* row = record.caps ? language.QWERTY_2 : language.QWERTY_1;
  for (int key = 0; key < kQwertyCharacterKeyCount; ++key) {
    record.keys[key].label[0] = CharacterAt(row, record.page, key);
    record.keys[key].label[1] = 0;
  }
}

int CapsFrame(const QwertyRecord& record) { return record.caps ? kCapsOn : record.fn ? kFnArmed : kCapsNormal; }

// The frame of a key at rest: Caps/Fn shows its mode; a character key its mark.
int RestingFrame(const QwertyRecord& record, int key) {
  if (key == kQwertyCapsKey) return CapsFrame(record);
  return IsCharacterKey(key) && IsNextKey(LabelOf(record, key), false) ? kButtonFocused : kButtonNormal;
}

RECT Moved(RECT rect, bool pressed) {
  if (pressed) OffsetRect(&rect, 1, 1);
  return rect;
}

void DrawCharacterLabels(HDC dc, const QwertyRecord& record, int key, bool pressed) {
  const ButtonSpec& button = record.keys[key];
  const RECT text = Moved(RECT{button.left + 12, button.top + 6, button.right - 8, button.bottom - 6}, pressed);
  const WCHAR label[2] = {LabelOf(record, key), 0};
  if (record.fn) {
    DrawFittedText(dc, text, label, GetAppFont(record.base.keyFont), kFnArmedText, DT_BOTTOM);
    return;
  }
  DrawFittedText(dc, text, label, GetAppFont(record.base.keyFont), kKeyLabelGrey, DT_BOTTOM);
  const WCHAR corner[2] = {CharacterAt(LanguageOf(record).QWERTY_1, 1 - record.page, key), 0};
  DrawFittedText(dc, text, corner, GetAppFont(record.base.smallFont), kCornerText, DT_RIGHT);
}

// One key into the BackBuffer in `frame`, its labels moved while pressed.
void DrawKeyToBackBuffer(const QwertyRecord& record, int key, int frame, bool pressed) {
  const ButtonSpec& button = record.keys[key];
  HDC dc = BackBufferDC();
  DrawButtonImage(dc, button, GetPanelImage(record.base.panel, button.imageSlot), frame);
  if (IsCharacterKey(key)) {
    DrawCharacterLabels(dc, record, key, pressed);
  } else if (button.label[0] != 0) {
    const RECT rect = Moved(RECT{button.left, button.top, button.right, button.bottom}, pressed);
    DrawFittedText(dc, rect, button.label, GetAppFont(button.fontId), kKeyLabelGrey, button.textFormat);
  }
}

void DrawKey(HWND hwnd, const QwertyRecord& record, int key, int frame, bool pressed) {
  if (key < 0 || key >= kQwertyKeyCount) return;
  DrawKeyToBackBuffer(record, key, frame, pressed);
  CopyKeyToWindow(hwnd, record.keys[key]);
}

void DrawKeyAtRest(HWND hwnd, const QwertyRecord& record, int key) {
  if (key >= 0 && key < kQwertyKeyCount) DrawKey(hwnd, record, key, RestingFrame(record, key), false);
}

void RedrawIfPredicting(HWND hwnd) {
  if (TheSettings().showPredict != 0) RedrawKeyboard(hwnd);
}

void TurnPage(HWND hwnd, QwertyRecord& record) {
  record.page = (record.page + 1) % kPageCount;
  SetLabels(record);
  RedrawKeyboard(hwnd);
}

// The Fn layer types the key's QWERTY_3 character (a space there types nothing) and disarms.
void TypeFnCharacter(HWND hwnd, QwertyRecord& record, int key) {
  const WCHAR c = CharacterAt(LanguageOf(record).QWERTY_3, record.page, key);
  if (c != u' ' && c != 0) SendKeyboardCharacter(hwnd, c);
  record.fn = false;
  RedrawKeyboard(hwnd);
}

void TypeCharacterKey(HWND hwnd, QwertyRecord& record, int key) {
  if (record.fn) {
    TypeFnCharacter(hwnd, record, key);
    return;
  }
  if (LabelOf(record, key) != 0) SendKeyboardCharacter(hwnd, LabelOf(record, key));
  RedrawIfPredicting(hwnd);
}

void ToggleCaps(HWND hwnd, QwertyRecord& record) {
  record.fn = false;
  record.caps = !record.caps;
  SetLabels(record);
  RedrawKeyboard(hwnd);
}

void SendAndRedraw(HWND hwnd, EditingKey key) {
  SendEditingKey(hwnd, key);
  RedrawIfPredicting(hwnd);
}

void KeyAction(HWND hwnd, QwertyRecord& record, int key) {
  switch (key) {
    case kQwertyFlipKey: TurnPage(hwnd, record); break;
    case kQwertyCapsKey: ToggleCaps(hwnd, record); break;
    case kQwertySpaceKey: SendAndRedraw(hwnd, EditingKey::kSpace); break;
    case kQwertyBackspaceKey: SendAndRedraw(hwnd, EditingKey::kBackspace); break;
    case kQwertyEnterKey: SendAndRedraw(hwnd, EditingKey::kEnter); break;
    default: TypeCharacterKey(hwnd, record, key); break;
  }
}

// Strokes on a character key: sideways turns the page, down is Enter, up types the key in
// the other case; anything shorter is a tap.
void CharacterKeyPenUp(HWND hwnd, QwertyRecord& record, int key, StrokeKind stroke) {
  const LanguageRecord& language = LanguageOf(record);
  switch (stroke) {
    case kStrokeRight:
    case kStrokeLeft: TurnPage(hwnd, record); break;
    case kStrokeDown: SendAndRedraw(hwnd, EditingKey::kEnter); break;
    case kStrokeUp: {
      const WCHAR c = CharacterAt(record.caps ? language.QWERTY_1 : language.QWERTY_2, record.page, key);
      if (c != 0) SendKeyboardCharacter(hwnd, c);
      RedrawIfPredicting(hwnd);
      break;
    }
    case kNoStroke: KeyAction(hwnd, record, key); break;
  }
}

// On Caps/Fn only an upward stroke counts: it switches Caps off and arms or disarms Fn.
void CapsKeyPenUp(HWND hwnd, QwertyRecord& record, StrokeKind stroke) {
  if (stroke != kStrokeUp) {
    KeyAction(hwnd, record, kQwertyCapsKey);
    return;
  }
  record.caps = false;
  record.fn = !record.fn;
  SetLabels(record);
  RedrawKeyboard(hwnd);
}

bool Repeats(int key) { return key != kQwertyFlipKey && key != kQwertyCapsKey; }

LRESULT OnCreate(HWND hwnd) {
  auto* record = new QwertyRecord{};
  record->keys = kQwertyKeyLayout;
  record->language = KeyboardLanguage();
  record->currentKey = -1;
  OpenKeyboard(hwnd, record->base, record->keys.data(), kQwertyKeyCount, kQwertyFaces,
               {kQwertyFlipKey, kQwertySpaceKey});
  SetLabels(*record);
  SetWindowLong(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(record));
  return 0;
}

LRESULT OnDestroy(HWND hwnd) {
  QwertyRecord* record = Record(hwnd);
  if (record != nullptr) DestroyKeyboardRecord(hwnd, record);
  return 0;
}

LRESULT OnEraseBackground(HWND hwnd) {
  QwertyRecord* record = Record(hwnd);
  if (record == nullptr) return 1;
  PaintKeyboard(hwnd, record->base, kQwertyKeyCount, kWindowWidth, kWindowHeight,
                [record](int key) { DrawKeyToBackBuffer(*record, key, RestingFrame(*record, key), false); });
  return 1;
}

LRESULT OnPenDown(HWND hwnd, POINT pen) {
  QwertyRecord* record = Record(hwnd);
  if (record == nullptr) return 0;
  const int key = BeginKeyPress(hwnd, record->base.press, record->keys.data(), record->base.panel, pen);
  if (key < 0) return 0;
  const int previous = record->currentKey;
  record->currentKey = key;
  DrawKeyAtRest(hwnd, *record, previous);
  DrawKey(hwnd, *record, key, key == kQwertyCapsKey ? kCapsPressed : kButtonPressed, true);
  StartAutoRepeatIfOn(hwnd, kAutoRepeatTimer, Repeats(key));
  return 0;
}

LRESULT OnPenMove(HWND hwnd, POINT pen) {
  StopAutoRepeatIfPenLeft<QwertyRecord>(hwnd, kAutoRepeatTimer, pen);
  return 0;
}

LRESULT OnPenUp(HWND hwnd, POINT pen) {
  StopAutoRepeat(hwnd, kAutoRepeatTimer);
  QwertyRecord* record = Record(hwnd);
  if (record == nullptr) return 0;
  const int key = EndKeyPress(record->base.press);
  if (key < 0) return 0;
  const StrokeKind stroke = KeyStroke(record->base.press.penDown, pen);
  if (IsCharacterKey(key)) CharacterKeyPenUp(hwnd, *record, key, stroke);
  else if (key == kQwertyCapsKey) CapsKeyPenUp(hwnd, *record, stroke);
  else KeyAction(hwnd, *record, key);
  DrawKeyAtRest(hwnd, *record, record->currentKey);
  return 0;
}

LRESULT OnTimer(HWND hwnd, UINT_PTR timer) {
  QwertyRecord* record = Record(hwnd);
  if (record == nullptr || timer != kAutoRepeatTimer) return 0;
  RunAutoRepeat(hwnd, kAutoRepeatTimer, record->base.press, record->keys.data(), kQwertyKeyCount,
                kQwertyRepeatPeriodMs, [hwnd, record](int key) { KeyAction(hwnd, *record, key); });
  return 0;
}

LRESULT OnLanguageChanged(HWND hwnd, WPARAM language) {
  QwertyRecord* record = Record(hwnd);
  if (record == nullptr) return 0;
  record->language = static_cast<int>(language);
  SetLabels(*record);
  RedrawKeyboard(hwnd);
  return 0;
}

LRESULT OnRefresh(HWND hwnd) {
  RedrawKeyboard(hwnd);
  return 0;
}

}  // namespace

KeyPlace QwertyKeyPlace(int key) {
  return KeyPlaceIn(kQwertyKeyLayout.data(), kQwertyKeyCount, kQwertyKeyImages, key);
}

QwertyKeyboardState QwertyState(HWND keyboard) {
  const QwertyRecord* record = Record(keyboard);
  if (record == nullptr) return QwertyKeyboardState{0, false, false};
  return QwertyKeyboardState{record->page, record->caps, record->fn};
}

LRESULT CALLBACK QwertyKeyClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE: return OnCreate(hwnd);
    case WM_DESTROY: return OnDestroy(hwnd);
    case WM_ERASEBKGND: return OnEraseBackground(hwnd);
    case WM_LBUTTONDOWN: return OnPenDown(hwnd, PenPoint(lParam));
    case WM_MOUSEMOVE: return OnPenMove(hwnd, PenPoint(lParam));
    case WM_LBUTTONUP: return OnPenUp(hwnd, PenPoint(lParam));
    case WM_TIMER: return OnTimer(hwnd, wParam);
    case WM_KEYUP: return 0;  // the hardware keys are not this keyboard's
    case LanguageChangedMessage: return OnLanguageChanged(hwnd, wParam);
    case RefreshMessage: return OnRefresh(hwnd);
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}
