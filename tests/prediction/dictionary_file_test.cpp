#include "prediction/dictionary_file.h"
#include "prediction/zlib_stream.h"

#include "common/file_helpers.h"

#include "device_image.h"
#include "test_words.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <zlib.h>

using Bytes = std::vector<std::uint8_t>;
using Counted = std::vector<std::pair<std::u16string, int>>;

namespace {

Bytes Payload(const Bytes& file) {
  const std::uint32_t length = file[0] | (file[1] << 8) | (file[2] << 16) | (std::uint32_t(file[3]) << 24);
  Bytes payload(length);
  uLongf size = length;
  EXPECT_EQ(uncompress(payload.data(), &size, file.data() + 4, file.size() - 4), Z_OK);
  EXPECT_EQ(size, length);
  return payload;
}

// A file made of a stated length and the zlib stream of `payload` (any level).
Bytes FileOf(const Bytes& payload, std::uint32_t statedLength) {
  Bytes file(4 + compressBound(payload.size()));
  for (int i = 0; i < 4; ++i) file[i] = static_cast<std::uint8_t>(statedLength >> (8 * i));
  uLongf size = file.size() - 4;
  compress2(file.data() + 4, &size, payload.data(), payload.size(), 3);
  file.resize(4 + size);
  return file;
}

Bytes FileOf(const Bytes& payload) { return FileOf(payload, static_cast<std::uint32_t>(payload.size())); }

bool Parse(const Bytes& file, WordDictionary& d) { return ParseWordDictionaryFile(file.data(), file.size(), d); }

}  // namespace

TEST(DictionaryFile, EmptyDictionaryIsLengthFourAndAnEmptyRecordList) {
  WordDictionary d;
  const Bytes file = BuildWordDictionaryFile(d, 0);
  ASSERT_GT(file.size(), 6u);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 4), (Bytes{4, 0, 0, 0}));
  EXPECT_EQ(file[4], 0x78);  // zlib header (RFC 1950), deflate with a 32K window
  EXPECT_EQ(Payload(file), (Bytes{0, 0, 0, 0}));
}

TEST(DictionaryFile, FilesBelowTheTwoThreadThresholdAreCompressedAtLevelThree) {
  WordDictionary d;
  for (int i = 0; i < 3000; ++i) Learn(d, u"word" + std::u16string(1, char16_t(u'a' + i % 26)) + std::u16string(i % 11, u'q'));
  const Bytes file = BuildWordDictionaryFile(d, 0);
  const Bytes payload = Payload(file);
  ASSERT_LT(payload.size(), kParallelCompressionThreshold);
  // The header's second byte names the level class: 0x5E is levels 2 to 5 (0x9C would be the
  // default 6, 0xDA level 9, 0x01 level 1); and the stream is exactly zlib's at level 3.
  EXPECT_EQ(file[5], 0x5E);
  Bytes expected(compressBound(payload.size()));
  uLongf size = expected.size();
  ASSERT_EQ(compress2(expected.data(), &size, payload.data(), payload.size(), 3), Z_OK);
  expected.resize(size);
  EXPECT_EQ(Bytes(file.begin() + 4, file.end()), expected);
}

TEST(DictionaryFile, RecordsAreByteExact) {
  WordDictionary d;
  Store(d, {{u"the", 3}, {u"then", 1}});
  const Bytes file = BuildWordDictionaryFile(d, 0);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 4), (Bytes{24, 0, 0, 0}));
  EXPECT_EQ((file[4] * 256 + file[5]) % 31, 0);  // a valid zlib header check
  EXPECT_EQ(Payload(file), (Bytes{2, 0, 0, 0,                                          //
                                  3, 0, 3, 't', 0, 'h', 0, 'e', 0,                     //
                                  1, 0, 4, 't', 0, 'h', 0, 'e', 0, 'n', 0}));
}

TEST(DictionaryFile, BucketsAreWrittenInOrderAndReloadIdentically) {
  WordDictionary d;
  Store(d, {{u"zebra", 2}, {u"apple", 5}, {u"\u00e9t\u00e9", 7}, {u"axe", 1}, {u"Upper", 4}, {u"zoo", 70000}});
  const Bytes file = BuildWordDictionaryFile(d, 0);
  // Bucket 1 ('a') comes before bucket 26 ('z'); within a bucket, stored order.
  const Bytes payload = Payload(file);
  EXPECT_EQ(payload[4 + 3], 'a');
  WordDictionary reloaded;
  ASSERT_TRUE(Parse(file, reloaded));
  for (int b = 0; b < kBucketCount; ++b) {
    Counted expected = Bucket(d, b);
    for (auto& [word, count] : expected) count = std::min(count, 65535);
    EXPECT_EQ(Bucket(reloaded, b), expected) << "bucket " << b;
  }
  // Stored as written, capitals included: a lower-cased prefix does not find it.
  EXPECT_EQ(reloaded.CountOf(u"Upper"), 4);
  EXPECT_EQ(Words(Complete(reloaded, u"Up"))[0], u"");
}

