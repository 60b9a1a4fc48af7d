// The shell's hardware-button keys, created on the device image's first start as a device's
// shell ships them: each application button has a display name and a factory command, which
// is also the command the button starts until a program rebinds it.
#include <device/registry.h>
#include <device/shell.h>

#include <string>

namespace {

struct ShellButton {
  const WCHAR* key;
  const WCHAR* name;
  const WCHAR* command;
};

constexpr ShellButton kShellButtons[] = {
    {u"SOFTWARE\\Microsoft\\Shell\\Keys\\40C1", u"Button 1", u"\\Windows\\calendar.exe"},
    {u"SOFTWARE\\Microsoft\\Shell\\Keys\\40C2", u"Button 2", u"\\Windows\\addrbook.exe"},
    {u"SOFTWARE\\Microsoft\\Shell\\Keys\\40C3", u"Button 3", u"\\Windows\\tasks.exe"},
    {u"SOFTWARE\\Microsoft\\Shell\\Keys\\40C4", u"Button 4", u"\\Windows\\notes.exe"},
    {u"SOFTWARE\\Microsoft\\Shell\\Keys\\40C5", u"Button 5", u"\\Windows\\voicerec.exe"},
};

bool SetString(HKEY key, const WCHAR* name, const WCHAR* text) {
  const DWORD size = static_cast<DWORD>((std::char_traits<char16_t>::length(text) + 1) * sizeof(WCHAR));
  return RegSetValueEx(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), size) == ERROR_SUCCESS;
}

bool CreateButtonKey(const ShellButton& button) {
  HKEY key = nullptr;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, button.key, 0, KEY_READ, &key) == ERROR_SUCCESS) {
    RegCloseKey(key);
    return true;
  }
  DWORD disposition = 0;
  if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, button.key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, &disposition) !=
      ERROR_SUCCESS)
    return false;
  const bool written = SetString(key, u"Name", button.name) && SetString(key, u"ResetCmd", button.command) &&
                       SetString(key, u"Default", button.command);
  RegCloseKey(key);
  return written;
}

}  // namespace

namespace device {

bool CreateShellButtonKeys() {
  bool all = true;
  for (const ShellButton& button : kShellButtons) all = CreateButtonKey(button) && all;
  return all;
}

}  // namespace device
