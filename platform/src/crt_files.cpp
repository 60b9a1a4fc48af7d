// The wide C runtime's streams on device paths: _wfopen, fread, fwrite, fclose, fseek, ftell,
// feof, fgetws.
//
// A DEVICE_FILE wraps a host stdio stream opened in binary; the device's text-mode behaviour
// (CR LF read as LF, the ",ccs=" encodings, byte-order marks) is applied by fgetws alone.
// fread and fwrite move bytes unchanged in either mode. Not implemented: writing text
// (fputws, fwprintf) and the other stream calls, which the programs do not use.
#include <device/files.h>

#include "internal/device_paths.h"
#include "internal/kernel_objects.h"
#include "internal/wide_text.h"

#include <cerrno>
#include <cstdio>
#include <deque>
#include <string>

using namespace device::internal;

namespace {

enum class TextEncoding { Utf8, Utf16Le };

struct ParsedMode {
  const char* hostMode;    // always binary on the host
  bool mustExist;          // "r" modes
  bool text;               // no 'b': CR LF reads as LF
  bool detectBom;          // ",ccs=UNICODE"
  TextEncoding encoding;
};

bool ParseMode(std::u16string_view mode, ParsedMode& out) {
  std::u16string_view flags = mode.substr(0, mode.find(u','));
  std::u16string_view ccs = flags.size() < mode.size() ? mode.substr(flags.size() + 1) : u"";
  while (!ccs.empty() && ccs.front() == u' ') ccs.remove_prefix(1);
  if (flags.empty()) return false;
  bool plus = flags.find(u'+') != std::u16string_view::npos;
  switch (flags[0]) {
    case u'r': out.hostMode = plus ? "r+b" : "rb"; out.mustExist = true; break;
    case u'w': out.hostMode = plus ? "w+b" : "wb"; out.mustExist = false; break;
    case u'a': out.hostMode = plus ? "a+b" : "ab"; out.mustExist = false; break;
    default: return false;
  }
  out.text = flags.find(u'b') == std::u16string_view::npos;
  out.detectBom = false;
  // Without ",ccs=" a text stream holds the device's 8-bit code page (UTF-8) and a binary stream
  // 16-bit characters, as the wide runtime reads them.
  out.encoding = out.text ? TextEncoding::Utf8 : TextEncoding::Utf16Le;
  if (ccs.empty()) return true;
  std::u16string name = FoldCase(ccs);
  if (name == u"ccs=utf-16le") {
    out.encoding = TextEncoding::Utf16Le;
  } else if (name == u"ccs=utf-8") {
    out.encoding = TextEncoding::Utf8;
  } else if (name == u"ccs=unicode") {
    out.encoding = TextEncoding::Utf8;
    out.detectBom = true;
  } else {
    return false;
  }
  return true;
}

}  // namespace

struct DEVICE_FILE {
  std::FILE* host;
  bool text;
  TextEncoding encoding;
  std::deque<char16_t> pending;  // units decoded but not yet handed out (a low surrogate, a peeked unit)
};

