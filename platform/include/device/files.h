// The device file system and the wide C runtime's stream calls.
//
// Device paths are absolute, UTF-16 and use '\' ("\My Documents\Notes\a.txt"); '/' is
// accepted as a separator too. Each path component is matched case-insensitively against the
// host folder (an exact match wins), so the device behaves like a case-insensitive file system.
// On the host a device path "\X\Y" is the file fs/X/Y of the device image, named in UTF-8.
// Calls set the last error like Win32 (ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ...).
#pragma once

#include <device/kernel.h>

#include <cstddef>
#include <filesystem>

constexpr DWORD MAX_PATH = 260;

// ---- Files -----------------------------------------------------------------------------
constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;

// Share modes are accepted and not enforced (several processes may open one file).
constexpr DWORD FILE_SHARE_READ = 0x00000001;
constexpr DWORD FILE_SHARE_WRITE = 0x00000002;

constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;
constexpr DWORD TRUNCATE_EXISTING = 5;

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x00000001;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x00000002;
constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x00000004;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x00000010;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x00000020;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;
constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFF;

constexpr DWORD FILE_BEGIN = 0;
constexpr DWORD FILE_CURRENT = 1;
constexpr DWORD FILE_END = 2;

constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x00000001;
constexpr DWORD MOVEFILE_COPY_ALLOWED = 0x00000002;
constexpr DWORD MOVEFILE_WRITE_THROUGH = 0x00000008;

struct OVERLAPPED;  // asynchronous I/O is not supported; pass null
using LPOVERLAPPED = OVERLAPPED*;

// Opens or creates a file. The creation dispositions behave as in Win32; CREATE_ALWAYS and
// OPEN_ALWAYS on an existing file succeed with last error ERROR_ALREADY_EXISTS. Opening a
// folder fails with ERROR_ACCESS_DENIED. Returns INVALID_HANDLE_VALUE on failure.
HANDLE CreateFile(LPCWSTR fileName, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES attributes,
                  DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);

// Reading at the end of the file succeeds with 0 bytes read.
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, DWORD* bytesRead, LPOVERLAPPED overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, DWORD* bytesWritten,
               LPOVERLAPPED overlapped);

// Low 32 bits of the size; the high 32 bits go to `sizeHigh` when it is not null.
DWORD GetFileSize(HANDLE file, DWORD* sizeHigh);

// Moves the file pointer; returns its new low 32 bits (INVALID_SET_FILE_POINTER and a last
// error on failure, for example a position before the start: ERROR_NEGATIVE_SEEK).
DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD moveMethod);

// Cuts or extends the file to the file pointer.
BOOL SetEndOfFile(HANDLE file);

// Forces the written data to the host disk (fsync), so that a following rename is durable.
BOOL FlushFileBuffers(HANDLE file);

BOOL DeleteFile(LPCWSTR fileName);

// Renames a file or folder; fails with ERROR_ALREADY_EXISTS when the target exists.
BOOL MoveFile(LPCWSTR existingFileName, LPCWSTR newFileName);

// With MOVEFILE_REPLACE_EXISTING an existing target file is replaced atomically (one host
// rename): a reader sees either the old or the new file, never a mix or none, which makes
// "write beside, flush, then MoveFileEx over the original" a crash-safe save. A replaced target
// keeps its host spelling; renaming a file to its own name in another case changes the case.
// MOVEFILE_COPY_ALLOWED is accepted (the device has one volume). Every rename is written
// through: the folders that name the file are synced before the call returns, as
// MOVEFILE_WRITE_THROUGH asks.
BOOL MoveFileEx(LPCWSTR existingFileName, LPCWSTR newFileName, DWORD flags);

// Makes a file name in `pathName` of the form <prefix><hex>.TMP: the first three characters of
// `prefix`, the unique number as up to four upper-case hexadecimal digits. With `unique` 0 the
// number starts from the clock and the process, and each candidate is created exclusively
// (CREATE_NEW) until one is new, so two processes never get the same name; the empty file is
// left for the caller. With a non-zero `unique` the name is only made, no file is created.
// `tempFileName` receives the full path (room for MAX_PATH characters). Returns the number
// used, or 0 with the last error set (ERROR_PATH_NOT_FOUND for a missing folder,
// ERROR_FILE_EXISTS when every number is taken, ERROR_BUFFER_OVERFLOW for a too long path).
UINT GetTempFileName(LPCWSTR pathName, LPCWSTR prefix, UINT unique, LPWSTR tempFileName);

// Copies a file's bytes; with `failIfExists` an existing target fails with ERROR_FILE_EXISTS.
BOOL CopyFile(LPCWSTR existingFileName, LPCWSTR newFileName, BOOL failIfExists);

// Creates one folder; its parent must exist (ERROR_PATH_NOT_FOUND otherwise) and an existing
// file or folder of that name fails with ERROR_ALREADY_EXISTS.
BOOL CreateDirectory(LPCWSTR pathName, LPSECURITY_ATTRIBUTES attributes);

