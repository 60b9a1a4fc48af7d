// The device registry: keys and values under HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER and
// HKEY_CLASSES_ROOT, kept in the device image's registry.sqlite and shared safely by every
// process of the device.
//
// Calls return a LONG status (ERROR_SUCCESS or a Win32 error code) like Win32. Key paths use
// '\' separators; key and value names compare case-insensitively (Unicode case folding).
// Values are stored byte-exact as written: the size given to RegSetValueEx is the size read
// back, terminators included.
#pragma once

#include <device/kernel.h>

using REGSAM = DWORD;
using PHKEY = HKEY*;
using LPBYTE = BYTE*;
using LPDWORD = DWORD*;

// The predefined roots (Win32 values).
#define HKEY_CLASSES_ROOT (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000000u)))
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000001u)))
#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000002u)))

// Value types. Any other type number is stored and returned as given.
constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_MULTI_SZ = 7;

// Access rights are accepted and not enforced: every key is readable and writable.
constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

constexpr DWORD REG_OPTION_NON_VOLATILE = 0;

// Dispositions reported by RegCreateKeyEx.
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Opens `subKey` under `key`, creating it and any missing keys on the way. `keyClass` (may be
// null) is recorded for a key created now. `disposition` (may be null) tells whether the key
// was created. An empty or null `subKey` opens `key` itself again.
LONG RegCreateKeyEx(HKEY key, LPCWSTR subKey, DWORD reserved, LPCWSTR keyClass, DWORD options,
                    REGSAM access, LPSECURITY_ATTRIBUTES attributes, PHKEY result,
                    LPDWORD disposition);

// Opens an existing key; ERROR_FILE_NOT_FOUND when it does not exist.
LONG RegOpenKeyEx(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);

// Closes a key opened by RegCreateKeyEx or RegOpenKeyEx. Closing a root is harmless.
LONG RegCloseKey(HKEY key);

// Reads value `valueName` (null or empty: the key's default value). `type` (may be null)
// receives the type. With `data` null, `dataSize` receives the stored size. With a buffer of
// *dataSize bytes that is too small, nothing is copied, *dataSize receives the needed size and
// the result is ERROR_MORE_DATA. A missing value is ERROR_FILE_NOT_FOUND.
LONG RegQueryValueEx(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                     LPDWORD dataSize);

// Writes `dataSize` bytes of `data` as value `valueName` of the given type, replacing any
// value of that name (the first spelling of the name is kept). Each write is one transaction,
// or part of the batch when one is open (see RegBeginBatch).
LONG RegSetValueEx(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                   DWORD dataSize);

// Removes one value; ERROR_FILE_NOT_FOUND when it does not exist.
LONG RegDeleteValue(HKEY key, LPCWSTR valueName);

// Removes `subKey` with all its values and subkeys, as Windows CE does (desktop Windows
// refuses a key that has subkeys). ERROR_FILE_NOT_FOUND when it does not exist. Handles still
// open on a removed key fail later calls with ERROR_KEY_DELETED.
LONG RegDeleteKey(HKEY key, LPCWSTR subKey);

// Reads the value at position `index` (values in the order they were first written).
// `nameLength` is in characters: in, the buffer size; out, the name's length without the
// terminator. `type`, `data` and `dataSize` behave as in RegQueryValueEx. Past the last value:
// ERROR_NO_MORE_ITEMS. A name buffer too small: ERROR_MORE_DATA.
LONG RegEnumValue(HKEY key, DWORD index, LPWSTR valueName, LPDWORD nameLength, LPDWORD reserved,
                  LPDWORD type, LPBYTE data, LPDWORD dataSize);

// Registry batches: the platform's own calls (not Win32) for writing several values as one
// unit. Between RegBeginBatch and RegCommitBatch every change this process makes (creating
// keys, setting and deleting values and keys) belongs to one database transaction: other
// processes see none of it until the commit and then all of it, and if the process dies or
// calls RegAbortBatch first, none of it is ever stored. Each change inside a batch is still
// all-or-nothing by itself: a call that fails leaves the batch as it was before the call, and
// the caller decides whether to commit the rest or abort.
//
// Batches do not nest: RegBeginBatch while one is open fails with ERROR_BUSY. While a batch is
// open, other processes that write the registry wait for it (keep batches short). The batch
// belongs to the process: changes from any of its threads join it.
//
// RegBeginBatch: ERROR_SUCCESS, ERROR_BUSY, or ERROR_REGISTRY_IO_FAILED when the registry cannot
// be opened or locked. RegCommitBatch: ERROR_SUCCESS when everything was stored, ERROR_CANTWRITE
// when the commit failed (nothing is stored), ERROR_INVALID_FUNCTION with no batch open.
// RegAbortBatch discards the batch; ERROR_INVALID_FUNCTION with no batch open.
constexpr DWORD ERROR_INVALID_FUNCTION = 1;
constexpr DWORD ERROR_BUSY = 170;
LONG RegBeginBatch();
LONG RegCommitBatch();
LONG RegAbortBatch();
