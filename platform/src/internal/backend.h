// The host backend interface: what the window manager needs from the host (a clock, a way
// to wait for work, presenting the screen) and how the host hands input to the device.
//
// Two backends exist: headless (virtual clock, renders to memory; backends/headless) and SDL2
// (real time, a window on the desktop; backends/sdl). Exactly one is installed at a time.
#pragma once

#include <device/win_types.h>

#include <cstdint>
#include <optional>

namespace device::internal {

class Backend {
 public:
  virtual ~Backend() = default;
  virtual std::uint64_t NowMs() = 0;
  virtual void SleepMs(std::uint32_t ms) = 0;
  // Takes host input into the device's queue and presents the screen if it changed. Called
  // by the UI thread every time it looks for a message; never blocks.
  virtual void Poll() = 0;
  // Called by the UI thread when it has nothing to do: no queued message, no window to paint
  // and no due timer. Returns when there may be work, at the latest when the clock reaches
  // `nextTimerDue` (if any). May return spuriously.
  virtual void WaitForWork(std::optional<std::uint64_t> nextTimerDue) = 0;
  // Called from any thread after a message was posted, so that a waiting UI thread wakes.
  virtual void Wake() = 0;
  // Another process of the device raised one of this process's windows: a backend that
  // shows the device in a host window brings that window to the front. UI thread.
  virtual void BringToFront() {}
};

// Installs `backend` (owned by the caller) as the device's backend; null uninstalls.
void SetBackend(Backend* backend);
Backend* CurrentBackend();

// Raw input from the host. The target window is chosen when the UI thread takes the event
// from the queue (as Win32 does), so that capture set by a pen-down applies to the pen-up
// that follows it. Safe from any thread.
enum class PenAction { Down, Move, Up };
void QueuePenInput(PenAction action, POINT screenPoint);
void QueueKeyInput(UINT message, UINT virtualKey);  // WM_KEYDOWN / WM_KEYUP / WM_CHAR
bool QueueHasPending();

// Turns a shown caret off or back on; a real-time backend calls it every blink period on
// the UI thread.
void BlinkCaret();

// The cursor chosen by SetCursor, for a backend that shows it.
bool IsWaitCursorShown();

// The UI thread: the thread that started the device (its SleepMs advances a virtual clock).
bool OnUiThread();
void MarkUiThread();

// Asks the program to close as if its main window were closed: WM_CLOSE to the first unowned
// top-level window it made (and still has), or PostQuitMessage(0) when it has none. UI thread.
void RequestProgramClose();
// SIGTERM, SIGHUP and SIGINT ask the program to close (once; a second signal ends the process).
void WatchTerminationSignals();
// Turns a termination signal that came since the last call into RequestProgramClose. UI thread.
void TakeTerminationRequest();

// The next due time of any timer, for backends and the test driver.
std::optional<std::uint64_t> NextTimerDue();

}  // namespace device::internal
