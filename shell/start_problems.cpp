#include "shell/start_problems.h"

#include "prediction/language_table.h"
#include "settings/settings_store.h"

#include <device/kernel.h>

#include <cstdio>
#include <string>

namespace {

constexpr WCHAR kCaption[] = u"Tavrel";

std::u16string Number(int n) {
  std::u16string digits;
  for (char c : std::to_string(n)) digits += static_cast<char16_t>(c);
  return digits;
}

}  // namespace

std::u16string KeyboardFileProblem(const WCHAR* path, bool read, const LanguageTable& table) {
  const std::u16string file = path;
  const std::u16string noLetters = u"; the keyboards have no letters.";
  if (!read) return file + u" cannot be read" + noLetters;
  if (table.count == 0) return file + u" holds no language" + noLetters;
  if (table.firstIncomplete < 0) return {};
  const int n = table.firstIncomplete;
  const std::u16string name = table.records[n].NAME;
  return file + u" is damaged: language " + Number(n + 1) + (name.empty() ? u"" : u" (" + name + u")") +
         u" lacks some of its keys, which stay empty.";
}

std::u16string SettingsStoreProblem() {
  if (SettingsStoreWritable()) return {};
  return u"The settings cannot be read or stored (the registry cannot be opened); "
         u"Tavrel runs with its default settings and keeps no changes.";
}

void ReportStartProblems(HWND owner, const std::vector<std::u16string>& problems) {
  for (const std::u16string& problem : problems) {
    if (problem.empty()) continue;
    OutputDebugString((u"tavrel: " + problem + u"\n").c_str());
    MessageBox(owner, problem.c_str(), kCaption, MB_OK | MB_ICONEXCLAMATION);
  }
}

void ReportRaisedInstance() {
  std::printf("tavrel: Tavrel is already running on this device; it was brought to the front.\n");
  std::fflush(stdout);
}
