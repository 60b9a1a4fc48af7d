// The rich-ink control's document decoding: note-file bytes to UTF-16 text.
#pragma once

#include <string>
#include <string_view>

namespace device::internal {

// FF FE: UTF-16LE (an odd last byte is dropped). EF BB BF: UTF-8, invalid sequences as U+FFFD.
// No byte-order mark: UTF-16LE when the first characters (up to eight, or to a zero
// character) all have a zero high byte and a non-zero low byte; else UTF-8 when the bytes are
// valid UTF-8 throughout; else Windows-1252.
// The text ends before its first zero character. The byte-order mark is not part of the text.
std::u16string DecodeInkDocument(std::string_view bytes);

// True when `bytes` is well-formed UTF-8: no overlong forms, no surrogates, nothing above
// U+10FFFF, no sequence cut short.
bool IsValidUtf8(std::string_view bytes);

}  // namespace device::internal
