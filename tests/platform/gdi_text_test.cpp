// Fonts and text: face mapping, heights, measuring, DrawText alignment, line breaking,
// prefixes, rotated text, and where the ink lands.
#include <device/gdi.h>

#include "internal/font_resolver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

HFONT MakeFont(const char16_t* face, LONG height, bool bold = false, bool vertical = false) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfEscapement = lf.lfOrientation = vertical ? 900 : 0;
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfQuality = 1;
  lf.lfPitchAndFamily = 4;
  std::memcpy(lf.lfFaceName, face, (std::char_traits<char16_t>::length(face) + 1) * 2);
  return CreateFontIndirect(&lf);
}

// A white 240 x 320 memory canvas with black transparent-mode text in a chosen font.
struct TextCanvas {
  explicit TextCanvas(HFONT f = nullptr) : font(f) {
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateCompatibleBitmap(dc, 240, 320);
    oldBitmap = SelectObject(dc, bitmap);
    Clear();
    if (font) oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kBlack);
  }
  ~TextCanvas() {
    if (font) {
      SelectObject(dc, oldFont);
      DeleteObject(font);
    }
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  void Clear() {
    RECT all{0, 0, 240, 320};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  // Bounding box of every pixel that is not white; empty (0,0,0,0) when there is none.
  RECT Ink() const {
    RECT box{240, 320, 0, 0};
    for (int y = 0; y < 320; ++y) {
      for (int x = 0; x < 240; ++x) {
        if (GetPixel(dc, x, y) == kWhite) continue;
        box = RECT{std::min(box.left, static_cast<LONG>(x)), std::min(box.top, static_cast<LONG>(y)),
                   std::max(box.right, static_cast<LONG>(x + 1)), std::max(box.bottom, static_cast<LONG>(y + 1))};
      }
    }
    return box.right == 0 ? RECT{0, 0, 0, 0} : box;
  }
  RECT Draw(const char16_t* text, RECT r, UINT format) {
    Clear();
    DrawText(dc, text, -1, &r, format);
    return Ink();
  }
  SIZE Extent(const char16_t* text) {
    SIZE s{};
    GetTextExtentPoint32(dc, text, static_cast<int>(std::char_traits<char16_t>::length(text)), &s);
    return s;
  }
  RECT CalcRect(const char16_t* text, RECT r, UINT format) {
    DrawText(dc, text, -1, &r, format | DT_CALCRECT);
    return r;
  }
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ oldBitmap;
  HFONT font;
  HGDIOBJ oldFont = nullptr;
};

constexpr UINT kSingle = DT_SINGLELINE | DT_NOPREFIX;

}  // namespace

TEST(FontResolver, DeviceFaceNamesMapToFacesOfCloseWidth) {
  using device::internal::ResolveFont;
  EXPECT_NE(ResolveFont(u"MS SANS SERIF", false, false).path.find("LiberationSans-Regular"), std::string::npos);
  EXPECT_NE(ResolveFont(u"MS SANS SERIF", true, false).path.find("LiberationSans-Bold"), std::string::npos);
  EXPECT_NE(ResolveFont(u"ARIAL BOLD", false, false).path.find("LiberationSans-Bold"), std::string::npos);
  EXPECT_NE(ResolveFont(u"TAHOMA", false, false).path.find("DejaVuSansCondensed"), std::string::npos);
  EXPECT_FALSE(ResolveFont(u"No Such Face At All", false, false).path.empty());
}

TEST(GdiFont, PositiveHeightIsTheCellHeightAndBoldIsWider) {
  TextCanvas normal(MakeFont(u"MS SANS SERIF", 14));
  TEXTMETRICW tm{};
  ASSERT_TRUE(GetTextMetrics(normal.dc, &tm));
  EXPECT_EQ(tm.tmHeight, 14);
  EXPECT_EQ(tm.tmAscent + tm.tmDescent, 14);
  EXPECT_GT(tm.tmAveCharWidth, 3);
  EXPECT_LT(tm.tmAveCharWidth, 10);

  TextCanvas tall(MakeFont(u"MS SANS SERIF", -20));
  GetTextMetrics(tall.dc, &tm);
  EXPECT_GT(tm.tmHeight, 20);  // character height 20 plus internal leading

  TextCanvas bold(MakeFont(u"MS SANS SERIF", 14, true));
  EXPECT_GT(bold.Extent(u"Wednesday").cx, normal.Extent(u"Wednesday").cx);
}

