// The contact fields the contact menu shows: the fixed table of 37 entries, the user's stored
// selection of them (`contactdata`, `dataperpage`), and the two conversions between a
// `ContactRecord` and an entry's value text. An engine: values in, values out, no windows.
//
// Choices where the behaviour is ours to choose:
// - A composite address entry shows its two parts joined by ", " ("Szeged, 6720"), so that an
//   unchanged value reads back into the same two fields. When only the second part is set the
//   text starts with the separator (", 6720"), and a text that starts with a separator gives
//   its first token to the second field, so that too reads back unchanged.
// - An edited Name is split at blanks: one word is the first name; two are the first and the
//   last name; more are the first name, the middle words (joined by one blank) and the last
//   name. Parts that the text does not give are cleared.
// - Stored positions outside 0..36 name no entry and are skipped.
// - The entry lists are arrays, so reading at a position costs constant time without a
//   remembered walking position.
#pragma once

#include "contacts/poom/poom_interface.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

constexpr int kContactFieldTableSize = 37;
constexpr int kFieldLabelRoom = 200;  // 199 characters and the terminator
constexpr DWORD kEntriesPerPage = 12;

// One row of the fixed table.
struct ContactFieldRow {
  const WCHAR* label;  // may contain CR LF
  std::int32_t fieldId;
  std::int32_t numeric;  // 1: the entry is edited in numeric mode
};

extern const ContactFieldRow kContactFieldTable[kContactFieldTableSize];

// An entry as a selection list holds it: a copy of its table row and its current value text
// (none when the field is empty).
struct ContactFieldEntry {
  WCHAR label[kFieldLabelRoom] = {};
  std::int32_t fieldId = 0;
  std::int32_t numeric = 0;
  std::optional<std::u16string> valueText;
};

// A positional list that owns its entries.
class FieldEntryList {
 public:
  void Append(ContactFieldEntry entry);
  // At or beyond the end appends; a negative position does nothing.
  void InsertAt(int position, ContactFieldEntry entry);
  void RemoveAt(int position);  // outside the list: nothing
  ContactFieldEntry* At(int position);  // null outside 0..count-1
  const ContactFieldEntry* At(int position) const;
  void Clear();
  int Count() const { return static_cast<int>(entries_.size()); }

 private:
  std::vector<ContactFieldEntry> entries_;
};

// A copy of the table entry at `position` (0..36) with no value text.
ContactFieldEntry MakeFieldEntry(int position);

// The position of the first table entry with `fieldId`, or 0 when there is none.
int FindFieldPosition(int fieldId);

// The default selection: Name, the mobile, work and home phones, Email, home city/code and
// street, Company, business city/code and street.
extern const std::int32_t kDefaultFieldSelection[10];

// Reads `contactdata` (a missing value, or one of another type, gives the default selection,
// which is written back at once) and fills `selection` with the entries at the stored positions.
void LoadFieldSelection(FieldEntryList& selection);
// Writes the positions of `selection` as `contactdata` and 12 as `dataperpage`. A failed write
// is ignored.
void SaveFieldSelection(const FieldEntryList& selection);

// A label or a "File as" on one line, as the lists show them: every CR a blank, every LF
// dropped.
std::u16string OneLineText(std::u16string_view text);

// Sets the value text of every entry of `selection` from `record`.
void FormatFieldValue(FieldEntryList& selection, const ContactRecord& record);
// Stores an edited, non-empty `text` into the field(s) of the entry with `fieldId`.
void ParseFieldValue(ContactRecord& record, int fieldId, std::u16string_view text);
