// UTF-16 <-> UTF-8 conversion and Unicode case folding for the device's services, which keep
// UTF-16 at the API and UTF-8 on the host (file names, the registry database, command lines).
#pragma once

#include <string>
#include <string_view>

namespace device::internal {

// Null-safe length of a zero-terminated UTF-16 string.
std::size_t WideLength(const char16_t* text);

// False when `text` holds an unpaired surrogate, which has no UTF-8 form.
bool Utf16ToUtf8(std::u16string_view text, std::string& out);

// Invalid UTF-8 sequences become U+FFFD, so host names that are not UTF-8 still show.
std::u16string Utf8ToUtf16(std::string_view text);

// Full Unicode case folding (ICU, default folding), for case-insensitive name comparison.
std::u16string FoldCase(std::u16string_view text);

bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b);

}  // namespace device::internal
