// Processes: CreateProcess, GetExitCodeProcess, GetModuleFileName, and waiting on a process.
//
// The device's programs are the host executables beside the running one (or in the folders
// the install description names, programHostFolders); a device path in the
// program folder names them (see the note at CreateProcess in kernel.h). The child inherits the
// environment, so it runs on the same device image. Not implemented: process priorities,
// suspended starts, TerminateProcess, inherited handles and the start-up record.
#include <device/install.h>
#include <device/kernel.h>

#include "internal/host_program.h"
#include "internal/kernel_objects.h"
#include "internal/wide_text.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;
using namespace device::internal;

namespace {

std::atomic<int> processStarts{0};

// A started child. Both the process and its "main thread" handle share one object.
struct ChildProcess : KernelObject {
  explicit ChildProcess(pid_t id) : pid(id) {}

  // A child nobody waits for any more is reaped in the background, so it leaves no zombie.
  ~ChildProcess() override {
    if (!ended) std::thread([id = pid] { ::waitpid(id, nullptr, 0); }).detach();
  }

  DWORD Wait(DWORD milliseconds) override {
    using Clock = std::chrono::steady_clock;
    auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    auto pause = std::chrono::milliseconds(1);
    while (!Poll(milliseconds == INFINITE)) {
      if (milliseconds != INFINITE && Clock::now() >= deadline) return WAIT_TIMEOUT;
      std::this_thread::sleep_for(pause);
      pause = std::min(pause * 2, std::chrono::milliseconds(20));
    }
    return WAIT_OBJECT_0;
  }

  // True once the child has ended; reaps it and records its exit code.
  bool Poll(bool block) {
    std::lock_guard lock(mutex);
    if (ended) return true;
    int status = 0;
    pid_t got = ::waitpid(pid, &status, block ? 0 : WNOHANG);
    if (got == 0) return false;
    ended = true;
    if (got < 0) exitCode = 0;  // reaped elsewhere; its status is lost
    // A signal death reports 128 + signal number, the shell's convention.
    else exitCode = WIFEXITED(status) ? static_cast<DWORD>(WEXITSTATUS(status)) : 128u + static_cast<DWORD>(WTERMSIG(status));
    return true;
  }

  std::mutex mutex;
  pid_t pid;
  bool ended = false;
  DWORD exitCode = STILL_ACTIVE;
};

// Splits a device path into its folder (without the trailing '\') and its file name.
void SplitDevicePath(std::u16string_view path, std::u16string_view& folder, std::u16string_view& name) {
  std::size_t slash = path.find_last_of(u"\\/");
  folder = slash == std::u16string_view::npos ? std::u16string_view() : path.substr(0, slash);
  name = slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

// The host folders that hold the device's programs: those the install description names
// (relative ones from the running executable's folder), else the running executable's own.
std::vector<fs::path> ProgramHostFolders() {
  const fs::path beside = HostExecutablePath().parent_path();
  std::vector<fs::path> folders;
  for (const fs::path& folder : device::CurrentInstallDescription().programHostFolders) {
    folders.push_back(folder.is_absolute() ? folder : (beside / folder).lexically_normal());
  }
  if (folders.empty()) folders.push_back(beside);
  return folders;
}

// The executable `hostName` in `folder`: the exact spelling first, then any spelling (the
// device's names ignore case); empty when there is none.
fs::path FindIgnoringCase(const fs::path& folder, const std::string& hostName, std::u16string_view name) {
  if (::access((folder / hostName).c_str(), X_OK) == 0) return folder / hostName;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    if (EqualsIgnoreCase(Utf8ToUtf16(entry.path().filename().string()), name) &&
        ::access(entry.path().c_str(), X_OK) == 0)
      return entry.path();
  }
  return {};
}

// The host executable a device program path names, or empty when it names none.
fs::path HostProgramOf(std::u16string_view devicePath) {
  std::u16string_view folder, name;
  SplitDevicePath(devicePath, folder, name);
  if (!EqualsIgnoreCase(folder, ProgramFolder())) return {};
  if (name.size() > 4 && EqualsIgnoreCase(name.substr(name.size() - 4), u".exe")) name.remove_suffix(4);
  std::string hostName;
  if (name.empty() || !Utf16ToUtf8(name, hostName)) return {};
  for (const fs::path& folder : ProgramHostFolders()) {
    if (fs::path found = FindIgnoringCase(folder, hostName, name); !found.empty()) return found;
  }
  return {};
}

}  // namespace

namespace device::internal {

fs::path HostExecutablePath() {
  std::error_code error;
  fs::path path = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::path() : path;
}

}  // namespace device::internal

BOOL CreateProcess(LPCWSTR applicationName, LPCWSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                   LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                   LPVOID environment, LPCWSTR currentDirectory, LPSTARTUPINFOW startupInfo,
                   LPPROCESS_INFORMATION processInformation) {
  // As on Windows CE, the program is always named by `applicationName`.
  if (!applicationName) return Fail(ERROR_INVALID_PARAMETER);
  fs::path program = HostProgramOf(applicationName);
  if (program.empty()) return Fail(ERROR_FILE_NOT_FOUND);
  std::string argument;
  if (!Utf16ToUtf8(commandLine ? commandLine : u"", argument)) return Fail(ERROR_INVALID_PARAMETER);

  std::string programText = program.string();
  std::vector<char*> argv{programText.data()};
  if (!argument.empty()) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (int error = ::posix_spawn(&pid, programText.c_str(), nullptr, nullptr, argv.data(), environ); error != 0)
    return Fail(ErrorFromErrno(error));

  ++processStarts;
  auto child = std::make_shared<ChildProcess>(pid);
  if (processInformation) {
    processInformation->hProcess = AddKernelObject(child);
    processInformation->hThread = AddKernelObject(child);
    processInformation->dwProcessId = static_cast<DWORD>(pid);
    processInformation->dwThreadId = static_cast<DWORD>(pid);
  }
  return TRUE;
}

BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode) {
  auto child = FindKernelObjectOf<ChildProcess>(process);
  if (!child) return FALSE;
  if (!exitCode) return Fail(ERROR_INVALID_PARAMETER);
  child->Poll(false);
  std::lock_guard lock(child->mutex);
  *exitCode = child->exitCode;
  return TRUE;
}

DWORD GetModuleFileName(HMODULE module, LPWSTR fileName, DWORD size) {
  if (!fileName || size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  // A process holds one program module, so any handle that is not a library is the program's.
  std::u16string_view library = BuiltInLibraryName(module);
  std::u16string path = library.empty() ? std::u16string(ProgramFolder()) + u"\\" +
                                              Utf8ToUtf16(HostExecutablePath().filename().string()) + u".exe"
                                        : u"\\Windows\\" + std::u16string(library);
  if (path.size() + 1 > size) {
    std::copy_n(path.begin(), size - 1, fileName);
    fileName[size - 1] = 0;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  std::copy(path.begin(), path.end(), fileName);
  fileName[path.size()] = 0;
  return static_cast<DWORD>(path.size());
}

int device::ProcessStartCount() { return processStarts.load(); }
