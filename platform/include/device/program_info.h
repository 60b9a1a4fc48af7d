// Who a program is, for its command line (not Win32): the process entry answers --help and
// --version with it. The device names no program of its own; a program registers its
// identity while its static objects are constructed, as it registers its install description:
//     const device::ProgramInfoRegistration info{{"name", "1.0", "what it is", "", "Title"}};
#pragma once

#include <string>
#include <vector>

namespace device {

struct ProgramInfo {
  std::string name;     // the program's name; empty: the executable's file name
  std::string version;  // printed by --version after the name
  std::string summary;  // one line saying what the program is
  std::string usage;    // more usage lines, each ending in '\n'; the entry prints its own options
  std::string windowTitle;  // the title of the program's host window; empty: the name
  // PNG files that may hold the host window's icon, in order (relative ones from the folder of
  // the running executable); the first that reads is used.
  std::vector<std::string> iconFiles;
};

void SetProgramInfo(const ProgramInfo& info);
const ProgramInfo& CurrentProgramInfo();

struct ProgramInfoRegistration {
  explicit ProgramInfoRegistration(const ProgramInfo& info) { SetProgramInfo(info); }
};

}  // namespace device
