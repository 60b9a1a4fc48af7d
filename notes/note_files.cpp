// Note file names and saving (see note_files.h for the format and the saving rules).
#include "notes/note_files.h"

#include "notes/note_paths.h"

#include "common/file_helpers.h"

#include <unicode/uchar.h>

#include <iterator>

using namespace notes_internal;

namespace {

constexpr int kMaxNameSuffix = 9999;  // "<name> (9999).pwi" is the last try

bool IsNameCharacter(WCHAR c) {
  if (c >= u'0' && c <= u'9') return true;
  // Surrogates are not letters here, so a name never holds half a character.
  return u_isalpha(c) || u_isUAlphabetic(c) || u_isupper(c) || u_islower(c);
}

bool Exists(const std::u16string& path) { return PathExists(path.c_str()); }

// The byte-order mark, the text as UTF-16LE and its 16-bit zero.
std::string NoteBytes(std::u16string_view text) {
  std::string bytes("\xFF\xFE", 2);
  bytes.reserve(2 + (text.size() + 1) * 2);
  for (WCHAR c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  bytes.append(2, '\0');
  return bytes;
}

std::u16string DecimalText(int n) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<WCHAR>(u'0' + n % 10));
    n /= 10;
  } while (n > 0);
  return digits;
}

// The first of "<name>.pwi", "<name> (2).pwi", ... that is free or is the note being edited
// (whose own file may be replaced); empty when all are taken.
std::u16string ChooseNotePath(const std::u16string& folder, const std::u16string& name,
                              std::u16string_view editedPath) {
  std::u16string stem = name.substr(0, name.size() - (std::size(kNoteExtension) - 1));
  for (int n = 1; n <= kMaxNameSuffix; ++n) {
    std::u16string candidate = InFolder(folder, n == 1 ? name : stem + u" (" + DecimalText(n) + u")" + kNoteExtension);
    if (!editedPath.empty() && SamePath(candidate, editedPath)) return candidate;
    if (!Exists(candidate)) return candidate;
  }
  return {};
}

// The new file is complete under its final name before the edited note's old file goes, so
// there is no moment without the note on the disk. A missing notes folder is created (one
// level) first.
bool QuickSaveNote(LPCWSTR text, std::u16string_view editedPath) {
  std::u16string folder = NotesFolder();
  if (!Exists(folder)) CreateDirectory(folder.c_str(), nullptr);
  std::u16string target = ChooseNotePath(folder, NoteFileName(text), editedPath);
  const std::string bytes = NoteBytes(View(text));
  if (target.empty() || !ReplaceFileContents(target.c_str(), bytes.data(), bytes.size())) return false;
  if (!editedPath.empty() && !SamePath(target, editedPath)) DeleteFile(std::u16string(editedPath).c_str());
  return true;
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
  // With `Quick save` off a save-file dialog would ask for the name; the device has none, and
  // the setting is forced on whenever settings load, so every note is saved quickly.
  return QuickSaveNote(text, editedPath);
}
