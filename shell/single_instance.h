// One running tavrel per device image. Two starts at the same moment must not both run, and
// the start window only becomes findable by other processes once it exists, so start-ups go
// one at a time until then (the "start-up" mutex), and the running instance owns the
// "instance" mutex for its whole run. A start that finds the instance owned raises the running
// start window and ends; if that window is already gone (the instance is shutting down), it
// waits for the instance to end and then starts.
#pragma once

#include <device/windows.h>

// The device image's named mutexes (named_mutex.cpp) that keep the starts apart.
inline constexpr WCHAR kStartUpMutex[] = u"Tavrel start-up";
inline constexpr WCHAR kInstanceMutex[] = u"Tavrel instance";

class SingleInstance {
 public:
  SingleInstance() = default;
  ~SingleInstance();  // lets go of both mutexes
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // Waits for this start's turn; true when another instance runs (it has been raised, no move,
  // no resize), false when this one is the instance.
  bool RaiseRunningInstance();
  // The start window exists (or could not be made): the next start may go on.
  void StartUpDone();

 private:
  HANDLE startUp_ = nullptr;
  HANDLE instance_ = nullptr;
};
