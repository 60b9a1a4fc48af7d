#include "settings/settings_store.h"

#include "prediction/prediction_engine.h"
#include "settings/registry_settings.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using IntField = std::int32_t SettingsBlock::*;

namespace {

struct DwordSetting {
  const WCHAR* name;
  IntField field;
  std::int32_t defaultValue;
};

// The DWORD settings read by LoadSettings (besides CurrentLang and NumOfLangs), with their
// defaults when missing.
constexpr DwordSetting kLoadedDwords[] = {
    {u"FontStyle",     &SettingsBlock::FontStyle,     0},
    {u"FontSize",      &SettingsBlock::FontSize,      12},
    {u"autorepeat",    &SettingsBlock::autorepeat,    1},
    {u"Quick save",    &SettingsBlock::QuickSave,     1},
    {u"Qwerty",        &SettingsBlock::Qwerty,        0},
    {u"Menu",          &SettingsBlock::Menu,          1},
    {u"lefthanded",    &SettingsBlock::lefthanded,    0},
    {u"AddSpace",      &SettingsBlock::AddSpace,      0},
    {u"showPredict",   &SettingsBlock::showPredict,   1},
    {u"strikelength",  &SettingsBlock::strikelength,  2},
    {u"phonetimer",    &SettingsBlock::phonetimer,    2},
    {u"inputmethod",   &SettingsBlock::inputmethod,   1},
    {u"inputmethod2",  &SettingsBlock::inputmethod2,  1},
    {u"numericmethod", &SettingsBlock::numericmethod, 0},
    {u"LearnPairs",    &SettingsBlock::LearnPairs,    1},
};

// The DWORDs written by SaveSettings between CurrentLang and `directory`, in writing order.
struct SavedDword {
  const WCHAR* name;
  IntField field;
};

constexpr SavedDword kSavedDwordsBeforeDirectory[] = {
    {u"FontStyle",     &SettingsBlock::FontStyle},
    {u"FontSize",      &SettingsBlock::FontSize},
    {u"autorepeat",    &SettingsBlock::autorepeat},
    {u"Quick save",    &SettingsBlock::QuickSave},
    {u"Qwerty",        &SettingsBlock::Qwerty},
    {u"inputmethod",   &SettingsBlock::inputmethod},
    {u"inputmethod2",  &SettingsBlock::inputmethod2},
    {u"numericmethod", &SettingsBlock::numericmethod},
    {u"lefthanded",    &SettingsBlock::lefthanded},
    {u"strikelength",  &SettingsBlock::strikelength},
    {u"phonetimer",    &SettingsBlock::phonetimer},
    {u"showPredict",   &SettingsBlock::showPredict},
    {u"AddSpace",      &SettingsBlock::AddSpace},
    {u"LearnPairs",    &SettingsBlock::LearnPairs},
};

constexpr const WCHAR* kDefaultDirectory = u"\\My Documents\\Tavrels";
constexpr std::int32_t kMaxUsedLanguages = 10;

std::int32_t ReadDword(const WCHAR* name, std::int32_t defaultValue) {
  DWORD value = 0;
  return ReadDwordSetting(name, &value) ? static_cast<std::int32_t>(value) : defaultValue;
}

bool WriteDword(const WCHAR* name, std::int32_t value) {
  const DWORD stored = static_cast<DWORD>(value);
  return WriteSetting(name, REG_DWORD, &stored, sizeof stored);
}

void CopyBounded(const WCHAR* text, WCHAR* field, std::size_t room) {
  std::size_t n = 0;
  for (; n + 1 < room && text[n] != 0; ++n) field[n] = text[n];
  field[n] = 0;
}

std::int32_t InRangeOr(std::int32_t value, std::int32_t low, std::int32_t high, std::int32_t fallback) {
  return (value >= low && value <= high) ? value : fallback;
}

// The stored list as it is, or 0..count-1 when it is missing, of another type or too short.
std::vector<std::int32_t> StoredUsedLanguages(std::int32_t count) {
  std::vector<std::int32_t> used;
  std::vector<BYTE> bytes;
  if (ReadBinarySetting(u"UsedLangs", bytes) && bytes.size() >= static_cast<std::size_t>(count) * 4) {
    for (std::int32_t i = 0; i < count; ++i) {
      const BYTE* p = bytes.data() + 4 * i;
      used.push_back(static_cast<std::int32_t>(p[0] | (p[1] << 8) | (p[2] << 16) | (DWORD(p[3]) << 24)));
    }
    return used;
  }
  for (std::int32_t i = 0; i < count; ++i) used.push_back(i);
  return used;
}

// Keeps the entries that name a language of keyboard.txt, each once, in their order; a list
// left empty becomes every language in file order. A language that is not there has no name
// and no keys, so the language button must never reach it.
std::vector<std::int32_t> KnownLanguages(const std::vector<std::int32_t>& stored, int languageCount) {
  std::vector<std::int32_t> known;
  for (std::int32_t language : stored) {
    const bool inTable = language >= 0 && language < languageCount;
    if (inTable && std::find(known.begin(), known.end(), language) == known.end()) known.push_back(language);
  }
  if (known.empty()) {
    for (std::int32_t i = 0; i < std::min(languageCount, kMaxUsedLanguages); ++i) known.push_back(i);
  }
  return known;
}

void LoadUsedLanguages(SettingsBlock& s, int languageCount) {
  DWORD stored = 0;
  const std::int32_t count = ReadDwordSetting(u"NumOfLangs", &stored)
                                 ? static_cast<std::int32_t>(std::min<DWORD>(stored, kMaxUsedLanguages))
                                 : std::clamp(languageCount, 0, kMaxUsedLanguages);
  s.UsedLangs.clear();
  if (count == 0) return;
  s.UsedLangs = KnownLanguages(StoredUsedLanguages(count), languageCount);
}

void LoadDirectory(SettingsBlock& s) {
  std::vector<WCHAR> text;
  CopyBounded(ReadStringSetting(u"directory", text) ? text.data() : kDefaultDirectory, s.directory, kDirectoryRoom);
}

void LoadPredefinedTexts(SettingsBlock& s) {
  std::vector<WCHAR> stored;
  s.PredefinedTextCount = 0;
  if (!ReadStringSetting(u"FxTexts", stored)) {
    for (const WCHAR* text : kDefaultPredefinedTexts)
      CopyBounded(text, s.PredefinedTexts[s.PredefinedTextCount++], kPredefinedTextRoom);
    return;
  }
  // ReadStringSetting ends the data with at least one zero character, so every string is
  // zero-terminated within it. The list ends at the first empty string: an empty value holds
  // no text.
  const WCHAR* at = stored.data();
  const WCHAR* end = stored.data() + stored.size();
  while (at < end && *at != 0 && s.PredefinedTextCount < kMaxPredefinedTexts) {
    CopyBounded(at, s.PredefinedTexts[s.PredefinedTextCount++], kPredefinedTextRoom);
    at += std::char_traits<char16_t>::length(at) + 1;
  }
}

// The texts one after another, each with its terminator, then the closing empty string. An
// empty text would end the stored list there and lose every text after it, so it is left out.
std::vector<WCHAR> JoinPredefinedTexts(const SettingsBlock& s) {
  std::vector<WCHAR> joined;
  for (int i = 0; i < s.PredefinedTextCount; ++i) {
    const WCHAR* text = s.PredefinedTexts[i];
    if (text[0] == 0) continue;
    joined.insert(joined.end(), text, text + std::char_traits<char16_t>::length(text) + 1);
  }
  joined.push_back(0);
  return joined;
}

bool SaveUsedLanguages(const SettingsBlock& s) {
  std::vector<BYTE> bytes;
  for (std::int32_t language : s.UsedLangs)
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<BYTE>(static_cast<DWORD>(language) >> shift));
  return WriteDword(u"NumOfLangs", s.NumOfLangs()) &&
         WriteSetting(u"UsedLangs", REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
}

// Every value in its fixed order; stops at the first write that fails.
bool WriteEveryValue(const SettingsBlock& s) {
  if (!WriteDword(u"CurrentLang", s.CurrentLang)) return false;
  for (const SavedDword& setting : kSavedDwordsBeforeDirectory)
    if (!WriteDword(setting.name, s.*setting.field)) return false;
  if (!WriteSetting(u"directory", REG_SZ, s.directory, 0) || !WriteDword(u"Menu", s.Menu) || !SaveUsedLanguages(s))
    return false;
  // Also an empty list is written, so that the texts the user removed stay removed.
  const std::vector<WCHAR> joined = JoinPredefinedTexts(s);
  return WriteSetting(u"FxTexts", REG_MULTI_SZ, joined.data(), 0);
}

}  // namespace

