#include "prediction/file_io.h"

#include <device/files.h>

#include <string>

namespace {

BOOL DeviceWrite(HANDLE file, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten, void*) {
  return WriteFile(file, buffer, bytesToWrite, bytesWritten, nullptr);
}

WriteFunction g_write = DeviceWrite;

bool WriteAll(HANDLE file, const std::uint8_t* bytes, std::size_t size) {
  while (size > 0) {
    const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!g_write(file, bytes, chunk, &written, nullptr) || written == 0) return false;
    bytes += written;
    size -= written;
  }
  return true;
}

}  // namespace

void SetWriteFunctionForTesting(WriteFunction write) { g_write = write ? write : DeviceWrite; }

ReadResult ReadWholeFile(const WCHAR* path, std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  HANDLE file = CreateFile(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) ? ReadResult::Missing
                                                                              : ReadResult::Failed;
  }
  DWORD sizeHigh = 0;
  const DWORD size = GetFileSize(file, &sizeHigh);
  bool ok = sizeHigh == 0 && size != INVALID_FILE_SIZE;
  if (ok) {
    bytes.resize(size);
    DWORD read = 0;
    ok = size == 0 || (ReadFile(file, bytes.data(), size, &read, nullptr) && read == size);
  }
  CloseHandle(file);
  if (!ok) bytes.clear();
  return ok ? ReadResult::Ok : ReadResult::Failed;
}

bool ReplaceFileContents(const WCHAR* path, const std::uint8_t* bytes, std::size_t size) {
  const std::u16string temporary = std::u16string(path) + u".new";
  HANDLE file = CreateFile(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool written = WriteAll(file, bytes, size) && FlushFileBuffers(file);
  const bool closed = CloseHandle(file);
  if (written && closed && MoveFileEx(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING)) return true;
  DeleteFile(temporary.c_str());
  return false;
}

std::u16string FolderOf(const WCHAR* path) {
  const std::u16string text(path);
  const std::size_t slash = text.rfind(u'\\');
  return slash == std::u16string::npos ? std::u16string() : text.substr(0, slash);
}
