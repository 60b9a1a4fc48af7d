#include "drawing/stroke.h"

#include "common/messages.h"
#include "drawing/button_panel.h"
#include "settings/settings_store.h"

#include <cstdlib>
#include <unicode/uchar.h>

namespace {

StrokeKind Classify(POINT origin, int x, int y, int threshold) {
  const int dx = std::abs(origin.x - x);
  const int dy = std::abs(origin.y - y);
  if (dx > dy) {
    if (x > origin.x + threshold) return kStrokeRight;
    if (origin.x > x + threshold) return kStrokeLeft;
  } else {
    if (y > origin.y + threshold) return kStrokeDown;
    if (origin.y > y + threshold) return kStrokeUp;
  }
  return kNoStroke;
}

void SendInput(HWND window, WPARAM code, const WCHAR* text) {
  SendMessage(GetParent(window), KeyboardInputMessage, code, reinterpret_cast<LPARAM>(text));
}

WCHAR OtherCase(WCHAR character, bool isUpperCase) {
  return static_cast<WCHAR>(isUpperCase ? u_tolower(character) : u_toupper(character));
}

}  // namespace

int StrokeThreshold() { return TheSettings().strikelength * 10 + 15; }

int ClassifyStroke(HWND window, int x, int y, bool send, bool isUpperCase, WCHAR character) {
  return ClassifyStroke(window, StrokeOrigin(), x, y, send, isUpperCase, character);
}

int ClassifyStroke(HWND window, POINT origin, int x, int y, bool send, bool isUpperCase, WCHAR character) {
  const StrokeKind kind = Classify(origin, x, y, StrokeThreshold());
  if (!send) return kind;
  switch (kind) {
    case kStrokeRight:
      SendInput(window, kInputCharacter, u" ");
      break;
    case kStrokeLeft:
      SendInput(window, kInputBackspace, u"");
      break;
    case kStrokeDown:
      SendInput(window, kInputEnter, u"");
      break;
    case kStrokeUp: {
      const WCHAR text[2] = {OtherCase(character, isUpperCase), 0};
      SendInput(window, kInputCharacter, text);
      break;
    }
    case kNoStroke:
      break;
  }
  return kind;
}
