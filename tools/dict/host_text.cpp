#include "tools/dict/host_text.h"

#include <unicode/ustring.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::string Describe(const std::string& path, int error) { return path + ": " + std::strerror(error); }

// Offset of the first byte that breaks UTF-8 (or is NUL), or -1 when all is well.
long long FirstBadUtf8(const std::uint8_t* p, std::size_t size) {
  std::size_t i = 0;
  while (i < size) {
    const std::uint8_t b = p[i];
    if (b == 0) return static_cast<long long>(i);
    if (b < 0x80) {
      ++i;
      continue;
    }
    std::size_t n;
    std::uint32_t min;
    std::uint32_t cp;
    if ((b & 0xE0) == 0xC0) { n = 1; min = 0x80; cp = b & 0x1F; }
    else if ((b & 0xF0) == 0xE0) { n = 2; min = 0x800; cp = b & 0x0F; }
    else if ((b & 0xF8) == 0xF0) { n = 3; min = 0x10000; cp = b & 0x07; }
    else return static_cast<long long>(i);
    for (std::size_t k = 1; k <= n; ++k) {
      if (i + k >= size || (p[i + k] & 0xC0) != 0x80) return static_cast<long long>(i);
      cp = (cp << 6) | (p[i + k] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return static_cast<long long>(i);
    i += n + 1;
  }
  return -1;
}

}  // namespace

std::vector<std::uint8_t> ReadHostFile(const std::string& path) {
  File f(std::fopen(path.c_str(), "rb"));
  if (!f) throw InputError("cannot open " + Describe(path, errno));
  if (std::fseek(f.get(), 0, SEEK_END) != 0) throw InputError("cannot read " + Describe(path, errno));
  const long size = std::ftell(f.get());
  if (size < 0) throw InputError("cannot read " + Describe(path, errno));
  if (static_cast<unsigned long>(size) > kMaxInputBytes)
    throw InputError(path + ": file is larger than 1 GiB; split it");
  std::rewind(f.get());
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), f.get()) != bytes.size())
    throw InputError("cannot read " + Describe(path, errno ? errno : EIO));
  return bytes;
}

void WriteHostFile(const std::string& path, const std::uint8_t* bytes, std::size_t size) {
  File f(std::fopen(path.c_str(), "wb"));
  if (!f) throw InputError("cannot create " + Describe(path, errno));
  if (size != 0 && std::fwrite(bytes, 1, size, f.get()) != size)
    throw InputError("cannot write " + Describe(path, errno));
  if (std::fclose(f.release()) != 0) throw InputError("cannot write " + Describe(path, errno));
}

void CheckUtf8Text(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::size_t start = 0;
  if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) start = 3;
  const long long bad = FirstBadUtf8(bytes.data() + start, bytes.size() - start);
  if (bad >= 0) {
    const std::size_t at = start + static_cast<std::size_t>(bad);
    throw InputError(path + ": not UTF-8 text (byte " + std::to_string(at) + " is " +
                     (bytes[at] == 0 ? "NUL" : "not UTF-8") + "); is it a binary file?");
  }
  std::size_t lineNumber = 1;
  while (start < bytes.size()) {
    const void* nl = std::memchr(bytes.data() + start, '\n', bytes.size() - start);
    const std::size_t length = nl ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(nl) - bytes.data()) - start
                                  : bytes.size() - start;
    if (length > kMaxLineBytes) {
      throw InputError(path + ": line " + std::to_string(lineNumber) + " is longer than " +
                       std::to_string(kMaxLineBytes) + " bytes; not a text file of lines");
    }
    start += length + 1;
    ++lineNumber;
  }
}

std::vector<std::u16string> ReadTextLines(const std::string& path) {
  const std::vector<std::uint8_t> bytes = ReadHostFile(path);
  CheckUtf8Text(path, bytes);
  std::size_t start = 0;
  if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) start = 3;
  std::vector<std::u16string> lines;
  while (start < bytes.size()) {
    const std::uint8_t* begin = bytes.data() + start;
    const void* nl = std::memchr(begin, '\n', bytes.size() - start);
    const std::size_t length = nl ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(nl) - begin)
                                  : bytes.size() - start;
    std::size_t used = length;
    if (used > 0 && begin[used - 1] == '\r') --used;
    lines.push_back(FromUtf8(std::string_view(reinterpret_cast<const char*>(begin), used), path));
    start += length + 1;
  }
  return lines;
}

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

std::u16string FromUtf8(std::string_view text, const std::string& what) {
  if (text.empty()) return {};
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = 0;
  u_strFromUTF8(nullptr, 0, &length, text.data(), static_cast<int32_t>(text.size()), &status);
  if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) throw InputError(what + ": not UTF-8 text");
  std::u16string out(static_cast<std::size_t>(length), u'\0');
  status = U_ZERO_ERROR;
  u_strFromUTF8(out.data(), length, nullptr, text.data(), static_cast<int32_t>(text.size()), &status);
  if (U_FAILURE(status)) throw InputError(what + ": not UTF-8 text");
  return out;
}
