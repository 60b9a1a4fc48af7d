// Shared by the dialog, control and message-box tests: the platform's control classes, a
// host window that records the WM_COMMAND notifications its controls send, and small helpers
// for rectangles and templates.
#pragma once

#include <device/dialogs.h>
#include <device/driver.h>
#include <device/gdi.h>

#include "internal/system_classes.h"

#include <vector>

namespace dlgtest {

struct Command {
  int id;
  int code;
  HWND control;
  bool operator==(const Command&) const = default;
};

inline std::vector<Command>& Commands() {
  static std::vector<Command> commands;
  return commands;
}

inline LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND) {
    Commands().push_back(Command{LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)});
    return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

inline constexpr const char16_t* kHostClass = u"DialogTestHost";

inline void RegisterClasses() {
  using namespace device::internal;
  RegisterDialogClass();
  RegisterButtonClass();
  RegisterStaticClass();
  RegisterListBoxClass();
  RegisterComboBoxClass();
  WNDCLASSW wc{};
  if (GetClassInfo(nullptr, kHostClass, &wc)) return;
  wc.lpfnWndProc = HostProc;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kHostClass;
  RegisterClass(&wc);
}

// A full-screen top-level window, with no frame, that hears its controls.
inline HWND CreateHost() {
  RegisterClasses();
  Commands().clear();
  return CreateWindowEx(0, kHostClass, u"host", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
}

inline HWND CreateControl(HWND parent, LPCWSTR cls, DWORD style, int x, int y, int w, int h, int id,
                          LPCWSTR text = u"") {
  return CreateWindowEx(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                        reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)), nullptr, nullptr);
}

inline RECT ScreenRect(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return r;
}

inline POINT Centre(HWND hwnd) {
  RECT r = ScreenRect(hwnd);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

inline void TapCentre(device::Driver& driver, HWND hwnd) {
  POINT c = Centre(hwnd);
  driver.Tap(c.x, c.y);
}

// Commands with one notification code.
inline std::vector<Command> CommandsWithCode(int code) {
  std::vector<Command> out;
  for (const Command& c : Commands()) {
    if (c.code == code) out.push_back(c);
  }
  return out;
}

}  // namespace dlgtest
