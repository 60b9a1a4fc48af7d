// Note files as the main screen, the notes list and the folder browser rely on them: the name a
// note gets, the exact bytes on the disk, reading back (also 8-bit files through the rich-ink
// window) for preview and case-insensitive search, listing and counting, and saves that fail or
// meet another note of the same name without losing anything.
#include "notes/note_files.h"

#include "internal/system_classes.h"
#include "settings/settings_store.h"

#include <device/driver.h>
#include <device/edit.h>
#include <device/user.h>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr WCHAR kNotesFolder[] = u"\\My Documents\\Tavrels";

class NoteFilesTest : public ::testing::Test {
 protected:
  device::Driver driver;
  HWND owner = nullptr;
  HWND preview = nullptr;

  NoteFilesTest() {
    // The device image as a first start leaves it, without the shipped program data.
    ::setenv("TAVREL_DATA", (fs::path(driver.DeviceFolder()) / "no-data").c_str(), 1);
    EXPECT_TRUE(device::EnsureDeviceImage());
    std::copy_n(kNotesFolder, std::size(kNotesFolder), TheSettings().directory);
    TheSettings().QuickSave = 1;
    device::internal::RegisterEditClass();
    device::internal::RegisterRichInkClass();
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = u"NotesTestOwner";
    RegisterClass(&wc);
    owner = CreateWindowEx(0, u"NotesTestOwner", u"", WS_POPUP, 0, 0, 240, 320, nullptr, nullptr,
                           nullptr, nullptr);
    preview = CreateWindowEx(0, u"EDIT", u"as before", WS_CHILD | ES_MULTILINE | ES_READONLY, 0, 0,
                             240, 100, owner, reinterpret_cast<HMENU>(kNotePreviewId), nullptr, nullptr);
  }

  ~NoteFilesTest() override { ::unsetenv("TAVREL_DATA"); }

  // The hidden conversion window of the program's start-up.
  HWND CreateRichInkWindow() {
    return CreateWindowEx(0, u"richink", u"rec", 0x800, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
  }

  fs::path Notes() const { return fs::path(driver.DeviceFolder()) / "fs" / "My Documents" / "Tavrels"; }

  static void PutFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }

  static std::string FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // The note file bytes of `text`: mark, UTF-16LE (ASCII here), one 16-bit zero.
  static std::string NoteBytes(const std::string& ascii) {
    std::string bytes("\xFF\xFE", 2);
    for (char c : ascii) bytes += std::string{c, '\0'};
    return bytes + std::string(2, '\0');
  }

  std::set<std::string> NoteFolderEntries() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(Notes())) names.insert(entry.path().filename().string());
    return names;
  }

  std::u16string PreviewText() const { return driver.WindowText(preview); }
};

// Makes every write past `bytes` of a file fail (EFBIG), as a full disk would, until destroyed.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit previous_{};
  void (*previousHandler_)(int) = nullptr;
};

TEST(NoteFileName, TakesFirst22CharactersAndBlanksAllButLettersAndDigits) {
  EXPECT_EQ(NoteFileName(u"abcdefghijklmnopqrstuvwxyzabcd"), u"abcdefghijklmnopqrstuv.pwi");
  EXPECT_EQ(NoteFileName(u"Hi, Bob!"), u"Hi  Bob .pwi");
  EXPECT_EQ(NoteFileName(u"Meeting notes:"), u"Meeting notes .pwi");
  EXPECT_EQ(NoteFileName(u""), u".pwi");
  // Line breaks, separators and wildcards never reach the file system.
  EXPECT_EQ(NoteFileName(u"a\\b/c:d*e?f\"g<h>i|j\r\nk"), u"a b c d e f g h i j  k.pwi");
  EXPECT_EQ(NoteFileName(u"Grüße 2024 Ωμέγα x"), u"Grüße 2024 Ωμέγα x.pwi");
  // A character beyond the BMP is not cut in half: both of its units become spaces.
  EXPECT_EQ(NoteFileName(u"a\U0001F600b"), u"a  b.pwi");
  EXPECT_EQ(NoteFileName(u"0123456789012345678901234"), u"0123456789012345678901.pwi");
}

TEST_F(NoteFilesTest, SavedFileIsMarkTextWithCrLfAndOneZero) {
  ASSERT_TRUE(SaveNote(owner, u"Hi\r\nyou"));
  EXPECT_EQ(FileBytes(Notes() / "Hi  you.pwi"), NoteBytes("Hi\r\nyou"));
  ASSERT_TRUE(SaveNote(owner, u""));
  EXPECT_EQ(FileBytes(Notes() / ".pwi"), std::string("\xFF\xFE\0\0", 4));
  // Nothing but the notes: the scratch file is gone.
  EXPECT_EQ(NoteFolderEntries(), (std::set<std::string>{"Hi  you.pwi", ".pwi"}));
}

