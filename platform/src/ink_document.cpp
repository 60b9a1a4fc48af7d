// Decoding of the rich-ink control's documents (see <device/richink.h> for the encodings).
//
// Without a byte-order mark the choice between UTF-8 and 8-bit text rests on UTF-8 validity:
// 8-bit text with any character above 0x7F is almost never valid UTF-8 by chance (an accented
// letter would have to be followed by exactly the right continuation bytes), while UTF-8 text
// always is. Pure ASCII decodes the same either way.
//
// UTF-16LE without a byte-order mark is recognised first, by zero high bytes: neither UTF-8 nor
// 8-bit text holds a zero byte before its end, while UTF-16LE text in a Latin script has one
// after each of its first characters. Read as 8-bit text it would end after its first letter.
#include "internal/ink_document.h"

#include "internal/wide_text.h"

#include <unicode/utf8.h>

namespace device::internal {

namespace {

// Windows-1252 0x80..0x9F. The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) map to the control characters of the same value, as Windows converts them.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool StartsWith(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

std::u16string DecodeUtf16Le(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                  (static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return text;
}

std::u16string DecodeCp1252(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  for (char b : bytes) {
    auto byte = static_cast<unsigned char>(b);
    text += (byte >= 0x80 && byte < 0xA0) ? kCp1252High[byte - 0x80] : static_cast<char16_t>(byte);
  }
  return text;
}

// Documents are zero-terminated texts; whatever follows the first zero is not shown.
std::u16string CutAtZero(std::u16string text) {
  std::size_t zero = text.find(u'\0');
  if (zero != std::u16string::npos) text.resize(zero);
  return text;
}

// The first characters checked for zero high bytes; a text shorter than this is checked up to
// its end or its terminating zero.
constexpr std::size_t kUtf16ProbeCharacters = 8;

bool LooksLikeUtf16Le(std::string_view bytes) {
  std::size_t checked = 0;
  for (std::size_t i = 0; i + 1 < bytes.size() && checked < kUtf16ProbeCharacters; i += 2, ++checked) {
    const bool lowZero = bytes[i] == 0, highZero = bytes[i + 1] == 0;
    if (lowZero && highZero) break;  // the terminator
    if (lowZero || !highZero) return false;
  }
  return checked > 0;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t i = 0;
  while (i < bytes.size()) {
    UChar32 c;
    // ICU's strict decoder yields a negative value for every ill-formed sequence.
    U8_NEXT(data, i, bytes.size(), c);
    if (c < 0) return false;
  }
  return true;
}

std::u16string DecodeInkDocument(std::string_view bytes) {
  if (StartsWith(bytes, "\xFF\xFE")) return CutAtZero(DecodeUtf16Le(bytes.substr(2)));
  if (StartsWith(bytes, "\xEF\xBB\xBF")) return CutAtZero(Utf8ToUtf16(bytes.substr(3)));
  if (LooksLikeUtf16Le(bytes)) return CutAtZero(DecodeUtf16Le(bytes));
  if (IsValidUtf8(bytes)) return CutAtZero(Utf8ToUtf16(bytes));
  return CutAtZero(DecodeCp1252(bytes));
}

}  // namespace device::internal
