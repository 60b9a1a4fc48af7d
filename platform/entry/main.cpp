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
//   program --help | --version            the program's usage or name and version (registered by
//                                         the program, device/program_info.h) on standard
//                                         output; exit 0. Any other argument that starts with
//                                         '-' is refused in one line on standard error, exit 2.
// When a display is named but no window can be opened, the program says why on standard error
// and exits 1 without starting (<prefix>_HEADLESS=1 asks for the headless run). SIGTERM, SIGHUP
// and SIGINT close the program's main window, so its ordinary shut-down runs.
// Screenshots go into $<prefix>_SHOTS (default ./screenshots).
#include <device/install.h>
#include <device/driver.h>
#include <device/files.h>
#include <device/install.h>
#include <device/program_info.h>
#include <device/script.h>
#include <device/user.h>

#include "internal/backend.h"
#include "internal/device_start.h"
#include "internal/registry_store.h"
#include "internal/sdl.h"
#include "internal/wide_text.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

int WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);

namespace {

constexpr char kScriptOption[] = "--script";
constexpr int kUsageExit = 2;
constexpr int kWindowExit = 1;
constexpr int kDeviceExit = 1;

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

std::string ProgramName(const char* argv0) {
  const std::string& registered = device::CurrentProgramInfo().name;
  return registered.empty() ? std::filesystem::path(argv0).filename().string() : registered;
}

void PrintUsage(const std::string& name) {
  const device::ProgramInfo& info = device::CurrentProgramInfo();
  if (!info.summary.empty()) std::printf("%s - %s\n\n", name.c_str(), info.summary.c_str());
  std::printf("usage: %s [COMMAND LINE]\n"
              "       %s --script FILE [COMMAND LINE]\n"
              "       %s --help | --version\n",
              name.c_str(), name.c_str(), name.c_str());
  if (!info.usage.empty()) std::printf("\n%s", info.usage.c_str());
  std::printf("\nWith a display (DISPLAY or WAYLAND_DISPLAY) the program opens a window; otherwise, or\n"
              "with %s=1, it runs headless. --script FILE plays a device script\n"
              "headless (tap, stroke, press, wait, shot, expect-..., answer lines).\n"
              "%s names the device image folder, %s the window scale (1-8),\n"
              "%s the screenshot folder.\n",
              device::DeviceVariableName("HEADLESS").c_str(), device::DeviceVariableName("DEVICE").c_str(),
              device::DeviceVariableName("SCALE").c_str(), device::DeviceVariableName("SHOTS").c_str());
}

// --help and --version answer and end; any other leading option is refused. Returns -1 when
// the program is to run.
int AnswerOptions(int argc, char** argv, const std::string& name) {
  if (argc < 2 || argv[1][0] != '-' || argv[1][1] == 0) return -1;
  const std::string option = argv[1];
  if (option == "--help" || option == "-h") {
    PrintUsage(name);
    return 0;
  }
  if (option == "--version") {
    const std::string& version = device::CurrentProgramInfo().version;
    std::printf("%s %s\n", name.c_str(), version.empty() ? "(unversioned)" : version.c_str());
    return 0;
  }
  if (option == kScriptOption) {
    if (argc >= 3) return -1;
    std::fprintf(stderr, "%s: %s needs a FILE (try %s --help)\n", name.c_str(), kScriptOption, name.c_str());
    return kUsageExit;
  }
  std::fprintf(stderr, "%s: unknown option %s (try %s --help)\n", name.c_str(), option.c_str(), name.c_str());
  return kUsageExit;
}

std::filesystem::path ExecutableFolder() {
  std::error_code error;
  return std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
}

// The device image folder must exist (it is created) and take files; otherwise the program
// would run blank with nothing saved. Says why with the path; false when it cannot be used.
bool DeviceFolderUsable(const std::string& name) {
  const std::filesystem::path root = device::DeviceImageRoot();
  std::error_code error;
  std::filesystem::create_directories(root, error);
  const std::filesystem::path probe = root / ".write-probe";
  std::FILE* file = error ? nullptr : std::fopen(probe.c_str(), "w");
  if (file == nullptr) {
    const std::string why = error ? error.message() : std::strerror(errno);
    std::fprintf(stderr, "%s: cannot use the device folder %s: %s\n", name.c_str(), root.c_str(), why.c_str());
    return false;
  }
  std::fclose(file);
  std::filesystem::remove(probe, error);
  return true;
}

// After the device started: the program's data must be installed in its program folder.
bool ProgramDataInstalled(const std::string& name) {
  const device::InstallDescription& description = device::CurrentInstallDescription();
  if (description.markerFile.empty()) return true;
  const std::u16string marker = description.programFolder + u"\\" + description.markerFile;
  const std::filesystem::path host = device::HostPathOf(marker.c_str());
  if (!host.empty() && std::filesystem::exists(host)) return true;
  std::fprintf(stderr, "%s: the program data are missing: %s was not installed (no shipped data found beside %s)\n",
               name.c_str(), host.c_str(), ExecutableFolder().c_str());
  return false;
}

void SetWindowIcon() {
  const std::filesystem::path beside = ExecutableFolder();
  for (const std::string& file : device::CurrentProgramInfo().iconFiles) {
    const std::filesystem::path path = std::filesystem::path(file).is_absolute() ? std::filesystem::path(file) : beside / file;
    if (device::internal::SetSdlWindowIcon(path.c_str())) return;
  }
}

std::string DisplayName() {
  for (const char* variable : {"WAYLAND_DISPLAY", "DISPLAY"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != 0) return std::string(variable) + "=" + value;
  }
  return "the display";
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
  device::internal::CloseDeviceRegistry();
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string name = ProgramName(argv[0]);
  if (int answered = AnswerOptions(argc, argv, name); answered >= 0) return answered;
  const bool scripted = argc >= 3 && std::strcmp(argv[1], kScriptOption) == 0;
  std::u16string commandLine = CommandLine(argc, argv, scripted ? 3 : 1);
  // The device has one program per process; any non-null value serves as its instance.
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(0x00010000);
  auto program = [&] { return WinMain(instance, nullptr, commandLine.data(), SW_SHOW); };
  // A program without its data would run blank, in the window or in the headless run. The
  // device has started when the program runs (here or in the driver), so the data are checked
  // there. A device script may play a program on an image of its own making.
  bool dataMissing = false;
  auto checkedProgram = [&] {
    dataMissing = !ProgramDataInstalled(name);
    return dataMissing ? kDeviceExit : program();
  };

  device::internal::WatchTerminationSignals();
  const char* deviceVariable = device::DeviceVariable("DEVICE");
  const bool keptImage = !scripted ? DisplayAvailable() : deviceVariable != nullptr && *deviceVariable != 0;
  if (keptImage && !DeviceFolderUsable(name)) return kDeviceExit;
  if (scripted) return RunScript(name, argv[2], program);
  if (DisplayAvailable()) {
    std::string error;
    const std::string& title = device::CurrentProgramInfo().windowTitle;
    if (!device::internal::StartSdlBackend(title.empty() ? name.c_str() : title.c_str(), &error)) {
      std::fprintf(stderr, "%s: cannot open a window on %s: %s\n(%s=1 runs it headless)\n", name.c_str(),
                   DisplayName().c_str(), error.c_str(), device::DeviceVariableName("HEADLESS").c_str());
      return kWindowExit;
    }
    SetWindowIcon();
    device::internal::StartDevice();  // headless, the driver does this
    int result = checkedProgram();
    device::internal::CloseDeviceRegistry();
    device::internal::StopSdlBackend();
    return result;
  }
  std::printf("%s: headless; screenshots go into %s\n", name.c_str(), ShotsFolder());
  std::fflush(stdout);
  return device::RunProgramWithScript(checkedProgram, [&](device::Driver& driver) {
    driver.RunUntilIdle();
    if (!dataMissing) driver.Screenshot(name);
  });
}
