// The contact field table, the stored selection and the value texts of the contact menu.
#include "contacts/contact_fields.h"

#include "settings/registry_settings.h"

#include <algorithm>
#include <cstdio>

const ContactFieldRow kContactFieldTable[kContactFieldTableSize] = {
    // label                                    field id                     numeric
    {u"Anniversary",                            kAnniversaryId,              1},
    {u"Birthday",                               kBirthdayId,                 1},
    {u"Fax\r\n(work)",                          kBusinessFaxNumberId,        1},
    {u"Company",                                kCompanyNameId,              0},
    {u"Department",                             kDepartmentId,               0},
    {u"Email",                                  kEmail1AddressId,            0},
    {u"Phone\r\n(mobile)",                      kMobileTelephoneNumberId,    1},
    {u"Office",                                 kOfficeLocationId,           0},
    {u"Pager",                                  kPagerNumberId,              1},
    {u"Phone\r\n(work)",                        kBusinessTelephoneNumberId,  1},
    {u"Job title",                              kJobTitleId,                 0},
    {u"Phone\r\n(home)",                        kHomeTelephoneNumberId,      1},
    {u"email\r\n(2)",                           kEmail2AddressId,            0},
    {u"spouse",                                 kSpouseId,                   0},
    {u"email\r\n(3)",                           kEmail3AddressId,            0},
    {u"Phone\r\n(home 2)",                      kHome2TelephoneNumberId,     1},
    {u"Fax\r\n(home)",                          kHomeFaxNumberId,            1},
    {u"Phone\r\n(car)",                         kCarTelephoneNumberId,       1},
    {u"Assistant",                              kAssistantNameId,            0},
    {u"Phone\r\n(Assistant)",                   kAssistantTelephoneNumberId, 1},
    {u"children",                               kChildrenId,                 0},
    {u"categories",                             kCategoriesId,               0},
    {u"web page",                               kWebPageId,                  0},
    {u"Phone\r\n(work 2)",                      kBusiness2TelephoneNumberId, 1},
    {u"Phone\r\n(radio)",                       kRadioTelephoneNumberId,     1},
    {u"File as",                                kFileAsId,                   0},
    {u"Yomi company",                           kYomiCompanyNameId,          0},
    {u"yomi first",                             kYomiFirstNameId,            0},
    {u"yomi last",                              kYomiLastNameId,             0},
    {u"Name",                                   kFirstNameId,                0},
    {u"Home:\r\ncountry/\r\nstate",             kHomeAddressCountryId,       0},
    {u"Other(street)",                          kOtherAddressStreetId,       0},
    {u"Business:\r\ncountry/\r\nstate",         kBusinessAddressCountryId,   0},
    {u"Business:\r\ncity/\r\ncode",             kBusinessAddressCityId,      0},
    {u"Business:\r\nstreet",                    kBusinessAddressStreetId,    0},
    {u"Home:\r\ncity/\r\ncode",                 kHomeAddressCityId,          0},
    {u"Home:\r\nstreet",                        kHomeAddressStreetId,        0},
};

const std::int32_t kDefaultFieldSelection[10] = {29, 6, 9, 11, 5, 35, 36, 3, 33, 34};

