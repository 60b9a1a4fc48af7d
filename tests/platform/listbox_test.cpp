// The LISTBOX control: sorting, item data and selection through the messages a dialog uses,
// searching, and what the pen, the keys and the scroll bar do, with the notifications the
// parent hears.
#include "dialog_test_support.h"

#include <gtest/gtest.h>

#include <string>

using namespace dlgtest;

namespace {

class ListBox : public ::testing::Test {
 protected:
  device::Driver driver;
  HWND host = CreateHost();

  HWND Make(DWORD style, int height = 100) {
    return CreateControl(host, u"LISTBOX", style, 10, 10, 150, height, 100);
  }

  static LRESULT Add(HWND list, LPCWSTR text) {
    return SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }

  static std::u16string Text(HWND list, int index) {
    LRESULT length = SendMessage(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) return u"<error>";
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    SendMessage(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
  }

  static std::vector<std::u16string> All(HWND list) {
    std::vector<std::u16string> out;
    for (int i = 0; i < SendMessage(list, LB_GETCOUNT, 0, 0); ++i) out.push_back(Text(list, i));
    return out;
  }

  static int Selected(HWND list) { return static_cast<int>(SendMessage(list, LB_GETCURSEL, 0, 0)); }

  // Screen point in the middle of row `row` (counted from the top row shown).
  POINT RowPoint(HWND list, int row) {
    int height = static_cast<int>(SendMessage(list, LB_GETITEMHEIGHT, 0, 0));
    POINT p{20, row * height + height / 2};
    ClientToScreen(list, &p);
    return p;
  }

  void TapRow(HWND list, int row) {
    POINT p = RowPoint(list, row);
    driver.Tap(p.x, p.y);
  }
};

TEST_F(ListBox, SortedListOrdersCaseInsensitivelyAndItemDataStaysWithItsItem) {
  HWND list = Make(LBS_SORT);
  EXPECT_EQ(Add(list, u"pear"), 0);
  SendMessage(list, LB_SETITEMDATA, 0, 41);
  EXPECT_EQ(Add(list, u"Apple"), 0);
  EXPECT_EQ(Add(list, u"banana"), 1);
  EXPECT_EQ(Add(list, u"apple"), 1);  // equal keys keep their order of arrival
  SendMessage(list, LB_SETITEMDATA, 1, 7);
  EXPECT_EQ(All(list), (std::vector<std::u16string>{u"Apple", u"apple", u"banana", u"pear"}));
  EXPECT_EQ(SendMessage(list, LB_GETITEMDATA, 3, 0), 41);
  EXPECT_EQ(SendMessage(list, LB_GETITEMDATA, 1, 0), 7);
  EXPECT_EQ(SendMessage(list, LB_GETITEMDATA, 2, 0), 0);
  EXPECT_EQ(SendMessage(list, LB_GETITEMDATA, 4, 0), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_SETITEMDATA, 4, 1), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_GETTEXTLEN, 9, 0), LB_ERR);
}

TEST_F(ListBox, UnsortedListKeepsOrderAndInsertStringPlacesByIndex) {
  HWND list = Make(0);
  Add(list, u"zeta");
  Add(list, u"alpha");
  EXPECT_EQ(SendMessage(list, LB_INSERTSTRING, 1, reinterpret_cast<LPARAM>(u"mid")), 1);
  EXPECT_EQ(SendMessage(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"end")), 3);
  EXPECT_EQ(SendMessage(list, LB_INSERTSTRING, 9, reinterpret_cast<LPARAM>(u"far")), LB_ERR);
  EXPECT_EQ(All(list), (std::vector<std::u16string>{u"zeta", u"mid", u"alpha", u"end"}));
  EXPECT_EQ(SendMessage(list, LB_DELETESTRING, 0, 0), 3);
  EXPECT_EQ(SendMessage(list, LB_DELETESTRING, 3, 0), LB_ERR);
  EXPECT_EQ(All(list), (std::vector<std::u16string>{u"mid", u"alpha", u"end"}));
  SendMessage(list, LB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessage(list, LB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(Selected(list), LB_ERR);
}

TEST_F(ListBox, SelectionFollowsItsItemThroughInsertsAndDeletes) {
  HWND list = Make(LBS_NOTIFY);
  for (LPCWSTR t : {u"a", u"b", u"c", u"d"}) Add(list, t);
  EXPECT_EQ(Selected(list), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_SETCURSEL, 2, 0), 2);
  SendMessage(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(u"first"));
  EXPECT_EQ(Selected(list), 3);
  SendMessage(list, LB_DELETESTRING, 1, 0);
  EXPECT_EQ(Selected(list), 2);
  EXPECT_EQ(Text(list, Selected(list)), u"c");
  EXPECT_EQ(SendMessage(list, LB_SETCURSEL, 7, 0), LB_ERR);  // out of range: unchanged
  EXPECT_EQ(Selected(list), 2);
  SendMessage(list, LB_DELETESTRING, 2, 0);  // the selected item goes: nothing is selected
  EXPECT_EQ(Selected(list), LB_ERR);
  SendMessage(list, LB_SETCURSEL, 0, 0);
  EXPECT_EQ(SendMessage(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0), LB_ERR);
  EXPECT_EQ(Selected(list), LB_ERR);
  EXPECT_TRUE(Commands().empty()) << "the program's own selection is never notified";
}

