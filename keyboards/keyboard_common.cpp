#include "keyboards/keyboard_common.h"

#include "common/messages.h"
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
  static constexpr WCHAR kKeyFace[] = u"MS SANS SERIF";
  base.keyFont = CreateAppFont(kKeyFace, faces.keyFontHeight, false, false);
  base.labelFont = CreateAppFont(kKeyFace, faces.labelFontHeight, false, false);
  base.panel = RegisterButtonPanel(keyboard, keys, keyCount, faces.skinImages, faces.skinImageCount, base.keyFont);
  for (int key : labelKeys) keys[key].fontId = base.labelFont;
}

void CloseKeyboard(KeyboardBase& base) {
  UnregisterButtonPanel(base.panel);
  DeleteAppFont(base.keyFont);
  DeleteAppFont(base.labelFont);
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

void ContinueAutoRepeat(HWND keyboard, UINT_PTR timer) { SetTimer(keyboard, timer, kAutoRepeatPeriodMs, nullptr); }

void StopAutoRepeat(HWND keyboard, UINT_PTR timer) { KillTimer(keyboard, timer); }

void StopAutoRepeatIfMoved(HWND keyboard, UINT_PTR timer, POINT origin, int x, int y) {
  if (std::abs(x - origin.x) >= kAutoRepeatSlack || std::abs(y - origin.y) >= kAutoRepeatSlack) {
    StopAutoRepeat(keyboard, timer);
  }
}

void RedrawKeyboard(HWND keyboard) { InvalidateRect(keyboard, nullptr, TRUE); }

POINT PenPoint(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

int KeyboardLanguage() { return ThePredictionEngine().tracker.GetLoadedLanguage(); }

const LanguageRecord& KeyboardLanguageRecord(int language) {
  return ThePredictionEngine().languages.Language(language);
}
