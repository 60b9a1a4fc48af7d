// The headless device for targets that need windows or the registry: started once per
// process, on a fresh temporary device image that goes when the process ends.
#pragma once

#include <device/driver.h>

inline device::Driver& FuzzDevice() {
  static device::Driver driver;
  return driver;
}
