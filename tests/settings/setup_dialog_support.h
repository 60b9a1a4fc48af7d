// Helpers of the setup dialog tests: the dialogs run as the program of a driver (they are
// modal), on a fresh device image with no shipped data; the script taps their controls and
// reads the settings they store.
#pragma once

#include "resources/tavrel_dialogs.h"
#include "settings/registry_settings.h"
#include "settings/settings_store.h"
#include "settings/setup_services.h"

#include <device/dialogs.h>
#include <device/driver.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace setup_test {

// Runs `open` (which opens a dialog) as the program, after loading the settings of the fresh
// image; `prepare` first writes what an earlier run would have left in the registry.
inline void RunDialog(const std::function<void()>& open, const std::function<void(device::Driver&)>& script,
                      const std::function<void()>& prepare = nullptr, int languageCount = 0) {
  setenv("TAVREL_DATA", "/nonexistent/tavrel-no-data", 1);
  device::RunProgramWithScript(
      [&] {
        if (prepare) prepare();
        LoadSettings(TheSettings(), languageCount);
        RegisterTavrelDialogs();
        open();
        return 0;
      },
      script);
}

inline void TapControl(device::Driver& d, HWND dialog, int id) {
  RECT r{};
  GetWindowRect(GetDlgItem(dialog, id), &r);
  d.Tap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

inline void SetDword(const WCHAR* name, DWORD value) { WriteSetting(name, REG_DWORD, &value, sizeof value); }

// A stored DWORD setting, or -1 when missing.
inline long long StoredDword(const WCHAR* name) {
  DWORD value = 0;
  return ReadDwordSetting(name, &value) ? static_cast<long long>(value) : -1;
}

// The stored predefined texts, in order (the strings of FxTexts up to the closing empty one).
inline std::vector<std::u16string> StoredTexts() {
  std::vector<std::u16string> texts;
  std::vector<WCHAR> stored;
  if (!ReadStringSetting(u"FxTexts", stored)) return texts;
  for (const WCHAR* at = stored.data(); at < stored.data() + stored.size() && *at != 0;) {
    texts.emplace_back(at);
    at += texts.back().size() + 1;
  }
  return texts;
}

// The texts of a list box, in order, and its selection.
inline std::vector<std::u16string> ListTexts(HWND list) {
  std::vector<std::u16string> texts;
  const int count = static_cast<int>(SendMessage(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    WCHAR text[256] = {};
    SendMessage(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    texts.emplace_back(text);
  }
  return texts;
}

inline int ListSelection(HWND list) { return static_cast<int>(SendMessage(list, LB_GETCURSEL, 0, 0)); }

}  // namespace setup_test
