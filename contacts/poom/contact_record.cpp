// Contact and appointment records: owned strings (store strings, BSTRs), copying, clearing.
#include "contacts/poom/poom_interface.h"

#include <cstring>
#include <utility>

namespace {

constexpr const char* kFieldNames[kContactFieldCount] = {
    "Anniversary", "Birthday",
#define POOM_FIELD_NAME(name) #name,
    PIM_CONTACT_STRING_PROPERTIES(POOM_FIELD_NAME)
#undef POOM_FIELD_NAME
};

bool IsStringId(int id) { return id >= kFirstStringFieldId && id < kContactFieldCount; }

WCHAR* CopyString(std::u16string_view text) {
  return text.empty() ? nullptr : SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

}  // namespace

ContactRecord::~ContactRecord() {
  for (WCHAR* text : strings) SysFreeString(text);
}

ContactRecord::ContactRecord(ContactRecord&& other) noexcept
    : Anniversary(other.Anniversary), Birthday(other.Birthday), Oid(other.Oid) {
  std::memcpy(strings, other.strings, sizeof strings);
  std::memset(other.strings, 0, sizeof other.strings);
}

ContactRecord& ContactRecord::operator=(ContactRecord&& other) noexcept {
  if (this == &other) return *this;
  for (WCHAR* text : strings) SysFreeString(text);
  Anniversary = other.Anniversary;
  Birthday = other.Birthday;
  Oid = other.Oid;
  std::memcpy(strings, other.strings, sizeof strings);
  std::memset(other.strings, 0, sizeof other.strings);
  return *this;
}

LPCWSTR ContactString(const ContactRecord& record, int id) {
  if (!IsStringId(id)) return nullptr;
  const WCHAR* text = record.strings[id - kFirstStringFieldId];
  return text && *text ? text : nullptr;
}

void SetContactString(ContactRecord& record, int id, std::u16string_view text) {
  if (IsStringId(id)) AdoptContactString(record, id, CopyString(text));
}

void AdoptContactString(ContactRecord& record, int id, WCHAR* text) {
  if (!IsStringId(id)) {
    SysFreeString(text);
    return;
  }
  WCHAR*& field = record.strings[id - kFirstStringFieldId];
  SysFreeString(field);
  field = text;
}

DATE ContactDate(const ContactRecord& record, int id) {
  return id == kAnniversaryId ? record.Anniversary : id == kBirthdayId ? record.Birthday : 0.0;
}

void SetContactDate(ContactRecord& record, int id, DATE date) {
  if (id == kAnniversaryId) record.Anniversary = date;
  if (id == kBirthdayId) record.Birthday = date;
}

void ClearContactRecord(ContactRecord& record, LONG oid) {
  record = ContactRecord();
  record.Oid = oid;
}

ContactRecord CopyContactRecord(const ContactRecord& record) {
  ContactRecord copy;
  copy.Anniversary = record.Anniversary;
  copy.Birthday = record.Birthday;
  copy.Oid = record.Oid;
  for (int i = 0; i < kContactStringCount; ++i) {
    if (record.strings[i]) copy.strings[i] = SysAllocString(record.strings[i]);
  }
  return copy;
}

bool IsEmptyRecord(const ContactRecord& record) {
  if (record.Anniversary != 0.0 || record.Birthday != 0.0 || record.Oid != -1) return false;
  for (const WCHAR* text : record.strings) {
    if (text) return false;
  }
  return true;
}

const char* ContactFieldName(int id) { return id >= 0 && id < kContactFieldCount ? kFieldNames[id] : ""; }

AppointmentRecord::~AppointmentRecord() { ClearAppointmentRecord(*this); }

void ClearAppointmentRecord(AppointmentRecord& record) {
  SysFreeString(record.Subject);
  SysFreeString(record.Body);
  for (std::int32_t i = 0; i < record.recipientCount; ++i) {
    SysFreeString(record.recipients[i].Name);
    SysFreeString(record.recipients[i].Address);
  }
  delete[] record.recipients;
  record.Start = SYSTEMTIME{};
  record.End = SYSTEMTIME{};
  record.Subject = nullptr;
  record.Body = nullptr;
  record.recipientCount = 0;
  record.recipients = nullptr;
  record.Oid = 0;
}

void AddRecipient(AppointmentRecord& record, std::u16string_view name, std::u16string_view address) {
  auto* grown = new RecipientEntry[static_cast<std::size_t>(record.recipientCount) + 1];
  for (std::int32_t i = 0; i < record.recipientCount; ++i) grown[i] = record.recipients[i];
  grown[record.recipientCount] = {SysAllocStringLen(name.data(), static_cast<UINT>(name.size())),
                                  SysAllocStringLen(address.data(), static_cast<UINT>(address.size()))};
  delete[] record.recipients;
  record.recipients = grown;
  ++record.recipientCount;
}
