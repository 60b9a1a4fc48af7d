// Whole files on the device: reading one in a single piece and replacing one atomically. The
// note files, the dictionary files, the language file and the next-word files all go through
// these, so there is one way to read and one way to save.
//
// Saving writes the new bytes beside the target, under a name made unique and created
// exclusively for this one save (GetTempFileName in the target's folder), flushes them to the
// disk, and renames the file over the target in one step (MoveFileEx with
// MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH, which also syncs the folder). A reader,
// in this process or another, sees the old file or the new one, never a mix; two processes
// saving the same file at once each write a file of their own, and the last rename wins.
#pragma once

#include <device/files.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// An open device file, closed when the owner goes.
class FileHandle {
 public:
  FileHandle() = default;
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  FileHandle(FileHandle&& other) noexcept : handle_(other.Release()) {}
  FileHandle& operator=(FileHandle&& other) noexcept;

  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE Get() const { return handle_; }
  HANDLE Release();
  // Closes now; false when the device reports a failure (a write that could not complete).
  bool Close();

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// A file that a save made and that goes again unless the save keeps it.
class TemporaryFile {
 public:
  TemporaryFile() = default;
  ~TemporaryFile();
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  // Creates a new empty file in `folder` under a name no other file has, and opens it for
  // writing. False when the folder is missing or not writable.
  bool Create(const std::u16string& folder);
  HANDLE Handle() const { return file_.Get(); }
  const std::u16string& Path() const { return path_; }
  // Flushes and closes the file; false when its bytes did not all reach the disk.
  bool FlushAndClose();
  // Renames the file over `target`; afterwards it is no longer removed.
  bool MoveOver(const std::u16string& target);

 private:
  FileHandle file_;
  std::u16string path_;  // empty once moved or removed
};

enum class ReadResult { Ok, Missing, Failed };

// Reads the whole file. Missing: the file or its folder does not exist. Failed: it exists but
// could not be opened or read (bytes is then empty).
ReadResult ReadWholeFile(const WCHAR* path, std::vector<std::uint8_t>& bytes);

// Replaces the file at `path` with `size` bytes as described above (the file is created when
// it did not exist; its folder must exist). On any failure the temporary file is removed and
// the file at `path`, if any, is left as it was. Returns success.
bool ReplaceFileContents(const WCHAR* path, const void* bytes, std::size_t size);

// The folder part of a device path: everything before the last backslash; empty when the
// path holds none.
std::u16string FolderOf(const WCHAR* path);

// Whether a file or folder exists at the device path.
bool PathExists(const WCHAR* path);

// Test hook: the function that writes bytes to an open file during ReplaceFileContents.
// It has WriteFile's shape; null restores WriteFile. Tests use it to fail a save half-way.
using WriteFunction = BOOL (*)(HANDLE file, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten,
                               void* overlapped);
void SetWriteFunctionForTesting(WriteFunction write);

// Test hook: makes the next ReplaceFileContents fail at one step, once. Write: no byte is
// written. Flush: the bytes are written but the flush reports a failure. Rename: the file is
// not renamed over the target. FolderSync: the rename is done but the folder sync that follows
// reports a failure (the target then holds the whole new file, yet the save reports failure,
// because a host crash could still bring the old name back).
enum class SaveStep { None, Write, Flush, Rename, FolderSync };
void FailSaveStepOnceForTesting(SaveStep step);