TEST(DictionaryFile, CountsAboveTheFieldSaturate) {
  WordDictionary d;
  Store(d, {{u"often", 65536}, {u"more", 131071}, {u"edge", 65535}});
  WordDictionary reloaded;
  ASSERT_TRUE(Parse(BuildWordDictionaryFile(d, 0), reloaded));
  EXPECT_EQ(reloaded.CountOf(u"often"), 65535);  // not 0, which the low 16 bits would give
  EXPECT_EQ(reloaded.CountOf(u"more"), 65535);
  EXPECT_EQ(reloaded.CountOf(u"edge"), 65535);
}

TEST(DictionaryFile, SavingDropsWordsAtOrBelowTheThreshold) {
  WordDictionary d;
  Store(d, {{u"dead", 0}, {u"live", 1}});
  const Bytes file = BuildWordDictionaryFile(d, 0);
  EXPECT_EQ(d.CountOf(u"dead"), -1);  // removed from memory too
  WordDictionary reloaded;
  ASSERT_TRUE(Parse(file, reloaded));
  EXPECT_EQ(Bucket(reloaded, WordDictionary::BucketOf(u'd')), Counted{});
  EXPECT_EQ(reloaded.CountOf(u"live"), 1);
}

TEST(DictionaryFile, ZeroCountsLoadAndAreNeverSuggestedAlone) {
  const Bytes payload = {1, 0, 0, 0, 0, 0, 3, 'c', 0, 'a', 0, 't', 0};
  WordDictionary d;
  ASSERT_TRUE(Parse(FileOf(payload), d));
  EXPECT_EQ(d.CountOf(u"cat"), 0);
  EXPECT_EQ(Words(Complete(d, u"c"))[0], u"");
}

TEST(DictionaryFile, MalformedFilesLoadAsEmpty) {
  const Bytes good = {2, 0, 0, 0, 1, 0, 1, 'a', 0, 1, 0, 2, 'b', 0, 'c', 0};
  WordDictionary check;
  ASSERT_TRUE(Parse(FileOf(good), check));
  ASSERT_EQ(check.WordCount(), 2);

  Bytes truncatedStream = FileOf(good);
  truncatedStream.resize(truncatedStream.size() - 3);
  Bytes junk = FileOf(good);
  for (std::size_t i = 6; i < junk.size(); ++i) junk[i] ^= 0x5A;
  Bytes recordsPastL = good;
  recordsPastL[0] = 3;  // N = 3 but only two records
  Bytes lengthRunsPast = good;
  lengthRunsPast[11] = 5;  // the second word claims 5 characters
  Bytes negative = good;
  negative[3] = 0x80;

  const std::vector<std::pair<const char*, Bytes>> cases = {
      {"empty file", {}},
      {"placeholder", {0, 0, 0, 0}},
      {"length only and one byte", {16, 0, 0, 0, 0x78}},
      {"L below 4", FileOf(Bytes{0, 0, 0}, 3)},
      {"L larger than the stream", FileOf(good, static_cast<std::uint32_t>(good.size() + 1))},
      {"L smaller than the stream", FileOf(good, static_cast<std::uint32_t>(good.size() - 1))},
      {"L absurdly large", FileOf(good, 0xFFFFFFF0u)},
      {"truncated stream", truncatedStream},
      {"junk stream", junk},
      {"N beyond the records", FileOf(recordsPastL)},
      {"word running past L", FileOf(lengthRunsPast)},
      {"negative N", FileOf(negative)},
  };
  for (const auto& [name, file] : cases) {
    WordDictionary d;
    EXPECT_FALSE(Parse(file, d)) << name;
    EXPECT_EQ(d.WordCount(), 0) << name;
  }
}

TEST(DictionaryFile, RecordsOfLengthZeroAreSkipped) {
  const Bytes payload = {2, 0, 0, 0, 5, 0, 0, 1, 0, 1, 'a', 0};
  WordDictionary d;
  ASSERT_TRUE(Parse(FileOf(payload), d));
  EXPECT_EQ(d.WordCount(), 1);
  EXPECT_EQ(d.CountOf(u"a"), 1);
}

class DictionaryFileOnDevice : public DeviceImageTest {
 protected:
  void TearDown() override {
    SetWriteFunctionForTesting(nullptr);
    DeviceImageTest::TearDown();
  }
};

