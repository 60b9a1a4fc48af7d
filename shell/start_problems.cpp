#include "shell/start_problems.h"

#include "prediction/language_table.h"
#include "settings/settings_store.h"

#include <cstdio>

namespace {

constexpr WCHAR kCaption[] = u"Tavrel";

std::string Utf8(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::u16string Number(int n) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + n % 10));
    n /= 10;
  } while (n > 0);
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
    std::fprintf(stderr, "tavrel: %s\n", Utf8(problem).c_str());
    std::fflush(stderr);
    MessageBox(owner, problem.c_str(), kCaption, MB_OK | MB_ICONEXCLAMATION);
  }
}

void ReportRaisedInstance() {
  std::printf("tavrel: Tavrel is already running on this device; it was brought to the front.\n");
  std::fflush(stdout);
}
