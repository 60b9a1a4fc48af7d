// The device file system: case-insensitive, Unicode device paths on the host, the Win32 error
// codes the programs test for, wildcard searches, atomic replacement for safe saves, the wide
// runtime's line reader, and installing the shipped data into a new device image.
#include <device/files.h>

#include "fresh_device.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class FilesTest : public FreshDevice {
 protected:
  // Writes a host file inside the device image, creating its folders.
  void HostWrite(const fs::path& relative, const std::string& bytes) {
    fs::create_directories((Fs() / relative).parent_path());
    std::ofstream(Fs() / relative, std::ios::binary) << bytes;
  }

  std::string HostRead(const fs::path& relative) {
    std::ifstream in(Fs() / relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  static bool WriteDeviceFile(LPCWSTR path, const std::string& bytes, DWORD disposition = CREATE_ALWAYS) {
    HANDLE file = CreateFile(path, GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    return CloseHandle(file) && ok;
  }

  static std::string ReadDeviceFile(LPCWSTR path) {
    HANDLE file = CreateFile(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD got = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    bytes.resize(got);
    return bytes;
  }

  static std::set<std::u16string> Find(LPCWSTR pattern, bool* sawDirectory = nullptr) {
    std::set<std::u16string> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFile(pattern, &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      names.insert(data.cFileName);
      if (sawDirectory && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) *sawDirectory = true;
    } while (FindNextFile(find, &data));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    FindClose(find);
    return names;
  }
};

TEST_F(FilesTest, DevicePathsIgnoreCaseAndKeepTheHostSpelling) {
  HostWrite("Program Files/Sample/sample.txt", "layout");
  EXPECT_EQ(ReadDeviceFile(u"\\PROGRAM FILES\\sample\\SAMPLE.TXT"), "layout");
  EXPECT_EQ(ReadDeviceFile(u"/program files/Sample/Sample.txt"), "layout");

  // Rewriting under another spelling replaces the same file instead of adding a second one.
  ASSERT_TRUE(WriteDeviceFile(u"\\program files\\SAMPLE\\Sample.TXT", "new"));
  EXPECT_EQ(HostRead("Program Files/Sample/sample.txt"), "new");
  EXPECT_EQ(std::distance(fs::directory_iterator(Fs() / "Program Files/Sample"), fs::directory_iterator()), 1);
}

TEST_F(FilesTest, NonAsciiNamesAreStoredAsUtf8AndMatchIgnoringCase) {
  ASSERT_TRUE(CreateDirectory(u"\\My Documents\\Samples\\Ελληνικά", nullptr));
  ASSERT_TRUE(WriteDeviceFile(u"\\My Documents\\Samples\\Ελληνικά\\Győr ős.pwi", "x"));
  EXPECT_TRUE(fs::exists(Fs() / "My Documents/Samples" / fs::u8path("Ελληνικά") / fs::u8path("Győr ős.pwi")));
  EXPECT_EQ(ReadDeviceFile(u"\\my documents\\samples\\ΕΛΛΗΝΙΚΆ\\GYŐR ŐS.PWI"), "x");
  EXPECT_EQ(Find(u"\\My Documents\\Samples\\ελληνικά\\*"), (std::set<std::u16string>{u"Győr ős.pwi"}));
  // A character outside the basic plane survives the round trip.
  ASSERT_TRUE(WriteDeviceFile(u"\\My Documents\\\U0001F600.pwi", "smile"));
  EXPECT_EQ(Find(u"\\My Documents\\*.pwi"), (std::set<std::u16string>{u"\U0001F600.pwi"}));
}

TEST_F(FilesTest, MissingFilesAndFoldersGiveTheWin32Errors) {
  EXPECT_EQ(CreateFile(u"\\My Documents\\none.pwi", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(CreateFile(u"\\No Folder\\a.pwi", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(GetFileAttributes(u"\\My Documents\\none.pwi"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributes(u"\\my documents"), FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_FALSE(DeleteFile(u"\\My Documents\\none.pwi"));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  WIN32_FIND_DATAW data;
  EXPECT_EQ(FindFirstFile(u"\\No Folder\\*", &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(FindFirstFile(u"\\My Documents\\Samples\\*.pwi", &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  // The dictionary loader's rule: a folder is created only where it did not exist.
  EXPECT_FALSE(CreateDirectory(u"\\My Documents", nullptr));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_FALSE(CreateDirectory(u"\\a\\b", nullptr));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(CreateFile(u"\\bad*name.pwi", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
}

TEST_F(FilesTest, CreationDispositionsBehaveAsOnWin32) {
  const char16_t path[] = u"\\My Documents\\d.bin";
  ASSERT_TRUE(WriteDeviceFile(path, "first", CREATE_NEW));
  EXPECT_FALSE(WriteDeviceFile(path, "again", CREATE_NEW));
  EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);

  HANDLE file = CreateFile(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(SetFilePointer(file, -2, nullptr, FILE_END), 3u);
  DWORD written = 0;
  WriteFile(file, "NCH", 3, &written, nullptr);
  EXPECT_EQ(SetFilePointer(file, 2, nullptr, FILE_BEGIN), 2u);
  EXPECT_TRUE(SetEndOfFile(file));
  EXPECT_EQ(SetFilePointer(file, -3, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
  EXPECT_TRUE(FlushFileBuffers(file));
  CloseHandle(file);
  EXPECT_EQ(ReadDeviceFile(path), "fi");

  HANDLE truncated = CreateFile(path, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, 0, nullptr);
  ASSERT_NE(truncated, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetFileSize(truncated, nullptr), 0u);
  CloseHandle(truncated);
  EXPECT_EQ(CreateFile(u"\\My Documents\\new.bin", GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, 0, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

  // A read at the end succeeds with nothing read; a closed handle is rejected.
  HANDLE reader = CreateFile(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  char byte;
  DWORD got = 7;
  EXPECT_TRUE(ReadFile(reader, &byte, 1, &got, nullptr));
  EXPECT_EQ(got, 0u);
  CloseHandle(reader);
  EXPECT_FALSE(ReadFile(reader, &byte, 1, &got, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

// A note folder holding a.pwi, B.PWI, a.pwi.txt, readme and a subfolder.
TEST_F(FilesTest, WildcardsMatchTheWholeNameIgnoringCase) {
  for (const char* name : {"a.pwi", "B.PWI", "a.pwi.txt", "readme", "ab.pwi"}) HostWrite(fs::path("Notes") / name, "");
  fs::create_directories(Fs() / "Notes" / "sub.pwi");

  bool sawDirectory = false;
  EXPECT_EQ(Find(u"\\notes\\*.pwi", &sawDirectory),
            (std::set<std::u16string>{u"a.pwi", u"B.PWI", u"ab.pwi", u"sub.pwi"}));
  EXPECT_TRUE(sawDirectory);
  EXPECT_EQ(Find(u"\\Notes\\?.pwi"), (std::set<std::u16string>{u"a.pwi", u"B.PWI"}));
  EXPECT_EQ(Find(u"\\Notes\\*"), (std::set<std::u16string>{u"a.pwi", u"B.PWI", u"a.pwi.txt", u"readme", u"ab.pwi",
                                                          u"sub.pwi"}));
  EXPECT_EQ(Find(u"\\Notes\\*.*").size(), 6u);
  EXPECT_EQ(Find(u"\\Notes\\A*T"), (std::set<std::u16string>{u"a.pwi.txt"}));
  EXPECT_EQ(Find(u"\\Notes\\README"), (std::set<std::u16string>{u"readme"}));

  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFile(u"\\Notes\\sub.pwi", &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
  FindClose(find);
}

TEST_F(FilesTest, FindReportsSizeAndDeletingDuringTheWalkIsSafe) {
  HostWrite("Notes/one.pwi", std::string(70000, 'x'));
  HostWrite("Notes/two.pwi", "12");
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFile(u"\\Notes\\*.pwi", &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  int seen = 0;
  do {
    std::u16string name = data.cFileName;
    EXPECT_EQ(data.nFileSizeLow, name == u"one.pwi" ? 70000u : 2u);
    EXPECT_NE(data.ftLastWriteTime.dwHighDateTime, 0u);
    EXPECT_TRUE(DeleteFile((u"\\Notes\\" + name).c_str()));
    ++seen;
  } while (FindNextFile(find, &data));
  FindClose(find);
  EXPECT_EQ(seen, 2);
  EXPECT_TRUE(fs::is_empty(Fs() / "Notes"));
}

TEST_F(FilesTest, MoveFileExReplacesTheTargetAtomically) {
  ASSERT_TRUE(WriteDeviceFile(u"\\My Documents\\db.dat", "old"));
  ASSERT_TRUE(WriteDeviceFile(u"\\My Documents\\db.dat.new", "new"));
  EXPECT_FALSE(MoveFile(u"\\My Documents\\db.dat.new", u"\\My Documents\\db.dat"));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(ReadDeviceFile(u"\\My Documents\\db.dat"), "old");

  // The target keeps its inode until the rename: a reader that opened it still sees "old".
  std::ifstream reader(Fs() / "My Documents/db.dat", std::ios::binary);
  ASSERT_TRUE(MoveFileEx(u"\\My Documents\\DB.DAT.NEW", u"\\my documents\\DB.DAT", MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), {}), "old");
  EXPECT_EQ(HostRead("My Documents/db.dat"), "new");
  EXPECT_EQ(GetFileAttributes(u"\\My Documents\\db.dat.new"), INVALID_FILE_ATTRIBUTES);

  // A change of case only renames the file.
  ASSERT_TRUE(MoveFile(u"\\My Documents\\db.dat", u"\\My Documents\\DB.Dat"));
  EXPECT_EQ(Find(u"\\My Documents\\*"), (std::set<std::u16string>{u"DB.Dat", u"Samples"}));
}

TEST_F(FilesTest, GetTempFileNameCreatesANewEmptyFileEachTimeAndNeverReusesAName) {
  WCHAR first[MAX_PATH] = {};
  WCHAR second[MAX_PATH] = {};
  const UINT a = GetTempFileName(u"\\My Documents", u"~save", 0, first);
  const UINT b = GetTempFileName(u"\\My Documents", u"~save", 0, second);
  ASSERT_NE(a, 0u);
  ASSERT_NE(b, 0u);
  EXPECT_NE(std::u16string(first), std::u16string(second));
  // Three characters of the prefix, the number in hexadecimal, ".TMP".
  const std::u16string name(first);
  EXPECT_EQ(name.rfind(u"\\My Documents\\~sa", 0), 0u);
  EXPECT_EQ(name.substr(name.size() - 4), u".TMP");
  EXPECT_EQ(ReadDeviceFile(first), "");
  EXPECT_EQ(ReadDeviceFile(second), "");

  // Names taken by other files are skipped, never truncated: the numbers after the last one
  // (where the next search would go on) hold files of their own.
  std::vector<std::u16string> taken;
  for (UINT n = 1; n <= 3; ++n) {
    WCHAR path[MAX_PATH] = {};
    const UINT number = (b + n - 1) % 0xFFFF + 1;  // the search wraps from 0xFFFF to 1
    ASSERT_EQ(GetTempFileName(u"\\My Documents", u"~save", number, path), number);
    EXPECT_EQ(GetFileAttributes(path), INVALID_FILE_ATTRIBUTES);  // a given number makes no file
    ASSERT_TRUE(WriteDeviceFile(path, "keep"));
    taken.push_back(path);
  }
  for (int i = 0; i < 4; ++i) {
    WCHAR more[MAX_PATH] = {};
    ASSERT_NE(GetTempFileName(u"\\My Documents", u"~save", 0, more), 0u);
    EXPECT_EQ(std::count(taken.begin(), taken.end(), std::u16string(more)), 0);
  }
  for (const std::u16string& path : taken) EXPECT_EQ(ReadDeviceFile(path.c_str()), "keep");
}

TEST_F(FilesTest, GetTempFileNameFailsForAMissingFolderOrATooLongPath) {
  WCHAR name[MAX_PATH] = {};
  EXPECT_EQ(GetTempFileName(u"\\No such folder", u"~sv", 0, name), 0u);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  const std::u16string longFolder = u"\\" + std::u16string(MAX_PATH - 10, u'a');
  EXPECT_EQ(GetTempFileName(longFolder.c_str(), u"~sv", 0, name), 0u);
  EXPECT_EQ(GetLastError(), ERROR_BUFFER_OVERFLOW);
}

TEST_F(FilesTest, CopyAndRemoveDirectory) {
  ASSERT_TRUE(WriteDeviceFile(u"\\My Documents\\a.txt", "abc"));
  EXPECT_TRUE(CopyFile(u"\\My Documents\\a.txt", u"\\My Documents\\Samples\\b.txt", TRUE));
  EXPECT_FALSE(CopyFile(u"\\My Documents\\a.txt", u"\\My Documents\\Samples\\B.TXT", TRUE));
  EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
  EXPECT_EQ(ReadDeviceFile(u"\\My Documents\\Samples\\b.txt"), "abc");
  EXPECT_FALSE(RemoveDirectory(u"\\My Documents\\Samples"));
  EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
  EXPECT_TRUE(DeleteFile(u"\\My Documents\\Samples\\b.txt"));
  EXPECT_TRUE(RemoveDirectory(u"\\My Documents\\SAMPLES"));
  EXPECT_EQ(GetFileAttributes(u"\\My Documents\\Samples"), INVALID_FILE_ATTRIBUTES);
}

TEST_F(FilesTest, StreamsReadBytesAndUtf16Lines) {
  // "a b\r\n", "ő x\r\n", "last" in UTF-16LE with a byte-order mark.
  std::u16string text = u"a b\r\nő x\r\nlast";
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  HostWrite("english/phrases.dat", bytes);

  for (const char16_t* mode : {u"rt,ccs=UTF-16LE", u"r, ccs=UNICODE"}) {
    DEVICE_FILE* file = _wfopen(u"\\English\\Phrases.dat", mode);
    ASSERT_NE(file, nullptr);
    WCHAR line[256];
    ASSERT_NE(fgetws(line, 256, file), nullptr);
    EXPECT_EQ(std::u16string(line), u"a b\n");
    ASSERT_NE(fgetws(line, 256, file), nullptr);
    EXPECT_EQ(std::u16string(line), u"ő x\n");
    // A short buffer reads the line in pieces.
    ASSERT_NE(fgetws(line, 3, file), nullptr);
    EXPECT_EQ(std::u16string(line), u"la");
    ASSERT_NE(fgetws(line, 256, file), nullptr);
    EXPECT_EQ(std::u16string(line), u"st");
    EXPECT_EQ(fgetws(line, 256, file), nullptr);
    EXPECT_TRUE(feof(file));
    fclose(file);
  }

  // Binary reads see every byte, mark included.
  DEVICE_FILE* raw = _wfopen(u"\\english\\phrases.dat", u"rb");
  ASSERT_NE(raw, nullptr);
  ASSERT_EQ(fseek(raw, 0, SEEK_END), 0);
  EXPECT_EQ(ftell(raw), static_cast<long>(bytes.size()));
  fseek(raw, 0, SEEK_SET);
  std::string head(4, '\0');
  EXPECT_EQ(fread(head.data(), 1, 4, raw), 4u);
  EXPECT_EQ(head, bytes.substr(0, 4));
  fclose(raw);
}

TEST_F(FilesTest, StreamsWithoutAMarkReadUtf8AndWriteBytes) {
  DEVICE_FILE* out = _wfopen(u"\\My Documents\\pairs.txt", u"wb");
  ASSERT_NE(out, nullptr);
  const std::string utf8 = "thank you\r\n\xC5\x91r \xF0\x9F\x98\x80\n\xFFx";
  EXPECT_EQ(fwrite(utf8.data(), 1, utf8.size(), out), utf8.size());
  fclose(out);

  DEVICE_FILE* in = _wfopen(u"\\My Documents\\pairs.txt", u"r,ccs=UNICODE");
  ASSERT_NE(in, nullptr);
  WCHAR line[64];
  ASSERT_NE(fgetws(line, 64, in), nullptr);
  EXPECT_EQ(std::u16string(line), u"thank you\n");
  ASSERT_NE(fgetws(line, 64, in), nullptr);
  EXPECT_EQ(std::u16string(line), u"őr \U0001F600\n");
  ASSERT_NE(fgetws(line, 64, in), nullptr);
  EXPECT_EQ(std::u16string(line), u"\uFFFDx");
  fclose(in);

  EXPECT_EQ(_wfopen(u"\\My Documents\\missing.txt", u"r"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(_wfopen(u"\\No Folder\\x.txt", u"w"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(FilesTest, DeviceImageInstallsTheShippedDataOnce) {
  fs::path data = root_ / "shipped";
  fs::create_directories(data / "english");
  fs::create_directories(data / "gx");
  std::ofstream(data / "sample.txt") << "languages";
  std::ofstream(data / "english" / "db.dat") << "shipped words";
  std::ofstream(data / "gx" / "keys.png") << "png";
  ::setenv("SAMPLE_DATA", data.c_str(), 1);

  // Without sample.txt the data is installed, keeping a learned dictionary.
  HostWrite("Program Files/Sample/english/db.dat", "learned words");
  ASSERT_TRUE(device::EnsureDeviceImage());
  EXPECT_EQ(ReadDeviceFile(u"\\Program Files\\Sample\\sample.txt"), "languages");
  EXPECT_EQ(ReadDeviceFile(u"\\Program Files\\Sample\\gx\\keys.png"), "png");
  EXPECT_EQ(ReadDeviceFile(u"\\Program Files\\Sample\\english\\db.dat"), "learned words");

  // With sample.txt present nothing is copied again.
  std::ofstream(data / "gx" / "more.png") << "png";
  ASSERT_TRUE(device::EnsureDeviceImage());
  EXPECT_EQ(GetFileAttributes(u"\\Program Files\\Sample\\gx\\more.png"), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(fs::exists(root_ / "registry.sqlite"));
  EXPECT_EQ(GetFileAttributes(u"\\My Documents\\Samples"), FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace
