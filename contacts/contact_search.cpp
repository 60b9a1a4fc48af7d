// The contact list's search and paging arithmetic.
#include "contacts/contact_search.h"

#include <unicode/uchar.h>

namespace {

// Counts one match into `result` as the list counts it.
void CountMatch(ContactSearchResult& result, int contact, int offset) {
  if (result.rowsFilled < kCountedAhead) {
    const int before = result.matchesCounted++;
    if (before >= offset) {
      if (result.rowsFilled < kResultRowCount) result.rowContact[result.rowsFilled] = contact;
      ++result.rowsFilled;
    }
  }
  ++result.totalMatches;
}

ContactSearchResult SearchOnce(const std::vector<ContactRecord>& contacts, std::u16string_view folded, int offset) {
  ContactSearchResult result;
  std::u16string name;
  for (int i = 0; i < static_cast<int>(contacts.size()); ++i) {
    const WCHAR* fileAs = ContactString(contacts[i], kFileAsId);
    if (fileAs == nullptr) continue;
    name.assign(fileAs);
    for (char16_t& c : name) c = static_cast<char16_t>(u_tolower(c));
    if (MatchPosition(name, folded) != std::u16string::npos) CountMatch(result, i, offset);
  }
  return result;
}

}  // namespace

std::u16string FoldedText(std::u16string_view text) {
  std::u16string folded(text);
  for (char16_t& c : folded) c = static_cast<char16_t>(u_tolower(c));
  return folded;
}

std::size_t MatchPosition(std::u16string_view foldedName, std::u16string_view folded) {
  const std::size_t at = foldedName.find(folded);
  if (at == std::u16string_view::npos || at == 0) return at;
  const char16_t before = foldedName[at - 1];
  return before == u' ' || before == u',' ? at : std::u16string_view::npos;
}

ContactSearchResult ContactSearch(const std::vector<ContactRecord>& contacts, std::u16string& searchText, int offset) {
  searchText = FoldedText(searchText);
  if (contacts.empty()) return {};
  for (;;) {
    ContactSearchResult result = SearchOnce(contacts, searchText, offset);
    if (result.matchesCounted > 0 || searchText.empty()) return result;
    searchText.pop_back();
  }
}

int PageUpOffset(int offset) { return offset < kResultRowCount ? 0 : offset - kResultRowCount; }

int PageDownOffset(int offset, int matchesCounted) {
  if (offset + 5 < matchesCounted) return offset + kResultRowCount;
  if (offset + kResultRowCount < matchesCounted) return offset + matchesCounted % kResultRowCount;
  return offset;
}
