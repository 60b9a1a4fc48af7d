// Host-side input and output of the dictionary tool. The tool is a developer program that runs
// on the build machine, not on the device: it reads its inputs (word lists, texts, dictionary
// files) and writes its outputs as plain host files, and hands the bytes to the engine's own
// parse and build functions, so the files it writes are exactly what the program reads.
//
// Every reader refuses input that cannot be meant for it, with a message that names the file:
// a missing or unreadable file, a file too large to be a word list or text, bytes that are not
// UTF-8 (binary junk, a NUL byte), or a line longer than any line of text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A refused input or a failed write; what() is the whole message for the user.
class InputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

constexpr std::size_t kMaxInputBytes = std::size_t{1} << 30;  // 1 GiB
constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;   // 1 MiB: longer is no text line

// The whole file, at most kMaxInputBytes.
std::vector<std::uint8_t> ReadHostFile(const std::string& path);

// Writes the bytes to the file, replacing it.
void WriteHostFile(const std::string& path, const std::uint8_t* bytes, std::size_t size);

// The file as UTF-16 lines (LF or CR LF ends a line; the ends are not kept). Refuses invalid
// UTF-8, NUL bytes and lines longer than kMaxLineBytes. A UTF-8 byte-order mark is skipped.
std::vector<std::u16string> ReadTextLines(const std::string& path);

// Throws InputError unless the bytes are UTF-8 text without NUL bytes or overlong lines
// (a UTF-8 byte-order mark is allowed). `path` names the file in the message.
void CheckUtf8Text(const std::string& path, const std::vector<std::uint8_t>& bytes);

// UTF-16 to UTF-8 for printing and for the next-word file (unpaired surrogates become U+FFFD).
std::string ToUtf8(std::u16string_view text);
// UTF-8 to UTF-16 for command-line arguments; throws InputError on invalid UTF-8.
std::u16string FromUtf8(std::string_view text, const std::string& what);
