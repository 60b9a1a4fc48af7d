// Note files as the notes list and the editor open them: bytes with the byte-order mark are
// decoded directly, any other bytes go through the hidden rich-ink window (UTF-8, UTF-16
// without a mark, 8-bit text). The text is always terminated and never longer than the bytes.
#include "notes/note_files.h"

#include "fuzz_device.h"
#include "internal/system_classes.h"

#include <device/user.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

HWND RichInkWindow() {
  static HWND window = [] {
    FuzzDevice();
    device::internal::RegisterRichInkClass();
    return CreateWindowEx(0, u"richink", u"rec", 0x800, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
  }();
  return window;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  HWND richInk = RichInkWindow();
  if (!richInk) std::abort();
  const auto text = ConvertNoteBytes(richInk, data, static_cast<DWORD>(size));
  if (!text || std::char_traits<char16_t>::length(text.get()) > size) std::abort();
  const auto direct = ConvertNoteBytes(data, static_cast<DWORD>(size));
  if (!direct) std::abort();
  return 0;
}
