// The caret: CreateCaret, DestroyCaret, SetCaretPos, GetCaretPos, ShowCaret, HideCaret.
//
// One caret for the thread, owned by one window. It is drawn by inverting the screen pixels
// of its rectangle (clipped to the owner's visible client area), so drawing it twice erases
// it. A new caret starts hidden; ShowCaret and HideCaret nest (Win32's hide count). Only the
// real-time backend makes it blink (BlinkCaret), so headless screenshots stay deterministic;
// moving or showing the caret draws it at once. Bitmap carets are drawn as solid blocks.
#include "internal/backend.h"
#include "internal/screen.h"
#include "internal/window_state.h"

namespace device::internal {

namespace {

struct Caret {
  HWND owner = nullptr;
  int width = 0;
  int height = 0;
  POINT pos{0, 0};      // client coordinates of the owner
  int hideCount = 0;    // drawn only while 0
  bool drawn = false;   // its pixels are inverted on the screen now
  bool paintHidden = false;  // hidden by BeginPaint, to be drawn again by EndPaint
};

Caret caret;

void Invert() {
  Window* w = FromHandle(caret.owner);
  if (!w) return;
  RECT client = ScreenClientRect(w);
  RECT r{client.left + caret.pos.x, client.top + caret.pos.y,
         client.left + caret.pos.x + caret.width, client.top + caret.pos.y + caret.height};
  InvertScreenRect(r, VisibleRegion(w, true));
  caret.drawn = !caret.drawn;
}

void Erase() {
  if (caret.drawn) Invert();
}

void DrawIfShown() {
  if (caret.owner && caret.hideCount == 0 && !caret.drawn) Invert();
}

bool Owns(HWND hwnd) { return caret.owner && (!hwnd || hwnd == caret.owner); }

}  // namespace

void CaretPaintBegin(HWND hwnd) {
  if (caret.owner == hwnd && caret.drawn) {
    Erase();
    caret.paintHidden = true;
  }
}

void CaretPaintEnd(HWND hwnd) {
  if (caret.owner == hwnd && caret.paintHidden) {
    caret.paintHidden = false;
    DrawIfShown();
  }
}

void BlinkCaret() {
  if (caret.owner && caret.hideCount == 0 && !caret.paintHidden) Invert();
}

void ForgetCaretWindow(HWND hwnd) {
  if (caret.owner == hwnd) caret = Caret{};
}

}  // namespace device::internal

using namespace device::internal;

BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height) {
  if (!IsWindow(hwnd)) return FALSE;
  DestroyCaret();
  caret = Caret{};
  caret.owner = hwnd;
  caret.width = width > 0 ? width : 1;
  caret.height = height > 0 ? height : 1;
  caret.hideCount = 1;
  return TRUE;
}

BOOL DestroyCaret() {
  if (!caret.owner) return FALSE;
  Erase();
  caret = Caret{};
  return TRUE;
}

BOOL SetCaretPos(int x, int y) {
  if (!caret.owner) return FALSE;
  Erase();
  caret.pos = POINT{x, y};
  DrawIfShown();
  return TRUE;
}

BOOL GetCaretPos(LPPOINT point) {
  if (!caret.owner || !point) return FALSE;
  *point = caret.pos;
  return TRUE;
}

BOOL ShowCaret(HWND hwnd) {
  if (!Owns(hwnd) || caret.hideCount == 0) return FALSE;
  if (--caret.hideCount == 0 && !caret.paintHidden) DrawIfShown();
  return TRUE;
}

BOOL HideCaret(HWND hwnd) {
  if (!Owns(hwnd)) return FALSE;
  ++caret.hideCount;
  Erase();
  return TRUE;
}
