#include "drawing/back_buffer.h"

namespace {
HDC backBufferDC = nullptr;
HBITMAP backBufferBitmap = nullptr;
HDC imageContext = nullptr;
}  // namespace

void CreateBackBuffer(HDC screenDC) {
  if (backBufferDC != nullptr) return;
  backBufferDC = CreateCompatibleDC(screenDC);
  backBufferBitmap = CreateCompatibleBitmap(screenDC, kScreenWidth, kScreenHeight);
  SelectObject(backBufferDC, backBufferBitmap);
}

HDC BackBufferDC() {
  if (backBufferDC == nullptr) {
    // Windows drawn before the start window exists (tests, tools) still get one surface.
    HDC screen = GetDC(nullptr);
    CreateBackBuffer(screen);
    ReleaseDC(nullptr, screen);
  }
  return backBufferDC;
}

HDC ImageContext() {
  if (imageContext == nullptr) imageContext = CreateCompatibleDC(nullptr);
  return imageContext;
}

void CopyBackBufferToWindow(HWND window, const RECT& rect) {
  HDC windowDC = GetDC(window);
  BitBlt(windowDC, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, BackBufferDC(),
         rect.left, rect.top, SRCCOPY);
  ReleaseDC(window, windowDC);
}
