// What the on-screen keyboards share: sending input to the main screen, the pen-stroke test
// on a character key, the Space/Backspace/Enter keys, key auto-repeat timing, and redrawing.
// Each keyboard keeps its own key table and state; these helpers hold no state of their own.
#pragma once

#include "drawing/button_panel.h"
#include "drawing/stroke.h"
#include "prediction/language_table.h"

#include <device/windows.h>

#include <initializer_list>

// Where a keyboard's key lies (client coordinates, right and bottom exclusive) and the skin
// image it shows. The keyboards export their keys' places this way for the demo and tests.
struct KeyPlace {
  RECT rect;
  int skinImage;  // a SkinImageIndex, -1 for none
};

// Input to the parent window (the main screen) as KeyboardInputMessage, sent synchronously.
void SendKeyboardInput(HWND keyboard, WPARAM code, const WCHAR* text);
// One character as a one-character string with code 0.
void SendKeyboardCharacter(HWND keyboard, WCHAR character);

// The editing keys every keyboard has.
enum class EditingKey { kSpace, kBackspace, kEnter };
void SendEditingKey(HWND keyboard, EditingKey key);

// Strokes across a character key. The threshold is strikelength x 10 + 15 pixels (35 with the
// default setting). KeyStroke classifies the path from the pen-down point to the pen-up point;
// SendKeyStroke sends what the stroke stands for, exactly as the key would: right a space,
// left a backspace, down Enter, up `character` in its other case (lower case when
// `upperCase`). The main screen feeds the word tracker from that input, so a stroke leaves
// the tracker as the Space or Enter key does. An up stroke over a key without a character (0)
// sends nothing. RunKeyStroke does both and returns the kind, kNoStroke for a tap.
int StrokeThreshold();
StrokeKind KeyStroke(POINT origin, POINT penUp);
void SendKeyStroke(HWND keyboard, StrokeKind kind, bool upperCase, WCHAR character);
StrokeKind RunKeyStroke(HWND keyboard, POINT origin, POINT penUp, bool upperCase, WCHAR character);

// The pen on a keyboard, kept in the keyboard's window record: where it went down and the key
// it hit there. Every keyboard presses keys this way: BeginKeyPress on pen-down records both
// (the key by the toolkit's hit test, transparent pixels missing) and captures the pen;
// EndKeyPress on pen-up releases it and hands back the key hit at pen-down, whose action it is
// wherever the pen is lifted (-1: the pen-down hit no key, so the pen-up does nothing). The
// keyboard draws the pressed key its own way.
struct KeyPress {
  POINT penDown = {0, 0};  // also the origin of a stroke and the spot auto-repeat watches
  int key = -1;
};
int BeginKeyPress(HWND keyboard, KeyPress& press, const ButtonSpec* keys, const ButtonPanel& panel, POINT pen);
int EndKeyPress(KeyPress& press);

// What every skinned keyboard keeps in its window record besides its own state: the fonts of
// its keys, the panel of its key table and the pen. OpenKeyboard makes the fonts (the label
// font always "MS SANS SERIF", normal weight; the key font that face unless the faces name
// another; a small font for second characters only when asked for; all rotated by 90 degrees
// for a keyboard of the turned device), registers the panel of `keys` with the key font and
// gives the keys of `labelKeys` (the function keys that carry words) the label font;
// CloseKeyboard undoes it.
struct KeyboardBase {
  int keyFont;
  int labelFont;
  ButtonPanel panel;
  KeyPress press;
  int smallFont = -1;  // -1 when the keyboard has none
};
inline constexpr WCHAR kKeyboardFace[] = u"MS SANS SERIF";
struct KeyboardFont {
  const WCHAR* face = nullptr;  // none: no such font
  int height = 0;
  bool bold = false;
};
struct KeyboardFaces {
  const int* skinImages;  // the panel's image list
  int skinImageCount;
  int keyFontHeight;
  int labelFontHeight;
  const WCHAR* keyFace = kKeyboardFace;
  bool keyBold = false;
  KeyboardFont smallFont = {};  // the second character a key shows in a corner
  bool vertical = false;        // every font drawn upwards, for the turned device
};
void OpenKeyboard(HWND keyboard, KeyboardBase& base, ButtonSpec* keys, int keyCount, const KeyboardFaces& faces,
                  std::initializer_list<int> labelKeys);
void CloseKeyboard(KeyboardBase& base);

// A keyboard's window record (a type with a KeyboardBase `base`), kept in GWL_USERDATA;
// null before WM_CREATE stored it and after DestroyKeyboardRecord.
template <class Record>
Record* KeyboardRecord(HWND keyboard) {
  return reinterpret_cast<Record*>(GetWindowLong(keyboard, GWL_USERDATA));
}
// Closes the record's fonts and panel, frees it and clears GWL_USERDATA.
template <class Record>
void DestroyKeyboardRecord(HWND keyboard, Record* record) {
  CloseKeyboard(record->base);
  delete record;
  SetWindowLong(keyboard, GWL_USERDATA, 0);
}

