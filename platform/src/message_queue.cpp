// The thread's message queue: PostMessage, PostQuitMessage, SendMessage, GetMessage,
// PeekMessage (PM_REMOVE / PM_NOREMOVE), WaitMessage, DispatchMessage, TranslateMessage.
//
// GetMessage and PeekMessage look, in this order (as Win32 does), for: a posted message or
// host input (one FIFO, input is given its target window only when taken, so that capture
// set while handling a pen-down applies to the pen-up queued behind it); WM_QUIT once
// PostQuitMessage was called and nothing is posted; WM_PAINT for a window with something to
// paint (parents before their children); WM_TIMER for the earliest due timer. With nothing
// to do, GetMessage asks the backend to wait (the headless backend hands control to a test
// driver script there). SendMessage calls the window procedure directly and is re-entrant, so
// a modal loop run inside a handler pumps this same queue. DispatchMessage validates a window
// whose WM_PAINT handler did not (else WM_PAINT would repeat for ever, as Wine also guards).
// The queue is locked: PostMessage and PostQuitMessage are safe from any thread; everything
// else belongs to the UI thread. Hwnd and range filters apply to every kind of message;
// WM_QUIT is returned only to an unfiltered call. Not implemented: cross-thread SendMessage,
// PM_NOYIELD and the other PM_QS flags, message hooks.
#include "internal/backend.h"
#include "internal/remote_windows.h"
#include "internal/window_state.h"

#include <deque>
#include <mutex>

namespace device::internal {

bool RouteInput(const MSG& raw, bool commit, MSG* routed);  // input.cpp
bool TakeDueTimer(MSG* msg, HWND filter, UINT min, UINT max, bool remove);  // timers.cpp
POINT LastPenPoint();                                                        // input.cpp

namespace {

struct QueueItem {
  bool input;  // raw host input: msg.hwnd is chosen when the item is taken
  MSG msg;
};

struct Queue {
  std::mutex lock;
  std::deque<QueueItem> items;
  bool quitPending = false;
  int quitCode = 0;
};

Queue& TheQueue() {
  static Queue queue;
  return queue;
}

bool Matches(const MSG& m, HWND filter, UINT min, UINT max) {
  if (filter && m.hwnd != filter && !IsChild(filter, m.hwnd)) return false;
  return (min == 0 && max == 0) || (m.message >= min && m.message <= max);
}

void Push(QueueItem item) {
  Queue& q = TheQueue();
  {
    std::lock_guard<std::mutex> guard(q.lock);
    q.items.push_back(item);
  }
  CurrentBackend()->Wake();
}

MSG Stamp(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return MSG{hwnd, message, wParam, lParam, static_cast<DWORD>(CurrentBackend()->NowMs()),
             POINT{0, 0}};
}

bool TakeQueued(MSG* out, HWND filter, UINT min, UINT max, bool remove) {
  Queue& q = TheQueue();
  std::lock_guard<std::mutex> guard(q.lock);
  for (auto it = q.items.begin(); it != q.items.end();) {
    MSG m = it->msg;
    if (it->input && !RouteInput(it->msg, remove, &m)) {
      it = q.items.erase(it);  // no window takes it (nothing there, or disabled)
      continue;
    }
    if (Matches(m, filter, min, max)) {
      *out = m;
      if (remove) q.items.erase(it);
      return true;
    }
    ++it;
  }
  if (q.quitPending && !filter && min == 0 && max == 0) {
    *out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(q.quitCode), 0, 0, POINT{0, 0}};
    if (remove) q.quitPending = false;
    return true;
  }
  return false;
}

bool TakePaint(MSG* out, HWND filter, UINT min, UINT max) {
  Window* w = NextWindowToPaint();
  if (!w) return false;
  MSG m = Stamp(w->handle, WM_PAINT, 0, 0);
  if (!Matches(m, filter, min, max)) return false;
  *out = m;
  return true;
}

bool FetchMessage(MSG* out, HWND filter, UINT min, UINT max, bool remove) {
  CurrentBackend()->Poll();
  TakeTerminationRequest();
  bool found = TakeQueued(out, filter, min, max, remove) || TakePaint(out, filter, min, max) ||
               TakeDueTimer(out, filter, min, max, remove);
  if (found) out->pt = LastPenPoint();
  else PublishTopLevelWindows();  // idle: what other processes may find now
  return found;
}

}  // namespace

void QueuePenInput(PenAction action, POINT screenPoint) {
  UINT message = action == PenAction::Down ? WM_LBUTTONDOWN
                 : action == PenAction::Up ? WM_LBUTTONUP
                                           : WM_MOUSEMOVE;
  MSG m{nullptr, message, 0, MAKELPARAM(static_cast<WORD>(screenPoint.x), static_cast<WORD>(screenPoint.y)),
        0, screenPoint};
  Push(QueueItem{true, m});
}

void QueueKeyInput(UINT message, UINT virtualKey) {
  Push(QueueItem{true, MSG{nullptr, message, virtualKey, 0, 0, POINT{0, 0}}});
}

bool QueueHasPending() {
  Queue& q = TheQueue();
  std::lock_guard<std::mutex> guard(q.lock);
  return !q.items.empty() || q.quitPending;
}

void ResetQueue() {
  Queue& q = TheQueue();
  std::lock_guard<std::mutex> guard(q.lock);
  q.items.clear();
  q.quitPending = false;
  q.quitCode = 0;
}

}  // namespace device::internal

using namespace device::internal;

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return SendToWindow(hwnd, msg, wParam, lParam);
}

BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // Another thread may not look at the windows; only the UI thread checks the handle.
  if (hwnd && OnUiThread() && !IsWindow(hwnd)) return FALSE;
  Push(QueueItem{false, Stamp(hwnd, msg, wParam, lParam)});
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  Queue& q = TheQueue();
  {
    std::lock_guard<std::mutex> guard(q.lock);
    q.quitPending = true;
    q.quitCode = exitCode;
  }
  CurrentBackend()->Wake();
}

BOOL GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  while (!FetchMessage(msg, hwnd, filterMin, filterMax, true)) {
    CurrentBackend()->WaitForWork(NextTimerDue());
  }
  return msg->message != WM_QUIT;
}

BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
  return FetchMessage(msg, hwnd, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0);
}

BOOL WaitMessage() {
  MSG m;
  if (!FetchMessage(&m, nullptr, 0, 0, false)) CurrentBackend()->WaitForWork(NextTimerDue());
  return TRUE;
}

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
    return 0;
  }
  if (msg->message == kRaiseRequestMessage) {
    HandleRaiseRequest(msg->hwnd);  // from another process: never the window's own business
    return 0;
  }
  Window* w = FromHandle(msg->hwnd);
  if (!w) return 0;
  LRESULT result = CallWindowProc(w->proc, msg->hwnd, msg->message, msg->wParam, msg->lParam);
  if (msg->message == WM_PAINT && FromHandle(msg->hwnd) == w &&
      (w->updatePending || w->framePending)) {
    DropUpdate(w);
  }
  return result;
}

BOOL TranslateMessage(const MSG* msg) { return FALSE; }
