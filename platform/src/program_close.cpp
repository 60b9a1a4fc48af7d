// Ending a program from outside, the way its own window would be closed: the host window's
// close (SDL's quit event) and the signals SIGTERM, SIGHUP and SIGINT send WM_CLOSE to the
// program's main window, so that the program's ordinary shut-down runs (its windows save
// what they hold, its data are written) instead of the process simply ending.
//
// The main window is the first unowned top-level window the program created that is
// still alive; a program without one is asked to quit (PostQuitMessage(0)). A signal handler
// only sets a flag, which the UI thread takes each time it looks for a message; the backends
// wait at most a fraction of a second, so the close follows promptly. The handlers are
// one-shot: a second signal ends the process the default way, so that a program that no
// longer answers can still be stopped.
#include "internal/backend.h"
#include "internal/window_state.h"

#include <csignal>

namespace device::internal {

namespace {

volatile std::sig_atomic_t terminationRequested = 0;

extern "C" void OnTerminationSignal(int) { terminationRequested = 1; }

HWND MainWindowOfProcess() {
  // Handles grow with each window made, so the map's order is the order of creation.
  for (const auto& [handle, window] : Wm().windows) {
    if (window->parent == nullptr && window->owner == nullptr && !window->destroying) return handle;
  }
  return nullptr;
}

}  // namespace

void RequestProgramClose() {
  HWND main = MainWindowOfProcess();
  if (main == nullptr) PostQuitMessage(0);
  else PostMessage(main, WM_CLOSE, 0, 0);
}

void WatchTerminationSignals() {
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGTERM, SIGHUP, SIGINT}) sigaction(signal, &action, nullptr);
}

void TakeTerminationRequest() {
  if (terminationRequested == 0) return;
  terminationRequested = 0;
  RequestProgramClose();
}

}  // namespace device::internal
