// GDI objects and pixel copies: selection rules, clipping of copies to bitmaps and to a
// screen DC's visible rectangles, colour-keyed copies, fills.
#include <device/gdi.h>

#include "internal/screen.h"

#include <gtest/gtest.h>

#include <vector>

using device::internal::CreateScreenDC;
using device::internal::DestroyScreenDC;
using device::internal::InvertScreenRect;
using device::internal::ScreenGeneration;
using device::internal::ScreenSurface;

namespace {

// A memory DC holding a fresh w x h bitmap filled with `color`.
struct MemoryCanvas {
  MemoryCanvas(int w, int h, COLORREF color) {
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateCompatibleBitmap(dc, w, h);
    previous = SelectObject(dc, bitmap);
    Fill(RECT{0, 0, w, h}, color);
  }
  ~MemoryCanvas() {
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  void Fill(RECT r, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  }
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ previous;
};

std::uint32_t ScreenAt(int x, int y) {
  auto s = ScreenSurface();
  return s.pixels[y * s.width + x];
}

void ClearScreen() {
  auto s = ScreenSurface();
  std::fill(s.pixels, s.pixels + s.width * s.height, 0u);
}

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kMagenta = RGB(255, 0, 255);

}  // namespace

TEST(GdiObjects, SelectObjectReturnsThePreviousObjectOfEachKind) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP first = CreateCompatibleBitmap(dc, 4, 4);
  HBITMAP second = CreateCompatibleBitmap(dc, 4, 4);
  HGDIOBJ stockBitmap = SelectObject(dc, first);
  ASSERT_NE(stockBitmap, nullptr);
  EXPECT_EQ(SelectObject(dc, second), first);
  EXPECT_EQ(SelectObject(dc, stockBitmap), second);

  HBRUSH brush = CreateSolidBrush(kRed);
  EXPECT_EQ(SelectObject(dc, brush), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_BRUSH)), brush);
  EXPECT_EQ(SelectObject(dc, GetStockObject(NULL_PEN)), GetStockObject(BLACK_PEN));
  EXPECT_EQ(SelectObject(dc, GetStockObject(SYSTEM_FONT)), GetStockObject(SYSTEM_FONT));
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(NULL_PEN));

  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_TRUE(DeleteObject(first));
  EXPECT_TRUE(DeleteObject(second));
  EXPECT_TRUE(DeleteDC(dc));
}