TEST_F(DictionaryFileOnDevice, SaveAndLoadRoundTrip) {
  WordDictionary d;
  Learn(d, u"hello");
  Learn(d, u"hello");
  Learn(d, u"world");
  ASSERT_TRUE(SaveWordDictionary(u"\\Program Files\\Tavrel\\db.dat", d, 0));
  WordDictionary reloaded;
  ASSERT_TRUE(LoadWordDictionary(u"\\PROGRAM FILES\\tavrel\\DB.DAT", reloaded));
  EXPECT_EQ(reloaded.CountOf(u"hello"), 2);
  EXPECT_EQ(reloaded.CountOf(u"world"), 1);
  EXPECT_EQ(Names(u"\\Program Files\\Tavrel\\*"), std::vector<std::u16string>{u"db.dat"});
}

TEST_F(DictionaryFileOnDevice, NonAsciiPathsKeepEveryCharacter) {
  ASSERT_TRUE(CreateDirectory(u"\\Program Files\\Tavrel\\\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac", nullptr));
  WordDictionary d;
  Learn(d, u"\u03bb\u03cc\u03b3\u03bf\u03c2");
  const char16_t* path = u"\\Program Files\\Tavrel\\\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac\\db.dat";
  ASSERT_TRUE(SaveWordDictionary(path, d, 0));
  WordDictionary reloaded;
  ASSERT_TRUE(LoadWordDictionary(path, reloaded));
  EXPECT_EQ(reloaded.CountOf(u"\u03bb\u03cc\u03b3\u03bf\u03c2"), 1);
  // A path cut to 8 bits ("\x95\xbb...") would have named another folder.
  EXPECT_FALSE(Exists(u"\\Program Files\\Tavrel\\\u0095\u00bb\u00bb\u00b7\u00bd\u00b9\u00ba\u00ac"));
}

TEST_F(DictionaryFileOnDevice, MissingFileInMissingFolderCreatesPlaceholder) {
  WordDictionary d;
  EXPECT_FALSE(LoadWordDictionary(u"\\Program Files\\Tavrel\\english\\db.dat", d));
  EXPECT_EQ(d.WordCount(), 0);
  EXPECT_EQ(ReadDeviceFile(u"\\Program Files\\Tavrel\\english\\db.dat"), (Bytes{0, 0, 0, 0}));
  // The placeholder loads as an empty dictionary.
  EXPECT_FALSE(LoadWordDictionary(u"\\Program Files\\Tavrel\\english\\db.dat", d));
  EXPECT_EQ(d.WordCount(), 0);
}

TEST_F(DictionaryFileOnDevice, MissingFileInExistingFolderCreatesNothing) {
  WordDictionary d;
  EXPECT_FALSE(LoadWordDictionary(u"\\Program Files\\Tavrel\\db.dat", d));
  EXPECT_FALSE(Exists(u"\\Program Files\\Tavrel\\db.dat"));
  EXPECT_FALSE(LoadWordDictionary(u"-", d));
  EXPECT_FALSE(LoadWordDictionary(u"nofolder.dat", d));
  EXPECT_FALSE(Exists(u"nofolder.dat"));
}

TEST_F(DictionaryFileOnDevice, SaveIntoMissingFolderFailsAndWritesNothing) {
  WordDictionary d;
  Learn(d, u"word");
  EXPECT_FALSE(SaveWordDictionary(u"\\Program Files\\Tavrel\\nowhere\\db.dat", d, 0));
  EXPECT_FALSE(Exists(u"\\Program Files\\Tavrel\\nowhere"));
  EXPECT_FALSE(SaveWordDictionary(u"-", d, 0));
}

namespace {

// Writes the first half of the first request, then fails: a disk that fills up mid-save.
BOOL FailHalfWay(HANDLE file, const void* buffer, DWORD size, DWORD* written, void*) {
  DWORD half = 0;
  WriteFile(file, buffer, size / 2, &half, nullptr);
  *written = 0;
  return FALSE;
}

}  // namespace

TEST_F(DictionaryFileOnDevice, SaveFailingHalfWayLeavesThePreviousFile) {
  const char16_t* path = u"\\Program Files\\Tavrel\\db.dat";
  WordDictionary d;
  Learn(d, u"first");
  ASSERT_TRUE(SaveWordDictionary(path, d, 0));
  const Bytes before = ReadDeviceFile(path);

  for (int i = 0; i < 2000; ++i) Learn(d, u"word" + std::u16string(1, char16_t(u'a' + i % 26)) + std::u16string(i % 7, u'x'));
  SetWriteFunctionForTesting(FailHalfWay);
  EXPECT_FALSE(SaveWordDictionary(path, d, 0));
  SetWriteFunctionForTesting(nullptr);

  EXPECT_EQ(ReadDeviceFile(path), before);
  EXPECT_EQ(Names(u"\\Program Files\\Tavrel\\*"), std::vector<std::u16string>{u"db.dat"}) << "no temporary file left";
  WordDictionary reloaded;
  ASSERT_TRUE(LoadWordDictionary(path, reloaded));
  EXPECT_EQ(reloaded.WordCount(), 1);
}

