// Listing the notes of the notes folder, counting notes in a folder tree, and the subfolders
// of a folder with their counts.
#include "notes/note_files.h"

#include "notes/note_paths.h"

using namespace notes_internal;

namespace {

bool IsFolder(const WIN32_FIND_DATAW& entry) { return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

// The device never lists these; skipping them keeps the recursion finite on any platform.
bool IsSelfOrParent(const WIN32_FIND_DATAW& entry) {
  std::u16string_view name(entry.cFileName);
  return name == u"." || name == u"..";
}

// Calls `visit` for each entry that matches `pattern` (a folder and a last component with
// wildcards), in the device's order.
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

int ListNoteFiles(HWND owner, LPCWSTR searchText, NoteList& list) {
  list.clear();
  bool everything = View(searchText).empty();
  ForEachEntry(InFolder(NotesFolder(), u"*.pwi"), [&](const WIN32_FIND_DATAW& entry) {
    // A folder named like a note is not one: it could be neither shown nor opened.
    if (IsFolder(entry)) return;
    if (!everything && !LoadNoteText(owner, entry.cFileName, NoteReadMode::kSearch, searchText)) return;
    NoteFileEntry note;
    CopyBounded(note.name, MAX_PATH, entry.cFileName);
    list.push_back(note);
  });
  return static_cast<int>(list.size());
}

int CountNoteFiles(HWND owner, LPCWSTR folder) {
  std::u16string base(View(folder));
  // No device path is longer; this also ends a descent through a loop of folder links.
  if (base.size() + 2 >= MAX_PATH) return 0;
  int count = 0;
  ForEachEntry(InFolder(base, u"*"), [&](const WIN32_FIND_DATAW& entry) {
    if (IsFolder(entry)) {
      count += CountNoteFiles(owner, InFolder(base, entry.cFileName).c_str());
    } else if (Folded(entry.cFileName).find(kNoteExtension) != std::u16string::npos) {
      // Without regard to case, as the listing's "*.pwi" matches: "A.PWI" is a note too.
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
