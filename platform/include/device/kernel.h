// The device's core services other than windows: error codes, handles, processes, threads,
// time, the running program's module path and library loading.
//
// Strings are UTF-16 (`WCHAR`); names are the Win32 names without the A/W suffix because the
// device has only the wide versions. Calls return BOOL/DWORD and set the thread's last error
// like Win32; nothing throws.
#pragma once

#include <device/win_types.h>

// ---- Error codes (the Win32 values) ------------------------------------------------------
constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_TOO_MANY_OPEN_FILES = 4;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr DWORD ERROR_NO_MORE_FILES = 18;
constexpr DWORD ERROR_WRITE_FAULT = 29;
constexpr DWORD ERROR_READ_FAULT = 30;
constexpr DWORD ERROR_GEN_FAILURE = 31;
constexpr DWORD ERROR_SHARING_VIOLATION = 32;
constexpr DWORD ERROR_HANDLE_EOF = 38;
constexpr DWORD ERROR_NOT_SUPPORTED = 50;
constexpr DWORD ERROR_FILE_EXISTS = 80;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_BUFFER_OVERFLOW = 111;
constexpr DWORD ERROR_DISK_FULL = 112;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_INVALID_NAME = 123;
constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
constexpr DWORD ERROR_NEGATIVE_SEEK = 131;
constexpr DWORD ERROR_DIR_NOT_EMPTY = 145;
constexpr DWORD ERROR_ALREADY_EXISTS = 183;
constexpr DWORD ERROR_MORE_DATA = 234;
constexpr DWORD ERROR_NOT_OWNER = 288;
constexpr DWORD ERROR_DIRECTORY = 267;
constexpr DWORD ERROR_NO_MORE_ITEMS = 259;
constexpr DWORD ERROR_BADDB = 1009;
constexpr DWORD ERROR_BADKEY = 1010;
constexpr DWORD ERROR_CANTOPEN = 1011;
constexpr DWORD ERROR_CANTREAD = 1012;
constexpr DWORD ERROR_CANTWRITE = 1013;
constexpr DWORD ERROR_REGISTRY_IO_FAILED = 1016;
constexpr DWORD ERROR_KEY_DELETED = 1018;

// The calling thread's last error, as set by the failing call.
DWORD GetLastError();
void SetLastError(DWORD error);

// ---- Handles ---------------------------------------------------------------------------
// One handle space for files, processes and threads. Find handles are closed with FindClose,
// registry keys with RegCloseKey, libraries with FreeLibrary.
BOOL CloseHandle(HANDLE object);

struct SECURITY_ATTRIBUTES {
  DWORD nLength;
  LPVOID lpSecurityDescriptor;
  BOOL bInheritHandle;
};
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

constexpr DWORD INFINITE = 0xFFFFFFFF;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
constexpr DWORD STILL_ACTIVE = 259;

// Waits for a process or thread handle to end, or takes a mutex (below). A finite timeout is
// measured in host time (a process is outside the device clock). Returns WAIT_OBJECT_0,
// WAIT_TIMEOUT or WAIT_FAILED.
DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds);

// ---- Named mutexes ---------------------------------------------------------------------
// A named mutex is shared by all processes of the device image (named_mutex.cpp says how, and
// where it differs from Win32). CreateMutex opens it, creating it when needed, and sets the last
// error to ERROR_ALREADY_EXISTS when it existed (this process had it open, or another process
// owns it); then `initialOwner` is not honoured. WaitForSingleObject takes ownership (a
// finite timeout in host time); ownership counts and ends when the owner releases it as often,
// closes its last handle, or ends. Unnamed mutexes fail with ERROR_NOT_SUPPORTED.
HANDLE CreateMutex(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCWSTR name);
// FALSE with ERROR_NOT_OWNER when this process does not own the mutex.
BOOL ReleaseMutex(HANDLE mutex);

// ---- Processes -------------------------------------------------------------------------
struct STARTUPINFOW {
  DWORD cb;  // the device ignores start-up information, as Windows CE does
};
using LPSTARTUPINFOW = STARTUPINFOW*;

struct PROCESS_INFORMATION {
  HANDLE hProcess;
  HANDLE hThread;  // the process's main thread; waiting on it waits for the process
  DWORD dwProcessId;
  DWORD dwThreadId;
};
using LPPROCESS_INFORMATION = PROCESS_INFORMATION*;

