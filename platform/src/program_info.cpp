// The registered identity of the running program (device/program_info.h).
#include <device/program_info.h>

namespace device {

namespace {

// A function-level static, so that a registration made while another translation unit's
// static objects are constructed finds it ready.
ProgramInfo& Info() {
  static ProgramInfo info;
  return info;
}

}  // namespace

void SetProgramInfo(const ProgramInfo& info) { Info() = info; }

const ProgramInfo& CurrentProgramInfo() { return Info(); }

}  // namespace device
