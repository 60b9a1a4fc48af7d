// Painting: WM_PAINT and WM_ERASEBKGND through InvalidateRect / UpdateWindow, the class
// brush, clipping to the visible region (windows above, parents, the screen), exposure when
// a window goes away, and the caret.
#include "window_test_support.h"

#include "internal/backend.h"

#include <gtest/gtest.h>

#include <map>

using namespace wmtest;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

class Painting : public ::testing::Test, public Fixture {
 protected:
  std::map<HWND, COLORREF> colours;  // windows that paint their client area in one colour
  std::vector<RECT> paintRects;
  std::vector<BOOL> eraseLeft;
  void SetUp() override {
    recorder.hooks[WM_PAINT] = [this](HWND h, WPARAM, LPARAM) -> LRESULT {
      PAINTSTRUCT ps;
      BeginPaint(h, &ps);
      paintRects.push_back(ps.rcPaint);
      eraseLeft.push_back(ps.fErase);
      auto it = colours.find(h);
      if (it != colours.end()) {
        HBRUSH brush = CreateSolidBrush(it->second);
        RECT client;
        GetClientRect(h, &client);
        FillRect(ps.hdc, &client, brush);
        DeleteObject(brush);
      }
      EndPaint(h, &ps);
      return 0;
    };
    // Start from a black screen whatever earlier tests left on it.
    HDC screen = GetDC(nullptr);
    RECT all{0, 0, 240, 320};
    FillRect(screen, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(nullptr, screen);
  }
  HWND Coloured(COLORREF c, DWORD style, int x, int y, int w, int h, HWND parent = nullptr) {
    HWND hwnd = Create(style, x, y, w, h, parent);
    colours[hwnd] = c;
    InvalidateRect(hwnd, nullptr, TRUE);
    return hwnd;
  }
};

TEST_F(Painting, InvalidateThenUpdateSendsPaintWithEraseInsideBeginPaint) {
  HWND w = Create(WS_VISIBLE, 0, 0, 100, 100);
  driver.RunUntilIdle();
  recorder.all = true;
  recorder.Clear();
  paintRects.clear();
  RECT part{10, 20, 30, 40};
  InvalidateRect(w, &part, TRUE);
  EXPECT_TRUE(recorder.log.empty());  // nothing happens until asked
  RECT pending;
  EXPECT_TRUE(GetUpdateRect(w, &pending, FALSE));
  EXPECT_TRUE(EqualRect(&pending, &part));
  UpdateWindow(w);
  EXPECT_EQ(recorder.Messages(), (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));
  ASSERT_EQ(paintRects.size(), 1u);
  EXPECT_TRUE(EqualRect(&paintRects[0], &part));
  EXPECT_FALSE(eraseLeft[0]);  // the class brush erased it
  EXPECT_FALSE(GetUpdateRect(w, &pending, FALSE));
  recorder.Clear();
  driver.RunUntilIdle();
  EXPECT_TRUE(recorder.log.empty());
  EXPECT_EQ(driver.Pixel(15, 25), kWhite);
  EXPECT_EQ(driver.Pixel(50, 50), kWhite);  // painted when first shown
}

TEST_F(Painting, InvalidatedRectanglesUniteAndValidateClearsThem) {
  HWND w = Create(WS_VISIBLE, 0, 0, 100, 100);
  driver.RunUntilIdle();
  paintRects.clear();
  RECT a{0, 0, 10, 10}, b{50, 50, 60, 70};
  InvalidateRect(w, &a, FALSE);
  InvalidateRect(w, &b, FALSE);
  driver.RunUntilIdle();
  ASSERT_EQ(paintRects.size(), 1u);
  EXPECT_EQ(paintRects[0].right, 60);
  EXPECT_EQ(paintRects[0].bottom, 70);
  InvalidateRect(w, nullptr, FALSE);
  ValidateRect(w, nullptr);
  driver.RunUntilIdle();
  EXPECT_EQ(paintRects.size(), 1u);
}

TEST_F(Painting, WindowBelowDoesNotPaintOverWindowAbove) {
  HWND lower = Coloured(kRed, WS_VISIBLE, 0, 0, 100, 100);
  HWND upper = Coloured(kBlue, WS_VISIBLE, 50, 50, 100, 100);
  driver.RunUntilIdle();
  InvalidateRect(lower, nullptr, TRUE);
  UpdateWindow(lower);
  EXPECT_EQ(driver.Pixel(10, 10), kRed);
  EXPECT_EQ(driver.Pixel(60, 60), kBlue);
  HDC dc = GetDC(lower);  // a plain DC is clipped the same way
  RECT all{0, 0, 100, 100};
  HBRUSH green = CreateSolidBrush(kGreen);
  FillRect(dc, &all, green);
  DeleteObject(green);
  ReleaseDC(lower, dc);
  EXPECT_EQ(driver.Pixel(10, 10), kGreen);
  EXPECT_EQ(driver.Pixel(60, 60), kBlue);
  ShowWindow(upper, SW_HIDE);  // uncovers part of lower and some bare screen
  driver.RunUntilIdle();
  EXPECT_EQ(driver.Pixel(60, 60), kRed);
  EXPECT_EQ(driver.Pixel(120, 120), kBlack);
}

TEST_F(Painting, HidingAWindowRepaintsOnlyWhatItUncovers) {
  HWND below = Coloured(kRed, WS_VISIBLE, 0, 0, 100, 100);
  HWND popup = Coloured(kBlue, WS_POPUP | WS_VISIBLE, 20, 20, 40, 40, below);
  HWND above = Coloured(kGreen, WS_VISIBLE, 30, 30, 20, 20);
  HWND aside = Coloured(kWhite, WS_VISIBLE, 150, 150, 50, 50);
  driver.RunUntilIdle();
  recorder.all = true;
  recorder.Clear();
  paintRects.clear();
  ShowWindow(popup, SW_HIDE);
  driver.RunUntilIdle();
  std::vector<HWND> painted;
  for (const Logged& l : recorder.log) {
    if (l.msg == WM_PAINT) painted.push_back(l.hwnd);
  }
  EXPECT_EQ(painted, (std::vector<HWND>{below}));  // not the window above, not the one aside
  ASSERT_EQ(paintRects.size(), 1u);
  EXPECT_EQ(paintRects[0].left, 20);
  EXPECT_EQ(paintRects[0].right, 60);
  EXPECT_EQ(driver.Pixel(25, 25), kRed);
  EXPECT_EQ(driver.Pixel(35, 35), kGreen);
  (void)above;
  (void)aside;
}

TEST_F(Painting, HidingAChildRepaintsItsParentUnderIt) {
  HWND parent = Coloured(kRed, WS_VISIBLE, 0, 0, 100, 100);
  HWND child = Coloured(kBlue, WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, parent);
  driver.RunUntilIdle();
  EXPECT_EQ(driver.Pixel(15, 15), kBlue);
  ShowWindow(child, SW_HIDE);
  driver.RunUntilIdle();
  EXPECT_EQ(driver.Pixel(15, 15), kRed);
}

TEST_F(Painting, ChildrenAreClippedToParentAndPaintOverIt) {
  HWND parent = Coloured(kRed, WS_VISIBLE, 0, 0, 100, 100);
  Coloured(kGreen, WS_CHILD | WS_VISIBLE, 50, 50, 100, 100, parent);
  driver.RunUntilIdle();
  EXPECT_EQ(driver.Pixel(10, 10), kRed);
  EXPECT_EQ(driver.Pixel(60, 60), kGreen);
  EXPECT_EQ(driver.Pixel(120, 120), kBlack);
  InvalidateRect(parent, nullptr, TRUE);  // the parent paints first, then the child again
  driver.RunUntilIdle();
  EXPECT_EQ(driver.Pixel(60, 60), kGreen);
}

TEST_F(Painting, SiblingsClipEachOtherInZOrder) {
  HWND parent = Coloured(kRed, WS_VISIBLE, 0, 0, 200, 200);
  HWND first = Coloured(kGreen, WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, parent);
  HWND second = Coloured(kBlue, WS_CHILD | WS_VISIBLE, 50, 50, 100, 100, parent);
  driver.RunUntilIdle();
  EXPECT_EQ(driver.Pixel(60, 60), kGreen);  // the first child is above its later sibling
  SetWindowPos(second, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  driver.RunUntilIdle();
  EXPECT_EQ(driver.Pixel(60, 60), kBlue);
  EXPECT_EQ(GetWindow(parent, GW_CHILD), second);
  DestroyWindow(second);
  driver.RunUntilIdle();
  EXPECT_EQ(driver.Pixel(60, 60), kGreen);
  EXPECT_EQ(driver.Pixel(120, 120), kRed);
  (void)first;
}

TEST_F(Painting, MovingAWindowRepaintsWhatItLeft) {
  HWND w = Coloured(kBlue, WS_VISIBLE, 0, 0, 50, 50);
  driver.RunUntilIdle();
  recorder.Clear();
  MoveWindow(w, 100, 100, 60, 60, TRUE);
  EXPECT_EQ(recorder.Messages(), (std::vector<UINT>{WM_MOVE, WM_SIZE}));
  driver.RunUntilIdle();
  EXPECT_EQ(driver.Pixel(10, 10), kBlack);
  EXPECT_EQ(driver.Pixel(155, 155), kBlue);
}

TEST_F(Painting, FramedWindowGetsBorderAndCaption) {
  HWND w = Create(WS_VISIBLE | WS_CAPTION, 10, 10, 100, 100, nullptr, u"Title");
  driver.RunUntilIdle();
  EXPECT_EQ(driver.Pixel(10, 10), kBlack);                     // border
  EXPECT_EQ(driver.Pixel(100, 12), RGB(0, 0, 128));            // caption bar
  EXPECT_EQ(driver.Pixel(50, 10 + 1 + GetSystemMetrics(SM_CYCAPTION) + 5), kWhite);  // client
  RECT client;
  GetClientRect(w, &client);
  EXPECT_EQ(client.bottom, 100 - 2 - GetSystemMetrics(SM_CYCAPTION));
}

TEST_F(Painting, CaretInvertsItsPixelsWhileShown) {
  HWND w = Create(WS_VISIBLE, 0, 0, 100, 100);
  driver.RunUntilIdle();
  ASSERT_EQ(driver.Pixel(20, 20), kWhite);
  CreateCaret(w, nullptr, 2, 10);
  SetCaretPos(20, 15);
  EXPECT_EQ(driver.Pixel(20, 20), kWhite);  // a new caret is hidden
  ShowCaret(w);
  EXPECT_EQ(driver.Pixel(20, 20), kBlack);
  EXPECT_EQ(driver.Pixel(22, 20), kWhite);
  InvalidateRect(w, nullptr, TRUE);  // repainting under the caret keeps it drawn once
  driver.RunUntilIdle();
  EXPECT_EQ(driver.Pixel(20, 20), kBlack);
  POINT p;
  GetCaretPos(&p);
  EXPECT_EQ(p.x, 20);
  device::internal::BlinkCaret();  // what the real-time backend does twice a second
  EXPECT_EQ(driver.Pixel(20, 20), kWhite);
  SetCaretPos(20, 15);  // moving it shows it at once
  EXPECT_EQ(driver.Pixel(20, 20), kBlack);
  HideCaret(w);
  EXPECT_EQ(driver.Pixel(20, 20), kWhite);
  device::internal::BlinkCaret();  // a hidden caret does not blink
  EXPECT_EQ(driver.Pixel(20, 20), kWhite);
  ShowCaret(w);
  DestroyCaret();
  EXPECT_EQ(driver.Pixel(20, 20), kWhite);
}

}  // namespace
