#include "keyboards/keyboard_common.h"

#include "common/messages.h"
#include "keyboards/dead_keys.h"
#include "drawing/back_buffer.h"
#include "drawing/font_table.h"
#include "prediction/prediction_engine.h"
#include "settings/settings_store.h"

#include <cstdlib>
#include <unicode/uchar.h>

void SendKeyboardInput(HWND keyboard, WPARAM code, const WCHAR* text) {
  SendMessage(GetParent(keyboard), KeyboardInputMessage, code, reinterpret_cast<LPARAM>(text));
}

void SendKeyboardCharacter(HWND keyboard, WCHAR character) {
  const WCHAR text[2] = {character, 0};
  SendKeyboardInput(keyboard, kInputCharacter, text);
}

void SendEditingKey(HWND keyboard, EditingKey key) {
  switch (key) {
    case EditingKey::kSpace: SendKeyboardInput(keyboard, kInputCharacter, u" "); break;
    case EditingKey::kBackspace: SendKeyboardInput(keyboard, kInputBackspace, nullptr); break;
    case EditingKey::kEnter: SendKeyboardInput(keyboard, kInputEnter, nullptr); break;
  }
}

int StrokeThreshold() { return TheSettings().strikelength * 10 + 15; }

StrokeKind KeyStroke(POINT origin, POINT penUp) { return ClassifyStroke(origin, penUp, StrokeThreshold()); }

void SendKeyStroke(HWND keyboard, StrokeKind kind, bool upperCase, WCHAR character) {
  switch (kind) {
    case kStrokeRight: SendEditingKey(keyboard, EditingKey::kSpace); break;
    case kStrokeLeft: SendEditingKey(keyboard, EditingKey::kBackspace); break;
    case kStrokeDown: SendEditingKey(keyboard, EditingKey::kEnter); break;
    case kStrokeUp:
      // An empty key has no character to put in the other case; sending 0 would type nothing
      // but still reach the editor as a character.
      if (character == 0) break;
      SendKeyboardCharacter(keyboard, static_cast<WCHAR>(upperCase ? u_tolower(character) : u_toupper(character)));
      break;
    case kNoStroke: break;
  }
}

StrokeKind RunKeyStroke(HWND keyboard, POINT origin, POINT penUp, bool upperCase, WCHAR character) {
  const StrokeKind kind = KeyStroke(origin, penUp);
  SendKeyStroke(keyboard, kind, upperCase, character);
  return kind;
}

void OpenKeyboard(HWND keyboard, KeyboardBase& base, ButtonSpec* keys, int keyCount, const KeyboardFaces& faces,
                  std::initializer_list<int> labelKeys) {
  base.keyFont = CreateAppFont(faces.keyFace, faces.keyFontHeight, faces.vertical, faces.keyBold);
  base.labelFont = CreateAppFont(kKeyboardFace, faces.labelFontHeight, faces.vertical, false);
  const KeyboardFont& small = faces.smallFont;
  base.smallFont = small.face != nullptr ? CreateAppFont(small.face, small.height, faces.vertical, small.bold) : -1;
  base.panel = RegisterButtonPanel(keyboard, keys, keyCount, faces.skinImages, faces.skinImageCount, base.keyFont);
  for (int key : labelKeys) keys[key].fontId = base.labelFont;
}

void CloseKeyboard(KeyboardBase& base) {
  UnregisterButtonPanel(base.panel);
  DeleteAppFont(base.keyFont);
  DeleteAppFont(base.labelFont);
  if (base.smallFont >= 0) DeleteAppFont(base.smallFont);
  base.smallFont = -1;
}

int BeginKeyPress(HWND keyboard, KeyPress& press, const ButtonSpec* keys, const ButtonPanel& panel, POINT pen) {
  press.penDown = pen;
  press.key = HitButtonAt(keyboard, keys, pen.x, pen.y, panel);
  SetCapture(keyboard);
  return press.key;
}

int EndKeyPress(KeyPress& press) {
  if (GetCapture() != nullptr) ReleaseCapture();
  const int key = press.key;
  press.key = -1;
  return key;
}

