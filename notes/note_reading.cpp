// Reading note files back: the conversion through the rich-ink window, preview and search.
#include "notes/note_files.h"

#include "notes/note_paths.h"

#include "common/file_helpers.h"

#include <device/dialogs.h>
#include <device/richink.h>

#include <algorithm>
#include <cstring>
#include <vector>

using namespace notes_internal;

namespace {

constexpr WPARAM kDocumentFormat = SF_PWI | SF_RTF;          // 0x10802, stream-in
constexpr WPARAM kUnicodeTextFormat = SF_TEXT | SF_UNICODE;  // 0x11, stream-out

struct ByteSource {
  const BYTE* bytes;
  DWORD count;
  DWORD at;
};

// Hands out the bytes in the pieces the control asks for; 0 bytes once all are given.
DWORD CALLBACK GiveNoteBytes(DWORD_PTR cookie, BYTE* buffer, LONG cb, LONG* pcb) {
  auto* source = reinterpret_cast<ByteSource*>(cookie);
  DWORD n = std::min<DWORD>(static_cast<DWORD>(std::max<LONG>(cb, 0)), source->count - source->at);
  if (n > 0) std::memcpy(buffer, source->bytes + source->at, n);
  source->at += n;
  *pcb = static_cast<LONG>(n);
  return 0;
}

struct ByteSink {
  BYTE* buffer;  // null while only counting
  DWORD room;
  DWORD count;
};

// Counts the bytes the control gives and, with a buffer, keeps as many as fit.
DWORD CALLBACK TakeTextBytes(DWORD_PTR cookie, BYTE* buffer, LONG cb, LONG* pcb) {
  auto* sink = reinterpret_cast<ByteSink*>(cookie);
  auto n = static_cast<DWORD>(std::max<LONG>(cb, 0));
  if (sink->buffer && sink->count < sink->room) {
    std::memcpy(sink->buffer + sink->count, buffer, std::min(n, sink->room - sink->count));
  }
  sink->count += n;
  *pcb = cb;
  return 0;
}

DWORD StreamOut(HWND richInk, ByteSink& sink) {
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&sink), 0, TakeTextBytes};
  SendMessage(richInk, EM_STREAMOUT, kUnicodeTextFormat, reinterpret_cast<LPARAM>(&stream));
  return sink.count;
}

bool HasByteOrderMark(const BYTE* bytes, DWORD count) { return count >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE; }

// The note file format itself, UTF-16LE up to the first zero after the mark.
std::unique_ptr<WCHAR[]> DecodeNoteFile(const BYTE* bytes, DWORD count) {
  DWORD units = (count - 2) / 2;
  auto text = std::make_unique<WCHAR[]>(units + 1);  // zeroed: always terminated
  for (DWORD i = 0; i < units; ++i) {
    auto c = static_cast<WCHAR>(bytes[2 + 2 * i] | (bytes[3 + 2 * i] << 8));
    if (c == 0) break;
    text[i] = c;
  }
  return text;
}

// Whether the bytes hold anything besides a byte-order mark and zeros: a file that does, and
// still gives no text, is one this program cannot read, not an empty note.
bool HoldsContent(const std::vector<std::uint8_t>& bytes) {
  const std::size_t from = HasByteOrderMark(bytes.data(), static_cast<DWORD>(bytes.size())) ? 2 : 0;
  for (std::size_t i = from; i < bytes.size(); ++i)
    if (bytes[i] != 0) return true;
  return false;
}

}  // namespace

std::unique_ptr<WCHAR[]> ConvertNoteBytes(const BYTE* bytes, DWORD byteCount) {
  return ConvertNoteBytes(FindWindow(u"richink", u"rec"), bytes, byteCount);
}

std::unique_ptr<WCHAR[]> ConvertNoteBytes(HWND richInk, const BYTE* bytes, DWORD byteCount) {
  if (!bytes) byteCount = 0;
  // Our own format never depends on the window: without it, the main screen would open a
  // saved note as empty text, and saving that would replace the note with nothing.
  if (HasByteOrderMark(bytes, byteCount)) return DecodeNoteFile(bytes, byteCount);
  if (!richInk || !IsWindow(richInk)) return std::make_unique<WCHAR[]>(1);
  ByteSource source{bytes, byteCount, 0};
  EDITSTREAM in{reinterpret_cast<DWORD_PTR>(&source), 0, GiveNoteBytes};
  SendMessage(richInk, EM_STREAMIN, kDocumentFormat, reinterpret_cast<LPARAM>(&in));
  ByteSink counter{nullptr, 0, 0};
  DWORD count = StreamOut(richInk, counter);
  DWORD units = count / 2 + 1;  // zeroed, with one unit more than the text: the terminator
  auto text = std::make_unique<WCHAR[]>(units);
  ByteSink sink{reinterpret_cast<BYTE*>(text.get()), (units - 1) * 2, 0};
  StreamOut(richInk, sink);
  return text;
}

NoteFileRead ReadNoteFile(LPCWSTR path, std::u16string& text) {
  text.clear();
  std::vector<std::uint8_t> bytes;
  switch (ReadWholeFile(path, bytes)) {
    case ReadResult::Missing: return NoteFileRead::kMissing;
    case ReadResult::Failed: return NoteFileRead::kUnreadable;
    case ReadResult::Ok: break;
  }
  const auto converted = ConvertNoteBytes(bytes.data(), static_cast<DWORD>(bytes.size()));
  text = converted.get();
  return text.empty() && HoldsContent(bytes) ? NoteFileRead::kUnreadable : NoteFileRead::kRead;
}

bool LoadNoteText(HWND owner, LPCWSTR fileName, NoteReadMode mode, LPCWSTR searchText) {
  std::vector<std::uint8_t> bytes;
  if (ReadWholeFile(InFolder(NotesFolder(), View(fileName)).c_str(), bytes) != ReadResult::Ok) return false;
  auto text = ConvertNoteBytes(bytes.data(), static_cast<DWORD>(bytes.size()));
  std::u16string folded = Folded(text.get());
  if (mode == NoteReadMode::kSearch) return folded.find(Folded(View(searchText))) != std::u16string::npos;
  SetDlgItemText(owner, kNotePreviewId, folded.c_str());
  return false;
}
