// The process entry of every device program: picks a backend, then calls the program's
// WinMain with its command line in UTF-16.
//
// With a display (DISPLAY or WAYLAND_DISPLAY set) and TAVREL_HEADLESS unset, the program runs
// in an SDL window on the device image $TAVREL_DEVICE. Otherwise it runs headless through the
// test driver, on a fresh temporary device image (or, when another program running on such an
// image started it, on that image): a program that defines
//     void DemoScript(device::Driver& driver);
// (in the same source file as its WinMain, so the linker keeps it) has that script played
// against it; without one, the entry lets the program run until idle, writes one screenshot
// and ends it. Screenshots go into $TAVREL_SHOTS (default ./screenshots).
#include <device/driver.h>
#include <device/user.h>

#include "internal/device_start.h"
#include "internal/sdl.h"
#include "internal/wide_text.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

int WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);
void DemoScript(device::Driver& driver) __attribute__((weak));

namespace {

bool DisplayAvailable() {
  auto set = [](const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
  };
  return (set("DISPLAY") || set("WAYLAND_DISPLAY")) && !set("TAVREL_HEADLESS");
}

// A single argument is the command line as it is: CreateProcess hands a device program its
// whole command line as one argument. Several arguments (typed in a shell) are joined by
// spaces, as a device command line is one string; an argument holding a space is quoted.
std::u16string CommandLine(int argc, char** argv) {
  if (argc == 2) return device::internal::Utf8ToUtf16(argv[1]);
  std::string joined;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (i > 1) joined += ' ';
    joined += arg.find(' ') != std::string::npos ? "\"" + arg + "\"" : arg;
  }
  return device::internal::Utf8ToUtf16(joined);
}

}  // namespace

int main(int argc, char** argv) {
  std::u16string commandLine = CommandLine(argc, argv);
  std::string name = std::filesystem::path(argv[0]).filename().string();
  // The device has one program per process; any non-null value serves as its instance.
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(0x00010000);
  auto program = [&] { return WinMain(instance, nullptr, commandLine.data(), SW_SHOW); };

  if (DisplayAvailable() && device::internal::StartSdlBackend(name.c_str())) {
    device::internal::StartDevice();  // headless, the driver does this
    int result = program();
    device::internal::StopSdlBackend();
    return result;
  }
  std::printf("%s: headless; screenshots go into %s\n", name.c_str(),
              std::getenv("TAVREL_SHOTS") ? std::getenv("TAVREL_SHOTS") : "./screenshots");
  std::fflush(stdout);
  if (DemoScript) return device::RunProgramWithScript(program, DemoScript);
  return device::RunProgramWithScript(program, [&name](device::Driver& driver) {
    driver.RunUntilIdle();
    driver.Screenshot(name);
  });
}
