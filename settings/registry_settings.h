// Single-value registry helpers. Every call opens its key with full access, creating it
// (class "key") when it does not exist, and closes it before returning.
#pragma once

#include <device/registry.h>

#include <cstdint>
#include <vector>

// The key of every setting: HKEY_LOCAL_MACHINE\Software\Korvani\Tavrel\Options.
inline constexpr const WCHAR* kOptionsKeyPath = u"Software\\Korvani\\Tavrel\\Options";

// True only when the value exists and is a DWORD; otherwise `value` is set to 0.
bool ReadDwordSetting(HKEY root, LPCWSTR keyPath, LPCWSTR name, DWORD* value);

// True only when the value exists and is BINARY; `data` then holds exactly its bytes.
bool ReadBinarySetting(HKEY root, LPCWSTR keyPath, LPCWSTR name, std::vector<BYTE>& data);

// Accepts SZ and MULTI_SZ values. `text` receives the stored bytes followed by two zero bytes,
// so that a string, and a multi-string whose closing empty string was not stored, are always
// terminated (an odd stored size is padded to whole characters first).
bool ReadStringSetting(HKEY root, LPCWSTR keyPath, LPCWSTR name, std::vector<WCHAR>& text);

// Writes one value. The size is computed from the data for REG_SZ ((length + 1) x 2 bytes),
// REG_DWORD (4) and REG_MULTI_SZ (the sum of (length + 1) x 2 over the strings before the
// closing empty one); for any other type `size` is used. Returns success.
bool WriteSetting(HKEY root, LPCWSTR keyPath, LPCWSTR name, DWORD type, const void* data, DWORD size);

// The same, under HKEY_LOCAL_MACHINE\Software\Korvani\Tavrel\Options.
bool ReadDwordSetting(LPCWSTR name, DWORD* value);
bool ReadBinarySetting(LPCWSTR name, std::vector<BYTE>& data);
bool ReadStringSetting(LPCWSTR name, std::vector<WCHAR>& text);
bool WriteSetting(LPCWSTR name, DWORD type, const void* data, DWORD size);
