// The edit control's line layout, measured with a fixed-width stand-in font: where lines
// break, how breaks and pairs count, and that relaying out after an edit gives exactly the
// lines a full layout of the new text gives.
#include "internal/edit_buffer.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using device::internal::CharMeasure;
using device::internal::EditBuffer;

namespace {

// Every character 10 pixels wide, 'W' 20; tab stops every 40.
class FixedWidths : public CharMeasure {
 public:
  int Width(char32_t cp) override { return cp == U'W' ? 20 : 10; }
  int TabStop() override { return 40; }
};

struct Layout {
  std::vector<int> starts;
  std::vector<int> widths;
  bool operator==(const Layout&) const = default;
};

Layout LinesOf(const EditBuffer& b) {
  Layout l;
  for (int i = 0; i < b.LineCount(); ++i) {
    l.starts.push_back(b.LineStart(i));
    l.widths.push_back(b.LineWidth(i));
  }
  return l;
}

std::vector<std::u16string> LineTexts(const EditBuffer& b) {
  std::vector<std::u16string> out;
  for (int i = 0; i < b.LineCount(); ++i) out.push_back(b.Text().substr(b.LineStart(i), b.LineLength(i)));
  return out;
}

struct Buffer {
  FixedWidths widths;
  EditBuffer buffer{&widths};
  Buffer(bool multiline, bool wrap, int width) { buffer.Configure(multiline, wrap, width); }
};

}  // namespace

TEST(EditLayout, WrapsAtTheLastBlankThatFitsAndLetsBlanksHang) {
  Buffer b(true, true, 100);  // ten narrow characters per line
  b.buffer.SetText(u"one two three four fivesixseveneight");
  EXPECT_EQ(LineTexts(b.buffer), (std::vector<std::u16string>{u"one two ", u"three four ",
                                                               u"fivesixsev", u"eneight"}));
  // "three four " is 110 pixels: the blank after "four" hangs past the edge.
  EXPECT_EQ(b.buffer.LineWidth(1), 110);
  EXPECT_TRUE(b.buffer.EndsSoftly(0));
  EXPECT_FALSE(b.buffer.EndsSoftly(3));
}

TEST(EditLayout, LineBreaksEndLinesAndAreNotPartOfThem) {
  Buffer b(true, true, 100);
  b.buffer.SetText(u"ab\r\ncd\nef\rgh\r\n");
  EXPECT_EQ(LineTexts(b.buffer), (std::vector<std::u16string>{u"ab", u"cd", u"ef", u"gh", u""}));
  EXPECT_EQ(b.buffer.LineStart(1), 4);
  EXPECT_FALSE(b.buffer.EndsSoftly(0));
  // A CR LF pair and a surrogate pair are single steps for the caret.
  EXPECT_EQ(b.buffer.PreviousBoundary(4), 2);
  EXPECT_EQ(b.buffer.NextBoundary(2), 4);
  b.buffer.SetText(u"a\U0001F600b");
  EXPECT_EQ(b.buffer.NextBoundary(1), 3);
  EXPECT_EQ(b.buffer.PreviousBoundary(3), 1);
}

TEST(EditLayout, SingleLineAndUnwrappedBuffersBreakOnlyWhereTheyMust) {
  Buffer single(false, true, 30);
  single.buffer.SetText(u"abc def\r\nghi");
  EXPECT_EQ(single.buffer.LineCount(), 1);
  EXPECT_EQ(single.buffer.LineLength(0), 12);
  Buffer unwrapped(true, false, 30);
  unwrapped.buffer.SetText(u"abc def ghi\r\nj");
  EXPECT_EQ(LineTexts(unwrapped.buffer), (std::vector<std::u16string>{u"abc def ghi", u"j"}));
}

