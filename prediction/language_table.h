// LanguageTable: the languages of keyboard.txt, the UTF-16LE file beside the program. Each
// language is a block that starts with "CHARSET=START" and holds sixteen keys in a fixed
// order; the table keeps at most 10 blocks, in file order, and is filled once at start-up.
//
// Reading (ReadLanguageFile / ParseLanguageFile): the first two bytes (the byte-order mark)
// are skipped unread; a file shorter than 4 bytes holds no language; every TAB is dropped
// wherever it stands. Each key is searched from where the previous one stopped. The name
// values (LONG, NAME, PREDICTDB, NEXTWORDDB) are one token: spaces after "=" are skipped and
// the value runs to the next space, CR or LF. The twelve key strings are taken raw up to the
// next CR (spaces included); QWERTYFULL_MODIFIERS gets a space appended.
//
// A malformed file never reads or writes outside the table:
// - a block is read only up to the next "CHARSET=START", so a block that lacks a key never
//   takes the key of the next block;
// - reading a block stops at the first key not found (a missing key, or keys out of order);
//   the fields read so far are kept, the others stay empty, and the block still counts;
// - blocks after the tenth are ignored;
// - every value is cut to its field (9 characters for NAME, 99 for the others, 98 for
//   QWERTYFULL_MODIFIERS before its space);
// - an empty name value ("LONG=" at the end of a line) is empty: the skipping of spaces does
//   not run on into the next line.
#pragma once

#include <device/win_types.h>

#include <cstddef>
#include <cstdint>

constexpr int kMaxLanguages = 10;
constexpr int kNameRoom = 10;    // characters including the terminator
constexpr int kValueRoom = 100;  // characters including the terminator

// One language. Field names are the keys of keyboard.txt; every field is zero-terminated.
struct LanguageRecord {
  WCHAR NAME[kNameRoom];         // short name on the menu bar's language button
  WCHAR LONG[kValueRoom];        // full name in the language setup lists
  WCHAR PREDICTDB[kValueRoom];   // word dictionary file, relative to the program folder, or "-"
  WCHAR NEXTWORDDB[kValueRoom];  // next-word file, relative to the program folder, or "-"
  WCHAR PHONEKEYS_1[kValueRoom];
  WCHAR PHONEKEYS_2[kValueRoom];
  WCHAR QWERTY_1[kValueRoom];
  WCHAR QWERTY_2[kValueRoom];
  WCHAR QWERTY_3[kValueRoom];
  WCHAR QWERTYFULL_1[kValueRoom];
  WCHAR QWERTYFULL_2[kValueRoom];
  WCHAR QWERTYFULL_3[kValueRoom];
  WCHAR QWERTYFULL_MODIFIERS[kValueRoom];  // with a space appended
  WCHAR PREDICT_1[kValueRoom];
  WCHAR PREDICT_2[kValueRoom];
  WCHAR PREDICT_3[kValueRoom];
};

struct LanguageTable {
  LanguageRecord records[kMaxLanguages];
  int count = 0;  // blocks read, 0 to 10
  int firstIncomplete = -1;  // the first block that lacks a key (a damaged file), or -1

  // The record of a language; an index outside 0..count-1 gives a record of empty strings,
  // so a stale language index never reads outside the table.
  const LanguageRecord& Language(int index) const;
};

// Fills the table from the bytes of a keyboard.txt file (UTF-16LE with byte-order mark).
void ParseLanguageFile(const std::uint8_t* bytes, std::size_t size, LanguageTable& table);

// Fills the table from the file at the device path. Returns false when the file cannot be
// opened; the table then holds 0 languages.
bool ReadLanguageFile(const WCHAR* path, LanguageTable& table);