TEST_F(ListBox, FindStringMatchesPrefixesFromAfterTheStartAndWrapsAround) {
  HWND list = Make(0);
  for (LPCWSTR t : {u"Home tel", u"Work tel", u"home fax", u"Web page"}) Add(list, t);
  auto find = [&](UINT msg, int start, LPCWSTR text) {
    return SendMessage(list, msg, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text));
  };
  EXPECT_EQ(find(LB_FINDSTRING, -1, u"HOME"), 0);
  EXPECT_EQ(find(LB_FINDSTRING, 0, u"home"), 2);
  EXPECT_EQ(find(LB_FINDSTRING, 2, u"home"), 0);
  EXPECT_EQ(find(LB_FINDSTRING, -1, u"tel"), LB_ERR);
  EXPECT_EQ(find(LB_FINDSTRINGEXACT, -1, u"home"), LB_ERR);
  EXPECT_EQ(find(LB_FINDSTRINGEXACT, -1, u"WEB PAGE"), 3);
}

TEST_F(ListBox, TapSelectsAndNotifiesOnceSecondTapIsADoubleTap) {
  HWND list = Make(LBS_NOTIFY);
  for (LPCWSTR t : {u"one", u"two", u"three"}) Add(list, t);
  TapRow(list, 1);
  EXPECT_EQ(Selected(list), 1);
  EXPECT_EQ(GetFocus(), list);
  EXPECT_EQ(Commands(), (std::vector<Command>{{100, LBN_SETFOCUS, list}, {100, LBN_SELCHANGE, list}}));
  Commands().clear();
  driver.AdvanceTime(200);
  TapRow(list, 1);
  EXPECT_EQ(Commands(), (std::vector<Command>{{100, LBN_DBLCLK, list}}));
  Commands().clear();
  driver.AdvanceTime(600);
  TapRow(list, 1);  // too late for a double tap, and the selection did not change
  EXPECT_TRUE(Commands().empty());
  TapRow(list, 2);
  driver.AdvanceTime(100);
  TapRow(list, 0);  // quick, but on another item
  EXPECT_EQ(CommandsWithCode(LBN_DBLCLK).size(), 0u);
  EXPECT_EQ(CommandsWithCode(LBN_SELCHANGE).size(), 2u);
}

TEST_F(ListBox, PenDragMovesTheSelectionAndTheParentHearsOnlyTheEnd) {
  HWND list = Make(LBS_NOTIFY);
  for (LPCWSTR t : {u"one", u"two", u"three", u"four"}) Add(list, t);
  POINT from = RowPoint(list, 0), to = RowPoint(list, 3);
  driver.PenDown(from.x, from.y);
  driver.PenMove(to.x, to.y);
  EXPECT_EQ(Selected(list), 3);
  EXPECT_EQ(CommandsWithCode(LBN_SELCHANGE).size(), 0u);
  driver.PenUp(to.x, to.y);
  EXPECT_EQ(CommandsWithCode(LBN_SELCHANGE).size(), 1u);
}

