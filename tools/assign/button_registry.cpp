#include "tools/assign/button_registry.h"

#include "settings/registry_settings.h"

#include <vector>

namespace {

constexpr WCHAR kKorvaniKey[] = u"Software\\Korvani";
constexpr WCHAR kShellKeyPrefix[] = u"SOFTWARE\\Microsoft\\Shell\\Keys\\40C";

std::u16string ShellKey(int button) { return std::u16string(kShellKeyPrefix) + char16_t(u'0' + button); }

bool IsButton(int button) { return button >= 1 && button <= kButtonCount; }

}  // namespace

std::u16string AssignedButtonKey(const std::u16string& programPath) { return kKorvaniKey + programPath; }

std::u16string ButtonCommand(const std::u16string& programPath) { return u"\"" + programPath + u"\""; }

int ReadAssignedButton(const std::u16string& assignedKey) {
  DWORD button = 0;
  if (!ReadDwordSetting(HKEY_LOCAL_MACHINE, assignedKey.c_str(), u"button", &button)) return 0;
  return IsButton(static_cast<int>(button)) ? static_cast<int>(button) : 0;
}

bool WriteAssignedButton(const std::u16string& assignedKey, int button) {
  const DWORD value = static_cast<DWORD>(button);
  return WriteSetting(HKEY_LOCAL_MACHINE, assignedKey.c_str(), u"button", REG_DWORD, &value, sizeof value);
}

bool ReadButtonValue(int button, const WCHAR* name, std::u16string& text) {
  std::vector<WCHAR> stored;
  if (!IsButton(button) || !ReadStringSetting(HKEY_LOCAL_MACHINE, ShellKey(button).c_str(), name, stored)) return false;
  text = stored.data();
  return true;
}

bool WriteButtonCommand(int button, const std::u16string& command) {
  if (!IsButton(button)) return false;
  return WriteSetting(HKEY_LOCAL_MACHINE, ShellKey(button).c_str(), u"Default", REG_SZ, command.c_str(), 0);
}

void RestoreFactoryCommand(int button) {
  std::u16string factory;
  if (ReadButtonValue(button, u"ResetCmd", factory)) WriteButtonCommand(button, factory);
}