// Paints a whole keyboard through the BackBuffer: the panel's background, then every key by
// `drawKey(key)` (which draws into the BackBuffer), then copies the `width` x `height` client
// area to the window.
void PaintKeyboardBackground(HWND keyboard, const KeyboardBase& base);
void CopyKeyboardToWindow(HWND keyboard, int width, int height);
// Copies one key's rectangle of the BackBuffer to the window, after the key was drawn there.
void CopyKeyToWindow(HWND keyboard, const ButtonSpec& key);
template <class DrawKey>
void PaintKeyboard(HWND keyboard, const KeyboardBase& base, int keyCount, int width, int height, DrawKey drawKey) {
  PaintKeyboardBackground(keyboard, base);
  for (int key = 0; key < keyCount; ++key) drawKey(key);
  CopyKeyboardToWindow(keyboard, width, height);
}

// The place of `key` in a keyboard's constexpr `layout` of `keyCount` keys with the skin
// image of its slot in `images`; an empty place and no image for a key out of range.
KeyPlace KeyPlaceIn(const ButtonSpec* layout, int keyCount, const int* images, int key);

// Key auto-repeat on a window timer: the first repetition 300 ms after the pen-down, then one
// every 50 ms, while the pen stays within 4 pixels of the pen-down point in both axes.
constexpr UINT kAutoRepeatDelayMs = 300;
constexpr UINT kAutoRepeatPeriodMs = 50;
constexpr int kAutoRepeatSlack = 5;  // a move this far (or farther) in either axis ends the repetition
void StartAutoRepeat(HWND keyboard, UINT_PTR timer);
// The later repetitions come every `periodMs` (keyboards that repeat slower pass their own).
void ContinueAutoRepeat(HWND keyboard, UINT_PTR timer, UINT periodMs = kAutoRepeatPeriodMs);
void StopAutoRepeat(HWND keyboard, UINT_PTR timer);
// Stops the repetition when the pen at (x, y) has left the slack around `origin`.
void StopAutoRepeatIfMoved(HWND keyboard, UINT_PTR timer, POINT origin, int x, int y);
// The same for the pen of a key press: stops when `pen` has left the slack around its pen-down.
void StopAutoRepeatIfMoved(HWND keyboard, UINT_PTR timer, const KeyPress& press, POINT pen);
// The same for a pen move over the keyboard whose window record is a `Record`; nothing
// before the record exists.
template <class Record>
void StopAutoRepeatIfPenLeft(HWND keyboard, UINT_PTR timer, POINT pen) {
  const Record* record = KeyboardRecord<Record>(keyboard);
  if (record != nullptr) StopAutoRepeatIfMoved(keyboard, timer, record->base.press, pen);
}
// On pen-down on a key that `repeats`: starts the repetition when the autorepeat setting is on.
void StartAutoRepeatIfOn(HWND keyboard, UINT_PTR timer, bool repeats);
// One tick of the repetition timer: stops the timer, runs `action(key)` for the key under the
// pen-down point of `press` (none there, no action) and sets the next tick `periodMs` later.
template <class Action>
void RunAutoRepeat(HWND keyboard, UINT_PTR timer, const KeyPress& press, const ButtonSpec* keys, int keyCount,
                   UINT periodMs, Action action) {
  StopAutoRepeat(keyboard, timer);
  const int key = FindButtonAt(press.penDown.x, press.penDown.y, keys, keyCount);
  if (key >= 0) action(key);
  ContinueAutoRepeat(keyboard, timer, periodMs);
}

// Next-key marks: whether `c` is one of the characters the word tracker expects next
// (GetNextKeys), compared exactly or, with `lowerCase`, as `c` in lower case. Never with
// `showPredict` off, and never for an empty key (0).
bool IsNextKey(WCHAR c, bool lowerCase);

// Dead-key accents on a character key (the accent state of dead_keys.h). A dead-key character
// advances the accent and sends nothing; any other character is sent composed with the
// active accent, which then returns to none; an empty key (0) does nothing. True when the
// accent state changed, so the keys' composed labels must be drawn again.
bool TypeAccentedCharacter(HWND keyboard, WCHAR c, const LanguageRecord& language);

// What a character key shows: a combining grave or acute as its spacing sign (` and ´), any
// other dead key as it is, and every other character composed with the active accent.
// Answers the label colour: red when the accent changes the character, else grey.
constexpr COLORREF kKeyLabelGrey = 0xB3B3B3;
constexpr COLORREF kAccentedLabelRed = 0x0000FF;
COLORREF AccentedLabel(WCHAR c, const LanguageRecord& language, WCHAR (&shown)[2]);
// A dead key's spacing sign (` for the combining grave, ´ for the combining acute); any other
// character unchanged.
WCHAR SpacingSign(WCHAR c);

// Invalidates the whole keyboard with erasing; it redraws itself in WM_ERASEBKGND.
void RedrawKeyboard(HWND keyboard);

// The pen position of a pen message, in client coordinates.
POINT PenPoint(LPARAM lParam);

// Character `index` of a key string (QWERTY_1, QWERTYFULL_2, ...); 0 for an index at or beyond
// the end of a short string, so such a key is empty.
WCHAR KeyStringCharacter(const WCHAR* row, int index);

// The language whose key strings the keyboards show: the one whose dictionaries are loaded.
int KeyboardLanguage();
const LanguageRecord& KeyboardLanguageRecord(int language);