TEST_F(NoteFilesTest, MissingNotesFolderIsCreatedOneLevelOnly) {
  fs::remove_all(Notes());
  ASSERT_TRUE(SaveNote(owner, u"first"));
  EXPECT_TRUE(fs::exists(Notes() / "first.pwi"));

  const WCHAR deep[] = u"\\No such\\Notes";
  std::copy_n(deep, std::size(deep), TheSettings().directory);
  EXPECT_FALSE(SaveNote(owner, u"second"));
  EXPECT_FALSE(fs::exists(fs::path(driver.DeviceFolder()) / "fs" / "No such"));
}

TEST_F(NoteFilesTest, NewNoteNeverOverwritesAnotherNoteOfTheSameName) {
  // Two notes that begin with the same 22 characters.
  ASSERT_TRUE(SaveNote(owner, u"Shopping list  milk and more"));
  ASSERT_TRUE(SaveNote(owner, u"Shopping list  milk and less"));
  ASSERT_TRUE(SaveNote(owner, u"Shopping list  milk and again"));
  EXPECT_EQ(FileBytes(Notes() / "Shopping list  milk an.pwi"), NoteBytes("Shopping list  milk and more"));
  EXPECT_EQ(FileBytes(Notes() / "Shopping list  milk an (2).pwi"), NoteBytes("Shopping list  milk and less"));
  EXPECT_EQ(FileBytes(Notes() / "Shopping list  milk an (3).pwi"), NoteBytes("Shopping list  milk and again"));
  // The disk is blind to case, so "PLAN" takes the name of "Plan" and must not replace it.
  ASSERT_TRUE(SaveNote(owner, u"Plan"));
  ASSERT_TRUE(SaveNote(owner, u"PLAN"));
  EXPECT_EQ(FileBytes(Notes() / "Plan.pwi"), NoteBytes("Plan"));
  EXPECT_EQ(FileBytes(Notes() / "PLAN (2).pwi"), NoteBytes("PLAN"));
}

TEST_F(NoteFilesTest, EditedNoteReplacesItsOwnFileOrMovesToItsNewName) {
  PutFile(Notes() / "Plan.pwi", NoteBytes("Plan"));
  PutFile(Notes() / "Other.pwi", NoteBytes("Other"));
  PutFile(Notes() / "Other (2).pwi", NoteBytes("Other too"));

  // Same name: replaced in place, no " (2)".
  ASSERT_TRUE(SaveNote(owner, u"Plan", kEditModeNoteFile, u"\\My Documents\\Tavrels\\Plan.pwi"));
  EXPECT_EQ(FileBytes(Notes() / "Plan.pwi"), NoteBytes("Plan"));
  EXPECT_FALSE(fs::exists(Notes() / "Plan (2).pwi"));

  // A new beginning: the new file is written and the old one goes.
  ASSERT_TRUE(SaveNote(owner, u"Agenda", kEditModeNoteFile, u"\\my documents\\tavrels\\PLAN.pwi"));
  EXPECT_EQ(FileBytes(Notes() / "Agenda.pwi"), NoteBytes("Agenda"));
  EXPECT_FALSE(fs::exists(Notes() / "Plan.pwi"));

  // Renamed onto another note's name: that note stays, and the edited one keeps its own file.
  ASSERT_TRUE(SaveNote(owner, u"Other", kEditModeNoteFile, u"\\My Documents\\Tavrels\\Agenda.pwi"));
  EXPECT_EQ(FileBytes(Notes() / "Other.pwi"), NoteBytes("Other"));
  EXPECT_EQ(FileBytes(Notes() / "Other (2).pwi"), NoteBytes("Other too"));
  EXPECT_EQ(FileBytes(Notes() / "Other (3).pwi"), NoteBytes("Other"));
  ASSERT_TRUE(SaveNote(owner, u"Other", kEditModeNoteFile, u"\\My Documents\\Tavrels\\Other (3).pwi"));
  EXPECT_EQ(NoteFolderEntries(), (std::set<std::string>{"Other.pwi", "Other (2).pwi", "Other (3).pwi"}));

  // Outside the note-file mode the request text is not a path: a new note, nothing deleted.
  ASSERT_TRUE(SaveNote(owner, u"New", 1, u"\\My Documents\\Tavrels\\Other.pwi"));
  EXPECT_TRUE(fs::exists(Notes() / "Other.pwi"));
}

