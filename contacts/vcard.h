// vCard exchange: reading vCard 2.1, 3.0 and 4.0 (RFC 2426, RFC 6350) into contact records, and
// writing contact records as vCard 3.0. An engine: bytes in, records and problems out.
//
// A small parser of our own rather than a library: the cards' properties map onto the store's
// fixed fields by our own rules anyway (phone types to the eleven phone fields, three e-mail
// fields, three addresses), the formats are line-based and short, and the parser must meet
// hostile input (truncated, binary, huge lines, 100,000 cards) with reports by line number,
// which is easiest to guarantee for code whose every path the tests reach.
//
// Reading:
// - Lines end in CR LF, LF or CR; a line that starts with a blank or a tab continues the line
//   before (folding). In a quoted-printable value a line ending in '=' continues on the next.
// - Text is UTF-8; a 2.1 CHARSET of ISO-8859-1 or Windows-1252, and any value that is not
//   valid UTF-8, is read as Windows-1252. Escapes \\ \, \; \: and \n (also \N) are undone; a
//   line break in a value becomes CR LF, the device's line break.
// - Properties: N (last; first; middle; prefix -> Title; suffix), FN (-> File as), ORG
//   (company; department), TITLE, TEL by type, EMAIL (three), ADR (home, work, other), BDAY,
//   ANNIVERSARY (and the X- forms of common address books), CATEGORIES, URL, NOTE, UID, and
//   the X- properties this writer uses. Other properties are ignored without a report.
// - A card without a name, file-as name, organisation, phone or e-mail is reported and
//   dropped; so is a card cut short by the end of the file or by another BEGIN. A property
//   that cannot be read (a date without a year, a line without ':', a phone or address with
//   no free field left) is reported and skipped; the rest of its card is kept. A value longer
//   than kVCardMaxValue code units is cut to that length and reported.
// - File as: FN; without FN, "Last, First" or the organisation.
//
// Writing: vCard 3.0, UTF-8, CR LF line ends, lines folded at 75 octets (never inside a UTF-8
// sequence), commas, semicolons, backslashes and line breaks escaped.
#pragma once

#include "contacts/poom/poom_interface.h"

#include <string>
#include <string_view>
#include <vector>

constexpr std::size_t kVCardMaxValue = 1000;

struct VCardCard {
  ContactRecord record;
  std::u16string uid;
  std::u16string note;
  int line = 0;  // the line of its BEGIN:VCARD
};

struct VCardProblem {
  int line;
  std::string message;
};

struct VCardFile {
  std::vector<VCardCard> cards;
  std::vector<VCardProblem> problems;
};

// Reads every card of `text` (the bytes of a .vcf file).
VCardFile ParseVCards(std::string_view text);

// One card, vCard 3.0. `uid` and `note` are left out when empty.
std::string FormatVCard(const ContactRecord& record, std::u16string_view uid, std::u16string_view note);

// UTF-8 of a UTF-16 text (unpaired surrogates become U+FFFD).
std::string ToUtf8(std::u16string_view text);
