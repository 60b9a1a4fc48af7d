// The one way files are read and saved: whole reads that tell a missing file from a failed
// one, and replacement that never leaves a half-written target or a temporary file behind.
#include "common/file_helpers.h"

#include "../prediction/device_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

namespace {

class FileHelpers : public DeviceImageTest {
 protected:
  // The tests write into the notes folder, which only an installed program's image is given.
  void SetUp() override {
    DeviceImageTest::SetUp();
    CreateDirectory(u"\\My Documents", nullptr);
    CreateDirectory(u"\\My Documents\\Tavrels", nullptr);
  }
  void TearDown() override {
    SetWriteFunctionForTesting(nullptr);
    DeviceImageTest::TearDown();
  }
};

// Writes the first byte of the first request, then fails: a disk that fills up mid-save.
BOOL FailAfterOneByte(HANDLE file, const void* buffer, DWORD size, DWORD* written, void*) {
  WriteFile(file, buffer, size > 0 ? 1 : 0, written, nullptr);
  *written = 0;
  return FALSE;
}

}  // namespace

TEST_F(FileHelpers, ReadWholeFileTellsMissingFromFailed) {
  Bytes bytes{1, 2, 3};
  EXPECT_EQ(ReadWholeFile(u"\\My Documents\\none.txt", bytes), ReadResult::Missing);
  EXPECT_TRUE(bytes.empty());
  EXPECT_EQ(ReadWholeFile(u"\\No folder\\none.txt", bytes), ReadResult::Missing);
  EXPECT_EQ(ReadWholeFile(u"\\My Documents", bytes), ReadResult::Failed);  // a folder is no file
  WriteDeviceFile(u"\\My Documents\\empty.txt", {});
  EXPECT_EQ(ReadWholeFile(u"\\My Documents\\empty.txt", bytes), ReadResult::Ok);
  EXPECT_TRUE(bytes.empty());
}

TEST_F(FileHelpers, ReplaceCreatesOrReplacesAndLeavesOnlyTheTarget) {
  const Bytes first{'o', 'n', 'e'}, second(70000, 'x');
  ASSERT_TRUE(ReplaceFileContents(u"\\My Documents\\Tavrels\\a.bin", first.data(), first.size()));
  ASSERT_TRUE(ReplaceFileContents(u"\\My Documents\\Tavrels\\A.BIN", second.data(), second.size()));
  Bytes read;
  ASSERT_EQ(ReadWholeFile(u"\\My Documents\\Tavrels\\a.bin", read), ReadResult::Ok);
  EXPECT_EQ(read, second);
  EXPECT_EQ(Names(u"\\My Documents\\Tavrels\\*"), std::vector<std::u16string>{u"a.bin"});
  // A file in the root folder, whose path has one backslash only.
  ASSERT_TRUE(ReplaceFileContents(u"\\root.bin", first.data(), first.size()));
  EXPECT_EQ(ReadDeviceFile(u"\\root.bin"), first);
}

TEST_F(FileHelpers, AFailedReplaceKeepsTheOldFileAndRemovesItsTemporaryFile) {
  const Bytes old{'o', 'l', 'd'}, fresh(1000, 'n');
  ASSERT_TRUE(ReplaceFileContents(u"\\My Documents\\Tavrels\\a.bin", old.data(), old.size()));
  SetWriteFunctionForTesting(FailAfterOneByte);
  EXPECT_FALSE(ReplaceFileContents(u"\\My Documents\\Tavrels\\a.bin", fresh.data(), fresh.size()));
  EXPECT_EQ(ReadDeviceFile(u"\\My Documents\\Tavrels\\a.bin"), old);
  EXPECT_EQ(Names(u"\\My Documents\\Tavrels\\*"), std::vector<std::u16string>{u"a.bin"});
  SetWriteFunctionForTesting(nullptr);
  EXPECT_FALSE(ReplaceFileContents(u"\\No folder\\a.bin", fresh.data(), fresh.size()));
  EXPECT_FALSE(PathExists(u"\\No folder"));
}

// Each step of a save failing once: before the rename the old file survives whole; a folder
// sync failing after the rename leaves the whole new file; never a mix, never a temporary file
// left behind, and the next save works.
TEST_F(FileHelpers, EachSaveStepFailingOnceLeavesTheOldOrTheWholeNewFile) {
  const WCHAR* path = u"\\My Documents\\Tavrels\\a.bin";
  const Bytes old(5000, 'o'), fresh(9000, 'n');
  for (SaveStep step : {SaveStep::Write, SaveStep::Flush, SaveStep::Rename, SaveStep::FolderSync}) {
    ASSERT_TRUE(ReplaceFileContents(path, old.data(), old.size()));
    FailSaveStepOnceForTesting(step);
    EXPECT_FALSE(ReplaceFileContents(path, fresh.data(), fresh.size())) << static_cast<int>(step);
    EXPECT_EQ(ReadDeviceFile(path), step == SaveStep::FolderSync ? fresh : old) << static_cast<int>(step);
    EXPECT_EQ(Names(u"\\My Documents\\Tavrels\\*"), std::vector<std::u16string>{u"a.bin"});
    EXPECT_TRUE(ReplaceFileContents(path, fresh.data(), fresh.size())) << "the fault fires once";
    EXPECT_EQ(ReadDeviceFile(path), fresh);
  }
}

TEST_F(FileHelpers, FileHandleClosesWhatItOwns) {
  HANDLE raw = CreateFile(u"\\My Documents\\h.bin", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(raw, INVALID_HANDLE_VALUE);
  {
    FileHandle owner(raw);
    FileHandle moved(std::move(owner));
    EXPECT_FALSE(owner.IsOpen());
    EXPECT_TRUE(moved.IsOpen());
  }
  DWORD written = 0;
  EXPECT_FALSE(WriteFile(raw, "x", 1, &written, nullptr)) << "the handle was closed with its owner";
  EXPECT_EQ(FolderOf(u"\\My Documents\\h.bin"), u"\\My Documents");
  EXPECT_EQ(FolderOf(u"nofolder"), u"");
}