TEST_F(NoteFilesTest, SaveThatFailsPartWayKeepsTheOldNote) {
  std::string oldBytes = NoteBytes("Diary: old words");
  PutFile(Notes() / "Diary  old words.pwi", oldBytes);
  std::u16string longText = u"Diary: ";
  longText.append(2000, u'x');
  {
    FileSizeLimit full(1000);  // the disk fills up half way through the note
    // Same name (written in place, the old note would be cut) and a new name (the old file
    // would be deleted first): both fail and leave the old note as it was.
    EXPECT_FALSE(SaveNote(owner, longText.c_str(), kEditModeNoteFile,
                          u"\\My Documents\\Tavrels\\Diary  old words.pwi"));
    longText[7] = u'y';
    EXPECT_FALSE(SaveNote(owner, (u"New start " + longText).c_str(), kEditModeNoteFile,
                          u"\\My Documents\\Tavrels\\Diary  old words.pwi"));
  }
  EXPECT_EQ(FileBytes(Notes() / "Diary  old words.pwi"), oldBytes);
  EXPECT_EQ(NoteFolderEntries(), (std::set<std::string>{"Diary  old words.pwi"}));
}

TEST_F(NoteFilesTest, SearchIgnoresCaseBothWays) {
  PutFile(Notes() / "a.pwi", NoteBytes("Buy MILK today"));
  PutFile(Notes() / "b.pwi", NoteBytes("call bob"));
  EXPECT_TRUE(LoadNoteText(owner, u"a.pwi", NoteReadMode::kSearch, u"milk"));
  EXPECT_TRUE(LoadNoteText(owner, u"B.PWI", NoteReadMode::kSearch, u"BOB"));
  EXPECT_FALSE(LoadNoteText(owner, u"a.pwi", NoteReadMode::kSearch, u"bob"));
  EXPECT_FALSE(LoadNoteText(owner, u"missing.pwi", NoteReadMode::kSearch, u""));

  NoteList list;
  EXPECT_EQ(ListNoteFiles(owner, u"Milk", list), 1);
  EXPECT_EQ(std::u16string(list[0].name), u"a.pwi");
  EXPECT_EQ(ListNoteFiles(owner, u"zebra", list), 0);
}

TEST_F(NoteFilesTest, PreviewShowsFoldedTextAndStaysOnMissingFile) {
  PutFile(Notes() / "a.pwi", NoteBytes("Hello World"));
  EXPECT_FALSE(LoadNoteText(owner, u"missing.pwi", NoteReadMode::kView));
  EXPECT_EQ(PreviewText(), u"as before");
  EXPECT_FALSE(LoadNoteText(owner, u"a.pwi", NoteReadMode::kView));
  EXPECT_EQ(PreviewText(), u"hello world");
}

TEST_F(NoteFilesTest, EightBitFileIsShownAndSearchedThroughTheRichInkWindow) {
  PutFile(Notes() / "old.pwi", std::string("Caf\xE9 au lait"));  // Windows-1252, no mark
  EXPECT_FALSE(LoadNoteText(owner, u"old.pwi", NoteReadMode::kSearch, u"caf"));  // no window yet
  ASSERT_NE(CreateRichInkWindow(), nullptr);
  EXPECT_TRUE(LoadNoteText(owner, u"old.pwi", NoteReadMode::kSearch, u"CAF\u00C9 AU"));
  LoadNoteText(owner, u"old.pwi", NoteReadMode::kView);
  EXPECT_EQ(PreviewText(), u"caf\u00E9 au lait");
}

TEST_F(NoteFilesTest, ConvertNoteBytesNeedsTheWindowOnlyForForeignFiles) {
  std::string note = NoteBytes("Line\r\nTwo");
  const auto* bytes = reinterpret_cast<const BYTE*>(note.data());
  auto size = static_cast<DWORD>(note.size());
  const auto* utf8 = reinterpret_cast<const BYTE*>("na\xC3\xAFve");
  // A saved note opens for editing even without the window; other files read as empty.
  EXPECT_EQ(std::u16string(ConvertNoteBytes(bytes, size).get()), u"Line\r\nTwo");
  EXPECT_EQ(std::u16string(ConvertNoteBytes(utf8, 6).get()), u"");
  HWND ink = CreateRichInkWindow();
  EXPECT_EQ(std::u16string(ConvertNoteBytes(bytes, size).get()), u"Line\r\nTwo");
  EXPECT_EQ(std::u16string(ConvertNoteBytes(utf8, 6).get()), u"na\u00EFve");
  EXPECT_EQ(std::u16string(ConvertNoteBytes(ink, nullptr, 0).get()), u"");
}

