// Note files: naming, saving, reading and converting, listing and counting (see the header).
#include "notes/note_files.h"

#include "prediction/lower_case.h"
#include "settings/settings_store.h"

#include <device/dialogs.h>
#include <device/richink.h>

#include <unicode/uchar.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string_view>

namespace {

constexpr WCHAR kNoteExtension[] = u".pwi";
constexpr WCHAR kScratchName[] = u"~save.tmp";  // '~' never occurs in a note's name
constexpr int kMaxNameSuffix = 9999;           // "<name> (9999).pwi" is the last try
constexpr WPARAM kDocumentFormat = SF_PWI | SF_RTF;       // 0x10802
constexpr WPARAM kUnicodeTextFormat = SF_TEXT | SF_UNICODE;  // 0x11

std::u16string_view View(LPCWSTR text) { return text ? std::u16string_view(text) : std::u16string_view(); }

std::u16string NotesFolder() { return std::u16string(View(TheSettings().directory)); }

std::u16string InFolder(std::u16string_view folder, std::u16string_view name) {
  std::u16string path(folder);
  path += u'\\';
  path += name;
  return path;
}

// Copies at most room - 1 units and always terminates.
void CopyBounded(WCHAR* field, std::size_t room, std::u16string_view text) {
  std::size_t n = std::min(text.size(), room - 1);
  std::copy_n(text.data(), n, field);
  field[n] = 0;
}

bool IsNameCharacter(WCHAR c) {
  if (c >= u'0' && c <= u'9') return true;
  // Surrogates are not letters here, so a name never holds half a character.
  return u_isalpha(c) || u_isUAlphabetic(c) || u_isupper(c) || u_islower(c);
}

// Two paths name the same file when they differ only in case and separators, as the device's
// case-insensitive file system sees them.
std::u16string ComparablePath(std::u16string_view path) {
  std::u16string out;
  for (WCHAR c : path) {
    if (c == u'/') c = u'\\';
    if (c == u'\\' && !out.empty() && out.back() == u'\\') continue;
    out += LowerChar(c);
  }
  while (out.size() > 1 && out.back() == u'\\') out.pop_back();
  return out;
}

bool SamePath(std::u16string_view a, std::u16string_view b) { return ComparablePath(a) == ComparablePath(b); }

bool Exists(const std::u16string& path) { return GetFileAttributes(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// ---- Saving ---------------------------------------------------------------------------

// Creates the scratch file; a missing notes folder is created (one level) and tried once more.
HANDLE CreateScratchFile(const std::u16string& folder, const std::u16string& scratch) {
  HANDLE file = CreateFile(scratch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_PATH_NOT_FOUND) return file;
  CreateDirectory(folder.c_str(), nullptr);
  return CreateFile(scratch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool WriteAll(HANDLE file, const void* bytes, DWORD count) {
  DWORD written = 0;
  return WriteFile(file, bytes, count, &written, nullptr) && written == count;
}

// The byte-order mark, the text as UTF-16LE and its 16-bit zero; flushed so that the rename
// that follows never publishes a file whose bytes are still on their way to the disk.
bool WriteNoteBytes(HANDLE file, std::u16string_view text) {
  std::string bytes("\xFF\xFE", 2);
  bytes.reserve(2 + (text.size() + 1) * 2);
  for (WCHAR c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  bytes.append(2, '\0');
  return WriteAll(file, bytes.data(), static_cast<DWORD>(bytes.size())) && FlushFileBuffers(file);
}

bool WriteScratchFile(const std::u16string& folder, const std::u16string& scratch, std::u16string_view text) {
  HANDLE file = CreateScratchFile(folder, scratch);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool written = WriteNoteBytes(file, text);
  CloseHandle(file);
  if (!written) DeleteFile(scratch.c_str());
  return written;
}

std::u16string DecimalText(int n) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<WCHAR>(u'0' + n % 10));
    n /= 10;
  } while (n > 0);
  return digits;
}

// The first of "<name>.pwi", "<name> (2).pwi", ... that is free or is the note being edited;
// empty when all are taken.
std::u16string ChooseNotePath(const std::u16string& folder, const std::u16string& name,
                              std::u16string_view editedPath) {
  std::u16string stem = name.substr(0, name.size() - (std::size(kNoteExtension) - 1));
  for (int n = 1; n <= kMaxNameSuffix; ++n) {
    std::u16string candidate = InFolder(folder, n == 1 ? name : stem + u" (" + DecimalText(n) + u").pwi");
    if (!editedPath.empty() && SamePath(candidate, editedPath)) return candidate;
    if (!Exists(candidate)) return candidate;
  }
  return {};
}

// Quick save. The new file is complete under its final name before the edited note's old
// file goes, so there is no moment without the note on the disk.
bool QuickSaveNote(std::u16string_view text, std::u16string_view editedPath) {
  std::u16string folder = NotesFolder();
  std::u16string scratch = InFolder(folder, kScratchName);
  if (!WriteScratchFile(folder, scratch, text)) return false;
  std::u16string target = ChooseNotePath(folder, NoteFileName(std::u16string(text).c_str()), editedPath);
  if (target.empty() || !MoveFileEx(scratch.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFile(scratch.c_str());
    return false;
  }
  if (!editedPath.empty() && !SamePath(target, editedPath)) DeleteFile(std::u16string(editedPath).c_str());
  return true;
}

// ---- Reading --------------------------------------------------------------------------

bool ReadWholeFile(const std::u16string& path, std::string& bytes) {
  HANDLE file = CreateFile(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD sizeHigh = 0;
  DWORD size = GetFileSize(file, &sizeHigh);
  bool ok = size != INVALID_FILE_SIZE && sizeHigh == 0;
  DWORD got = 0;
  if (ok) {
    bytes.assign(size, '\0');
    ok = size == 0 || (ReadFile(file, bytes.data(), size, &got, nullptr) && got == size);
  }
  CloseHandle(file);
  return ok;
}

// A file with the byte-order mark is UTF-16LE up to its first zero; any other goes through
// the rich-ink window.
std::u16string NoteText(const std::string& bytes) {
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    std::u16string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      auto c = static_cast<WCHAR>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
      if (c == 0) break;
      text += c;
    }
    return text;
  }
  auto converted = ConvertNoteBytes(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
  return std::u16string(converted.get());
}

std::u16string Folded(std::u16string_view text) {
  std::u16string out(text);
  for (WCHAR& c : out) c = LowerChar(c);
  return out;
}

// ---- Conversion through the rich-ink window ---------------------------------------------

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
  if (sink->buffer) {
    DWORD fit = std::min(n, sink->room - std::min(sink->room, sink->count));
    std::memcpy(sink->buffer + sink->count, buffer, fit);
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

std::unique_ptr<WCHAR[]> EmptyText() {
  auto text = std::make_unique<WCHAR[]>(1);
  text[0] = 0;
  return text;
}

// ---- Listing --------------------------------------------------------------------------

bool IsFolder(const WIN32_FIND_DATAW& entry) { return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

// The device never lists these; skipping them keeps the recursion finite on any platform.
bool IsSelfOrParent(const WIN32_FIND_DATAW& entry) {
  std::u16string_view name(entry.cFileName);
  return name == u"." || name == u"..";
}

// Calls `visit` for each entry of `pattern`'s folder that matches it.
template <typename Visit>
void ForEachEntry(const std::u16string& pattern, Visit visit) {
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFile(pattern.c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (!IsSelfOrParent(entry)) visit(entry);
  } while (FindNextFile(find, &entry));
  FindClose(find);
}

}  // namespace

std::u16string NoteFileName(LPCWSTR text) {
  std::u16string_view source = View(text).substr(0, kNoteNameCharacters);
  std::u16string name;
  for (WCHAR c : source) name += IsNameCharacter(c) ? c : u' ';
  return name + kNoteExtension;
}

bool SaveNote(HWND owner, LPCWSTR text, std::int32_t editMode, LPCWSTR requestText) {
  std::u16string_view editedPath = editMode == kEditModeNoteFile ? View(requestText) : std::u16string_view();
  // The save-file dialog of Quick save off has no stand-in on the device; the setting is
  // forced on whenever settings load, and a note must never be lost, so both save quickly.
  return QuickSaveNote(View(text), editedPath);
}

std::unique_ptr<WCHAR[]> ConvertNoteBytes(const BYTE* bytes, DWORD byteCount) {
  return ConvertNoteBytes(FindWindow(u"richink", u"rec"), bytes, byteCount);
}

std::unique_ptr<WCHAR[]> ConvertNoteBytes(HWND richInk, const BYTE* bytes, DWORD byteCount) {
  if (!richInk || !IsWindow(richInk) || (!bytes && byteCount > 0)) return EmptyText();
  ByteSource source{bytes, byteCount, 0};
  EDITSTREAM in{reinterpret_cast<DWORD_PTR>(&source), 0, GiveNoteBytes};
  SendMessage(richInk, EM_STREAMIN, kDocumentFormat, reinterpret_cast<LPARAM>(&in));
  ByteSink counter{nullptr, 0, 0};
  DWORD count = StreamOut(richInk, counter);
  // Zeroed, with one unit more than the text: the terminator.
  DWORD units = count / 2 + 1;
  auto text = std::make_unique<WCHAR[]>(units);
  ByteSink sink{reinterpret_cast<BYTE*>(text.get()), (units - 1) * 2, 0};
  StreamOut(richInk, sink);
  return text;
}

bool LoadNoteText(HWND owner, LPCWSTR fileName, NoteReadMode mode, LPCWSTR searchText) {
  std::string bytes;
  if (!ReadWholeFile(InFolder(NotesFolder(), View(fileName)), bytes)) return false;
  std::u16string text = Folded(NoteText(bytes));
  if (mode == NoteReadMode::kSearch) return text.find(Folded(View(searchText))) != std::u16string::npos;
  SetDlgItemText(owner, kNotePreviewId, text.c_str());
  return false;
}

int ListNoteFiles(HWND owner, LPCWSTR searchText, NoteList& list) {
  list.clear();
  bool everything = View(searchText).empty();
  ForEachEntry(InFolder(NotesFolder(), u"*.pwi"), [&](const WIN32_FIND_DATAW& entry) {
    if (IsFolder(entry)) return;
    if (!everything && !LoadNoteText(owner, entry.cFileName, NoteReadMode::kSearch, searchText)) return;
    NoteFileEntry note;
    CopyBounded(note.name, MAX_PATH, entry.cFileName);
    list.push_back(note);
  });
  return static_cast<int>(list.size());
}

int CountNoteFiles(HWND owner, LPCWSTR folder) {
  int count = 0;
  std::u16string base(View(folder));
  // No device path is longer; this also ends the descent through a folder link loop.
  if (base.size() + 2 >= MAX_PATH) return 0;
  ForEachEntry(InFolder(base, u"*"), [&](const WIN32_FIND_DATAW& entry) {
    if (IsFolder(entry)) {
      count += CountNoteFiles(owner, InFolder(base, entry.cFileName).c_str());
    } else if (Folded(entry.cFileName).find(kNoteExtension) != std::u16string::npos) {
      // Case-insensitive, as the listing's "*.pwi" is: "A.PWI" is a note too.
      ++count;
    }
  });
  return count;
}

int ListSubfolders(HWND owner, LPCWSTR folder, FolderList& list) {
  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  list.clear();
  std::u16string base(View(folder));
  ForEachEntry(InFolder(base, u"*"), [&](const WIN32_FIND_DATAW& entry) {
    if (!IsFolder(entry)) return;
    FolderEntry sub;
    CopyBounded(sub.name, MAX_PATH, entry.cFileName);
    sub.noteCount = CountNoteFiles(owner, InFolder(base, entry.cFileName).c_str());
    list.push_back(sub);
  });
  SetCursor(previous);
  return static_cast<int>(list.size());
}