// Removes an empty folder (ERROR_DIR_NOT_EMPTY otherwise).
BOOL RemoveDirectory(LPCWSTR pathName);

// FILE_ATTRIBUTE_DIRECTORY or FILE_ATTRIBUTE_NORMAL (plus FILE_ATTRIBUTE_READONLY for a file
// the host will not let us write); INVALID_FILE_ATTRIBUTES when the path does not exist.
DWORD GetFileAttributes(LPCWSTR fileName);

// ---- Finding files ---------------------------------------------------------------------
struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};

// The Windows CE layout of the find record.
struct WIN32_FIND_DATAW {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;  // 100 ns intervals since 1601-01-01 UTC
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwOID;  // always 0
  WCHAR cFileName[MAX_PATH];
};
using WIN32_FIND_DATA = WIN32_FIND_DATAW;
using LPWIN32_FIND_DATAW = WIN32_FIND_DATAW*;

// Lists the entries of one folder whose names match the last component of `fileName`.
// '*' matches any run of characters and '?' exactly one; matching is case-insensitive and on
// the full (long) name only: "*.pwi" matches "a.pwi" but not "a.pwi.txt" (desktop Windows
// would also try 8.3 short names; the device has none). "." and ".." are never returned.
// Folders carry FILE_ATTRIBUTE_DIRECTORY. Entries come in host directory order. No match:
// INVALID_HANDLE_VALUE with ERROR_FILE_NOT_FOUND (ERROR_PATH_NOT_FOUND for a missing folder).
HANDLE FindFirstFile(LPCWSTR fileName, LPWIN32_FIND_DATAW findData);

// The next match; FALSE with ERROR_NO_MORE_FILES after the last.
BOOL FindNextFile(HANDLE find, LPWIN32_FIND_DATAW findData);
BOOL FindClose(HANDLE find);

// ---- Wide C runtime streams ------------------------------------------------------------
// The device's C runtime streams are DEVICE_FILE, distinct from the host's FILE. fread,
// fwrite, fclose, fseek, ftell, feof and fgetws are overloads of the <cstdio>/<cwchar> names on
// DEVICE_FILE*, so code reads like the usual C runtime; the host's functions stay usable.
struct DEVICE_FILE;

// Opens a device path. Modes: "r", "w", "a", each with optional "b" or "t" and "+", and an
// optional ",ccs=ENCODING" that chooses how fgetws decodes text:
//   ",ccs=UTF-16LE"  16-bit little-endian code units
//   ",ccs=UTF-8"     UTF-8
//   ",ccs=UNICODE"   decided by the byte-order mark: FF FE is UTF-16LE, EF BB BF is UTF-8;
//                    without one, UTF-8
//   none             text mode: UTF-8 (the device's 8-bit code page is UTF-8);
//                    binary mode ("rb"): 16-bit little-endian code units, read raw
// When a text stream (or a ",ccs=" stream) is opened for reading, a byte-order mark that
// matches its encoding is skipped.
// Returns null on failure with the last error set.
DEVICE_FILE* _wfopen(LPCWSTR fileName, LPCWSTR mode);

// fread and fwrite move bytes unchanged whatever the mode (no CR LF translation).
std::size_t fread(void* buffer, std::size_t size, std::size_t count, DEVICE_FILE* stream);
std::size_t fwrite(const void* buffer, std::size_t size, std::size_t count, DEVICE_FILE* stream);
int fclose(DEVICE_FILE* stream);
int fseek(DEVICE_FILE* stream, long offset, int origin);  // SEEK_SET, SEEK_CUR, SEEK_END
long ftell(DEVICE_FILE* stream);
int feof(DEVICE_FILE* stream);

// Reads characters into `buffer` until it holds `count` - 1 of them, or up to and including
// '\n', or to the end of the file, and terminates it. In text mode CR LF reads as '\n'.
// Characters outside the BMP arrive as surrogate pairs; an invalid UTF-8 sequence reads as
// U+FFFD. Returns `buffer`, or null at the end of the file with nothing read.
WCHAR* fgetws(WCHAR* buffer, int count, DEVICE_FILE* stream);

// ---- The device image (not Win32) ------------------------------------------------------
namespace device {

// The device image folder: $<prefix>_DEVICE, else $XDG_DATA_HOME/<image name>, else
// ~/.local/share/<image name> (the name from the install description, device/install.h).
// Read on every call, so a test may point it at a fresh folder.
std::filesystem::path DeviceImageRoot();

// The host path of a device path, resolving every existing component case-insensitively;
// components that do not exist yet keep their spelling. Empty for an invalid path.
std::filesystem::path HostPathOf(LPCWSTR devicePath);

// Creates the device image on first start (fs/, the program folder and the data folders of
// the install description, registry.sqlite) and installs the shipped data into the program
// folder while it lacks the description's marker file (see device_image.cpp: staged, synced,
// renamed into place, the marker last; files already there are kept). Without a marker file
// or shipped data nothing is installed. Idempotent; returns false only when the image folders
// cannot be created.
bool EnsureDeviceImage();

}  // namespace device