TEST_F(NoteFilesTest, ListingNeedsTheEndingWhileCountingFindsItAnywhere) {
  PutFile(Notes() / "a.pwi", NoteBytes("a"));
  PutFile(Notes() / "B.PWI", NoteBytes("b"));
  PutFile(Notes() / "a.pwi.txt", "x");
  PutFile(Notes() / "readme.txt", "x");
  PutFile(Notes() / "Work" / "c.pwi", NoteBytes("c"));
  PutFile(Notes() / "Work" / "Deep" / "d.pwi", NoteBytes("d"));
  fs::create_directories(Notes() / "Empty");

  NoteList list{NoteFileEntry{u"stale"}};
  ASSERT_EQ(ListNoteFiles(owner, u"", list), 2);
  std::set<std::u16string> listed{list[0].name, list[1].name};
  EXPECT_EQ(listed, (std::set<std::u16string>{u"a.pwi", u"B.PWI"}));

  EXPECT_EQ(CountNoteFiles(owner, kNotesFolder), 5);  // a, B, a.pwi.txt, c, d
  EXPECT_EQ(CountNoteFiles(owner, u"\\No such folder"), 0);

  FolderList folders{FolderEntry{u"stale", 9}};
  ASSERT_EQ(ListSubfolders(owner, kNotesFolder, folders), 2);
  std::map<std::u16string, int> counts;
  for (const FolderEntry& f : folders) counts[f.name] = f.noteCount;
  EXPECT_EQ(counts, (std::map<std::u16string, int>{{u"Work", 2}, {u"Empty", 0}}));
  EXPECT_EQ(ListSubfolders(owner, u"\\My Documents\\Tavrels\\Empty\\", folders), 0);
  EXPECT_TRUE(folders.empty());

  fs::remove_all(Notes());
  EXPECT_EQ(ListNoteFiles(owner, u"", list), 0);
}

}  // namespace

TEST_F(NoteFilesTest, ReadNoteFileTellsANoteFromAFileItCannotRead) {
  std::u16string text = u"stale";
  EXPECT_EQ(ReadNoteFile(u"\\My Documents\\Tavrels\\none.pwi", text), NoteFileRead::kMissing);
  EXPECT_EQ(text, u"");
  PutFile(Notes() / "a.pwi", NoteBytes("Line\r\nTwo"));
  EXPECT_EQ(ReadNoteFile(u"\\My Documents\\Tavrels\\a.pwi", text), NoteFileRead::kRead);
  EXPECT_EQ(text, u"Line\r\nTwo");
  // An empty note (the mark and the zero, or nothing at all) is a note, and empty.
  PutFile(Notes() / "empty.pwi", NoteBytes(""));
  EXPECT_EQ(ReadNoteFile(u"\\My Documents\\Tavrels\\empty.pwi", text), NoteFileRead::kRead);
  PutFile(Notes() / "zero.pwi", "");
  EXPECT_EQ(ReadNoteFile(u"\\My Documents\\Tavrels\\zero.pwi", text), NoteFileRead::kRead);
  // Bytes that give no text: binary data starting with a zero byte, a UTF-8 file while there
  // is no rich-ink window to read it, a folder in the file's place.
  PutFile(Notes() / "binary.pwi", std::string("\0\x07\x08 data", 7));
  EXPECT_EQ(ReadNoteFile(u"\\My Documents\\Tavrels\\binary.pwi", text), NoteFileRead::kUnreadable);
  EXPECT_EQ(text, u"");
  PutFile(Notes() / "utf8.pwi", "na\xC3\xAFve");
  EXPECT_EQ(ReadNoteFile(u"\\My Documents\\Tavrels\\utf8.pwi", text), NoteFileRead::kUnreadable);
  ASSERT_NE(CreateRichInkWindow(), nullptr);
  EXPECT_EQ(ReadNoteFile(u"\\My Documents\\Tavrels\\utf8.pwi", text), NoteFileRead::kRead);
  EXPECT_EQ(text, u"na\u00EFve");
  fs::create_directories(Notes() / "folder.pwi");
  EXPECT_EQ(ReadNoteFile(u"\\My Documents\\Tavrels\\folder.pwi", text), NoteFileRead::kUnreadable);
}
