// Whole-file reading and crash-safe whole-file replacement on the device file system.
#pragma once

#include <device/win_types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class ReadResult { Ok, Missing, Failed };

// Reads the whole file. Missing: the file or its folder does not exist.
ReadResult ReadWholeFile(const WCHAR* path, std::vector<std::uint8_t>& bytes);

// Writes the bytes to a new file beside `path` (the path plus ".new"), flushes it and renames
// it over `path` in one atomic step. On any failure the temporary file is removed and the old
// file at `path`, if any, is left as it was. Returns success.
bool ReplaceFileContents(const WCHAR* path, const std::uint8_t* bytes, std::size_t size);

// The folder part of a device path: everything before the last backslash; empty when the
// path holds none.
std::u16string FolderOf(const WCHAR* path);

// Test hook: the function that writes bytes to an open file during ReplaceFileContents.
// It has WriteFile's shape; null restores WriteFile. Tests use it to fail a save half-way.
using WriteFunction = BOOL (*)(HANDLE file, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten,
                               void* overlapped);
void SetWriteFunctionForTesting(WriteFunction write);