namespace {

constexpr WCHAR kSelectionValue[] = u"contactdata";
constexpr WCHAR kPerPageValue[] = u"dataperpage";
constexpr std::u16string_view kSeparators = u",:/\\ ;_-\n\r\t";
constexpr std::u16string_view kNameBlanks = u" \t";
constexpr std::u16string_view kCompositeJoin = u", ";

// The entries that stand for two record fields: the entry's field id, then its two fields in
// display order.
struct CompositeRow {
  int fieldId;
  int first;
  int second;
};
constexpr CompositeRow kCompositeEntries[] = {
    {kHomeAddressCityId,        kHomeAddressCityId,        kHomeAddressPostalCodeId},
    {kHomeAddressCountryId,     kHomeAddressCountryId,     kHomeAddressStateId},
    {kBusinessAddressCityId,    kBusinessAddressCityId,    kBusinessAddressPostalCodeId},
    {kBusinessAddressCountryId, kBusinessAddressCountryId, kBusinessAddressStateId},
};

const CompositeRow* FindComposite(int fieldId) {
  for (const CompositeRow& row : kCompositeEntries) {
    if (row.fieldId == fieldId) return &row;
  }
  return nullptr;
}

std::vector<std::u16string_view> SplitAt(std::u16string_view text, std::u16string_view separators) {
  std::vector<std::u16string_view> tokens;
  std::size_t start = text.find_first_not_of(separators);
  while (start != std::u16string_view::npos) {
    std::size_t end = text.find_first_of(separators, start);
    tokens.push_back(text.substr(start, end == std::u16string_view::npos ? end : end - start));
    start = end == std::u16string_view::npos ? end : text.find_first_not_of(separators, end);
  }
  return tokens;
}

std::u16string_view TextOf(const ContactRecord& record, int id) {
  LPCWSTR text = ContactString(record, id);
  return text ? std::u16string_view(text) : std::u16string_view();
}

// Leading decimal digits, 0 when there are none; saturates instead of overflowing.
int LeadingNumber(std::u16string_view token) {
  int value = 0;
  for (char16_t c : token) {
    if (c < u'0' || c > u'9') break;
    value = std::min(value * 10 + (c - u'0'), 1000000);
  }
  return value;
}

std::optional<std::u16string> FormatDate(DATE date, const std::optional<std::u16string>& previous) {
  SYSTEMTIME time{};
  if (IsNoDate(date) || !VariantTimeToSystemTime(date, &time)) return previous;
  char text[32];
  std::snprintf(text, sizeof text, "%d/%d/%d", time.wDay, time.wMonth, time.wYear);
  return std::u16string(text, text + std::char_traits<char>::length(text));
}

std::optional<std::u16string> FormatName(const ContactRecord& record) {
  std::u16string_view first = TextOf(record, kFirstNameId);
  std::u16string_view middle = TextOf(record, kMiddleNameId);
  std::u16string_view last = TextOf(record, kLastNameId);
  if (first.empty() && middle.empty() && last.empty()) return std::nullopt;
  return std::u16string(first) + u" " + std::u16string(middle) + u" " + std::u16string(last);
}

std::optional<std::u16string> FormatComposite(const ContactRecord& record, const CompositeRow& row) {
  std::u16string_view first = TextOf(record, row.first);
  std::u16string_view second = TextOf(record, row.second);
  if (first.empty() && second.empty()) return std::nullopt;
  if (second.empty()) return std::u16string(first);
  return std::u16string(first) + std::u16string(kCompositeJoin) + std::u16string(second);
}

std::optional<std::u16string> FormatPlain(const ContactRecord& record, int id) {
  std::u16string_view text = TextOf(record, id);
  return text.empty() ? std::nullopt : std::optional<std::u16string>(text);
}

void ParseDate(ContactRecord& record, int id, std::u16string_view text) {
  std::vector<std::u16string_view> tokens = SplitAt(text, kSeparators);
  if (tokens.size() < 3) return;
  SYSTEMTIME time{};
  time.wDay = static_cast<WORD>(LeadingNumber(tokens[0]));
  time.wMonth = static_cast<WORD>(LeadingNumber(tokens[1]));
  time.wYear = static_cast<WORD>(static_cast<std::int16_t>(LeadingNumber(tokens[2])));
  DATE date = 0;
  if (SystemTimeToVariantTime(&time, &date)) SetContactDate(record, id, date);
}

void ParseComposite(ContactRecord& record, const CompositeRow& row, std::u16string_view text) {
  std::vector<std::u16string_view> tokens = SplitAt(text, kSeparators);
  // A text that starts with a separator has no first part (see the header).
  bool noFirst = !text.empty() && kSeparators.find(text.front()) != std::u16string_view::npos;
  const int fields[2] = {row.first, row.second};
  std::size_t next = noFirst ? 1 : 0;
  for (std::size_t i = 0; i < tokens.size() && next < 2; ++i, ++next) SetContactString(record, fields[next], tokens[i]);
}

void ParseName(ContactRecord& record, std::u16string_view text) {
  std::vector<std::u16string_view> words = SplitAt(text, kNameBlanks);
  std::u16string middle;
  for (std::size_t i = 1; i + 1 < words.size(); ++i) {
    if (!middle.empty()) middle += u' ';
    middle += words[i];
  }
  SetContactString(record, kFirstNameId, words.empty() ? std::u16string_view() : words.front());
  SetContactString(record, kMiddleNameId, middle);
  SetContactString(record, kLastNameId, words.size() >= 2 ? words.back() : std::u16string_view());
}

}  // namespace

void FieldEntryList::Append(ContactFieldEntry entry) { entries_.push_back(std::move(entry)); }