TEST(GdiText, ExtentsGrowWithTextAndEmptyTextHasNoWidth) {
  TextCanvas c(MakeFont(u"MS SANS SERIF", 15));
  const SIZE empty = c.Extent(u"");
  EXPECT_EQ(empty.cx, 0);
  EXPECT_EQ(empty.cy, 15);
  const SIZE one = c.Extent(u"note");
  const SIZE two = c.Extent(u"note note");
  EXPECT_GT(one.cx, 10);
  EXPECT_GT(two.cx, 2 * one.cx);
  // A combining mark sits on its base and takes no room; a surrogate pair is one character.
  EXPECT_EQ(c.Extent(u"e\u0301").cx, c.Extent(u"e").cx);
  EXPECT_GT(c.Extent(u"\u03B1\u03B2\u03B3").cx, 10);  // Greek
  EXPECT_EQ(c.Extent(u"\U0001D400").cx, c.Extent(u"\U0001D401").cx);
}

TEST(GdiText, CombiningMarkIsDrawnAboveItsBase) {
  TextCanvas c(MakeFont(u"MS SANS SERIF", 30));
  const RECT plain = c.Draw(u"e", RECT{0, 0, 240, 100}, kSingle);
  const RECT accented = c.Draw(u"e\u0301", RECT{0, 0, 240, 100}, kSingle);
  EXPECT_LT(accented.top, plain.top);
  EXPECT_LE(accented.right, plain.right + 3);
}

TEST(GdiDrawText, HorizontalAlignmentPlacesInkLeftCentreOrRight) {
  TextCanvas c(MakeFont(u"MS SANS SERIF", 15));
  const RECT box{20, 10, 220, 60};
  const RECT left = c.Draw(u"Hello", box, kSingle | DT_LEFT);
  const RECT centre = c.Draw(u"Hello", box, kSingle | DT_CENTER);
  const RECT right = c.Draw(u"Hello", box, kSingle | DT_RIGHT);
  EXPECT_GE(left.left, 20);
  EXPECT_LE(left.left, 23);
  EXPECT_LE(right.right, 220);
  EXPECT_GE(right.right, 216);
  const int middle = (centre.left + centre.right) / 2;
  EXPECT_NEAR(middle, 120, 3);
  EXPECT_EQ(centre.right - centre.left, left.right - left.left);
}

TEST(GdiDrawText, VerticalAlignmentPlacesInkTopMiddleOrBottom) {
  TextCanvas c(MakeFont(u"MS SANS SERIF", 15));
  const RECT box{0, 100, 240, 200};
  const RECT top = c.Draw(u"Hx", box, kSingle | DT_TOP);
  const RECT middle = c.Draw(u"Hx", box, kSingle | DT_VCENTER);
  const RECT bottom = c.Draw(u"Hx", box, kSingle | DT_BOTTOM);
  EXPECT_GE(top.top, 100);
  EXPECT_LT(top.bottom, 116);
  EXPECT_LE(bottom.bottom, 200);
  EXPECT_GT(bottom.top, 185);
  EXPECT_NEAR((middle.top + middle.bottom) / 2, 150, 4);
  // Without DT_SINGLELINE the vertical flags do nothing, as in Win32.
  const RECT multi = c.Draw(u"Hx", box, DT_BOTTOM | DT_NOPREFIX);
  EXPECT_EQ(multi.top, top.top);
}

TEST(GdiDrawText, DrawingIsClippedToTheRectangleUnlessNoClip) {
  TextCanvas c(MakeFont(u"MS SANS SERIF", 15));
  const RECT clipped = c.Draw(u"a long line of text", RECT{10, 10, 40, 40}, kSingle);
  EXPECT_LE(clipped.right, 40);
  const RECT free = c.Draw(u"a long line of text", RECT{10, 10, 40, 40}, kSingle | DT_NOCLIP);
  EXPECT_GT(free.right, 60);
}

TEST(GdiDrawText, CalcRectReportsTheExtentAndWordBreakAddsLines) {
  TextCanvas c(MakeFont(u"MS SANS SERIF", 15));
  const RECT start{10, 20, 90, 20};
  const RECT one = c.CalcRect(u"word", start, kSingle | DT_CENTER);
  EXPECT_EQ(one.left, 10);
  EXPECT_EQ(one.top, 20);
  EXPECT_EQ(one.right - one.left, c.Extent(u"word").cx);
  EXPECT_EQ(one.bottom - one.top, 15);
  const RECT longer = c.CalcRect(u"word word", start, kSingle | DT_CENTER);
  EXPECT_GT(longer.right, one.right);

  const char16_t* sentence = u"several short words that cannot fit on one line";
  const RECT wrapped = c.CalcRect(sentence, start, DT_WORDBREAK | DT_NOPREFIX);
  EXPECT_GE(wrapped.bottom - wrapped.top, 4 * 15);
  EXPECT_EQ((wrapped.bottom - wrapped.top) % 15, 0);
  EXPECT_LE(wrapped.right, 90);
  const RECT unwrapped = c.CalcRect(sentence, start, DT_NOPREFIX);
  EXPECT_EQ(unwrapped.bottom - unwrapped.top, 15);

  const RECT empty = c.CalcRect(u"", start, kSingle);
  EXPECT_EQ(empty.right, empty.left);
  EXPECT_EQ(empty.bottom, empty.top);

  const RECT breaks = c.CalcRect(u"one\r\ntwo\nthree", start, DT_NOPREFIX);
  EXPECT_EQ(breaks.bottom - breaks.top, 3 * 15);
  EXPECT_EQ(c.CalcRect(u"one\ntwo\r\n", start, DT_NOPREFIX).bottom - start.top, 2 * 15);
  RECT r = start;
  EXPECT_EQ(DrawText(c.dc, u"one\r\ntwo\nthree", -1, &r, DT_NOPREFIX), 3 * 15);
}

