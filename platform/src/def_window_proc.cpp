// DefWindowProc and CallWindowProc.
//
// DefWindowProc handles: WM_NCCREATE (stores the title), WM_SETTEXT / WM_GETTEXT /
// WM_GETTEXTLENGTH (the stored title), WM_CLOSE (destroys the window), WM_ERASEBKGND (fills
// the client area with the class brush; returns 0 when the class has none), WM_PAINT
// (validates), WM_NCPAINT (a black one-pixel border and a navy caption bar with the title in
// white), WM_ACTIVATE (an activated window takes the focus). Everything else returns 0.
#include "internal/window_state.h"

#include <device/gdi.h>

#include <algorithm>

using namespace device::internal;

namespace {

LRESULT OnNcCreate(Window* w, const CREATESTRUCTW* cs) {
  w->text = cs && cs->lpszName ? cs->lpszName : u"";
  return TRUE;
}

LRESULT OnSetText(Window* w, LPCWSTR text) {
  w->text = text ? text : u"";
  if ((w->style & WS_CAPTION) == WS_CAPTION) AddUpdate(w, RECT{0, 0, 0, 0}, false, true);
  return TRUE;
}

LRESULT OnGetText(Window* w, WPARAM maxCount, LPWSTR buffer) {
  if (!buffer || maxCount == 0) return 0;
  size_t n = std::min<size_t>(w->text.size(), maxCount - 1);
  std::copy_n(w->text.data(), n, buffer);
  buffer[n] = 0;
  return static_cast<LRESULT>(n);
}

LRESULT OnEraseBackground(Window* w, HDC dc) {
  HBRUSH brush = w->cls->info.hbrBackground;
  if (!brush) return 0;
  RECT client = LocalClientRect(w);
  FillRect(dc, &client, brush);
  return 1;
}

LRESULT OnPaint(HWND hwnd) {
  PAINTSTRUCT ps;
  BeginPaint(hwnd, &ps);
  EndPaint(hwnd, &ps);
  return 0;
}

LRESULT OnNcPaint(Window* w) {
  RECT in = ClientInsets(w);
  if (in.left == 0 && in.top == 0) return 0;
  HDC dc = GetWindowDC(w->handle);
  RECT whole = ScreenWindowRect(w);
  OffsetRect(&whole, -whole.left, -whole.top);
  HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  // Four edges; the client area itself is left to WM_ERASEBKGND and WM_PAINT.
  RECT edges[] = {{0, 0, whole.right, in.top},
                  {0, whole.bottom - in.bottom, whole.right, whole.bottom},
                  {0, 0, in.left, whole.bottom},
                  {whole.right - in.right, 0, whole.right, whole.bottom}};
  for (const RECT& e : edges) FillRect(dc, &e, black);
  if (in.top > in.left) {
    RECT caption{in.left, in.left, whole.right - in.right, in.top};
    HBRUSH navy = CreateSolidBrush(RGB(0, 0, 128));
    FillRect(dc, &caption, navy);
    DeleteObject(navy);
    caption.left += 4;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawText(dc, w->text.c_str(), -1, &caption, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  ReleaseDC(w->handle, dc);
  return 0;
}

}  // namespace

LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = FromHandle(hwnd);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE: return OnNcCreate(w, reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_SETTEXT: return OnSetText(w, reinterpret_cast<LPCWSTR>(lParam));
    case WM_GETTEXT: return OnGetText(w, wParam, reinterpret_cast<LPWSTR>(lParam));
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->text.size());
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_ERASEBKGND: return OnEraseBackground(w, reinterpret_cast<HDC>(wParam));
    case WM_PAINT: return OnPaint(hwnd);
    case WM_NCPAINT: return OnNcPaint(w);
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) SetFocus(hwnd);
      return 0;
    default: return 0;
  }
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}