TEST(GdiObjects, SelectedBitmapIsNeitherSharedNorDeletedAndStockObjectsSurviveDelete) {
  HDC a = CreateCompatibleDC(nullptr);
  HDC b = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(a, 8, 8);
  HGDIOBJ stockA = SelectObject(a, bitmap);
  EXPECT_EQ(SelectObject(b, bitmap), nullptr);  // already in a
  EXPECT_FALSE(DeleteObject(bitmap));
  SelectObject(a, stockA);
  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_EQ(SelectObject(a, bitmap), nullptr);  // stale handle refused

  EXPECT_FALSE(DeleteObject(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(GetObject(GetStockObject(WHITE_BRUSH), 0, nullptr), 0);
  DeleteDC(a);
  DeleteDC(b);
}

TEST(GdiObjects, GetObjectReportsBitmapSizeAndScreenDepth) {
  HBITMAP bitmap = CreateCompatibleBitmap(nullptr, 37, 11);
  BITMAP info{};
  ASSERT_EQ(GetObject(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
  EXPECT_EQ(info.bmWidth, 37);
  EXPECT_EQ(info.bmHeight, 11);
  EXPECT_EQ(info.bmBitsPixel, 32);
  EXPECT_EQ(GetDeviceCaps(nullptr, BITSPIXEL), 32);
  EXPECT_EQ(GetDeviceCaps(nullptr, HORZRES), 240);
  EXPECT_EQ(GetDeviceCaps(nullptr, VERTRES), 320);
  DeleteObject(bitmap);
}

TEST(GdiBlit, CopyIsClippedToSourceAndDestinationBitmaps) {
  MemoryCanvas src(10, 10, kRed);
  MemoryCanvas dst(10, 10, kBlue);
  // Destination partly off the left/top edge, source partly off its right/bottom edge.
  ASSERT_TRUE(BitBlt(dst.dc, -3, -3, 10, 10, src.dc, 5, 5, SRCCOPY));
  EXPECT_EQ(GetPixel(dst.dc, 0, 0), kRed);   // source (8, 8)
  EXPECT_EQ(GetPixel(dst.dc, 1, 1), kRed);   // source (9, 9), its last pixel
  EXPECT_EQ(GetPixel(dst.dc, 2, 2), kBlue);  // would read source (10, 10): outside
  EXPECT_EQ(GetPixel(dst.dc, 5, 0), kBlue);
  EXPECT_EQ(GetPixel(dst.dc, 10, 0), CLR_INVALID);
}

TEST(GdiBlit, OverlappingCopyWithinOneBitmapMovesRowsIntact) {
  MemoryCanvas canvas(4, 6, kBlue);
  for (int y = 0; y < 6; ++y) SetPixel(canvas.dc, 0, y, RGB(y * 10, 0, 0));
  BitBlt(canvas.dc, 0, 1, 4, 5, canvas.dc, 0, 0, SRCCOPY);  // scroll down by one row
  for (int y = 1; y < 6; ++y) EXPECT_EQ(GetPixel(canvas.dc, 0, y), RGB((y - 1) * 10, 0, 0)) << y;
  BitBlt(canvas.dc, 0, 0, 4, 5, canvas.dc, 0, 1, SRCCOPY);  // and back up
  for (int y = 0; y < 5; ++y) EXPECT_EQ(GetPixel(canvas.dc, 0, y), RGB(y * 10, 0, 0)) << y;
}

TEST(GdiBlit, ScreenCopyLandsAtWindowOriginInsideVisibleRectanglesOnly) {
  ClearScreen();
  MemoryCanvas src(240, 320, kRed);
  // A window at (10, 20) whose visible region is two bands; the part between is covered.
  std::vector<RECT> visible{{10, 20, 60, 40}, {10, 50, 60, 70}};
  HDC screen = CreateScreenDC(nullptr, POINT{10, 20}, visible);
  const auto before = ScreenGeneration();
  BitBlt(screen, -5, 0, 100, 100, src.dc, 0, 0, SRCCOPY);
  EXPECT_GT(ScreenGeneration(), before);
  EXPECT_EQ(ScreenAt(10, 20), 0x00FF0000u);  // red in the surface's 0x00RRGGBB
  EXPECT_EQ(ScreenAt(59, 39), 0x00FF0000u);
  EXPECT_EQ(ScreenAt(60, 39), 0u);   // right of the visible band
  EXPECT_EQ(ScreenAt(30, 45), 0u);   // covered by another window
  EXPECT_EQ(ScreenAt(30, 55), 0x00FF0000u);
  EXPECT_EQ(ScreenAt(9, 55), 0u);
  EXPECT_EQ(GetPixel(screen, 20, 30), kRed);
  EXPECT_EQ(GetPixel(screen, 20, 25), CLR_INVALID);  // not visible

  const auto quiet = ScreenGeneration();
  BitBlt(screen, 200, 200, 10, 10, src.dc, 0, 0, SRCCOPY);  // entirely hidden
  EXPECT_EQ(ScreenGeneration(), quiet);
  DestroyScreenDC(screen);
}

TEST(GdiBlit, ScreenCopiesStopAtTheScreenEdgesAndAtAnEmptyRegion) {
  ClearScreen();
  MemoryCanvas src(240, 320, kBlue);
  std::vector<RECT> whole{{0, 0, 240, 320}};
  HDC screen = CreateScreenDC(nullptr, POINT{0, 0}, whole);
  BitBlt(screen, 0, 0, 240, 320, src.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(ScreenAt(0, 0), 0x000000FFu);
  EXPECT_EQ(ScreenAt(239, 319), 0x000000FFu);
  DestroyScreenDC(screen);
  // A region reaching past the screen edge is cut at the edge.
  std::vector<RECT> beyond{{200, 300, 400, 500}};
  HDC corner = CreateScreenDC(nullptr, POINT{200, 300}, beyond);
  MemoryCanvas red(100, 100, kRed);
  BitBlt(corner, 0, 0, 100, 100, red.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(ScreenAt(239, 319), 0x00FF0000u);
  EXPECT_EQ(ScreenAt(199, 319), 0x000000FFu);
  EXPECT_EQ(GetPixel(corner, 40, 20), CLR_INVALID);  // off the screen
  DestroyScreenDC(corner);
  std::vector<RECT> none;
  HDC hidden = CreateScreenDC(nullptr, POINT{0, 0}, none);
  SetPixel(hidden, 5, 5, kRed);
  EXPECT_EQ(ScreenAt(5, 5), 0x000000FFu);
  DestroyScreenDC(hidden);
}

TEST(GdiBlit, TransparentImageLeavesKeyColouredPixelsUntouched) {
  // A 2-frame strip: frame 1 has a magenta (transparent) border around a red centre.
  MemoryCanvas strip(8, 4, kMagenta);
  strip.Fill(RECT{5, 1, 7, 3}, kRed);
  MemoryCanvas dst(4, 4, kBlue);
  // The source may be the bitmap handle itself rather than a DC.
  ASSERT_TRUE(TransparentImage(dst.dc, 0, 0, 4, 4, strip.bitmap, 4, 0, 4, 4, kMagenta));
  EXPECT_EQ(GetPixel(dst.dc, 0, 0), kBlue);
  EXPECT_EQ(GetPixel(dst.dc, 1, 1), kRed);
  EXPECT_EQ(GetPixel(dst.dc, 2, 2), kRed);
  EXPECT_EQ(GetPixel(dst.dc, 3, 3), kBlue);

  // The same through a DC source and TransparentBlt, with another key: nothing is left out.
  MemoryCanvas dst2(4, 4, kBlue);
  ASSERT_TRUE(TransparentBlt(dst2.dc, 0, 0, 4, 4, strip.dc, 4, 0, 4, 4, kRed));
  EXPECT_EQ(GetPixel(dst2.dc, 0, 0), kMagenta);
  EXPECT_EQ(GetPixel(dst2.dc, 1, 1), kBlue);
}

TEST(GdiBlit, TransparentImageOfUnequalSizesCopiesTheCommonPartUnscaled) {
  MemoryCanvas src(6, 6, kRed);
  MemoryCanvas dst(6, 6, kBlue);
  ASSERT_TRUE(TransparentImage(dst.dc, 0, 0, 6, 6, src.dc, 0, 0, 3, 2, kMagenta));
  EXPECT_EQ(GetPixel(dst.dc, 2, 1), kRed);
  EXPECT_EQ(GetPixel(dst.dc, 3, 1), kBlue);
  EXPECT_EQ(GetPixel(dst.dc, 2, 2), kBlue);
}

TEST(GdiFill, BrushesRectanglesAndRasterOperations) {
  MemoryCanvas canvas(10, 10, kBlue);
  RECT all{0, 0, 10, 10};
  FillRect(canvas.dc, &all, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
  EXPECT_EQ(GetPixel(canvas.dc, 5, 5), kBlue);
  FillRect(canvas.dc, &all, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
  EXPECT_EQ(GetPixel(canvas.dc, 9, 9), RGB(192, 192, 192));

  SelectObject(canvas.dc, GetStockObject(BLACK_PEN));
  SelectObject(canvas.dc, GetStockObject(WHITE_BRUSH));
  Rectangle(canvas.dc, 2, 2, 8, 8);
  EXPECT_EQ(GetPixel(canvas.dc, 2, 2), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(canvas.dc, 7, 5), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(canvas.dc, 5, 5), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(canvas.dc, 8, 8), RGB(192, 192, 192));  // right/bottom exclusive

  BitBlt(canvas.dc, 0, 0, 1, 1, nullptr, 0, 0, DSTINVERT);
  EXPECT_EQ(GetPixel(canvas.dc, 0, 0), RGB(63, 63, 63));
  BitBlt(canvas.dc, 0, 0, 1, 1, nullptr, 0, 0, BLACKNESS);
  EXPECT_EQ(GetPixel(canvas.dc, 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetNearestColor(canvas.dc, RGB(1, 2, 3)), RGB(1, 2, 3));

  MoveToEx(canvas.dc, 0, 9, nullptr);
  LineTo(canvas.dc, 4, 9);
  EXPECT_EQ(GetPixel(canvas.dc, 3, 9), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(canvas.dc, 4, 9), RGB(192, 192, 192));  // end point not drawn
}

TEST(GdiFill, ExtremeCoordinatesAreClippedNotOverflowed) {
  MemoryCanvas canvas(10, 10, kBlue);
  constexpr LONG kMin = -2147483647 - 1;
  constexpr LONG kMax = 2147483647;
  RECT huge{kMin, kMin, kMax, kMax};
  FillRect(canvas.dc, &huge, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(GetPixel(canvas.dc, 9, 9), RGB(0, 0, 0));
  MemoryCanvas src(10, 10, kRed);
  BitBlt(canvas.dc, kMax, kMax, kMax, kMax, src.dc, kMin, kMin, SRCCOPY);
  BitBlt(canvas.dc, kMin, kMin, kMax, kMax, src.dc, kMax, kMax, SRCCOPY);
  EXPECT_EQ(GetPixel(canvas.dc, 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(canvas.dc, kMin, kMax), CLR_INVALID);
  RECT text = huge;
  EXPECT_GT(DrawText(canvas.dc, u"edge", -1, &text, DT_SINGLELINE | DT_CENTER | DT_VCENTER), 0);
}

TEST(GdiScreen, CaretInversionIsClippedAndUndoesItself) {
  ClearScreen();
  std::vector<RECT> visible{{0, 0, 240, 100}};
  const auto before = ScreenGeneration();
  InvertScreenRect(RECT{10, 95, 12, 105}, visible);
  EXPECT_GT(ScreenGeneration(), before);
  EXPECT_EQ(ScreenAt(10, 99), 0x00FFFFFFu);
  EXPECT_EQ(ScreenAt(10, 100), 0u);
  InvertScreenRect(RECT{10, 95, 12, 105}, visible);
  EXPECT_EQ(ScreenAt(10, 99), 0u);
}
