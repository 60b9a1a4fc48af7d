// Exchanging contacts with other address books through vCard files: importing a file into the
// store without duplicating contacts it already holds, exporting every contact, and listing.
// Works on the store the Pocket Outlook interface is connected to (PoomConnect).
//
// A card is a duplicate, and is skipped, when the store (or an earlier card of the same file)
// holds a contact with the same UID, or with the same first and last name (or, without them,
// the same file-as name), compared without regard to case, and either a phone number in common
// (compared by its digits) or no phone on either side.
//
// An import is one store transaction: the file's valid cards are all stored, or none is (when
// the store refuses one, everything is rolled back and the import reports failure).
#pragma once

#include "contacts/vcard.h"

#include <string>
#include <string_view>
#include <vector>

struct ImportSummary {
  bool opened = false;   // false: the store could not be reached; nothing was stored
  bool stored = false;   // the transaction was committed
  int imported = 0;
  int duplicates = 0;
  std::vector<VCardProblem> problems;  // the file's problems, by line
};

// Reads every contact of the store with its full field set. False when the store cannot be
// reached.
bool ReadAllContacts(std::vector<ContactRecord>& records);

ImportSummary ImportVCardText(std::string_view text);

// Every contact as vCard 3.0, in store order; `count` receives the number of cards.
bool ExportVCardText(std::string& text, int* count);

// One line per contact in list order: file-as name, then each phone and e-mail, separated by
// tabs, UTF-8.
bool ListContactLines(std::vector<std::string>& lines);