TEST_F(ListBox, WithoutNotifyStyleTheParentHearsNothing) {
  HWND list = Make(0);
  Add(list, u"one");
  Add(list, u"two");
  TapRow(list, 1);
  driver.PressKey(VK_UP);
  EXPECT_EQ(Selected(list), 0);
  EXPECT_TRUE(Commands().empty());
}

TEST_F(ListBox, ArrowKeysMoveTheSelectionAndStopAtTheEnds) {
  HWND list = Make(LBS_NOTIFY);
  for (LPCWSTR t : {u"one", u"two", u"three"}) Add(list, t);
  SetFocus(list);
  Commands().clear();
  driver.PressKey(VK_DOWN);  // nothing selected: the first item
  EXPECT_EQ(Selected(list), 0);
  driver.PressKey(VK_DOWN);
  driver.PressKey(VK_DOWN);
  driver.PressKey(VK_DOWN);  // already the last
  EXPECT_EQ(Selected(list), 2);
  EXPECT_EQ(CommandsWithCode(LBN_SELCHANGE).size(), 3u);
  driver.PressKey(VK_HOME);
  EXPECT_EQ(Selected(list), 0);
  EXPECT_EQ(SendMessage(list, WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, DLGC_WANTARROWS);
}

TEST_F(ListBox, ScrollBarArrowsAndTrackMoveTheTopAndTapsHitTheShownItems) {
  LRESULT height = 0;
  HWND list = Make(WS_VSCROLL | LBS_NOTIFY);
  height = SendMessage(list, LB_GETITEMHEIGHT, 0, 0);
  MoveWindow(list, 10, 10, 150, static_cast<int>(height * 5), TRUE);  // five rows
  for (int i = 0; i < 20; ++i) {
    std::u16string t = u"item " + std::u16string(1, static_cast<char16_t>(u'A' + i));
    Add(list, t.c_str());
  }
  SendMessage(list, LB_SETCURSEL, 12, 0);  // scrolled into view, at the bottom
  EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), 8);
  SendMessage(list, LB_SETTOPINDEX, 19, 0);  // clamped: the last page is full
  EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), 15);
  SendMessage(list, LB_SETTOPINDEX, 0, 0);
  driver.RunUntilIdle();

  RECT r = ScreenRect(list);
  int barX = r.right - 1 - 6;
  driver.Tap(barX, r.bottom - 1 - 4);  // the down arrow
  EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), 1);
  driver.Tap(barX, r.bottom - 1 - 16);  // the track under the thumb: one page
  EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), 5);
  driver.Tap(barX, r.top + 1 + 4);  // the up arrow
  EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), 4);
  EXPECT_EQ(CommandsWithCode(LBN_SELCHANGE).size(), 0u) << "scrolling is no selection";

  TapRow(list, 2);
  EXPECT_EQ(Selected(list), 6);
  EXPECT_EQ(Text(list, 6), u"item G");
}

TEST_F(ListBox, HeightShrinksToWholeRowsUnlessNoIntegralHeight) {
  HWND whole = Make(WS_BORDER, 100);
  HWND free = CreateControl(host, u"LISTBOX", WS_BORDER | LBS_NOINTEGRALHEIGHT, 170, 10, 60, 100, 101);
  int item = static_cast<int>(SendMessage(whole, LB_GETITEMHEIGHT, 0, 0));
  RECT client;
  GetClientRect(whole, &client);
  EXPECT_EQ(client.bottom, (98 / item) * item);
  GetClientRect(free, &client);
  EXPECT_EQ(client.bottom, 98);
}

TEST_F(ListBox, SelectedRowIsDrawnInTheSelectionColour) {
  HWND list = Make(WS_BORDER);
  Add(list, u"one");
  Add(list, u"two");
  SendMessage(list, LB_SETCURSEL, 1, 0);
  driver.RunUntilIdle();
  POINT selected = RowPoint(list, 1), other = RowPoint(list, 0);
  EXPECT_EQ(driver.Pixel(selected.x + 100, selected.y), RGB(0, 0, 128));
  EXPECT_EQ(driver.Pixel(other.x + 100, other.y), RGB(255, 255, 255));
}

}  // namespace
