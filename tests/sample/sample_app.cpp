// A small device program: a frame window that counts timer ticks in its title line and a
// card child that counts pen taps, changes colour on each tap and shows a PNG badge.
// Created by WinMain; its script (sample.script) taps the card and lets time pass.
#include "sample_app.h"

#include <device/gdi.h>

#include <string>

namespace {

struct FrameState {
  int ticks = 0;  // timer 1 firings since start
};

struct CardState {
  int taps = 0;
  HBITMAP badge = nullptr;  // 32 x 32, from badge.png
};

FrameState frame;

std::u16string Counted(const char16_t* label, int n) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + n % 10));
    n /= 10;
  } while (n);
  return std::u16string(label) + digits;
}

CardState* Card(HWND hwnd) { return reinterpret_cast<CardState*>(GetWindowLong(hwnd, GWL_USERDATA)); }

LRESULT OnCardCreate(HWND hwnd) {
  auto* state = new CardState;
  state->badge = LoadPngFile(SAMPLE_IMAGE_PATH);
  SetWindowLong(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(state));
  return 0;
}

LRESULT OnCardPaint(HWND hwnd) {
  CardState* state = Card(hwnd);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client;
  GetClientRect(hwnd, &client);
  HBRUSH brush = CreateSolidBrush(sample::kCardColours[state->taps % 3]);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  RECT text{0, 20, client.right, 60};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  std::u16string label = Counted(u"Taps: ", state->taps);
  DrawText(dc, label.c_str(), -1, &text, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
  if (state->badge) {
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, state->badge);
    BitBlt(dc, client.right / 2 - 16, 100, 32, 32, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
  }
  EndPaint(hwnd, &ps);
  return 0;
}

LRESULT OnCardPenUp(HWND hwnd) {
  CardState* state = Card(hwnd);
  ++state->taps;
  SetWindowText(hwnd, Counted(u"Taps: ", state->taps).c_str());
  InvalidateRect(hwnd, nullptr, FALSE);
  return 0;
}

LRESULT OnCardDestroy(HWND hwnd) {
  CardState* state = Card(hwnd);
  if (state->badge) DeleteObject(state->badge);
  delete state;
  return 0;
}

LRESULT CALLBACK CardProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE: return OnCardCreate(hwnd);
    case WM_PAINT: return OnCardPaint(hwnd);
    case WM_LBUTTONUP: return OnCardPenUp(hwnd);
    case WM_DESTROY: return OnCardDestroy(hwnd);
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

LRESULT OnFrameCreate(HWND hwnd) {
  SetTimer(hwnd, 1, sample::kTickMs, nullptr);
  const RECT& r = sample::kCardRect;
  CreateWindowEx(0, sample::kCardClass, u"Taps: 0", WS_CHILD | WS_VISIBLE | WS_BORDER, r.left,
                 r.top, r.right - r.left, r.bottom - r.top, hwnd, reinterpret_cast<HMENU>(1),
                 nullptr, nullptr);
  return 0;
}

LRESULT OnFramePaint(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT line{0, 20, 240, 44};
  SetBkMode(dc, TRANSPARENT);
  std::u16string text = Counted(u"Ticks: ", frame.ticks);
  DrawText(dc, text.c_str(), -1, &line, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
  EndPaint(hwnd, &ps);
  return 0;
}

LRESULT OnFrameTimer(HWND hwnd) {
  ++frame.ticks;
  SetWindowText(hwnd, Counted(u"Ticks: ", frame.ticks).c_str());
  RECT line{0, 20, 240, 44};
  InvalidateRect(hwnd, &line, TRUE);
  return 0;
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE: return OnFrameCreate(hwnd);
    case WM_PAINT: return OnFramePaint(hwnd);
    case WM_TIMER: return OnFrameTimer(hwnd);
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

void RegisterClasses(HINSTANCE instance) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = FrameProc;
  wc.hInstance = instance;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = sample::kFrameClass;
  RegisterClass(&wc);
  wc.lpfnWndProc = CardProc;
  wc.hbrBackground = nullptr;  // the card paints all of itself
  wc.lpszClassName = sample::kCardClass;
  RegisterClass(&wc);
}

}  // namespace

int WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show) {
  frame = FrameState{};
  RegisterClasses(instance);
  HWND main = CreateWindowEx(0, sample::kFrameClass, u"Ticks: 0", WS_VISIBLE, 0, 0, 240, 320,
                             nullptr, nullptr, instance, nullptr);
  if (!main) return 1;
  UpdateWindow(main);
  MSG msg;
  while (GetMessage(&msg, nullptr, 0, 0)) DispatchMessage(&msg);
  return static_cast<int>(msg.wParam);
}
