// Test helper: another process of the device image $TAVREL_DEVICE. It shows a window of class
// "Probe" titled "Probe" and, above it, one titled "Cover"; prints "ready" once other
// processes can find them, then "active <title>" each time one of them is activated, and
// waits until it is killed.
#include <device/user.h>

#include "internal/backend.h"
#include "internal/device_start.h"

#include <cstdio>
#include <string>

namespace {

bool ready = false;

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE && ready) {
    WCHAR title[16];
    int length = GetWindowText(hwnd, title, 16);
    std::printf("active %s\n", std::string(title, title + length).c_str());
    std::fflush(stdout);
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace

int main() {
  device::internal::MarkUiThread();
  device::internal::StartDevice();
  WNDCLASSW wc{};
  wc.lpfnWndProc = ProbeProc;
  wc.lpszClassName = u"Probe";
  RegisterClass(&wc);
  for (const WCHAR* title : {u"Probe", u"Cover"}) {
    CreateWindowEx(0, u"Probe", title, WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
  }
  MSG msg;
  // Running out of messages publishes the windows.
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  ready = true;
  std::printf("ready\n");
  std::fflush(stdout);
  while (GetMessage(&msg, nullptr, 0, 0)) DispatchMessage(&msg);
  return 0;
}