// Each step of the save failing once (write, flush, rename) leaves the previous file whole;
// a failed folder sync after the rename leaves the whole new one. Never a mix.
TEST_F(DictionaryFileOnDevice, EachSaveStepFailingOnceLeavesAWholeFile) {
  const char16_t* path = u"\\Program Files\\Tavrel\\db.dat";
  for (SaveStep step : {SaveStep::Write, SaveStep::Flush, SaveStep::Rename, SaveStep::FolderSync}) {
    WordDictionary d;
    Learn(d, u"old");
    ASSERT_TRUE(SaveWordDictionary(path, d, 0));
    const Bytes before = ReadDeviceFile(path);
    Learn(d, u"new");
    const Bytes after = BuildWordDictionaryFile(d, 0);
    FailSaveStepOnceForTesting(step);
    EXPECT_FALSE(SaveWordDictionary(path, d, 0)) << static_cast<int>(step);
    EXPECT_EQ(ReadDeviceFile(path), step == SaveStep::FolderSync ? after : before) << static_cast<int>(step);
    EXPECT_EQ(Names(u"\\Program Files\\Tavrel\\*"), std::vector<std::u16string>{u"db.dat"});
  }
}

TEST_F(DictionaryFileOnDevice, AFileThatFailedToLoadIsKeptAsideBeforeTheSaveNeverWrittenOver) {
  const char16_t* path = u"\\Program Files\\Tavrel\\db.dat";
  WordDictionary d;
  for (int i = 0; i < 200; ++i) Learn(d, u"word" + std::u16string(1, char16_t(u'a' + i % 26)) + std::u16string(i % 5, u'z'));
  Bytes damaged = BuildWordDictionaryFile(d, 0);
  damaged[damaged.size() / 2] ^= 0x01;  // one flipped bit
  WriteDeviceFile(path, damaged);

  WordDictionary loaded;
  EXPECT_FALSE(LoadWordDictionary(path, loaded));
  Learn(loaded, u"fresh");
  std::u16string keptAs = u"stale";
  ASSERT_TRUE(SaveWordDictionary(path, loaded, 0, &keptAs));
  EXPECT_EQ(keptAs, u"\\Program Files\\Tavrel\\db.dat.bad");
  EXPECT_EQ(ReadDeviceFile(u"\\Program Files\\Tavrel\\db.dat.bad"), damaged);
  WordDictionary reloaded;
  ASSERT_TRUE(LoadWordDictionary(path, reloaded));
  EXPECT_EQ(reloaded.CountOf(u"fresh"), 1);

  // Once the new file is good, saving replaces it as usual and keeps nothing more.
  ASSERT_TRUE(SaveWordDictionary(path, reloaded, 0, &keptAs));
  EXPECT_EQ(keptAs, u"");

  // A second damaged file does not replace the first one kept: it gets the next number.
  Bytes truncated = ReadDeviceFile(path);
  truncated.resize(truncated.size() - 2);
  WriteDeviceFile(path, truncated);
  ASSERT_TRUE(SaveWordDictionary(path, reloaded, 0, &keptAs));
  EXPECT_EQ(keptAs, u"\\Program Files\\Tavrel\\db.dat.bad.2");
  EXPECT_EQ(ReadDeviceFile(u"\\Program Files\\Tavrel\\db.dat.bad"), damaged);
  EXPECT_EQ(ReadDeviceFile(u"\\Program Files\\Tavrel\\db.dat.bad.2"), truncated);
  EXPECT_EQ(Names(u"\\Program Files\\Tavrel\\*"),
            (std::vector<std::u16string>{u"db.dat", u"db.dat.bad", u"db.dat.bad.2"}));
}

TEST_F(DictionaryFileOnDevice, APlaceholderHoldsNoWordsAndIsSimplyReplaced) {
  const char16_t* path = u"\\Program Files\\Tavrel\\db.dat";
  WordDictionary d;
  Learn(d, u"word");
  for (const Bytes& small : {Bytes{0, 0, 0, 0}, Bytes{}, Bytes{9, 0}}) {
    WriteDeviceFile(path, small);
    std::u16string keptAs = u"stale";
    ASSERT_TRUE(SaveWordDictionary(path, d, 0, &keptAs));
    EXPECT_EQ(keptAs, u"");
  }
  EXPECT_EQ(Names(u"\\Program Files\\Tavrel\\*"), std::vector<std::u16string>{u"db.dat"});
}
