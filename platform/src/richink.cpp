// The "richink" window class: the built-in stand-in for the device's rich-ink control, which
// the note-taker creates hidden (title "rec") to convert note files to text.
//
// Implemented: EM_STREAMIN with SF_PWI (UTF-16LE with byte-order mark, UTF-8, or
// Windows-1252 text; see <device/richink.h>), EM_STREAMOUT with SF_TEXT | SF_UNICODE.
// Not implemented: other stream formats, SFF_SELECTION, ink, drawing of the document (the
// programs keep the window hidden), editing, and every other EM_ message.
// The document is kept apart from the window text, so the window keeps its title "rec" and
// stays findable by it after any stream.
#include "internal/ink_document.h"
#include "internal/system_classes.h"

#include <device/richink.h>

#include <algorithm>
#include <string>

namespace device::internal {

namespace {

constexpr LONG kStreamPiece = 4096;  // bytes handed to a callback at a time, as Win32 does

struct RichInkState {
  std::u16string document;  // the text, without byte-order mark or terminator
};

// The state hangs off the class's extra bytes; GWL_USERDATA stays the program's.
RichInkState* StateOf(HWND hwnd) { return reinterpret_cast<RichInkState*>(GetWindowLong(hwnd, 0)); }

bool IsDocumentFormat(WPARAM format) { return (format & SF_PWI) == SF_PWI; }
bool IsUnicodeTextFormat(WPARAM format) { return format == (SF_TEXT | SF_UNICODE); }

LRESULT OnCreate(HWND hwnd) {
  SetWindowLong(hwnd, 0, reinterpret_cast<LONG_PTR>(new RichInkState));
  return 0;
}

LRESULT OnNcDestroy(HWND hwnd) {
  delete StateOf(hwnd);
  SetWindowLong(hwnd, 0, 0);
  return 0;
}

// Pulls every byte from the callback; false when the callback reported an error.
bool ReadStream(EDITSTREAM& stream, std::string& bytes) {
  char piece[kStreamPiece];
  for (;;) {
    LONG got = 0;
    DWORD error = stream.pfnCallback(stream.dwCookie, reinterpret_cast<BYTE*>(piece), kStreamPiece, &got);
    if (error != 0) {
      stream.dwError = error;
      return false;
    }
    if (got <= 0) return true;
    bytes.append(piece, static_cast<std::size_t>(std::min(got, kStreamPiece)));
  }
}

LRESULT OnStreamIn(RichInkState& s, WPARAM format, EDITSTREAM* stream) {
  if (!stream || !stream->pfnCallback || !IsDocumentFormat(format)) return 0;
  stream->dwError = 0;
  std::string bytes;
  // A failed stream leaves the document as it was rather than half replaced.
  if (!ReadStream(*stream, bytes)) return 0;
  s.document = DecodeInkDocument(bytes);
  return static_cast<LRESULT>(s.document.size());
}

// Offers the bytes piece by piece; returns how many the callback took.
std::size_t WriteStream(EDITSTREAM& stream, const std::u16string& text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    LONG offer = static_cast<LONG>(std::min<std::size_t>(kStreamPiece, bytes.size() - sent));
    LONG took = 0;
    DWORD error = stream.pfnCallback(stream.dwCookie, reinterpret_cast<BYTE*>(bytes.data() + sent), offer, &took);
    if (error != 0) {
      stream.dwError = error;
      break;
    }
    sent += static_cast<std::size_t>(std::clamp<LONG>(took, 0, offer));
    if (took != offer) break;
  }
  return sent;
}

LRESULT OnStreamOut(const RichInkState& s, WPARAM format, EDITSTREAM* stream) {
  if (!stream || !stream->pfnCallback || !IsUnicodeTextFormat(format)) return 0;
  stream->dwError = 0;
  return static_cast<LRESULT>(WriteStream(*stream, s.document) / 2);
}

LRESULT CALLBACK RichInkWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  RichInkState* s = StateOf(hwnd);
  auto* stream = reinterpret_cast<EDITSTREAM*>(lParam);
  switch (msg) {
    case WM_CREATE: return OnCreate(hwnd);
    case WM_NCDESTROY: return OnNcDestroy(hwnd);
    case EM_STREAMIN: return s ? OnStreamIn(*s, wParam, stream) : 0;
    case EM_STREAMOUT: return s ? OnStreamOut(*s, wParam, stream) : 0;
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

void RegisterRichInkClass() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = RichInkWndProc;
  wc.cbWndExtra = sizeof(RichInkState*);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = u"richink";
  RegisterClass(&wc);  // refused, harmlessly, when already registered
}

}  // namespace device::internal
