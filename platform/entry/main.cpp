// The process entry of every device program: picks a backend, then calls the program's
// WinMain with its command line in UTF-16.
//
//   program [COMMAND LINE]                with a display (DISPLAY or WAYLAND_DISPLAY set) and
//                                         <prefix>_HEADLESS unset: an SDL window on the device
//                                         image $<prefix>_DEVICE. Otherwise headless through the
//                                         test driver on a fresh temporary image (or the image
//                                         of the program that started it): the program runs
//                                         until idle, one screenshot is written, and it ends.
//   program --script FILE [COMMAND LINE]  headless, on the image $<prefix>_DEVICE names (kept
//                                         afterwards) or else a fresh temporary one: plays the
//                                         device script FILE (device/script.h) against the
//                                         program, echoing each line. Exits 0 when every line
//                                         passed, 1 at the first failed expectation, 2 for a
//                                         malformed script or one that cannot be read.
// Screenshots go into $<prefix>_SHOTS (default ./screenshots).
#include <device/install.h>
#include <device/driver.h>
#include <device/script.h>
#include <device/user.h>

#include "internal/device_start.h"
#include "internal/sdl.h"
#include "internal/wide_text.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

int WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);

namespace {

constexpr char kScriptOption[] = "--script";

bool DisplayAvailable() {
  auto set = [](const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
  };
  return (set("DISPLAY") || set("WAYLAND_DISPLAY")) && !device::DeviceVariable("HEADLESS");
}

const char* ShotsFolder() {
  const char* shots = device::DeviceVariable("SHOTS");
  return shots ? shots : "./screenshots";
}

// The command line from the arguments `first` on. A single argument is the command line as it
// is: CreateProcess hands a device program its whole command line as one argument. Several
// arguments (typed in a shell) are joined by spaces, as a device command line is one string;
// an argument holding a space is quoted.
std::u16string CommandLine(int argc, char** argv, int first) {
  if (argc == first + 1) return device::internal::Utf8ToUtf16(argv[first]);
  std::string joined;
  for (int i = first; i < argc; ++i) {
    std::string arg = argv[i];
    if (i > first) joined += ' ';
    joined += arg.find(' ') != std::string::npos ? "\"" + arg + "\"" : arg;
  }
  return device::internal::Utf8ToUtf16(joined);
}

int RunScript(const std::string& name, const std::string& path, const std::function<int()>& program) {
  std::string text;
  if (!device::ReadScriptFile(path, text, stderr)) return device::kScriptMalformed;
  if (device::CheckScript(path, text, stderr) != device::kScriptPassed) return device::kScriptMalformed;
  setenv(device::DeviceVariableName("HEADLESS").c_str(), "1", 1);  // the programs it starts run headless on the same image
  std::printf("%s: playing %s headless; screenshots go into %s\n", name.c_str(), path.c_str(), ShotsFolder());
  std::fflush(stdout);
  device::ScriptStatus status = device::kScriptPassed;
  device::RunProgramWithScript(
      program,
      [&](device::Driver& driver) { status = device::PlayScript(driver, path, text, stdout, stderr); },
      device::DeviceImage::kFromEnvironment);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  const bool scripted = argc >= 2 && std::strcmp(argv[1], kScriptOption) == 0;
  const std::string name = std::filesystem::path(argv[0]).filename().string();
  if (scripted && argc < 3) {
    std::fprintf(stderr, "%s: %s needs a FILE\n", name.c_str(), kScriptOption);
    return device::kScriptMalformed;
  }
  std::u16string commandLine = CommandLine(argc, argv, scripted ? 3 : 1);
  // The device has one program per process; any non-null value serves as its instance.
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(0x00010000);
  auto program = [&] { return WinMain(instance, nullptr, commandLine.data(), SW_SHOW); };

  if (scripted) return RunScript(name, argv[2], program);
  if (DisplayAvailable() && device::internal::StartSdlBackend(name.c_str())) {
    device::internal::StartDevice();  // headless, the driver does this
    int result = program();
    device::internal::StopSdlBackend();
    return result;
  }
  std::printf("%s: headless; screenshots go into %s\n", name.c_str(), ShotsFolder());
  std::fflush(stdout);
  return device::RunProgramWithScript(program, [&name](device::Driver& driver) {
    driver.RunUntilIdle();
    driver.Screenshot(name);
  });
}