const WCHAR* const kDefaultPredefinedTexts[kDefaultPredefinedTextCount] = {
    u"www.tavrel.example", u"Best Regards", u"Hello Darling", u"Don't forget to", u"Gave money to ", u"Meeting notes:",
};

SettingsBlock& TheSettings() {
  static SettingsBlock settings{};
  return settings;
}

void LoadSettings(SettingsBlock& s, int languageCount) {
  s = SettingsBlock{};
  s.CurrentLang = ReadDword(u"CurrentLang", 0);
  LoadUsedLanguages(s, languageCount);
  for (const DwordSetting& setting : kLoadedDwords) s.*setting.field = ReadDword(setting.name, setting.defaultValue);
  LoadDirectory(s);
  s.QuickSave = 1;
  if (s.inputmethod == 0) s.inputmethod = 1;
  if (s.inputmethod2 == 0) s.inputmethod2 = 1;
  if (s.FontSize == 0) s.FontSize = 12;
  s.strikelength = InRangeOr(s.strikelength, 1, 3, 2);
  s.phonetimer = InRangeOr(s.phonetimer, 1, 5, 2);
  LoadPredefinedTexts(s);
}

bool SettingsStoreWritable() {
  const LONG begun = RegBeginBatch();
  if (begun == ERROR_SUCCESS) RegAbortBatch();
  return begun != ERROR_REGISTRY_IO_FAILED;  // busy (a batch open elsewhere) is not broken
}

