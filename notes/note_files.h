// Note files: the `.pwi` format, the name a note is saved under, saving, reading back for
// preview and search, listing the notes of the `NotesFolder`, and counting notes in a tree.
//
// A note file is the bytes 0xFF 0xFE, the note's UTF-16LE code units exactly as the editor
// holds them (line breaks CR LF), and one 16-bit zero. Files without that byte-order mark are
// read through the hidden rich-ink window (class "richink", title "rec"), which also takes
// UTF-8 and 8-bit text; without that window they read as empty text.
//
// The `NotesFolder` is the setting `directory` (TheSettings().directory). All calls go through
// the device file API and run on the user-interface thread.
//
// Where saving differs from simply creating the file and writing it:
// - A note is written beside its final name (a temporary file of its own in the notes folder,
//   common/file_helpers.h), flushed, and then renamed over the final name in one atomic step,
//   so a crash or a full disk in the middle of a save never leaves a truncated note or loses
//   the previous one, and two programs saving at once never mix their bytes.
// - Quick save never overwrites a different note: when the name is taken, the note is saved as
//   "<name> (2).pwi", "<name> (3).pwi", ... A note being edited replaces its own file.
// - Saving an edited note writes the new file first and deletes the old one only after the
//   new one is complete, and only when the name changed; a failed save keeps the old note.
#pragma once

#include <device/files.h>
#include <device/user.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

constexpr int kNotePreviewId = 1057;  // the notes list's read-only preview control
constexpr int kNoteNameCharacters = 22;  // characters of the note text that name its file

// `EditMode` value under which the main screen edits an existing note file.
constexpr std::int32_t kEditModeNoteFile = 3;

// One entry of the note list: a file name in a fixed field.
struct NoteFileEntry {
  WCHAR name[MAX_PATH];
};
using NoteList = std::vector<NoteFileEntry>;

// One entry of the folder list: a direct subfolder and the notes in its tree.
struct FolderEntry {
  WCHAR name[MAX_PATH];
  std::int32_t noteCount;
};
using FolderList = std::vector<FolderEntry>;

enum class NoteReadMode { kView, kSearch };

// What reading a note file for editing found.
enum class NoteFileRead {
  kRead,        // the text is the note's (possibly empty: a file holding only the mark)
  kMissing,     // no such file: the note starts empty
  kUnreadable,  // the file is there but gave no text: it must never be saved over or deleted
};

// What the main screen tells the user when a note it opened could not be read and "Save" is
// pressed, and when a save fails. Both boxes carry the caption kNoteMessageCaption.
constexpr WCHAR kNoteMessageCaption[] = u"tavrel";
constexpr WCHAR kNoteUnreadableMessage[] = u"This note could not be read; it was not changed.";
constexpr WCHAR kNoteNotSavedMessage[] =
    u"This note could not be saved. Press Save to try again, or Back to leave it unsaved.";

// The file name of a note: the first 22 characters of `text` (fewer when it is shorter), each
// letter (any script, either case) and each digit '0'..'9' kept and every other character
// replaced by a space, then ".pwi". Nothing is trimmed: "Hi, Bob!" gives "Hi  Bob .pwi" and
// the empty note ".pwi". Only letters, digits and spaces reach the name, so it never holds a
// path separator, a wildcard or any character a file name may not hold.
std::u16string NoteFileName(LPCWSTR text);

// Saves `text` (zero-terminated, the editor's whole text) as a note file in the `NotesFolder`.
// `editMode` is the main screen's `EditMode`; with `kEditModeNoteFile` (3) `requestText` is the
// EditRequest's text, the full path of the note being edited, whose file is replaced by this
// save (or deleted after it, when the note's name changed). In every other mode `requestText`
// is ignored and the note is new. Quick save (the setting `Quick save`, always 1 once settings
// are loaded) names the file with NoteFileName; the notes folder is created (one level) when
// it is missing. With `Quick save` off the note is saved quickly as well: the device has no
// save-file dialog, and the setting never stays off. Returns whether the note is saved; on
// failure every existing file is as before. The main screen calls this instead of deleting
// the edited file itself.
bool SaveNote(HWND owner, LPCWSTR text, std::int32_t editMode = 0, LPCWSTR requestText = nullptr);

// The note file bytes as text. Bytes with the byte-order mark are the note format itself and
// are decoded here (the rich-ink window would give the same text), so a saved note opens even
// without that window; any other bytes go through the hidden rich-ink window (found as
// FindWindow(u"richink", u"rec"), or the one given), which reads UTF-8 and 8-bit text. Never
// null: without the window such bytes give empty text. Zero-terminated; the caller owns it.
std::unique_ptr<WCHAR[]> ConvertNoteBytes(const BYTE* bytes, DWORD byteCount);
std::unique_ptr<WCHAR[]> ConvertNoteBytes(HWND richInk, const BYTE* bytes, DWORD byteCount);

// Reads the note file at the full device path `path` for editing into `text`. A file that
// could not be read, or whose bytes hold something but convert to no text (binary data, an
// encoding the converter does not know, no rich-ink window for a file without the mark), is
// kUnreadable and `text` is empty.
NoteFileRead ReadNoteFile(LPCWSTR path, std::u16string& text);

// Reads `NotesFolder` + "\" + `fileName` and folds it to lower case. View mode: the text goes
// into the owner's preview control (kNotePreviewId) and the result is false. Search mode: true
// when the folded text contains the folded `searchText` (so the search ignores case; an empty
// search text is found in every note). A missing or unreadable file gives false and leaves the
// preview as it was.
bool LoadNoteText(HWND owner, LPCWSTR fileName, NoteReadMode mode, LPCWSTR searchText = nullptr);

// Refills `list` with the names of the notes folder's files matching "*.pwi" (one level, in
// the order the device lists them); with a non-empty `searchText` only the notes that contain
// it (LoadNoteText in search mode). Returns the count.
int ListNoteFiles(HWND owner, LPCWSTR searchText, NoteList& list);

// The number of files in `folder` and all its subfolders whose names contain ".pwi" anywhere
// (so "a.pwi.txt" counts, although ListNoteFiles would not list it). A folder that cannot be
// read counts 0.
int CountNoteFiles(HWND owner, LPCWSTR folder);

// Refills `list` with the direct subfolders of `folder`, each with its CountNoteFiles, in the
// order the device lists them, showing the wait cursor meanwhile. Returns the count.
int ListSubfolders(HWND owner, LPCWSTR folder, FolderList& list);
