#include "common/file_helpers.h"

namespace {

constexpr WCHAR kTemporaryPrefix[] = u"~sv";  // '~' starts no note name, so notes never clash
constexpr DWORD kLargestWrite = 0x40000000;

BOOL DeviceWrite(HANDLE file, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten, void*) {
  return WriteFile(file, buffer, bytesToWrite, bytesWritten, nullptr);
}

WriteFunction g_write = DeviceWrite;
SaveStep g_failingStep = SaveStep::None;

// True once, for the step the test hook named.
bool StepFails(SaveStep step) {
  if (g_failingStep != step) return false;
  g_failingStep = SaveStep::None;
  return true;
}

bool WriteAll(HANDLE file, const std::uint8_t* bytes, std::size_t size) {
  if (StepFails(SaveStep::Write)) return false;
  while (size > 0) {
    const DWORD chunk = size > kLargestWrite ? kLargestWrite : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!g_write(file, bytes, chunk, &written, nullptr) || written == 0) return false;
    bytes += written;
    size -= written;
  }
  return true;
}

}  // namespace

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = other.Release();
  }
  return *this;
}

HANDLE FileHandle::Release() {
  HANDLE handle = handle_;
  handle_ = INVALID_HANDLE_VALUE;
  return handle;
}

bool FileHandle::Close() {
  if (!IsOpen()) return true;
  return CloseHandle(Release()) != FALSE;
}

TemporaryFile::~TemporaryFile() {
  file_.Close();
  if (!path_.empty()) DeleteFile(path_.c_str());
}

bool TemporaryFile::Create(const std::u16string& folder) {
  WCHAR name[MAX_PATH] = {};
  if (GetTempFileName(folder.empty() ? u"\\" : folder.c_str(), kTemporaryPrefix, 0, name) == 0) return false;
  path_ = name;
  // The file is ours alone: GetTempFileName created it exclusively, so opening it again
  // truncates nothing of anybody else's.
  file_ = FileHandle(CreateFile(name, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file_.IsOpen();
}

bool TemporaryFile::FlushAndClose() {
  const bool flushed = FlushFileBuffers(file_.Get()) != FALSE && !StepFails(SaveStep::Flush);
  return file_.Close() && flushed;
}

bool TemporaryFile::MoveOver(const std::u16string& target) {
  if (StepFails(SaveStep::Rename)) return false;
  if (!MoveFileEx(path_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return false;
  path_.clear();
  return !StepFails(SaveStep::FolderSync);
}

void SetWriteFunctionForTesting(WriteFunction write) { g_write = write ? write : DeviceWrite; }
void FailSaveStepOnceForTesting(SaveStep step) { g_failingStep = step; }

ReadResult ReadWholeFile(const WCHAR* path, std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  FileHandle file(CreateFile(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsOpen()) {
    const DWORD error = GetLastError();
    return (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) ? ReadResult::Missing
                                                                              : ReadResult::Failed;
  }
  DWORD sizeHigh = 0;
  const DWORD size = GetFileSize(file.Get(), &sizeHigh);
  bool ok = sizeHigh == 0 && size != INVALID_FILE_SIZE;
  if (ok) {
    bytes.resize(size);
    DWORD read = 0;
    ok = size == 0 || (ReadFile(file.Get(), bytes.data(), size, &read, nullptr) && read == size);
  }
  if (!ok) bytes.clear();
  return ok ? ReadResult::Ok : ReadResult::Failed;
}

bool ReplaceFileContents(const WCHAR* path, const void* bytes, std::size_t size) {
  TemporaryFile temporary;
  return temporary.Create(FolderOf(path)) && WriteAll(temporary.Handle(), static_cast<const std::uint8_t*>(bytes), size) &&
         temporary.FlushAndClose() && temporary.MoveOver(path);
}

std::u16string FolderOf(const WCHAR* path) {
  const std::u16string text(path);
  const std::size_t slash = text.rfind(u'\\');
  return slash == std::u16string::npos ? std::u16string() : text.substr(0, slash);
}

bool PathExists(const WCHAR* path) { return GetFileAttributes(path) != INVALID_FILE_ATTRIBUTES; }
