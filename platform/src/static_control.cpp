// The STATIC class: text labels. SS_LEFT wraps words, SS_CENTER and SS_RIGHT wrap and align,
// SS_LEFTNOWORDWRAP keeps one line per line break. WM_SETTEXT stores the text and repaints;
// WM_SETFONT / WM_GETFONT; WM_ENABLE greys the text. A label takes no input.
// Not implemented: SS_ICON, SS_BITMAP, SS_NOTIFY, SS_SIMPLE, frames and rectangles.
#include "internal/control_drawing.h"
#include "internal/system_classes.h"

#include <device/controls.h>

#include <string>

namespace device::internal {

namespace {

struct StaticState {
  HFONT font = nullptr;  // null: the default control font
};

// The state hangs off the class's extra bytes; GWL_USERDATA stays the program's.
StaticState* StateOf(HWND hwnd) { return reinterpret_cast<StaticState*>(GetWindowLong(hwnd, 0)); }

UINT FormatFor(DWORD style) {
  switch (style & SS_TYPEMASK) {
    case SS_CENTER: return DT_CENTER | DT_WORDBREAK;
    case SS_RIGHT: return DT_RIGHT | DT_WORDBREAK;
    case SS_LEFTNOWORDWRAP: return DT_LEFT;
    default: return DT_LEFT | DT_WORDBREAK;
  }
}

LRESULT OnCreate(HWND hwnd) {
  SetWindowLong(hwnd, 0, reinterpret_cast<LONG_PTR>(new StaticState));
  return 0;
}

LRESULT OnNcDestroy(HWND hwnd) {
  delete StateOf(hwnd);
  SetWindowLong(hwnd, 0, 0);
  return 0;
}

LRESULT OnPaint(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT r;
  GetClientRect(hwnd, &r);
  FillColor(dc, r, kControlFace);
  int length = GetWindowTextLength(hwnd);
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  text.resize(static_cast<size_t>(GetWindowText(hwnd, text.data(), length + 1)));
  DWORD style = static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE));
  DrawLabel(dc, StateOf(hwnd)->font, text.c_str(), r, FormatFor(style),
            IsWindowEnabled(hwnd) ? kControlText : kDisabledText);
  EndPaint(hwnd, &ps);
  return 0;
}

LRESULT OnSetText(HWND hwnd, LPARAM text) {
  LRESULT result = DefWindowProc(hwnd, WM_SETTEXT, 0, text);
  InvalidateRect(hwnd, nullptr, TRUE);
  return result;
}

LRESULT OnSetFont(HWND hwnd, WPARAM font, LPARAM redraw) {
  StateOf(hwnd)->font = reinterpret_cast<HFONT>(font);
  if (redraw) InvalidateRect(hwnd, nullptr, TRUE);
  return 0;
}

LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_NCCREATE && msg != WM_CREATE && !StateOf(hwnd)) return DefWindowProc(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_CREATE: return OnCreate(hwnd);
    case WM_NCDESTROY: return OnNcDestroy(hwnd);
    case WM_PAINT: return OnPaint(hwnd);
    case WM_ERASEBKGND: return 1;  // WM_PAINT fills every pixel
    case WM_SETTEXT: return OnSetText(hwnd, lParam);
    case WM_SETFONT: return OnSetFont(hwnd, wParam, lParam);
    case WM_GETFONT: return reinterpret_cast<LRESULT>(StateOf(hwnd)->font);
    case WM_ENABLE: InvalidateRect(hwnd, nullptr, TRUE); return 0;
    case WM_GETDLGCODE: return DLGC_STATIC;
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

void RegisterStaticClass() { RegisterControlClass(u"STATIC", StaticProc); }

}  // namespace device::internal
