// Fitted and split text: what the notes list, the prediction bar and the contact list rely on.
#include "drawing/text_drawing.h"

#include "drawing/font_table.h"

#include <device/driver.h>

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr COLORREF kInk = RGB(255, 255, 255);

class TextDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateCompatibleBitmap(dc_, 240, 40);
    previous_ = SelectObject(dc_, bitmap_);
    font_ = GetAppFont(CreateAppFont(u"MS SANS SERIF", 15, false, false));
  }
  void TearDown() override {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
    DeleteAllAppFonts();
  }

  void Clear() { FillSolidRect(dc_, RECT{0, 0, 240, 40}, RGB(0, 0, 0)); }

  int Width(const std::u16string& text) {
    RECT rect{0, 0, 0, 0};
    MeasureText(dc_, rect, text.c_str(), font_);
    return rect.right - rect.left;
  }

  // Renders `draw` and returns the columns [first, last] holding ink of `colour`.
  template <typename Draw>
  std::pair<int, int> InkColumns(Draw draw, COLORREF colour = kInk) {
    Clear();
    draw();
    int first = -1, last = -1;
    for (int x = 0; x < 240; ++x)
      for (int y = 0; y < 40; ++y)
        if (GetPixel(dc_, x, y) == colour) {
          if (first < 0) first = x;
          last = x;
        }
    return {first, last};
  }

  bool SameInk(const std::u16string& fitted, const RECT& rect, UINT format, const std::u16string& expected) {
    Clear();
    DrawFittedText(dc_, rect, fitted.c_str(), font_, kInk, format);
    std::vector<COLORREF> a;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 240; ++x) a.push_back(GetPixel(dc_, x, y));
    Clear();
    DrawPlainText(dc_, rect, expected.c_str(), font_, kInk, format | DT_SINGLELINE);
    for (int y = 0, i = 0; y < 40; ++y)
      for (int x = 0; x < 240; ++x, ++i)
        if (GetPixel(dc_, x, y) != a[i]) return false;
    return true;
  }

  device::Driver driver_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  HFONT font_ = nullptr;
};

TEST_F(TextDrawingTest, MeasureGrowsWithTheText) {
  EXPECT_EQ(Width(u""), 0);
  EXPECT_GT(Width(u"hello world"), Width(u"hello"));
}

TEST_F(TextDrawingTest, CutEndKeepsTheLongestPrefixThatFitsWithDots) {
  const std::u16string text = u"a note about the garden party";
  const RECT rect{0, 0, Width(u"a note ab..."), 40};
  // The longest prefix p with width(p + "...") <= available, as a user would read it.
  std::u16string expected;
  for (size_t n = text.size() - 1; n > 0; --n) {
    if (Width(text.substr(0, n) + u"...") <= rect.right) {
      expected = text.substr(0, n) + u"...";
      break;
    }
  }
  ASSERT_FALSE(expected.empty());
  EXPECT_TRUE(SameInk(text, rect, kCutEndWithEllipsis, expected)) << "expected " << expected.size();
}

TEST_F(TextDrawingTest, CutStartKeepsTheEndOfAPath) {
  const std::u16string text = u"\\My Documents\\Tavrels\\Shopping";
  const RECT rect{0, 0, Width(u"...Shopping") + 2, 40};
  std::u16string expected;
  for (size_t from = 1; from <= text.size(); ++from) {
    if (Width(u"..." + text.substr(from)) <= rect.right) {
      expected = u"..." + text.substr(from);
      break;
    }
  }
  EXPECT_EQ(expected.substr(expected.size() - 8), u"Shopping");
  EXPECT_TRUE(SameInk(text, rect, kCutStartWithEllipsis, expected));
}

TEST_F(TextDrawingTest, TextThatFitsIsNotShortened) {
  const RECT rect{0, 0, 240, 40};
  EXPECT_TRUE(SameInk(u"short", rect, kCutEndWithEllipsis | kCutStartWithEllipsis, u"short"));
}

TEST_F(TextDrawingTest, RectangleNarrowerThanDotsShowsClippedDots) {
  const RECT rect{0, 0, 4, 40};
  EXPECT_TRUE(SameInk(u"anything", rect, kCutEndWithEllipsis, u"..."));
}

TEST_F(TextDrawingTest, SplitWordDrawsTheMiddleRunInTheSecondColour) {
  const int regular = CreateAppFont(u"MS SANS SERIF", 15, false, false);
  const int bold = CreateAppFont(u"MS SANS SERIF", 15, false, true);
  const COLORREF typed = RGB(255, 0, 0);
  const COLORREF rest = RGB(0, 255, 0);
  auto [middleFirst, middleLast] = InkColumns(
      [&] { DrawSplitWord(dc_, 0, 0, 240, 40, u"hello", regular, bold, 1, 3, typed, rest); }, rest);
  auto [outerFirst, outerLast] = InkColumns(
      [&] { DrawSplitWord(dc_, 0, 0, 240, 40, u"hello", regular, bold, 1, 3, typed, rest); }, typed);
  ASSERT_GE(middleFirst, 0);
  ASSERT_GE(outerFirst, 0);
  EXPECT_LT(outerFirst, middleFirst) << "'h' comes before the middle run";
  EXPECT_GT(outerLast, middleLast) << "'lo' comes after the middle run";
  EXPECT_GT(outerFirst, 60) << "the word is centred in the rectangle";
}

}  // namespace