// One registry batch: a failed write or a crash half-way leaves every stored value as it was,
// never NumOfLangs from one save beside UsedLangs from another.
bool SaveSettings(SettingsBlock& s) {
  if (s.FontSize == 0) s.FontSize = 12;
  if (RegBeginBatch() != ERROR_SUCCESS) return false;
  if (!WriteEveryValue(s)) {
    RegAbortBatch();
    return false;
  }
  return RegCommitBatch() == ERROR_SUCCESS;
}

void ApplyLearnPairs(const SettingsBlock& s, PredictionEngine& engine) {
  engine.tracker.SetLearnedPairs(s.LearnPairs != 0 ? &engine.learnedPairs : nullptr);
}

void LoadSettings() {
  PredictionEngine& engine = ThePredictionEngine();
  LoadSettings(TheSettings(), engine.languages.count);
  ApplyLearnPairs(TheSettings(), engine);
}
bool SaveSettings() { return SaveSettings(TheSettings()); }

// Missing (or of another type) and 0 both mean the tool was never started; any other value
// means it was.
bool AssignToolStarted() {
  DWORD value = 0;
  return ReadDwordSetting(u"Assign", &value) && value != 0;
}

void MarkAssignToolStarted() {
  const DWORD one = 1;
  WriteSetting(u"Assign", REG_DWORD, &one, sizeof one);
}
