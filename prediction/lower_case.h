// Lower-casing of UTF-16 text one code unit at a time, as the dictionary stores its words.
#pragma once

#include <device/win_types.h>

#include <cstddef>

// The simple lower-case mapping of one UTF-16 code unit (ICU's u_tolower). A surrogate, or a
// unit whose lower case lies outside the BMP, is returned unchanged so that the text keeps its
// length.
WCHAR LowerChar(WCHAR c);

// Lower-cases a zero-terminated text in place and returns its length.
std::size_t LowerInPlace(WCHAR* text);

// Equality of two zero-terminated texts ignoring case, unit by unit as LowerChar maps them.
bool EqualIgnoringCase(const WCHAR* a, const WCHAR* b);