void StartAutoRepeat(HWND keyboard, UINT_PTR timer) { SetTimer(keyboard, timer, kAutoRepeatDelayMs, nullptr); }

void ContinueAutoRepeat(HWND keyboard, UINT_PTR timer, UINT periodMs) { SetTimer(keyboard, timer, periodMs, nullptr); }

void StopAutoRepeat(HWND keyboard, UINT_PTR timer) { KillTimer(keyboard, timer); }

void StopAutoRepeatIfMoved(HWND keyboard, UINT_PTR timer, POINT origin, int x, int y) {
  if (std::abs(x - origin.x) >= kAutoRepeatSlack || std::abs(y - origin.y) >= kAutoRepeatSlack) {
    StopAutoRepeat(keyboard, timer);
  }
}

void StopAutoRepeatIfMoved(HWND keyboard, UINT_PTR timer, const KeyPress& press, POINT pen) {
  StopAutoRepeatIfMoved(keyboard, timer, press.penDown, pen.x, pen.y);
}

void StartAutoRepeatIfOn(HWND keyboard, UINT_PTR timer, bool repeats) {
  if (repeats && TheSettings().autorepeat != 0) StartAutoRepeat(keyboard, timer);
}

void PaintKeyboardBackground(HWND keyboard, const KeyboardBase& base) {
  DrawPanelBackground(keyboard, base.panel, BackBufferDC());
}

void CopyKeyboardToWindow(HWND keyboard, int width, int height) {
  CopyBackBufferToWindow(keyboard, RECT{0, 0, width, height});
}

void CopyKeyToWindow(HWND keyboard, const ButtonSpec& key) {
  CopyBackBufferToWindow(keyboard, RECT{key.left, key.top, key.right, key.bottom});
}

KeyPlace KeyPlaceIn(const ButtonSpec* layout, int keyCount, const int* images, int key) {
  if (key < 0 || key >= keyCount) return KeyPlace{RECT{0, 0, 0, 0}, -1};
  const ButtonSpec& button = layout[key];
  return KeyPlace{RECT{button.left, button.top, button.right, button.bottom}, images[button.imageSlot]};
}

bool IsNextKey(WCHAR c, bool lowerCase) {
  if (c == 0 || TheSettings().showPredict == 0) return false;
  const WCHAR wanted = lowerCase ? static_cast<WCHAR>(u_tolower(c)) : c;
  for (const WCHAR* next = ThePredictionEngine().tracker.GetNextKeys(); *next != 0; ++next) {
    if (*next == wanted) return true;
  }
  return false;
}

bool TypeAccentedCharacter(HWND keyboard, WCHAR c, const LanguageRecord& language) {
  if (c == 0) return false;
  if (c != u' ' && IsDeadKey(c)) {
    AdvanceAccent(language);
    return true;
  }
  const int before = AccentIndex();
  SendKeyboardCharacter(keyboard, ComposeAccent(c, language));
  ResetAccent(language);
  return AccentIndex() != before;
}

WCHAR SpacingSign(WCHAR c) {
  switch (c) {
    case u'\u0300': return u'\u0060';
    case u'\u0301': return u'\u00B4';
    default: return c;
  }
}

COLORREF AccentedLabel(WCHAR c, const LanguageRecord& language, WCHAR (&shown)[2]) {
  shown[1] = 0;
  if (IsDeadKey(c)) {
    shown[0] = SpacingSign(c);
    return kKeyLabelGrey;
  }
  shown[0] = ComposeAccent(c, language);
  return shown[0] != c ? kAccentedLabelRed : kKeyLabelGrey;
}

void RedrawKeyboard(HWND keyboard) { InvalidateRect(keyboard, nullptr, TRUE); }

POINT PenPoint(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

WCHAR KeyStringCharacter(const WCHAR* row, int index) {
  if (index < 0) return 0;
  for (int i = 0; i < index; ++i) {
    if (row[i] == 0) return 0;
  }
  return row[index];
}

int KeyboardLanguage() { return ThePredictionEngine().tracker.GetLoadedLanguage(); }

const LanguageRecord& KeyboardLanguageRecord(int language) {
  return ThePredictionEngine().languages.Language(language);
}
