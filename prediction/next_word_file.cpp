#include "prediction/next_word_file.h"

#include "common/file_helpers.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <string>
#include <vector>

namespace {

constexpr std::size_t kLineBufferSize = 256;  // one read: at most 255 characters
constexpr std::size_t kMaxTokenLength = 127;

std::u16string DecodeUtf16Le(const std::uint8_t* bytes, std::size_t size) {
  std::u16string text(size / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  return text;
}

std::u16string DecodeUtf8(const std::uint8_t* bytes, std::size_t size) {
  const char* source = reinterpret_cast<const char*>(bytes);
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = 0;
  u_strFromUTF8WithSub(nullptr, 0, &length, source, static_cast<int32_t>(size), 0xFFFD, nullptr, &status);
  if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return {};
  std::u16string text(static_cast<std::size_t>(length), u'\0');
  status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(text.data(), length, nullptr, source, static_cast<int32_t>(size), 0xFFFD, nullptr, &status);
  return U_FAILURE(status) ? std::u16string() : text;
}

std::u16string DecodeText(const std::uint8_t* bytes, std::size_t size) {
  if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return DecodeUtf16Le(bytes + 2, size - 2);
  if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) return DecodeUtf8(bytes + 3, size - 3);
  return DecodeUtf8(bytes, size);
}

// Text mode: CR LF reads as LF.
void JoinLineEnds(std::u16string& text) {
  std::size_t out = 0;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')) text[out++] = text[i];
  text.resize(out);
}

bool IsWhiteSpace(char16_t c) {
  if (c < 0x80) return c == u' ' || (c >= u'\t' && c <= u'\r');
  return u_isUWhiteSpace(c);
}

// Finds the next token in [at, end); returns false when there is none.
bool NextToken(const char16_t* text, std::size_t& at, std::size_t end, std::size_t& start, std::size_t& length) {
  while (at < end && IsWhiteSpace(text[at])) ++at;
  if (at == end) return false;
  start = at;
  while (at < end && !IsWhiteSpace(text[at])) ++at;
  length = at - start;
  return true;
}

void AddPairOfPiece(const char16_t* text, std::size_t begin, std::size_t end, NextWordList& list) {
  // The line reader hands over a zero-terminated string: a NUL character ends the piece.
  for (std::size_t i = begin; i < end; ++i)
    if (text[i] == 0) end = i;
  std::size_t at = begin, first = 0, firstLength = 0, second = 0, secondLength = 0;
  if (!NextToken(text, at, end, first, firstLength) || !NextToken(text, at, end, second, secondLength)) return;
  list.AddNextWordPair(text + first, std::min(firstLength, kMaxTokenLength), text + second,
                       std::min(secondLength, kMaxTokenLength));
}

}  // namespace

void ParseNextWordFile(const std::uint8_t* bytes, std::size_t size, NextWordList& list) {
  std::u16string text = DecodeText(bytes, size);
  JoinLineEnds(text);
  std::size_t at = 0;
  while (at < text.size()) {
    // One read of the line reader: up to 255 characters, ending after a line end.
    const std::size_t limit = std::min(text.size(), at + kLineBufferSize - 1);
    std::size_t end = at;
    while (end < limit && text[end++] != u'\n') {
    }
    AddPairOfPiece(text.data(), at, end, list);
    at = end;
  }
}

bool LoadNextWordList(const WCHAR* path, NextWordList& list) {
  list.EmptyNextWordList();
  if (path[0] == u'-' && path[1] == 0) return false;
  std::vector<std::uint8_t> bytes;
  if (ReadWholeFile(path, bytes) != ReadResult::Ok) return false;
  ParseNextWordFile(bytes.data(), bytes.size(), list);
  return true;
}