// Starts the program at the device path `applicationName` (for example
// u"\\Program Files\\Sample\\tool.exe"). The device's programs live in the running program's
// folder (see GetModuleFileName); each is the host executable of the same name without ".exe"
// beside the running host executable. A path in another folder names no program.
// `commandLine` (may be null) is converted to UTF-8 and passed as one argument, argv[1]; an
// empty or null command line passes no argument.
// Security attributes, inheritance, flags, environment, current folder and start-up info are
// accepted and ignored. A missing executable fails with ERROR_FILE_NOT_FOUND.
BOOL CreateProcess(LPCWSTR applicationName, LPCWSTR commandLine,
                   LPSECURITY_ATTRIBUTES processAttributes, LPSECURITY_ATTRIBUTES threadAttributes,
                   BOOL inheritHandles, DWORD creationFlags, LPVOID environment,
                   LPCWSTR currentDirectory, LPSTARTUPINFOW startupInfo,
                   LPPROCESS_INFORMATION processInformation);

// STILL_ACTIVE while the process runs; its exit status once it ended.
BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode);

// ---- Threads ---------------------------------------------------------------------------
using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID parameter);

// Starts `start(parameter)` on a new thread (a detached std::thread underneath). The handle
// can be waited on and must be closed; closing it does not stop the thread. Stack size and
// flags are ignored (CREATE_SUSPENDED is not supported).
HANDLE CreateThread(LPSECURITY_ATTRIBUTES attributes, DWORD stackSize, LPTHREAD_START_ROUTINE start,
                    LPVOID parameter, DWORD creationFlags, DWORD* threadId);

// Blocks for `milliseconds` of device time (the headless backend's virtual clock in tests).
void Sleep(DWORD milliseconds);

// Milliseconds since the device started, on the device clock.
DWORD GetTickCount();

// ---- Time ------------------------------------------------------------------------------
struct SYSTEMTIME {
  WORD wYear;
  WORD wMonth;      // 1..12
  WORD wDayOfWeek;  // 0 = Sunday
  WORD wDay;        // 1..31
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
};
using LPSYSTEMTIME = SYSTEMTIME*;

// The host's wall-clock time (local and UTC), unless a test fixed it with
// device::SetTimeOverride.
void GetLocalTime(LPSYSTEMTIME time);
void GetSystemTime(LPSYSTEMTIME time);

// OLE automation date: days since 1899-12-30 00:00; the fraction is the time of day. Before
// that day the integer part counts days back and the fraction still counts forward from
// midnight (-1.25 is 1899-12-29 06:00), as OLE does. Milliseconds are ignored and rounded to
// the nearest second on the way back, as the OLE calls do. Both return TRUE on success, FALSE
// for a date out of range (years 100..9999) or an invalid field.
using DATE = double;
INT SystemTimeToVariantTime(const SYSTEMTIME* time, DATE* variantTime);
INT VariantTimeToSystemTime(DATE variantTime, LPSYSTEMTIME time);

// ---- Module path and libraries ---------------------------------------------------------
// With a null module or the program's own instance handle: the running program's device path,
// the install description's program folder + "\" + the host executable's file name + ".exe". A built-in library's
// handle gives "\Windows\" + its name. Returns the length copied (without the terminator); a
// buffer too small receives a truncated, terminated path, the result is `size` and the last
// error ERROR_INSUFFICIENT_BUFFER.
DWORD GetModuleFileName(HMODULE module, LPWSTR fileName, DWORD size);

// The device's libraries are built into the platform: loading one of the names the programs
// use ("richink.dll", with or without a folder, any case) succeeds and returns a handle that
// FreeLibrary accepts; any other name fails with ERROR_MOD_NOT_FOUND. Nothing is loaded from
// the host.
HMODULE LoadLibrary(LPCWSTR fileName);
BOOL FreeLibrary(HMODULE module);

// Sends a string to the debugger. On the host the debugger's output is standard error: the
// text is written there as UTF-8, as it is (no line end is added), and flushed.
void OutputDebugString(LPCWSTR text);

// The hardware-abstraction layer's control requests. Only the reboot request is known: the
// host cannot restart the device, so it logs the request to standard error and counts it;
// every other code fails with ERROR_NOT_SUPPORTED.
constexpr DWORD IOCTL_HAL_REBOOT = 0x0101003C;
BOOL KernelIoControl(DWORD ioControlCode, LPVOID inBuffer, DWORD inSize, LPVOID outBuffer, DWORD outSize,
                     DWORD* bytesReturned);

// ---- Test hooks (not Win32) ------------------------------------------------------------
namespace device {

// How many reboots this process has requested through KernelIoControl.
int RebootRequestCount();

// How many programs this process has started through CreateProcess.
int ProcessStartCount();

// Fixes the time that GetLocalTime and GetSystemTime report (both report `localTime`, as if
// the device ran at UTC); a null pointer returns to host time.
void SetTimeOverride(const SYSTEMTIME* localTime);

}  // namespace device
