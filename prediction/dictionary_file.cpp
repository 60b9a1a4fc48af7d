#include "prediction/dictionary_file.h"

#include "common/file_helpers.h"
#include "prediction/zlib_stream.h"

#include <device/files.h>

#include <zlib.h>

#include <algorithm>
#include <memory>
#include <string>

namespace {

constexpr int kCompressionLevel = 3;
constexpr std::size_t kLengthBytes = 4;
constexpr std::size_t kRecordHeaderBytes = 3;
// Deflate expands by at most 1032:1; a stated length beyond that is a corrupt header, and
// trusting it would allocate gigabytes.
constexpr std::uint64_t kMaxExpansion = 1032;
constexpr int kMaxKeptFiles = 99;  // "<path>.bad" to "<path>.bad.99"

std::uint32_t ReadLe32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void WriteLe32(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
  p[2] = static_cast<std::uint8_t>(v >> 16);
  p[3] = static_cast<std::uint8_t>(v >> 24);
}

std::size_t WordLength(const WCHAR* text) {
  std::size_t n = 0;
  while (text[n] != 0) ++n;
  return n;
}

// The exact payload size of the dictionary (every word is at most 255 characters).
std::size_t PayloadSize(const WordDictionary& dictionary) {
  std::size_t size = kLengthBytes;
  for (int b = 0; b < kBucketCount; ++b)
    for (int i = 0; i < dictionary.EntryCount(b); ++i)
      size += kRecordHeaderBytes + 2 * WordLength(dictionary.Text(dictionary.Entry(b, i)));
  return size;
}

std::uint8_t* WriteRecord(std::uint8_t* out, const WCHAR* text, std::int32_t count) {
  const std::uint16_t saved = static_cast<std::uint16_t>(std::clamp<std::int32_t>(count, 0, 0xFFFF));
  const std::size_t n = WordLength(text);
  *out++ = static_cast<std::uint8_t>(saved);
  *out++ = static_cast<std::uint8_t>(saved >> 8);
  *out++ = static_cast<std::uint8_t>(n);
  for (std::size_t i = 0; i < n; ++i) {
    *out++ = static_cast<std::uint8_t>(text[i]);
    *out++ = static_cast<std::uint8_t>(text[i] >> 8);
  }
  return out;
}

std::unique_ptr<std::uint8_t[]> BuildPayload(const WordDictionary& dictionary, std::size_t size) {
  auto payload = std::make_unique_for_overwrite<std::uint8_t[]>(size);
  std::uint8_t* out = payload.get() + kLengthBytes;
  for (int b = 0; b < kBucketCount; ++b)
    for (int i = 0; i < dictionary.EntryCount(b); ++i) {
      const WordEntry& entry = dictionary.Entry(b, i);
      out = WriteRecord(out, dictionary.Text(entry), entry.count);
    }
  WriteLe32(payload.get(), static_cast<std::uint32_t>(dictionary.WordCount()));
  return payload;
}

// Checks that N records fit in the payload before anything is added, so that a malformed
// payload leaves the dictionary empty rather than half filled.
bool RecordsFit(const std::uint8_t* payload, std::size_t size, std::int32_t records) {
  std::size_t at = kLengthBytes;
  for (std::int32_t r = 0; r < records; ++r) {
    if (size - at < kRecordHeaderBytes) return false;
    const std::size_t n = payload[at + 2];
    at += kRecordHeaderBytes;
    if (size - at < 2 * n) return false;
    at += 2 * n;
  }
  return true;
}

void AddRecords(const std::uint8_t* payload, std::int32_t records, WordDictionary& dictionary) {
  WCHAR word[kWordBufferSize];
  const std::uint8_t* in = payload + kLengthBytes;
  for (std::int32_t r = 0; r < records; ++r) {
    const std::int32_t count = in[0] | (in[1] << 8);
    const std::size_t n = in[2];
    in += kRecordHeaderBytes;
    for (std::size_t i = 0; i < n; ++i, in += 2) word[i] = static_cast<WCHAR>(in[0] | (in[1] << 8));
    word[n] = 0;
    dictionary.AddStoredWord(word, n, count);
  }
}

// Step 7 of loading: a missing file whose folder is missing too gets the folder and a
// 4-byte placeholder, as a freshly installed language would have.
void CreatePlaceholder(const WCHAR* path) {
  const std::u16string folder = FolderOf(path);
  if (folder.empty() || !CreateDirectory(folder.c_str(), nullptr)) return;
  FileHandle file(CreateFile(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsOpen()) return;
  const std::uint8_t zeros[kLengthBytes] = {};
  DWORD written = 0;
  WriteFile(file.Get(), zeros, sizeof zeros, &written, nullptr);
}

bool IsNoFile(const WCHAR* path) { return path[0] == u'-' && path[1] == 0; }

// Decompresses the file's payload and checks that its records fit, without adding anything.
bool UnpackPayload(const std::uint8_t* bytes, std::size_t size, std::unique_ptr<std::uint8_t[]>& payload,
                   std::int32_t& records) {
  if (size <= kLengthBytes) return false;
  const std::uint32_t length = ReadLe32(bytes);
  const std::size_t compressedSize = size - kLengthBytes;
  if (length < kLengthBytes || length > compressedSize * kMaxExpansion + 64) return false;
  payload = std::make_unique_for_overwrite<std::uint8_t[]>(length);
  uLongf decompressed = length;
  if (uncompress(payload.get(), &decompressed, bytes + kLengthBytes, compressedSize) != Z_OK ||
      decompressed != length)
    return false;
  records = static_cast<std::int32_t>(ReadLe32(payload.get()));
  return records >= 0 && RecordsFit(payload.get(), length, records);
}

// Whether the file at `path` is one a save must not replace: it is there and holds more than
// a length field, yet does not load (unreadable, truncated, a flipped bit). Its words would be
// lost for good if the save wrote over it.
bool HoldsUnloadableWords(const WCHAR* path) {
  std::vector<std::uint8_t> bytes;
  switch (ReadWholeFile(path, bytes)) {
    case ReadResult::Missing: return false;
    case ReadResult::Failed: return true;
    case ReadResult::Ok: break;
  }
  if (bytes.size() <= kLengthBytes) return false;  // the placeholder of a new language, or less
  std::unique_ptr<std::uint8_t[]> payload;
  std::int32_t records = 0;
  return !UnpackPayload(bytes.data(), bytes.size(), payload, records);
}

}  // namespace

std::u16string MoveFileAside(const WCHAR* path) {
  for (int n = 1; n <= kMaxKeptFiles; ++n) {
    std::u16string aside = std::u16string(path) + u".bad";
    if (n > 1) {
      const std::string digits = std::to_string(n);
      aside += u'.';
      aside.append(digits.begin(), digits.end());
    }
    if (MoveFileEx(path, aside.c_str(), 0)) return aside;
    if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS) return {};
  }
  return {};
}