TEST(GdiDrawText, AmpersandMarksAnUnderlinedCharacterUnlessNoPrefix) {
  TextCanvas c(MakeFont(u"MS SANS SERIF", 15));
  const RECT start{0, 0, 200, 0};
  const int prefixed = c.CalcRect(u"&File", start, DT_SINGLELINE).right;
  EXPECT_EQ(prefixed, c.Extent(u"File").cx);
  EXPECT_EQ(c.CalcRect(u"&File", start, DT_SINGLELINE | DT_NOPREFIX).right, c.Extent(u"&File").cx);
  EXPECT_EQ(c.CalcRect(u"A&&B", start, DT_SINGLELINE).right, c.Extent(u"A&B").cx);
  // The underline reaches below the baseline, under the letters "File" drawn plainly do not.
  const RECT underlined = c.Draw(u"&File", RECT{0, 0, 200, 40}, DT_SINGLELINE);
  const RECT plain = c.Draw(u"File", RECT{0, 0, 200, 40}, DT_SINGLELINE);
  EXPECT_GT(underlined.bottom, plain.bottom);
}

TEST(GdiDrawText, RotatedTextRunsUpwardsFromItsPointInATallThinBox) {
  TextCanvas c(MakeFont(u"MS SANS SERIF", 14, false, true));
  // Bottom aligned in the landscape editor's way: the line starts at bottom - cell height.
  const RECT ink = c.Draw(u"Landscapes", RECT{28, 0, 300, 300}, kSingle | DT_BOTTOM);
  ASSERT_GT(ink.bottom, 0);
  EXPECT_GT(ink.bottom - ink.top, 3 * (ink.right - ink.left));
  EXPECT_GE(ink.left, 28);
  EXPECT_LE(ink.right, 28 + 14 + 1);  // a descender may spill one pixel of anti-aliasing
  EXPECT_LE(ink.bottom, 300 - 14);
  EXPECT_GT(ink.bottom, 300 - 14 - 4);
  // The measured extent stays the unrotated one: width along the text.
  const RECT calc = c.CalcRect(u"Landscapes", RECT{0, 0, 300, 300}, kSingle);
  EXPECT_NEAR(calc.right, ink.bottom - ink.top, 3);
  EXPECT_EQ(calc.bottom, 14);
}

TEST(GdiText, InkIsTheTextColourAndOpaqueModeFillsTheCell) {
  TextCanvas c(MakeFont(u"MS SANS SERIF", 30, true));
  SetTextColor(c.dc, RGB(0, 0, 255));
  c.Clear();
  TextOut(c.dc, 10, 10, u"I", 1);
  bool solid = false;
  for (int y = 10; y < 40; ++y) solid = solid || GetPixel(c.dc, 14, y) == RGB(0, 0, 255);
  for (int x = 10; x < 25 && !solid; ++x) {
    for (int y = 10; y < 40; ++y) solid = solid || GetPixel(c.dc, x, y) == RGB(0, 0, 255);
  }
  EXPECT_TRUE(solid);

  SetBkMode(c.dc, OPAQUE);
  SetBkColor(c.dc, RGB(0, 255, 0));
  c.Clear();
  TextOut(c.dc, 10, 100, u"I", 1);
  EXPECT_EQ(GetPixel(c.dc, 10, 100), RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(c.dc, 10, 100 + 29), RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(c.dc, 10, 100 + 30), kWhite);
}

TEST(GdiText, DefaultFontDrawsWhenNoneIsSelected) {
  TextCanvas c;
  EXPECT_EQ(c.Extent(u"").cy, 15);
  const RECT ink = c.Draw(u"default", RECT{0, 0, 240, 40}, kSingle);
  EXPECT_GT(ink.right - ink.left, 20);
}
