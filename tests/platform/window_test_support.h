// Shared by the window manager tests: a window class whose procedure records every message
// it receives (Wine-style message sequences) and lets a test hook single messages.
#pragma once

#include <device/driver.h>
#include <device/gdi.h>
#include <device/user.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace wmtest {

struct Logged {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  bool operator==(const Logged&) const = default;
};

// Messages worth comparing; the others (WM_GETTEXT from the driver, painting) are noise
// unless a test asks for them.
inline bool Interesting(UINT msg) {
  switch (msg) {
    case WM_NCCREATE: case WM_CREATE: case WM_SIZE: case WM_MOVE: case WM_SHOWWINDOW:
    case WM_ACTIVATE: case WM_SETFOCUS: case WM_KILLFOCUS: case WM_DESTROY: case WM_NCDESTROY:
    case WM_CLOSE: case WM_ENABLE: case WM_CAPTURECHANGED:
      return true;
    default:
      return false;
  }
}

struct Recorder {
  std::vector<Logged> log;
  bool all = false;  // record every message, not only the interesting ones
  // Per-message behaviour: return a value to answer the message instead of DefWindowProc.
  std::map<UINT, std::function<LRESULT(HWND, WPARAM, LPARAM)>> hooks;

  void Clear() { log.clear(); }
  std::vector<UINT> Messages() const {
    std::vector<UINT> out;
    for (const Logged& l : log) out.push_back(l.msg);
    return out;
  }
  std::vector<UINT> MessagesFor(HWND hwnd) const {
    std::vector<UINT> out;
    for (const Logged& l : log) {
      if (l.hwnd == hwnd) out.push_back(l.msg);
    }
    return out;
  }
};

inline Recorder*& ActiveRecorder() {
  static Recorder* recorder = nullptr;
  return recorder;
}

inline LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Recorder* r = ActiveRecorder();
  if (r) {
    if (r->all || Interesting(msg)) r->log.push_back(Logged{hwnd, msg, wParam});
    auto hook = r->hooks.find(msg);
    if (hook != r->hooks.end()) return hook->second(hwnd, wParam, lParam);
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

inline constexpr const char16_t* kRecordingClass = u"RecordingWindow";

// A device with a recording class registered (classes live for the process, so a second
// registration of the same name is refused and the first one serves).
struct Fixture {
  device::Driver driver;
  Recorder recorder;
  Fixture() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = kRecordingClass;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RegisterClass(&wc);
    ActiveRecorder() = &recorder;
  }
  ~Fixture() { ActiveRecorder() = nullptr; }

  HWND Create(DWORD style, int x, int y, int w, int h, HWND parent = nullptr,
              LPCWSTR title = u"", int id = 0) {
    return CreateWindowEx(0, kRecordingClass, title, style, x, y, w, h, parent,
                          reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)), nullptr,
                          nullptr);
  }
};

}  // namespace wmtest
