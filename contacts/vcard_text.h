// Text helpers shared by the vCard reader and writer: UTF-8 and Windows-1252 to UTF-16, and
// ASCII case folding for property and parameter names.
#pragma once

#include <string>
#include <string_view>

namespace vcard_text {

// Decodes UTF-8; false (and `out` unchanged) when `bytes` is not valid UTF-8.
bool DecodeUtf8(std::string_view bytes, std::u16string& out);
// Decodes Windows-1252 (undefined bytes as the Latin-1 character of the same value).
std::u16string DecodeWindows1252(std::string_view bytes);
void AppendUtf8(char32_t code, std::string& out);
std::string AsciiLower(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace vcard_text
