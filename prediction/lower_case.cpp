#include "prediction/lower_case.h"

#include <unicode/uchar.h>

WCHAR LowerChar(WCHAR c) {
  // Most typed text is ASCII; keep the common case out of ICU's tables.
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<WCHAR>(c + 32) : c;
  UChar32 lower = u_tolower(static_cast<UChar32>(c));
  return lower <= 0xFFFF ? static_cast<WCHAR>(lower) : c;
}

std::size_t LowerInPlace(WCHAR* text) {
  std::size_t n = 0;
  for (; text[n] != 0; ++n) text[n] = LowerChar(text[n]);
  return n;
}

bool EqualIgnoringCase(const WCHAR* a, const WCHAR* b) {
  for (;; ++a, ++b) {
    if (*a != *b && LowerChar(*a) != LowerChar(*b)) return false;
    if (*a == 0) return true;
  }
}
