// PhonePreviewClass: the small pop-up that shows the characters of the phone key being
// cycled, the pending one in red. The phone keypad creates one, hidden, with itself as owner,
// and shows it while a character is pending.
//
// The group string sent with WM_SETTEXT also becomes the window's text, so that the pop-up
// can be read like any window; it is painted at once, not in a later paint.
#include "keyboards/phone_keypad.h"

#include "drawing/back_buffer.h"
#include "drawing/font_table.h"
#include "drawing/text_drawing.h"
#include "keyboards/keyboard_common.h"

namespace {

constexpr WCHAR kPreviewFace[] = u"MS SANS SERIF";
constexpr int kPreviewFontHeight = 14;
constexpr COLORREF kOtherCharacters = 0x8B8B8B;
constexpr COLORREF kPendingCharacter = 0x0000FF;  // red

struct PreviewRecord {
  int fontA;  // the other characters
  int fontB;  // the pending character (made alike)
};

PreviewRecord* Record(HWND hwnd) { return reinterpret_cast<PreviewRecord*>(GetWindowLong(hwnd, GWL_USERDATA)); }

LRESULT OnCreate(HWND hwnd) {
  auto* record = new PreviewRecord{};
  record->fontA = CreateAppFont(kPreviewFace, kPreviewFontHeight, false, true);
  record->fontB = CreateAppFont(kPreviewFace, kPreviewFontHeight, false, true);
  SetWindowLong(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(record));
  return 0;
}

LRESULT OnDestroy(HWND hwnd) {
  PreviewRecord* record = Record(hwnd);
  if (record == nullptr) return 0;
  DeleteAppFont(record->fontA);
  DeleteAppFont(record->fontB);
  delete record;
  SetWindowLong(hwnd, GWL_USERDATA, 0);
  return 0;
}

// wParam: the position of the pending character; lParam: the group.
LRESULT OnSetText(HWND hwnd, WPARAM position, LPARAM lParam) {
  const auto* group = reinterpret_cast<const WCHAR*>(lParam);
  DefWindowProc(hwnd, WM_SETTEXT, 0, lParam);
  PreviewRecord* record = Record(hwnd);
  if (record == nullptr || group == nullptr) return TRUE;
  RECT client;
  GetClientRect(hwnd, &client);
  HDC back = BackBufferDC();
  FillRect(back, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  const int i = static_cast<int>(position);
  DrawSplitWord(back, client.left, client.top, client.right, client.bottom, group, record->fontA, record->fontB, i,
                i + 1, kOtherCharacters, kPendingCharacter);
  CopyBackBufferToWindow(hwnd, client);
  return TRUE;
}

}  // namespace

LRESULT CALLBACK PhonePreviewClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE: return OnCreate(hwnd);
    case WM_DESTROY: return OnDestroy(hwnd);
    case WM_SETTEXT: return OnSetText(hwnd, wParam, lParam);
    case WM_ERASEBKGND: return 1;
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}
