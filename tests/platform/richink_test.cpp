// The rich-ink control as the note-taker uses it: bytes streamed in as the control's own
// document format (UTF-16 with byte-order mark, UTF-8, or 8-bit text) come out as plain UTF-16.
#include "internal/system_classes.h"

#include <device/driver.h>
#include <device/kernel.h>
#include <device/richink.h>
#include <device/user.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr WPARAM kDocumentFormat = 0x10802;  // SF_PWI | SF_RTF, as the programs stream in
constexpr WPARAM kUnicodeText = 0x11;        // SF_TEXT | SF_UNICODE, as they stream out

struct Source {
  std::string bytes;
  std::size_t at = 0;
  LONG largestAsk = 0;
};

DWORD CALLBACK ReadSource(DWORD_PTR cookie, BYTE* buffer, LONG cb, LONG* pcb) {
  auto* source = reinterpret_cast<Source*>(cookie);
  source->largestAsk = std::max(source->largestAsk, cb);
  std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(cb), source->bytes.size() - source->at);
  std::copy_n(source->bytes.data() + source->at, n, buffer);
  source->at += n;
  *pcb = static_cast<LONG>(n);
  return 0;
}

DWORD CALLBACK FailingSource(DWORD_PTR, BYTE*, LONG, LONG* pcb) {
  *pcb = 0;
  return 42;
}

DWORD CALLBACK CollectBytes(DWORD_PTR cookie, BYTE* buffer, LONG cb, LONG* pcb) {
  reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<char*>(buffer), static_cast<std::size_t>(cb));
  *pcb = cb;
  return 0;
}

class RichInkTest : public ::testing::Test {
 protected:
  device::Driver driver;
  HWND ink = nullptr;

  RichInkTest() {
    device::internal::RegisterRichInkClass();
    ink = CreateWindowEx(0, u"richink", u"rec", 0x800, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
  }

  LRESULT StreamIn(const std::string& bytes) {
    Source source{bytes};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, ReadSource};
    return SendMessage(ink, EM_STREAMIN, kDocumentFormat, reinterpret_cast<LPARAM>(&stream));
  }

  std::string StreamOutBytes() {
    std::string bytes;
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&bytes), 0, CollectBytes};
    SendMessage(ink, EM_STREAMOUT, kUnicodeText, reinterpret_cast<LPARAM>(&stream));
    return bytes;
  }

  std::u16string StreamOut() {
    std::string bytes = StreamOutBytes();
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
      text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    return text;
  }

  std::u16string Convert(const std::string& bytes) {
    StreamIn(bytes);
    return StreamOut();
  }
};

TEST_F(RichInkTest, LibraryLoadsAndHiddenWindowIsFoundByItsTitle) {
  EXPECT_NE(LoadLibrary(u"richink.dll"), nullptr);
  ASSERT_NE(ink, nullptr);
  StreamIn("text");
  EXPECT_EQ(FindWindow(u"richink", u"rec"), ink);
  EXPECT_FALSE(IsWindowVisible(ink));
}

TEST_F(RichInkTest, Utf16WithByteOrderMarkDropsMarkAndClosingZero) {
  // "Hé\r\n" + the 16-bit zero a note file ends with.
  std::string note("\xFF\xFE" "H\0\xE9\0\r\0\n\0\0\0", 12);
  StreamIn(note);
  EXPECT_EQ(StreamOutBytes(), std::string("H\0\xE9\0\r\0\n\0", 8));  // no mark, no terminator
}

TEST_F(RichInkTest, Utf8WithAndWithoutByteOrderMark) {
  EXPECT_EQ(Convert("caf\xC3\xA9"), u"caf\u00E9");
  EXPECT_EQ(Convert("\xEF\xBB\xBF" "caf\xC3\xA9 \xE2\x82\xAC"), u"caf\u00E9 \u20AC");
  EXPECT_EQ(Convert("\xF0\x9F\x98\x80"), u"\U0001F600");  // beyond the BMP: a surrogate pair
}

TEST_F(RichInkTest, Utf16WithoutByteOrderMarkIsRecognisedByItsZeroHighBytes) {
  // "Hello\r\nwörld" and the closing 16-bit zero: read as 8-bit text it would be "H" alone.
  std::u16string text = u"Hello\r\nw\u00F6rld";
  std::string bytes;
  for (char16_t c : text) bytes += std::string{static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  bytes.append(2, '\0');
  EXPECT_EQ(Convert(bytes), text);
  EXPECT_EQ(Convert(std::string("h\0i\0", 4)), u"hi");  // shorter than the probe, no terminator
  // A zero high byte after a letter is not enough when a later first character has a high byte
  // set: that is no UTF-16LE text of this kind, and 8-bit text ends at the zero.
  EXPECT_EQ(Convert(std::string("a\0bc", 4)), u"a");
  // A document starting with a zero byte holds no text in any encoding.
  EXPECT_EQ(Convert(std::string("\0a\0b", 4)), u"");
}

TEST_F(RichInkTest, EightBitTextIsWindows1252) {
  EXPECT_EQ(Convert("caf\xE9"), u"caf\u00E9");
  // 0x80 and 0x93/0x94 are the euro sign and curly quotes in 1252, not C1 controls.
  EXPECT_EQ(Convert("\x80 \x93hi\x94"), u"\u20AC \u201Chi\u201D");
  // Valid UTF-8 lead and continuation bytes, but an overlong form: not UTF-8.
  EXPECT_EQ(Convert("\xC0\xAF"), u"\u00C0\u00AF");
}

TEST_F(RichInkTest, StreamsInPiecesAndRoundTripsLongText) {
  std::u16string expected;
  std::string bytes("\xFF\xFE");
  for (int i = 0; i < 5000; ++i) {
    char16_t c = static_cast<char16_t>(u'a' + i % 26 + (i % 7 == 0 ? 0x400 : 0));
    expected += c;
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  Source source{bytes};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, ReadSource};
  EXPECT_EQ(SendMessage(ink, EM_STREAMIN, kDocumentFormat, reinterpret_cast<LPARAM>(&stream)), 5000);
  EXPECT_LT(source.largestAsk, static_cast<LONG>(bytes.size()));  // really more than one piece
  EXPECT_EQ(StreamOut(), expected);
}

TEST_F(RichInkTest, FailedStreamInKeepsDocumentAndReportsError) {
  StreamIn("kept");
  EDITSTREAM stream{0, 0, FailingSource};
  EXPECT_EQ(SendMessage(ink, EM_STREAMIN, kDocumentFormat, reinterpret_cast<LPARAM>(&stream)), 0);
  EXPECT_EQ(stream.dwError, 42u);
  EXPECT_EQ(StreamOut(), u"kept");
  EXPECT_EQ(Convert(""), u"");  // an empty stream, though, does empty the document
}

}  // namespace