TEST(EditLayout, PositionsFollowWidthsAndTabStops) {
  Buffer b(true, true, 200);
  b.buffer.SetText(u"aW\tb");
  EXPECT_EQ(b.buffer.XOfChar(0, 2), 30);
  EXPECT_EQ(b.buffer.XOfChar(0, 3), 40);  // the tab runs to the next stop
  EXPECT_EQ(b.buffer.XOfChar(0, 4), 50);
  // The nearest boundary: left of a character's middle stays before it.
  EXPECT_EQ(b.buffer.CharFromX(0, 4), 0);
  EXPECT_EQ(b.buffer.CharFromX(0, 6), 1);
  EXPECT_EQ(b.buffer.CharFromX(0, 500), 4);
  EXPECT_EQ(b.buffer.CharFromX(0, -5), 0);
}

TEST(EditLayout, PointsRightOfASoftBrokenLineStayOnThatLine) {
  Buffer b(true, true, 100);
  b.buffer.SetText(u"one two three");
  ASSERT_EQ(b.buffer.LineStart(1), 8);
  EXPECT_EQ(b.buffer.CharFromX(0, 99), 7);
  EXPECT_EQ(b.buffer.LineFromChar(7), 0);
  EXPECT_EQ(b.buffer.LineFromChar(8), 1);
  EXPECT_EQ(b.buffer.LineFromChar(13), 1);
}

TEST(EditLayout, ReplaceReportsTheChangedLines) {
  Buffer b(true, true, 100);
  b.buffer.SetText(u"aaaa\r\nbbbb\r\ncccc");
  EditBuffer::Change c = b.buffer.Replace(7, 7, u"x");
  EXPECT_EQ(c.firstLine, 1);
  EXPECT_EQ(c.lastLine, 1);
  EXPECT_FALSE(c.countChanged);
  c = b.buffer.Replace(2, 2, u"\r\n");
  EXPECT_EQ(c.firstLine, 0);
  EXPECT_TRUE(c.countChanged);
  EXPECT_EQ(LineTexts(b.buffer), (std::vector<std::u16string>{u"aa", u"aa", u"bxbbb", u"cccc"}));
}

// Deleting the start of a line lets its first word move up onto the line before.
TEST(EditLayout, DeletingLetsAWordMoveBackUp) {
  Buffer b(true, true, 100);
  b.buffer.SetText(u"aaaa bbbb cccccc dd");
  ASSERT_EQ(LineTexts(b.buffer), (std::vector<std::u16string>{u"aaaa bbbb ", u"cccccc dd"}));
  b.buffer.Replace(10, 14, u"");
  EXPECT_EQ(LineTexts(b.buffer), (std::vector<std::u16string>{u"aaaa bbbb ", u"cc dd"}));
  b.buffer.Replace(5, 10, u"");
  EXPECT_EQ(LineTexts(b.buffer), (std::vector<std::u16string>{u"aaaa cc dd"}));
}

// Random edits of every kind: the incremental layout must always equal a fresh one.
TEST(EditLayout, IncrementalRelayoutMatchesAFullLayout) {
  const std::u16string pieces[] = {u"a", u"W", u" ", u"  ", u"\r\n", u"\n", u"\r", u"\t",
                                   u"word ", u"WWWWWWWWWWWW", u"\U0001F600", u""};
  std::mt19937 random(7);
  for (int width : {35, 100, 0}) {
    Buffer b(true, width > 0, width);
    FixedWidths widths;
    for (int step = 0; step < 3000; ++step) {
      const int length = b.buffer.Length();
      int from = static_cast<int>(random() % (length + 1));
      int to = std::min(length, from + static_cast<int>(random() % 4));
      if (random() % 3 == 0) to = from;
      const std::u16string& with = pieces[random() % std::size(pieces)];
      b.buffer.Replace(from, to, with);
      if (b.buffer.Length() > 400) b.buffer.Replace(0, 200, u"");
      EditBuffer fresh(&widths);
      fresh.Configure(true, width > 0, width);
      fresh.SetText(b.buffer.Text());
      ASSERT_EQ(LinesOf(b.buffer), LinesOf(fresh)) << "width " << width << " step " << step;
    }
  }
}
