#include "settings/registry_settings.h"

#include <cstring>
#include <string>

namespace {

// Opens (creating when missing) the key; null when the registry cannot be opened.
HKEY OpenSettingsKey(HKEY root, LPCWSTR keyPath) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (RegCreateKeyEx(root, keyPath, 0, u"key", REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                     &disposition) != ERROR_SUCCESS)
    return nullptr;
  return key;
}

class SettingsKey {
 public:
  SettingsKey(HKEY root, LPCWSTR keyPath) : key_(OpenSettingsKey(root, keyPath)) {}
  ~SettingsKey() {
    if (key_) RegCloseKey(key_);
  }
  SettingsKey(const SettingsKey&) = delete;
  SettingsKey& operator=(const SettingsKey&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_;
};

// The type and size of a value; false when it is missing or the key cannot be opened.
bool QueryValue(HKEY key, LPCWSTR name, DWORD& type, DWORD& size) {
  return key && RegQueryValueEx(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
}

DWORD StringBytes(const WCHAR* text) { return static_cast<DWORD>((std::char_traits<char16_t>::length(text) + 1) * 2); }

DWORD MultiStringBytes(const WCHAR* text) {
  DWORD size = 0;
  while (*text != 0) {
    const DWORD bytes = StringBytes(text);
    size += bytes;
    text += bytes / 2;
  }
  return size;
}

}  // namespace

bool ReadDwordSetting(HKEY root, LPCWSTR keyPath, LPCWSTR name, DWORD* value) {
  *value = 0;
  SettingsKey key(root, keyPath);
  DWORD type = 0, size = 0;
  if (!QueryValue(key.get(), name, type, size) || type != REG_DWORD || size != sizeof(DWORD)) return false;
  DWORD read = 0;
  if (RegQueryValueEx(key.get(), name, nullptr, &type, reinterpret_cast<LPBYTE>(&read), &size) != ERROR_SUCCESS)
    return false;
  *value = read;
  return true;
}

bool ReadBinarySetting(HKEY root, LPCWSTR keyPath, LPCWSTR name, std::vector<BYTE>& data) {
  data.clear();
  SettingsKey key(root, keyPath);
  DWORD type = 0, size = 0;
  if (!QueryValue(key.get(), name, type, size) || type != REG_BINARY) return false;
  data.resize(size);
  if (size > 0 && RegQueryValueEx(key.get(), name, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) {
    data.clear();
    return false;
  }
  return true;
}

bool ReadStringSetting(HKEY root, LPCWSTR keyPath, LPCWSTR name, std::vector<WCHAR>& text) {
  text.clear();
  SettingsKey key(root, keyPath);
  DWORD type = 0, size = 0;
  if (!QueryValue(key.get(), name, type, size) || (type != REG_SZ && type != REG_MULTI_SZ)) return false;
  std::vector<BYTE> bytes(size);
  if (size > 0 && RegQueryValueEx(key.get(), name, nullptr, &type, bytes.data(), &size) != ERROR_SUCCESS) return false;
  text.assign((size + 1) / 2 + 1, 0);
  if (size > 0) std::memcpy(text.data(), bytes.data(), size);  // an empty value has no bytes to copy
  return true;
}

bool WriteSetting(HKEY root, LPCWSTR keyPath, LPCWSTR name, DWORD type, const void* data, DWORD size) {
  switch (type) {
    case REG_SZ: size = StringBytes(static_cast<const WCHAR*>(data)); break;
    case REG_DWORD: size = sizeof(DWORD); break;
    case REG_MULTI_SZ: size = MultiStringBytes(static_cast<const WCHAR*>(data)); break;
    default: break;
  }
  SettingsKey key(root, keyPath);
  return key.get() &&
         RegSetValueEx(key.get(), name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

bool ReadDwordSetting(LPCWSTR name, DWORD* value) { return ReadDwordSetting(HKEY_LOCAL_MACHINE, kOptionsKeyPath, name, value); }
bool ReadBinarySetting(LPCWSTR name, std::vector<BYTE>& data) {
  return ReadBinarySetting(HKEY_LOCAL_MACHINE, kOptionsKeyPath, name, data);
}
bool ReadStringSetting(LPCWSTR name, std::vector<WCHAR>& text) {
  return ReadStringSetting(HKEY_LOCAL_MACHINE, kOptionsKeyPath, name, text);
}
bool WriteSetting(LPCWSTR name, DWORD type, const void* data, DWORD size) {
  return WriteSetting(HKEY_LOCAL_MACHINE, kOptionsKeyPath, name, type, data, size);
}
