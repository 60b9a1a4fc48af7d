#include "shell/single_instance.h"

#include "shell/main_window.h"

#include <device/kernel.h>

namespace {

HANDLE OpenMutex(const WCHAR* name, bool own, bool& existed) {
  HANDLE mutex = CreateMutex(nullptr, own ? TRUE : FALSE, name);
  existed = mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
  return mutex;
}

bool RaiseStartWindow() {
  HWND running = FindWindow(kMainWindowClass, kMainWindowTitle);
  if (running == nullptr) return false;
  SetWindowPos(running, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  return true;
}

}  // namespace

SingleInstance::~SingleInstance() {
  StartUpDone();
  if (instance_ != nullptr) CloseHandle(instance_);
}

bool SingleInstance::RaiseRunningInstance() {
  bool existed = false;
  startUp_ = OpenMutex(kStartUpMutex, false, existed);
  if (startUp_ != nullptr) WaitForSingleObject(startUp_, INFINITE);
  instance_ = OpenMutex(kInstanceMutex, true, existed);
  // Without the mutexes (an image folder that cannot be written) the window alone decides.
  if (instance_ == nullptr) return RaiseStartWindow();
  if (!existed) return false;
  if (RaiseStartWindow()) return true;
  WaitForSingleObject(instance_, INFINITE);
  return false;
}

void SingleInstance::StartUpDone() {
  if (startUp_ == nullptr) return;
  ReleaseMutex(startUp_);
  CloseHandle(startUp_);
  startUp_ = nullptr;
}
