// The contact list's search: which contacts of the ContactList match a typed text, counted the
// way the list pages through them. An engine: the list window shows what it returns.
//
// A contact matches when the first occurrence of the text in its "File as" (both folded to lower
// case) starts that text or follows a blank or a comma. Only the first occurrence counts, so
// "Major, Joan" does not match "jo". Counting stops early (six matches at or after the offset);
// the total goes on to the end.
#pragma once

#include "contacts/poom/poom_interface.h"

#include <string>
#include <string_view>
#include <vector>

constexpr int kSearchTextRoom = 100;    // 99 characters and the terminator
constexpr int kResultRowCount = 3;
constexpr int kCountedAhead = 6;        // matches counted at or after the offset

struct ContactSearchResult {
  int matchesCounted = 0;  // up to where six matches at or after the offset were found
  int totalMatches = 0;    // every match
  int rowsFilled = 0;      // matches at or after the offset, up to 6
  int rowContact[kResultRowCount] = {-1, -1, -1};  // ContactList index of each result row; -1 none
};

// Folds a text to lower case code unit by code unit (the contact list's comparisons).
std::u16string FoldedText(std::u16string_view text);

// Where `folded` (a folded search text) first occurs in the folded "File as" `foldedName`, or
// npos; matches only when that occurrence starts a word (the text's start, after ' ' or ',').
std::size_t MatchPosition(std::u16string_view foldedName, std::u16string_view folded);

// Searches `contacts` from match `offset`. When nothing matches a non-empty `searchText`, its
// last character is dropped and the search repeated, so the text always keeps at least one
// match (or ends empty). `searchText` is folded to lower case.
ContactSearchResult ContactSearch(const std::vector<ContactRecord>& contacts, std::u16string& searchText, int offset);

// The offsets paging moves to: up by three (never below 0); down by three while six matches
// lie ahead, else to the last three matches.
int PageUpOffset(int offset);
int PageDownOffset(int offset, int matchesCounted);