namespace {

// Skips a byte-order mark that matches the stream's encoding; with detection, the mark chooses it.
void SkipByteOrderMark(DEVICE_FILE& file, bool detect) {
  unsigned char mark[3] = {};
  std::size_t got = std::fread(mark, 1, 3, file.host);
  bool utf16 = got >= 2 && mark[0] == 0xFF && mark[1] == 0xFE;
  bool utf8 = got == 3 && mark[0] == 0xEF && mark[1] == 0xBB && mark[2] == 0xBF;
  if (detect && utf16) file.encoding = TextEncoding::Utf16Le;
  if (detect && utf8) file.encoding = TextEncoding::Utf8;
  long skip = 0;
  if (utf16 && file.encoding == TextEncoding::Utf16Le) skip = 2;
  if (utf8 && file.encoding == TextEncoding::Utf8) skip = 3;
  std::fseek(file.host, skip, SEEK_SET);
}

// Decodes the next unit from the host stream; false at the end of the file.
bool DecodeUnit(DEVICE_FILE& file, char16_t& unit) {
  if (file.encoding == TextEncoding::Utf16Le) {
    int low = std::fgetc(file.host);
    int high = low == EOF ? EOF : std::fgetc(file.host);
    if (high == EOF) return false;  // a lone trailing byte is not a character
    unit = static_cast<char16_t>(low | (high << 8));
    return true;
  }
  int lead = std::fgetc(file.host);
  if (lead == EOF) return false;
  int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : -1;
  std::string bytes(1, static_cast<char>(lead));
  for (int i = 0; i < extra; ++i) {
    int next = std::fgetc(file.host);
    if (next == EOF) break;
    if ((next & 0xC0) != 0x80) {  // not a continuation: it starts the next character
      std::ungetc(next, file.host);
      break;
    }
    bytes += static_cast<char>(next);
  }
  std::u16string decoded = extra < 0 ? std::u16string(1, u'\xFFFD') : Utf8ToUtf16(bytes);
  unit = decoded[0];
  for (std::size_t i = 1; i < decoded.size(); ++i) file.pending.push_back(decoded[i]);
  return true;
}

bool NextUnit(DEVICE_FILE& file, char16_t& unit) {
  if (!file.pending.empty()) {
    unit = file.pending.front();
    file.pending.pop_front();
    return true;
  }
  return DecodeUnit(file, unit);
}

}  // namespace

DEVICE_FILE* _wfopen(LPCWSTR fileName, LPCWSTR mode) {
  ParsedMode parsed;
  if (!mode || !ParseMode(mode, parsed)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    errno = EINVAL;
    return nullptr;
  }
  ResolvedPath path;
  if (!ResolveDevicePath(fileName, path)) return nullptr;
  if (!path.exists && (parsed.mustExist || !path.parentExists)) {
    SetLastError(MissingPathError(path));
    errno = ENOENT;
    return nullptr;
  }
  std::FILE* host = std::fopen(path.host.c_str(), parsed.hostMode);
  if (!host) {
    FailFromErrno();
    return nullptr;
  }
  auto* file = new DEVICE_FILE{host, parsed.text, parsed.encoding, {}};
  if (parsed.mustExist && (parsed.text || parsed.detectBom)) SkipByteOrderMark(*file, parsed.detectBom);
  return file;
}

std::size_t fread(void* buffer, std::size_t size, std::size_t count, DEVICE_FILE* stream) {
  return stream ? std::fread(buffer, size, count, stream->host) : 0;
}

std::size_t fwrite(const void* buffer, std::size_t size, std::size_t count, DEVICE_FILE* stream) {
  return stream ? std::fwrite(buffer, size, count, stream->host) : 0;
}

int fclose(DEVICE_FILE* stream) {
  if (!stream) return EOF;
  int result = std::fclose(stream->host);
  delete stream;
  return result;
}

int fseek(DEVICE_FILE* stream, long offset, int origin) {
  if (!stream) return -1;
  stream->pending.clear();
  return std::fseek(stream->host, offset, origin);
}

long ftell(DEVICE_FILE* stream) { return stream ? std::ftell(stream->host) : -1L; }

int feof(DEVICE_FILE* stream) {
  return stream && stream->pending.empty() && std::feof(stream->host) ? 1 : 0;
}

WCHAR* fgetws(WCHAR* buffer, int count, DEVICE_FILE* stream) {
  if (!stream || !buffer || count <= 0) return nullptr;
  int length = 0;
  char16_t unit;
  while (length < count - 1 && NextUnit(*stream, unit)) {
    if (stream->text && unit == u'\r') {
      char16_t following;
      if (NextUnit(*stream, following)) {
        if (following == u'\n') unit = u'\n';
        else stream->pending.push_front(following);
      }
    }
    buffer[length++] = unit;
    if (unit == u'\n') break;
  }
  if (length == 0 && count > 1) return nullptr;
  buffer[length] = 0;
  return buffer;
}
