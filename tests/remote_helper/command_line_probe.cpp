// Test helper: a device program started through the process entry. It writes the command
// line its WinMain got to command_line.out in the root of its device's file system.
#include <device/files.h>
#include <device/user.h>

int WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show) {
  HANDLE file = CreateFile(u"\\command_line.out", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  DWORD bytes = 0;
  while (commandLine[bytes / 2]) bytes += 2;
  WriteFile(file, commandLine, bytes, &written, nullptr);
  CloseHandle(file);
  return 0;
}
