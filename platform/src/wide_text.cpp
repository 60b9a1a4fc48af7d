// UTF conversion and case folding shared by the registry, the file system and processes.
#include "internal/wide_text.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

namespace device::internal {

std::size_t WideLength(const char16_t* text) {
  return text ? std::char_traits<char16_t>::length(text) : 0;
}

bool Utf16ToUtf8(std::u16string_view text, std::string& out) {
  out.clear();
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (U16_IS_SURROGATE(c)) {
      if (!U16_IS_SURROGATE_LEAD(c) || i + 1 >= text.size() || !U16_IS_TRAIL(text[i + 1])) return false;
      c = U16_GET_SUPPLEMENTARY(c, text[i + 1]);
      ++i;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return true;
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  std::size_t i = 0;
  while (i < text.size()) {
    UChar32 c;
    // ICU's decoder rejects overlong forms and surrogates and yields a negative value for them.
    U8_NEXT(bytes, i, text.size(), c);
    if (c < 0) c = 0xFFFD;
    if (c > 0xFFFF) {
      out += U16_LEAD(c);
      out += U16_TRAIL(c);
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

std::u16string FoldCase(std::u16string_view text) {
  // Full folding can grow a string (German sharp s folds to "ss"), hence the retry.
  std::u16string out(text.size() + 8, u'\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = u_strFoldCase(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                                   reinterpret_cast<const UChar*>(text.data()),
                                   static_cast<int32_t>(text.size()), U_FOLD_CASE_DEFAULT, &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
      out.assign(static_cast<std::size_t>(length), u'\0');
      continue;
    }
    if (U_FAILURE(status)) return std::u16string(text);
    out.resize(static_cast<std::size_t>(length));
    return out;
  }
  return std::u16string(text);
}

bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b) {
  return a == b || FoldCase(a) == FoldCase(b);
}

}  // namespace device::internal
