// The paged list as the browsing windows rely on it: rows show p * R + i, moves never leave
// the list, a pen-down on a transparent corner reaches the row beneath, and a single button
// is redrawn over the window's own picture with the window's label drawer.
#include "drawing/paged_button_list.h"

#include "drawing/back_buffer.h"
#include "drawing/text_drawing.h"
#include "skin_fixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

PagedButtonList ListOf(int rows, int items) {
  PagedButtonList list;
  list.rowCount = rows;
  list.buttonCount = rows;
  ResetList(list, items);
  return list;
}

std::vector<int> ShownItems(const PagedButtonList& list) {
  std::vector<int> items;
  for (int row = 0; row < list.rowCount; ++row) items.push_back(ListItemAt(list, row));
  return items;
}

TEST(PagedButtonListMoves, SevenItemsInSixRowsMakeTwoPagesAndTheSecondShowsOne) {
  PagedButtonList list = ListOf(6, 7);
  EXPECT_EQ(ShownItems(list), (std::vector<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_FALSE(PreviousListPage(list));
  ASSERT_TRUE(NextListPage(list));
  EXPECT_EQ(ShownItems(list), (std::vector<int>{6, -1, -1, -1, -1, -1}));
  EXPECT_EQ(SelectedListItem(list), 6);
  EXPECT_FALSE(NextListPage(list));
  EXPECT_FALSE(NextListRow(list)) << "row 1 of the last page shows nothing";
  EXPECT_EQ(list.selected, 0);
}

TEST(PagedButtonListMoves, AnExactMultipleOfTheRowsRefusesTheNextPageOnTheLastOne) {
  PagedButtonList list = ListOf(6, 12);
  ASSERT_TRUE(NextListPage(list));
  EXPECT_EQ(ShownItems(list).back(), 11);
  EXPECT_FALSE(NextListPage(list));
  EXPECT_EQ(list.page, 1);
}

TEST(PagedButtonListMoves, AnEmptyListSelectsNothingAndRefusesEveryMove) {
  PagedButtonList list = ListOf(6, 0);
  EXPECT_EQ(SelectedListItem(list), -1);
  EXPECT_FALSE(NextListPage(list));
  EXPECT_FALSE(PreviousListPage(list));
  EXPECT_FALSE(NextListRow(list));
  EXPECT_FALSE(PreviousListRow(list));
  EXPECT_EQ(list.page, 0);
}

TEST(PagedButtonListMoves, RowMovesCrossPagesAtTheEdges) {
  PagedButtonList list = ListOf(3, 8);
  ASSERT_TRUE(NextListRow(list));
  ASSERT_TRUE(NextListRow(list));
  EXPECT_EQ(SelectedListItem(list), 2);
  ASSERT_TRUE(NextListRow(list)) << "past the last row: the next page, row 0";
  EXPECT_EQ(list.page, 1);
  EXPECT_EQ(list.selected, 0);
  ASSERT_TRUE(PreviousListRow(list)) << "before row 0: the previous page, its last row";
  EXPECT_EQ(list.page, 0);
  EXPECT_EQ(list.selected, 2);
  ResetList(list, 8);
  EXPECT_FALSE(PreviousListRow(list));
  ResetList(list, -4);
  EXPECT_EQ(list.itemCount, 0) << "a failed listing counts as empty";
}

// Two overlapping rows in one band: row 0's image is transparent on its right half, where
// row 1 lies beneath it.
class PagedButtonListWindowTest : public ::testing::Test {
 protected:
  static constexpr COLORREF kHole = RGB(255, 0, 255);

  void SetUp() override {
    std::vector<std::uint32_t> pixels(3 * 100 * 40);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 300; ++x) pixels[y * 300 + x] = (x % 100) >= 60 ? 0xFF00FF : 0xFF0000;
    skin_test::WriteImage(driver_, "02.png", 300, 40, pixels);
    skin_test::WriteSolidImage(driver_, "03.png", 300, 40, 0x00FF00);
    LoadSkinImages();
    WNDCLASS windowClass{};
    windowClass.lpfnWndProc = DefWindowProc;
    windowClass.lpszClassName = u"ListHost";
    RegisterClass(&windowClass);
    window_ = CreateWindowEx(0, u"ListHost", u"host", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                             nullptr, nullptr);
    HDC screen = GetDC(window_);
    CreateBackBuffer(screen);
    ReleaseDC(window_, screen);
    for (ButtonSpec& b : buttons_) b.transparentColour = kHole;
    buttons_[0].left = 0, buttons_[0].top = 100, buttons_[0].right = 100, buttons_[0].bottom = 140;
    buttons_[1].left = 40, buttons_[1].top = 100, buttons_[1].right = 140, buttons_[1].bottom = 140;
    buttons_[1].imageSlot = 1;
    list_.buttons = buttons_;
    list_.buttonCount = 2;
    list_.rowCount = 2;
    list_.drawLabels = RecordLabel;
    const int images[] = {3, 4};
    list_.panel = RegisterButtonPanel(window_, buttons_, 2, images, 2, 0);
    ResetList(list_, 2);
    labelCalls.clear();
    driver_.RunUntilIdle();
  }
  void TearDown() override { UnregisterButtonPanel(list_.panel); }

  static void RecordLabel(HWND, const ButtonSpec&, int state, int index) { labelCalls.push_back({index, state}); }
  static inline std::vector<std::pair<int, int>> labelCalls;

  device::Driver driver_;
  HWND window_ = nullptr;
  ButtonSpec buttons_[2];
  PagedButtonList list_;
};

TEST_F(PagedButtonListWindowTest, APenDownOnATransparentCornerReachesTheRowBeneath) {
  EXPECT_EQ(PressListButton(window_, list_, 20, 120), 0);
  EXPECT_EQ(list_.pressed, 0);
  EXPECT_EQ(PressListButton(window_, list_, 80, 120), 1) << "row 0 is transparent at x = 80";
  EXPECT_EQ(list_.pressed, 1);
  list_.pressed = 5;
  EXPECT_EQ(PressListButton(window_, list_, 200, 300), -1);
  EXPECT_EQ(list_.pressed, 5) << "a miss leaves the pressed index alone";
  EXPECT_EQ(labelCalls, (std::vector<std::pair<int, int>>{{0, kButtonPressed}, {1, kButtonPressed}}));
}

TEST_F(PagedButtonListWindowTest, ARedrawFocusesTheSelectedRowAndOneButtonKeepsItsNeighbours) {
  RedrawList(window_, list_);
  driver_.RunUntilIdle();
  EXPECT_EQ(labelCalls, (std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {0, kButtonFocused}}));
  EXPECT_EQ(driver_.Pixel(20, 120), RGB(255, 0, 0)) << "row 0's focused frame";
  EXPECT_EQ(driver_.Pixel(120, 120), RGB(0, 255, 0)) << "row 1 beside it";
  EXPECT_EQ(driver_.Pixel(200, 300), kPanelBackground);

  // The back buffer is shared: whatever another window left there must not reach the screen.
  FillSolidRect(BackBufferDC(), RECT{0, 0, 240, 320}, RGB(1, 2, 3));
  DrawListButton(window_, list_, 1, kButtonNormal);
  driver_.RunUntilIdle();
  EXPECT_EQ(driver_.Pixel(120, 120), RGB(0, 255, 0));
  EXPECT_EQ(driver_.Pixel(20, 120), RGB(255, 0, 0)) << "row 0 under row 1's rectangle stays as it was";
}

// A window whose keyboard lies below the rows redraws the rows alone, without its focus.
TEST_F(PagedButtonListWindowTest, RedrawingTheButtonsAloneLeavesTheRestOfTheWindowAndShowsNoFocus) {
  HDC screen = GetDC(window_);
  FillSolidRect(screen, RECT{0, 0, 240, 320}, RGB(9, 9, 9));
  ReleaseDC(window_, screen);
  list_.focusShown = false;
  RedrawListButtons(window_, list_);
  driver_.RunUntilIdle();
  EXPECT_EQ(labelCalls, (std::vector<std::pair<int, int>>{{0, 0}, {1, 0}})) << "no row drawn focused";
  EXPECT_EQ(driver_.Pixel(120, 120), RGB(0, 255, 0));
  EXPECT_EQ(driver_.Pixel(20, 200), RGB(9, 9, 9)) << "below the rows nothing was copied";
  EXPECT_EQ(driver_.Pixel(150, 120), RGB(9, 9, 9)) << "beside them neither";
}

}  // namespace
