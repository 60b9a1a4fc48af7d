// OutputDebugString: the host's debugger output is the process's standard error.
#include <device/kernel.h>

#include "internal/wide_text.h"

#include <cstdio>
#include <string>

namespace {

// The text with each unpaired surrogate replaced by U+FFFD, so it always converts.
std::u16string WithoutBrokenPairs(std::u16string_view text) {
  std::u16string fixed(text);
  for (std::size_t i = 0; i < fixed.size(); ++i) {
    const char16_t c = fixed[i];
    const bool lead = c >= 0xD800 && c < 0xDC00, trail = c >= 0xDC00 && c < 0xE000;
    if (lead && i + 1 < fixed.size() && fixed[i + 1] >= 0xDC00 && fixed[i + 1] < 0xE000) {
      ++i;
    } else if (lead || trail) {
      fixed[i] = 0xFFFD;
    }
  }
  return fixed;
}

}  // namespace

void OutputDebugString(LPCWSTR text) {
  if (text == nullptr) return;
  std::string bytes;
  device::internal::Utf16ToUtf8(WithoutBrokenPairs(text), bytes);
  std::fputs(bytes.c_str(), stderr);
  std::fflush(stderr);
}
