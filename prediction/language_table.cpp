#include "prediction/language_table.h"

#include "common/file_helpers.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

enum class ValueForm {
  Token,         // one word after "=", leading spaces skipped
  Raw,           // everything up to the carriage return
  RawWithSpace,  // as Raw, then a space appended
};

struct LanguageKey {
  std::u16string_view key;
  ValueForm form;
  std::size_t offset;  // of the field in LanguageRecord
  std::size_t room;    // characters including the terminator
};

#define FIELD(name) offsetof(LanguageRecord, name), sizeof(LanguageRecord::name) / sizeof(WCHAR)

// The keys of a block, in the order they must appear.
constexpr LanguageKey kLanguageKeys[] = {
    {u"LONG=",                 ValueForm::Token,        FIELD(LONG)},
    {u"NAME=",                 ValueForm::Token,        FIELD(NAME)},
    {u"PREDICTDB=",            ValueForm::Token,        FIELD(PREDICTDB)},
    {u"NEXTWORDDB=",           ValueForm::Token,        FIELD(NEXTWORDDB)},
    {u"PHONEKEYS_1=",          ValueForm::Raw,          FIELD(PHONEKEYS_1)},
    {u"PHONEKEYS_2=",          ValueForm::Raw,          FIELD(PHONEKEYS_2)},
    {u"QWERTY_1=",             ValueForm::Raw,          FIELD(QWERTY_1)},
    {u"QWERTY_2=",             ValueForm::Raw,          FIELD(QWERTY_2)},
    {u"QWERTY_3=",             ValueForm::Raw,          FIELD(QWERTY_3)},
    {u"QWERTYFULL_1=",         ValueForm::Raw,          FIELD(QWERTYFULL_1)},
    {u"QWERTYFULL_2=",         ValueForm::Raw,          FIELD(QWERTYFULL_2)},
    {u"QWERTYFULL_3=",         ValueForm::Raw,          FIELD(QWERTYFULL_3)},
    {u"QWERTYFULL_MODIFIERS=", ValueForm::RawWithSpace, FIELD(QWERTYFULL_MODIFIERS)},
    {u"PREDICT_1=",            ValueForm::Raw,          FIELD(PREDICT_1)},
    {u"PREDICT_2=",            ValueForm::Raw,          FIELD(PREDICT_2)},
    {u"PREDICT_3=",            ValueForm::Raw,          FIELD(PREDICT_3)},
};

#undef FIELD

constexpr std::u16string_view kBlockStart = u"CHARSET=START";

bool IsTokenEnd(char16_t c) { return c == u' ' || c == u'\r' || c == u'\n'; }

// Copies at most room - 1 characters and terminates the field.
void CopyBounded(std::u16string_view value, WCHAR* field, std::size_t room) {
  const std::size_t n = std::min(value.size(), room - 1);
  std::copy_n(value.data(), n, field);
  field[n] = 0;
}

// The value of one key whose "=" ends just before `at`; `next` receives where the search for
// the following key starts.
std::u16string_view ReadValue(std::u16string_view block, std::size_t keyAt, std::size_t at, ValueForm form,
                              std::size_t& next) {
  if (form == ValueForm::Token) {
    while (at < block.size() && block[at] == u' ') ++at;
    std::size_t end = at;
    while (end < block.size() && !IsTokenEnd(block[end])) ++end;
    next = keyAt;
    return block.substr(at, end - at);
  }
  std::size_t end = block.find(u'\r', at);
  if (end == std::u16string_view::npos) end = block.size();
  next = end;
  return block.substr(at, end - at);
}

void StoreValue(LanguageRecord& record, const LanguageKey& key, std::u16string_view value) {
  WCHAR* field = reinterpret_cast<WCHAR*>(reinterpret_cast<char*>(&record) + key.offset);
  if (key.form != ValueForm::RawWithSpace) {
    CopyBounded(value, field, key.room);
    return;
  }
  CopyBounded(value, field, key.room - 1);
  std::size_t n = std::char_traits<char16_t>::length(field);
  field[n] = u' ';
  field[n + 1] = 0;
}

// False when the block lacks a key (or has them out of order).
bool ReadBlock(std::u16string_view block, LanguageRecord& record) {
  record = LanguageRecord{};
  std::size_t from = 0;
  for (const LanguageKey& key : kLanguageKeys) {
    const std::size_t keyAt = block.find(key.key, from);
    if (keyAt == std::u16string_view::npos) return false;
    StoreValue(record, key, ReadValue(block, keyAt, keyAt + key.key.size(), key.form, from));
  }
  return true;
}

std::u16string TextWithoutTabs(const std::uint8_t* bytes, std::size_t size) {
  std::u16string text;
  text.reserve(size / 2);
  for (std::size_t i = 2; i + 1 < size; i += 2) {
    const char16_t c = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    if (c != u'\t') text.push_back(c);
  }
  return text;
}

}  // namespace

const LanguageRecord& LanguageTable::Language(int index) const {
  static const LanguageRecord kEmpty{};
  return (index >= 0 && index < count) ? records[index] : kEmpty;
}

void ParseLanguageFile(const std::uint8_t* bytes, std::size_t size, LanguageTable& table) {
  table.count = 0;
  table.firstIncomplete = -1;
  if (size < 4) return;
  const std::u16string storage = TextWithoutTabs(bytes, size);
  const std::u16string_view text = storage;
  std::size_t start = text.find(kBlockStart);
  while (start != std::u16string_view::npos && table.count < kMaxLanguages) {
    const std::size_t bodyAt = start + kBlockStart.size();
    const std::size_t nextStart = text.find(kBlockStart, bodyAt);
    const std::size_t bodyEnd = nextStart == std::u16string_view::npos ? text.size() : nextStart;
    const bool complete = ReadBlock(text.substr(bodyAt, bodyEnd - bodyAt), table.records[table.count]);
    if (!complete && table.firstIncomplete < 0) table.firstIncomplete = table.count;
    ++table.count;
    start = nextStart;
  }
}

bool ReadLanguageFile(const WCHAR* path, LanguageTable& table) {
  table.count = 0;
  table.firstIncomplete = -1;
  std::vector<std::uint8_t> bytes;
  if (ReadWholeFile(path, bytes) != ReadResult::Ok) return false;
  ParseLanguageFile(bytes.data(), bytes.size(), table);
  return true;
}