void FieldEntryList::InsertAt(int position, ContactFieldEntry entry) {
  if (position < 0) return;
  if (position >= Count()) {
    Append(std::move(entry));
    return;
  }
  entries_.insert(entries_.begin() + position, std::move(entry));
}

void FieldEntryList::RemoveAt(int position) {
  if (position >= 0 && position < Count()) entries_.erase(entries_.begin() + position);
}

ContactFieldEntry* FieldEntryList::At(int position) {
  return position >= 0 && position < Count() ? &entries_[static_cast<std::size_t>(position)] : nullptr;
}

const ContactFieldEntry* FieldEntryList::At(int position) const {
  return position >= 0 && position < Count() ? &entries_[static_cast<std::size_t>(position)] : nullptr;
}

void FieldEntryList::Clear() { entries_.clear(); }

ContactFieldEntry MakeFieldEntry(int position) {
  ContactFieldEntry entry;
  const ContactFieldRow& row = kContactFieldTable[position];
  std::u16string_view label(row.label);
  std::size_t length = std::min<std::size_t>(label.size(), kFieldLabelRoom - 1);
  std::copy_n(label.data(), length, entry.label);
  entry.label[length] = 0;
  entry.fieldId = row.fieldId;
  entry.numeric = row.numeric;
  return entry;
}

int FindFieldPosition(int fieldId) {
  for (int position = 0; position < kContactFieldTableSize; ++position) {
    if (kContactFieldTable[position].fieldId == fieldId) return position;
  }
  return 0;
}

void LoadFieldSelection(FieldEntryList& selection) {
  std::vector<BYTE> data;
  std::vector<std::int32_t> positions;
  if (ReadBinarySetting(kSelectionValue, data)) {
    for (std::size_t i = 0; i + 4 <= data.size(); i += 4) {
      positions.push_back(static_cast<std::int32_t>(DWORD{data[i]} | (DWORD{data[i + 1]} << 8) |
                                                    (DWORD{data[i + 2]} << 16) | (DWORD{data[i + 3]} << 24)));
    }
  } else {
    positions.assign(std::begin(kDefaultFieldSelection), std::end(kDefaultFieldSelection));
    std::vector<BYTE> bytes;
    for (std::int32_t position : positions) {
      for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<BYTE>(static_cast<DWORD>(position) >> shift));
    }
    WriteSetting(kSelectionValue, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
  }
  selection.Clear();
  for (std::int32_t position : positions) {
    if (position >= 0 && position < kContactFieldTableSize) selection.Append(MakeFieldEntry(position));
  }
}

void SaveFieldSelection(const FieldEntryList& selection) {
  std::vector<BYTE> bytes;
  for (int i = 0; i < selection.Count(); ++i) {
    auto position = static_cast<DWORD>(FindFieldPosition(selection.At(i)->fieldId));
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<BYTE>(position >> shift));
  }
  WriteSetting(kSelectionValue, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
  WriteSetting(kPerPageValue, REG_DWORD, &kEntriesPerPage, sizeof kEntriesPerPage);
}

void FormatFieldValue(FieldEntryList& selection, const ContactRecord& record) {
  for (int i = 0; i < selection.Count(); ++i) {
    ContactFieldEntry& entry = *selection.At(i);
    if (entry.fieldId == kAnniversaryId || entry.fieldId == kBirthdayId) {
      entry.valueText = FormatDate(ContactDate(record, entry.fieldId), entry.valueText);
    } else if (entry.fieldId == kFirstNameId) {
      entry.valueText = FormatName(record);
    } else if (const CompositeRow* composite = FindComposite(entry.fieldId)) {
      entry.valueText = FormatComposite(record, *composite);
    } else {
      entry.valueText = FormatPlain(record, entry.fieldId);
    }
  }
}

void ParseFieldValue(ContactRecord& record, int fieldId, std::u16string_view text) {
  if (text.empty()) return;
  if (fieldId == kAnniversaryId || fieldId == kBirthdayId) {
    ParseDate(record, fieldId, text);
  } else if (fieldId == kFirstNameId) {
    ParseName(record, text);
  } else if (const CompositeRow* composite = FindComposite(fieldId)) {
    ParseComposite(record, *composite, text);
  } else {
    SetContactString(record, fieldId, text);
  }
}

std::u16string OneLineText(std::u16string_view text) {
  std::u16string line;
  for (char16_t c : text) {
    if (c == u'\r') line += u' ';
    else if (c != u'\n') line += c;
  }
  return line;
}
