// Timers: SetTimer and KillTimer, and the WM_TIMER messages GetMessage makes of them.
//
// A timer is named by its window and id; setting an existing one again replaces its interval
// and restarts it. WM_TIMER is made only when nothing else is queued and no window needs
// painting, never queued, so timer messages never pile up: a timer that fell behind fires
// once and is next due one interval after it fired. Due timers fire earliest first, ties in
// the order they were set. Intervals below 10 ms are raised to 10 ms (Win32's minimum).
// Timers of a window die with it. A timer procedure, if given, is called by DispatchMessage.
// A timer without a window gets a fresh id and posts WM_TIMER with a null window.
#include "internal/backend.h"
#include "internal/window_state.h"

#include <algorithm>
#include <vector>

namespace device::internal {

namespace {

struct Timer {
  HWND hwnd;
  UINT_PTR id;
  UINT interval;
  std::uint64_t due;
  TIMERPROC proc;
  std::uint64_t order;  // when it was set, to break ties between timers due together
};

std::vector<Timer> timers;
std::uint64_t nextOrder = 0;
UINT_PTR nextThreadTimerId = 1;

constexpr UINT kMinimumInterval = 10;

}  // namespace

bool TakeDueTimer(MSG* msg, HWND filter, UINT min, UINT max, bool remove) {
  if (min != 0 || max != 0) {
    if (WM_TIMER < min || WM_TIMER > max) return false;
  }
  std::uint64_t now = CurrentBackend()->NowMs();
  Timer* best = nullptr;
  for (Timer& t : timers) {
    if (t.due > now) continue;
    if (filter && t.hwnd != filter && !IsChild(filter, t.hwnd)) continue;
    if (!best || t.due < best->due || (t.due == best->due && t.order < best->order)) best = &t;
  }
  if (!best) return false;
  *msg = MSG{best->hwnd, WM_TIMER, best->id, reinterpret_cast<LPARAM>(best->proc),
             static_cast<DWORD>(now), POINT{0, 0}};
  if (remove) best->due = now + best->interval;
  return true;
}

std::optional<std::uint64_t> NextTimerDue() {
  std::optional<std::uint64_t> next;
  for (const Timer& t : timers) {
    if (!next || t.due < *next) next = t.due;
  }
  return next;
}

void KillWindowTimers(HWND hwnd) {
  std::erase_if(timers, [hwnd](const Timer& t) { return t.hwnd == hwnd; });
}

void ResetTimers() {
  timers.clear();
  nextThreadTimerId = 1;
}

}  // namespace device::internal

using namespace device::internal;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
  if (hwnd && !IsWindow(hwnd)) return 0;
  if (!hwnd) id = nextThreadTimerId++;
  UINT interval = std::max(elapseMs, kMinimumInterval);
  std::uint64_t due = CurrentBackend()->NowMs() + interval;
  auto it = std::find_if(timers.begin(), timers.end(),
                         [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it != timers.end()) {
    it->interval = interval;
    it->due = due;
    it->proc = proc;
    it->order = nextOrder++;
  } else {
    timers.push_back(Timer{hwnd, id, interval, due, proc, nextOrder++});
  }
  return id ? id : 1;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  auto it = std::find_if(timers.begin(), timers.end(),
                         [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == timers.end()) return FALSE;
  timers.erase(it);
  return TRUE;
}
