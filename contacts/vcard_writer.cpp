// Writing a contact record as a vCard 3.0 card.
#include "contacts/vcard.h"

#include "contacts/vcard_text.h"

#include <cstdio>

namespace {

constexpr std::size_t kFoldAt = 75;  // octets per line, line end not counted

// A phone field and the type list it is written with; reading maps each back to its field
// (two fields of one type are written in the order the reader fills them).
struct PhoneRow {
  int id;
  const char* types;
};
constexpr PhoneRow kPhoneRows[] = {
    {kMobileTelephoneNumberId,    "CELL"},
    {kBusinessTelephoneNumberId,  "WORK,VOICE"},
    {kBusiness2TelephoneNumberId, "WORK,VOICE"},
    {kHomeTelephoneNumberId,      "HOME,VOICE"},
    {kHome2TelephoneNumberId,     "HOME,VOICE"},
    {kBusinessFaxNumberId,        "WORK,FAX"},
    {kHomeFaxNumberId,            "HOME,FAX"},
    {kPagerNumberId,              "PAGER"},
    {kCarTelephoneNumberId,       "CAR"},
    {kRadioTelephoneNumberId,     "X-RADIO"},
    {kAssistantTelephoneNumberId, "X-ASSISTANT"},
};

struct AddressRow {
  int street;  // the first of the five fields: street, city, state, code, country
  const char* type;  // null: no type (the other address)
};
constexpr AddressRow kAddressRows[] = {
    {kHomeAddressStreetId,     "HOME"},
    {kBusinessAddressStreetId, "WORK"},
    {kOtherAddressStreetId,    nullptr},
};

// Single-text properties written as they are (escaped).
struct TextRow {
  int id;
  const char* name;
};
constexpr TextRow kTextRows[] = {
    {kJobTitleId,        "TITLE"},
    {kWebPageId,         "URL"},
    {kSpouseId,          "X-SPOUSE"},
    {kAssistantNameId,   "X-ASSISTANT"},
    {kChildrenId,        "X-CHILDREN"},
    {kOfficeLocationId,  "X-OFFICE"},
    {kYomiFirstNameId,   "X-PHONETIC-FIRST-NAME"},
    {kYomiLastNameId,    "X-PHONETIC-LAST-NAME"},
    {kYomiCompanyNameId, "X-PHONETIC-ORG"},
};

std::u16string TextOf(const ContactRecord& record, int id) {
  LPCWSTR text = ContactString(record, id);
  return text ? std::u16string(text) : std::u16string();
}

// Escapes backslash, comma and semicolon; a line break (CR LF, LF or CR) becomes \n.
std::string Escaped(std::u16string_view text) {
  std::u16string escaped;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c == u'\r') {
      if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      escaped += u"\\n";
    } else if (c == u'\n') {
      escaped += u"\\n";
    } else if (c == u'\\' || c == u',' || c == u';') {
      escaped += u'\\';
      escaped += c;
    } else {
      escaped += c;
    }
  }
  return ToUtf8(escaped);
}

// Appends one content line, folded at 75 octets without splitting a UTF-8 sequence.
void AppendLine(std::string& out, const std::string& line) {
  std::size_t start = 0;
  std::size_t room = kFoldAt;
  while (line.size() - start > room) {
    std::size_t end = start + room;
    while (end > start && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80) --end;
    out.append(line, start, end - start);
    out += "\r\n ";
    start = end;
    room = kFoldAt - 1;  // the continuation's blank counts
  }
  out.append(line, start, std::string::npos);
  out += "\r\n";
}

std::string FormatDate(DATE date) {
  SYSTEMTIME time{};
  if (IsNoDate(date) || !VariantTimeToSystemTime(date, &time)) return {};
  char text[24];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u", time.wYear, time.wMonth, time.wDay);
  return text;
}

std::string DisplayName(const ContactRecord& record) {
  std::u16string name = TextOf(record, kFileAsId);
  if (name.empty()) {
    for (int id : {kFirstNameId, kMiddleNameId, kLastNameId}) {
      std::u16string part = TextOf(record, id);
      if (part.empty()) continue;
      if (!name.empty()) name += u' ';
      name += part;
    }
  }
  if (name.empty()) name = TextOf(record, kCompanyNameId);
  return Escaped(name);
}

}  // namespace

std::string FormatVCard(const ContactRecord& record, std::u16string_view uid, std::u16string_view note) {
  std::string out;
  AppendLine(out, "BEGIN:VCARD");
  AppendLine(out, "VERSION:3.0");
  AppendLine(out, "FN:" + DisplayName(record));
  AppendLine(out, "N:" + Escaped(TextOf(record, kLastNameId)) + ";" + Escaped(TextOf(record, kFirstNameId)) + ";" +
                      Escaped(TextOf(record, kMiddleNameId)) + ";" + Escaped(TextOf(record, kTitleId)) + ";" +
                      Escaped(TextOf(record, kSuffixId)));
  std::u16string company = TextOf(record, kCompanyNameId), department = TextOf(record, kDepartmentId);
  if (!company.empty() || !department.empty())
    AppendLine(out, "ORG:" + Escaped(company) + (department.empty() ? "" : ";" + Escaped(department)));
  for (const TextRow& row : kTextRows) {
    std::u16string text = TextOf(record, row.id);
    if (!text.empty()) AppendLine(out, std::string(row.name) + ":" + Escaped(text));
  }
  for (const PhoneRow& row : kPhoneRows) {
    std::u16string number = TextOf(record, row.id);
    if (!number.empty()) AppendLine(out, std::string("TEL;TYPE=") + row.types + ":" + Escaped(number));
  }
  for (int id : {kEmail1AddressId, kEmail2AddressId, kEmail3AddressId}) {
    std::u16string address = TextOf(record, id);
    if (!address.empty()) AppendLine(out, "EMAIL;TYPE=INTERNET:" + Escaped(address));
  }
  for (const AddressRow& row : kAddressRows) {
    std::string value = ";";  // no post office box, no extended address
    bool any = false;
    for (int i = 0; i < 5; ++i) {
      std::u16string part = TextOf(record, row.street + i);
      any |= !part.empty();
      value += ";" + Escaped(part);
    }
    if (any) AppendLine(out, std::string("ADR") + (row.type ? std::string(";TYPE=") + row.type : "") + ":" + value);
  }
  if (std::string birthday = FormatDate(record.Birthday); !birthday.empty()) AppendLine(out, "BDAY:" + birthday);
  if (std::string anniversary = FormatDate(record.Anniversary); !anniversary.empty())
    AppendLine(out, "X-ANNIVERSARY:" + anniversary);
  std::u16string categories = TextOf(record, kCategoriesId);
  if (!categories.empty()) {
    // The store keeps categories as one text, "a, b"; the card lists them.
    std::string list;
    std::size_t start = 0;
    while (start <= categories.size()) {
      std::size_t comma = categories.find(u',', start);
      std::u16string item = categories.substr(start, comma == std::u16string::npos ? std::u16string::npos : comma - start);
      while (!item.empty() && item.front() == u' ') item.erase(0, 1);
      while (!item.empty() && item.back() == u' ') item.pop_back();
      if (!item.empty()) list += (list.empty() ? "" : ",") + Escaped(item);
      if (comma == std::u16string::npos) break;
      start = comma + 1;
    }
    if (!list.empty()) AppendLine(out, "CATEGORIES:" + list);
  }
  if (!note.empty()) AppendLine(out, "NOTE:" + Escaped(note));
  if (!uid.empty()) AppendLine(out, "UID:" + Escaped(uid));
  AppendLine(out, "END:VCARD");
  return out;
}