std::vector<std::uint8_t> BuildWordDictionaryFile(WordDictionary& dictionary, std::int32_t threshold) {
  dictionary.RemoveWordsAtOrBelow(threshold);
  const std::size_t size = PayloadSize(dictionary);
  const auto payload = BuildPayload(dictionary, size);
  std::vector<std::uint8_t> file(kLengthBytes);
  WriteLe32(file.data(), static_cast<std::uint32_t>(size));
  if (!CompressZlibStream(payload.get(), size, kCompressionLevel, file)) return {};
  return file;
}

bool ParseWordDictionaryFile(const std::uint8_t* bytes, std::size_t size, WordDictionary& dictionary) {
  std::unique_ptr<std::uint8_t[]> payload;
  std::int32_t records = 0;
  if (!UnpackPayload(bytes, size, payload, records)) return false;
  AddRecords(payload.get(), records, dictionary);
  return true;
}

bool LoadWordDictionary(const WCHAR* path, WordDictionary& dictionary) {
  if (IsNoFile(path)) return false;
  std::vector<std::uint8_t> bytes;
  switch (ReadWholeFile(path, bytes)) {
    case ReadResult::Ok: return ParseWordDictionaryFile(bytes.data(), bytes.size(), dictionary);
    case ReadResult::Missing: CreatePlaceholder(path); return false;
    case ReadResult::Failed: return false;
  }
  return false;
}

bool SaveWordDictionary(const WCHAR* path, WordDictionary& dictionary, std::int32_t threshold,
                        std::u16string* keptAs) {
  if (keptAs != nullptr) keptAs->clear();
  if (IsNoFile(path)) return false;
  const std::vector<std::uint8_t> file = BuildWordDictionaryFile(dictionary, threshold);
  if (file.empty()) return false;
  if (HoldsUnloadableWords(path)) {
    const std::u16string aside = MoveFileAside(path);
    if (aside.empty()) return false;
    if (keptAs != nullptr) *keptAs = aside;
  }
  return ReplaceFileContents(path, file.data(), file.size());
}
