#include "prediction/learned_pairs_file.h"

#include "common/file_helpers.h"
#include "prediction/dictionary_file.h"
#include "prediction/zlib_stream.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint8_t kTag[4] = {'P', 'R', 'S', '1'};
constexpr std::size_t kHeaderBytes = 8;  // the tag and L
constexpr std::size_t kCountBytes = 4;   // N at the start of the payload
constexpr int kCompressionLevel = 3;
constexpr std::uint64_t kMaxExpansion = 1032;  // deflate's bound; a larger L is a corrupt header
constexpr std::uint32_t kMaxSavedCount = 0xFFFF;

std::uint32_t ReadLe32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void AppendLe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void AppendWord(std::vector<std::uint8_t>& out, const std::u16string& word) {
  const std::size_t n = std::min<std::size_t>(word.size(), kMaxWordLength);
  out.push_back(static_cast<std::uint8_t>(n));
  for (std::size_t i = 0; i < n; ++i) {
    out.push_back(static_cast<std::uint8_t>(word[i]));
    out.push_back(static_cast<std::uint8_t>(word[i] >> 8));
  }
}

// Reads one word of a record into `word` (terminated); false when it is empty or runs past
// the end.
bool ReadWord(const std::uint8_t*& in, const std::uint8_t* end, WCHAR* word) {
  if (end - in < 1) return false;
  const std::size_t n = *in++;
  if (n == 0 || static_cast<std::size_t>(end - in) < 2 * n) return false;
  for (std::size_t i = 0; i < n; ++i, in += 2) word[i] = static_cast<WCHAR>(in[0] | (in[1] << 8));
  word[n] = 0;
  return true;
}

struct StoredPair {
  std::u16string first;
  std::u16string following;
  std::uint32_t count;
};

// The records of the payload, all checked before any is added.
bool ReadRecords(const std::uint8_t* payload, std::size_t size, std::vector<StoredPair>& records) {
  if (size < kCountBytes) return false;
  const std::uint32_t n = ReadLe32(payload);
  if (n > static_cast<std::uint32_t>(kMaxLearnedPairs)) return false;
  const std::uint8_t* in = payload + kCountBytes;
  const std::uint8_t* end = payload + size;
  WCHAR first[kWordBufferSize];
  WCHAR following[kWordBufferSize];
  for (std::uint32_t r = 0; r < n; ++r) {
    if (end - in < 2) return false;
    const std::uint32_t count = in[0] | (in[1] << 8);
    in += 2;
    if (count == 0 || !ReadWord(in, end, first) || !ReadWord(in, end, following)) return false;
    records.push_back(StoredPair{reinterpret_cast<const char16_t*>(first), reinterpret_cast<const char16_t*>(following), count});
  }
  return in == end;
}

bool UnpackRecords(const std::uint8_t* bytes, std::size_t size, std::vector<StoredPair>& records) {
  if (size <= kHeaderBytes || std::memcmp(bytes, kTag, sizeof kTag) != 0) return false;
  const std::uint32_t length = ReadLe32(bytes + sizeof kTag);
  const std::size_t compressedSize = size - kHeaderBytes;
  if (length < kCountBytes || length > compressedSize * kMaxExpansion + 64) return false;
  std::vector<std::uint8_t> payload(length);
  uLongf decompressed = length;
  if (uncompress(payload.data(), &decompressed, bytes + kHeaderBytes, compressedSize) != Z_OK ||
      decompressed != length)
    return false;
  return ReadRecords(payload.data(), payload.size(), records);
}

// Whether the file at `path` is there but does not load; its pairs would be lost if a save
// wrote over it.
bool HoldsUnloadablePairs(const WCHAR* path) {
  std::vector<std::uint8_t> bytes;
  switch (ReadWholeFile(path, bytes)) {
    case ReadResult::Missing: return false;
    case ReadResult::Failed: return true;
    case ReadResult::Ok: break;
  }
  std::vector<StoredPair> records;
  return !bytes.empty() && !UnpackRecords(bytes.data(), bytes.size(), records);
}

bool IsNoFile(const WCHAR* path) { return path[0] == 0 || (path[0] == u'-' && path[1] == 0); }

}  // namespace

std::u16string LearnedPairsPath(const std::u16string& dictionaryPath) {
  if (IsNoFile(reinterpret_cast<const WCHAR*>(dictionaryPath.c_str()))) return u"-";
  const std::u16string folder = FolderOf(reinterpret_cast<const WCHAR*>(dictionaryPath.c_str()));
  return folder.empty() ? std::u16string(u"-") : folder + u"\\pairs.dat";
}

std::vector<std::uint8_t> BuildLearnedPairsFile(const LearnedPairs& pairs) {
  std::vector<std::uint8_t> payload;
  AppendLe32(payload, static_cast<std::uint32_t>(pairs.PairCount()));
  for (int index : pairs.PairsByLastUse()) {
    const std::uint32_t count = std::min(pairs.Count(index), kMaxSavedCount);
    payload.push_back(static_cast<std::uint8_t>(count));
    payload.push_back(static_cast<std::uint8_t>(count >> 8));
    AppendWord(payload, pairs.First(index));
    AppendWord(payload, pairs.Following(index));
  }
  std::vector<std::uint8_t> file(std::begin(kTag), std::end(kTag));
  AppendLe32(file, static_cast<std::uint32_t>(payload.size()));
  if (!CompressZlibStream(payload.data(), payload.size(), kCompressionLevel, file)) return {};
  return file;
}

bool ParseLearnedPairsFile(const std::uint8_t* bytes, std::size_t size, LearnedPairs& pairs) {
  std::vector<StoredPair> records;
  if (!UnpackRecords(bytes, size, records)) return false;
  for (const StoredPair& record : records)
    pairs.AddStoredPair(reinterpret_cast<const WCHAR*>(record.first.c_str()),
                        reinterpret_cast<const WCHAR*>(record.following.c_str()), record.count);
  return true;
}

bool LoadLearnedPairs(const WCHAR* path, LearnedPairs& pairs) {
  pairs.Empty();
  if (IsNoFile(path)) return false;
  std::vector<std::uint8_t> bytes;
  if (ReadWholeFile(path, bytes) != ReadResult::Ok) return false;
  const bool loaded = ParseLearnedPairsFile(bytes.data(), bytes.size(), pairs);
  pairs.MarkSaved();
  return loaded;
}

bool SaveLearnedPairs(const WCHAR* path, LearnedPairs& pairs, std::u16string* keptAs) {
  if (keptAs != nullptr) keptAs->clear();
  if (IsNoFile(path)) return false;
  if (!pairs.Changed()) return true;
  const std::vector<std::uint8_t> file = BuildLearnedPairsFile(pairs);
  if (file.empty()) return false;
  if (HoldsUnloadablePairs(path)) {
    const std::u16string aside = MoveFileAside(path);
    if (aside.empty()) return false;
    if (keptAs != nullptr) *keptAs = aside;
  }
  if (!ReplaceFileContents(path, file.data(), file.size())) return false;
  pairs.MarkSaved();
  return true;
}
