// Import, export and listing of contacts through vCard files.
#include "contacts/contact_exchange.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace {

constexpr int kPhoneIds[] = {kMobileTelephoneNumberId, kBusinessTelephoneNumberId, kBusiness2TelephoneNumberId,
                             kHomeTelephoneNumberId, kHome2TelephoneNumberId, kBusinessFaxNumberId, kHomeFaxNumberId,
                             kPagerNumberId, kCarTelephoneNumberId, kRadioTelephoneNumberId,
                             kAssistantTelephoneNumberId};
constexpr int kEmailIds[] = {kEmail1AddressId, kEmail2AddressId, kEmail3AddressId};

std::u16string Folded(LPCWSTR text) {
  std::u16string folded;
  for (const WCHAR* p = text; p && *p; ++p) folded += static_cast<char16_t>(u_tolower(*p) & 0xFFFF);
  return folded;
}

// The name a duplicate is recognised by.
std::u16string NameKey(const ContactRecord& record) {
  std::u16string first = Folded(ContactString(record, kFirstNameId));
  std::u16string last = Folded(ContactString(record, kLastNameId));
  if (first.empty() && last.empty()) return u"=" + Folded(ContactString(record, kFileAsId));
  return first + u'\n' + last;
}

std::set<std::u16string> PhoneDigits(const ContactRecord& record) {
  std::set<std::u16string> phones;
  for (int id : kPhoneIds) {
    std::u16string digits;
    for (const WCHAR* p = ContactString(record, id); p && *p; ++p) {
      if (*p >= u'0' && *p <= u'9') digits += *p;
    }
    if (!digits.empty()) phones.insert(digits);
  }
  return phones;
}

// What the store and the cards imported so far hold, for recognising duplicates.
class KnownContacts {
 public:
  void Add(const ContactRecord& record, const std::u16string& uid) {
    if (!uid.empty()) uids_.insert(uid);
    byName_[NameKey(record)].push_back(PhoneDigits(record));
  }

  bool Holds(const ContactRecord& record, const std::u16string& uid) const {
    if (!uid.empty() && uids_.count(uid)) return true;
    auto found = byName_.find(NameKey(record));
    if (found == byName_.end()) return false;
    std::set<std::u16string> phones = PhoneDigits(record);
    for (const std::set<std::u16string>& known : found->second) {
      if (phones.empty() && known.empty()) return true;
      for (const std::u16string& phone : phones) {
        if (known.count(phone)) return true;
      }
    }
    return false;
  }

 private:
  std::unordered_set<std::u16string> uids_;
  std::unordered_map<std::u16string, std::vector<std::set<std::u16string>>> byName_;
};

}  // namespace

bool ReadAllContacts(std::vector<ContactRecord>& records) {
  std::vector<ContactRecord> list;
  if (PoomLoadContacts(list) != kPoomOk) return false;
  records.clear();
  records.reserve(list.size());
  for (const ContactRecord& brief : list) {
    ContactRecord full;
    if (PoomReadContactById(brief.Oid, full, true) == kPoomOk) records.push_back(std::move(full));
  }
  return true;
}

ImportSummary ImportVCardText(std::string_view text) {
  ImportSummary summary;
  VCardFile file = ParseVCards(text);
  summary.problems = std::move(file.problems);
  std::vector<ContactRecord> existing;
  if (!ReadAllContacts(existing)) return summary;
  summary.opened = true;
  KnownContacts known;
  for (const ContactRecord& record : existing) {
    std::u16string uid, body;
    PoomReadContactExtras(record.Oid, &uid, &body);
    known.Add(record, uid);
  }
  if (!PoomBeginChanges()) return summary;
  for (const VCardCard& card : file.cards) {
    if (known.Holds(card.record, card.uid) || (!card.uid.empty() && PoomFindContactByUid(card.uid) != 0)) {
      ++summary.duplicates;
      continue;
    }
    if (PoomCreateContactWithExtras(card.record, card.uid, card.note) <= 0) {
      PoomEndChanges(false);
      summary.imported = 0;
      return summary;
    }
    known.Add(card.record, card.uid);
    ++summary.imported;
  }
  summary.stored = PoomEndChanges(true);
  if (!summary.stored) summary.imported = 0;
  return summary;
}

bool ExportVCardText(std::string& text, int* count) {
  std::vector<ContactRecord> records;
  if (!ReadAllContacts(records)) return false;
  text.clear();
  for (const ContactRecord& record : records) {
    std::u16string uid, body;
    PoomReadContactExtras(record.Oid, &uid, &body);
    text += FormatVCard(record, uid, body);
  }
  *count = static_cast<int>(records.size());
  return true;
}

bool ListContactLines(std::vector<std::string>& lines) {
  std::vector<ContactRecord> records;
  if (!ReadAllContacts(records)) return false;
  std::sort(records.begin(), records.end(),
            [](const ContactRecord& a, const ContactRecord& b) { return CompareContacts(a, b) < 0; });
  lines.clear();
  for (const ContactRecord& record : records) {
    LPCWSTR fileAs = ContactString(record, kFileAsId);
    std::string line = ToUtf8(fileAs ? fileAs : u"");
    for (int id : kPhoneIds) {
      if (LPCWSTR phone = ContactString(record, id)) line += "\t" + ToUtf8(phone);
    }
    for (int id : kEmailIds) {
      if (LPCWSTR email = ContactString(record, id)) line += "\t" + ToUtf8(email);
    }
    // A name with a line break or tab would break the one-line-per-contact shape.
    std::replace_if(line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    lines.push_back(std::move(line));
  }
  return true;
}
