// The COMBOBOX drop-down list: the program's selection is silent, the user's choice is
// notified; the list opens on a tap, chooses on a tap and cancels on a tap outside.
#include "dialog_test_support.h"

#include <gtest/gtest.h>

#include <string>

using namespace dlgtest;

namespace {

class ComboBox : public ::testing::Test {
 protected:
  device::Driver driver;
  HWND host = CreateHost();

  HWND Make(DWORD style, std::initializer_list<LPCWSTR> items) {
    HWND combo = CreateControl(host, u"COMBOBOX", CBS_DROPDOWNLIST | WS_TABSTOP | style, 20, 40, 120, 150, 200);
    for (LPCWSTR item : items) SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    driver.RunUntilIdle();
    Commands().clear();
    return combo;
  }

  static int Selected(HWND combo) { return static_cast<int>(SendMessage(combo, CB_GETCURSEL, 0, 0)); }
  static bool Dropped(HWND combo) { return SendMessage(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }

  // The shown drop-down list: the visible "ComboLBox" pop-up.
  HWND List() const {
    HWND list = driver.Find(u"ComboLBox");
    return list && IsWindowVisible(list) ? list : nullptr;
  }

  void TapItem(int index) {
    HWND list = List();
    ASSERT_NE(list, nullptr);
    int height = static_cast<int>(SendMessage(list, LB_GETITEMHEIGHT, 0, 0));
    int top = static_cast<int>(SendMessage(list, LB_GETTOPINDEX, 0, 0));
    POINT p{10, (index - top) * height + height / 2};
    ClientToScreen(list, &p);
    driver.Tap(p.x, p.y);
  }

  std::vector<int> Codes() const {
    std::vector<int> out;
    for (const Command& c : Commands()) out.push_back(c.code);
    return out;
  }
};

TEST_F(ComboBox, SetCurSelIsSilentAndTheFieldShowsTheSelectedItem) {
  HWND combo = Make(0, {u"300 ms", u"600 ms", u"900 ms"});
  for (int i = 0; i < 3; ++i) SendMessage(combo, CB_SETITEMDATA, static_cast<WPARAM>(i), i + 1);
  EXPECT_EQ(Selected(combo), CB_ERR);
  EXPECT_EQ(driver.WindowText(combo), u"");
  EXPECT_EQ(SendMessage(combo, CB_SETCURSEL, 2, 0), 2);
  EXPECT_EQ(driver.WindowText(combo), u"900 ms");
  EXPECT_EQ(SendMessage(combo, CB_GETITEMDATA, static_cast<WPARAM>(Selected(combo)), 0), 3);
  EXPECT_EQ(SendMessage(combo, CB_SETCURSEL, 5, 0), CB_ERR);
  EXPECT_EQ(Selected(combo), 2);
  EXPECT_TRUE(Commands().empty());
  char16_t text[16] = {};
  EXPECT_EQ(SendMessage(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text)), 6);
  EXPECT_EQ(std::u16string(text), u"600 ms");
  EXPECT_EQ(SendMessage(combo, CB_GETCOUNT, 0, 0), 3);
  SendMessage(combo, CB_DELETESTRING, 0, 0);
  EXPECT_EQ(Selected(combo), 1);
  SendMessage(combo, CB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessage(combo, CB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(Selected(combo), CB_ERR);
}

TEST_F(ComboBox, SortedComboKeepsItemDataWithItsItem) {
  HWND combo = Make(CBS_SORT, {});
  for (auto [name, data] : {std::pair{u"Button 4", 3}, {u"Button 1", 0}, {u"Button 3", 2}}) {
    LRESULT at = SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessage(combo, CB_SETITEMDATA, static_cast<WPARAM>(at), data);
  }
  SendMessage(combo, CB_SETCURSEL, 1, 0);
  EXPECT_EQ(driver.WindowText(combo), u"Button 3");
  EXPECT_EQ(SendMessage(combo, CB_GETITEMDATA, 1, 0), 2);
  EXPECT_EQ(SendMessage(combo, CB_GETITEMDATA, 0, 0), 0);
}

TEST_F(ComboBox, TapOpensTheListBelowTheFieldAndATapOnAnItemChoosesIt) {
  HWND combo = Make(0, {u"300 ms", u"600 ms", u"900 ms", u"1200 ms", u"1500 ms"});
  SendMessage(combo, CB_SETCURSEL, 4, 0);
  RECT field = ScreenRect(combo);
  EXPECT_LT(field.bottom - field.top, 30) << "the field is one line, not the created height";
  TapCentre(driver, combo);
  ASSERT_TRUE(Dropped(combo));
  HWND list = List();
  ASSERT_NE(list, nullptr);
  RECT listRect = ScreenRect(list);
  EXPECT_EQ(listRect.top, field.bottom);
  EXPECT_EQ(listRect.left, field.left);
  EXPECT_LE(listRect.bottom, field.top + 150);
  EXPECT_EQ(GetFocus(), combo);
  EXPECT_EQ(Codes(), (std::vector<int>{CBN_DROPDOWN}));

  TapItem(0);
  EXPECT_FALSE(Dropped(combo));
  EXPECT_EQ(List(), nullptr);
  EXPECT_EQ(Selected(combo), 0);
  EXPECT_EQ(driver.WindowText(combo), u"300 ms");
  EXPECT_EQ(Codes(), (std::vector<int>{CBN_DROPDOWN, CBN_CLOSEUP, CBN_SELCHANGE}));
  EXPECT_EQ(Commands().back().control, combo);
  EXPECT_EQ(Commands().back().id, 200);
}

TEST_F(ComboBox, ChoosingTheSameItemOrTappingOutsideChangesNothing) {
  HWND combo = Make(0, {u"low", u"medium", u"high"});
  SendMessage(combo, CB_SETCURSEL, 1, 0);
  TapCentre(driver, combo);
  TapItem(1);
  EXPECT_EQ(Codes(), (std::vector<int>{CBN_DROPDOWN, CBN_CLOSEUP}));
  Commands().clear();

  TapCentre(driver, combo);
  POINT p{10, 2};
  ClientToScreen(List(), &p);
  driver.PenDown(p.x, p.y);     // the highlight follows the pen in the list ...
  driver.PenMove(200, 300);
  driver.PenUp(200, 300);       // ... but a pen lifted outside the list chooses nothing
  EXPECT_FALSE(Dropped(combo));
  EXPECT_EQ(Selected(combo), 1);
  TapCentre(driver, combo);
  driver.Tap(200, 300);         // a tap outside cancels too
  EXPECT_FALSE(Dropped(combo));
  EXPECT_EQ(Selected(combo), 1);
  EXPECT_EQ(CommandsWithCode(CBN_SELCHANGE).size(), 0u);
}

TEST_F(ComboBox, ListOpensAboveAFieldNearTheBottomOfTheScreen) {
  HWND combo = CreateControl(host, u"COMBOBOX", CBS_DROPDOWNLIST, 20, 290, 120, 94, 201);
  for (LPCWSTR item : {u"a", u"b", u"c"}) SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  TapCentre(driver, combo);
  HWND list = List();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(ScreenRect(list).bottom, ScreenRect(combo).top);
  int item = static_cast<int>(SendMessage(list, LB_GETITEMHEIGHT, 0, 0));
  EXPECT_EQ(ScreenRect(list).bottom - ScreenRect(list).top, 3 * item + 2) << "as tall as its three items";
}

TEST_F(ComboBox, PenUpOfTheOpeningTapLeavesTheListOpen) {
  HWND combo = Make(0, {u"a", u"b"});
  POINT c = Centre(combo);
  driver.PenDown(c.x, c.y);
  EXPECT_TRUE(Dropped(combo));
  driver.PenUp(c.x, c.y);
  EXPECT_TRUE(Dropped(combo));
  TapItem(1);
  EXPECT_EQ(Selected(combo), 1);
}

TEST_F(ComboBox, KeysChangeTheClosedSelectionAndDriveTheOpenList) {
  HWND combo = Make(0, {u"a", u"b", u"c"});
  SendMessage(combo, CB_SETCURSEL, 0, 0);
  SetFocus(combo);
  driver.PressKey(VK_DOWN);
  EXPECT_EQ(Selected(combo), 1);
  EXPECT_EQ(CommandsWithCode(CBN_SELCHANGE).size(), 1u);
  driver.PressKey(VK_UP);
  driver.PressKey(VK_UP);  // already the first
  EXPECT_EQ(Selected(combo), 0);
  EXPECT_EQ(CommandsWithCode(CBN_SELCHANGE).size(), 2u);
  Commands().clear();

  SendMessage(combo, CB_SHOWDROPDOWN, TRUE, 0);
  driver.PressKey(VK_DOWN);
  driver.PressKey(VK_DOWN);
  driver.PressKey(VK_ESCAPE);
  EXPECT_FALSE(Dropped(combo));
  EXPECT_EQ(Selected(combo), 0) << "Escape restores the selection before the drop";
  SendMessage(combo, CB_SHOWDROPDOWN, TRUE, 0);
  driver.PressKey(VK_DOWN);
  driver.PressKey(VK_RETURN);
  EXPECT_FALSE(Dropped(combo));
  EXPECT_EQ(Selected(combo), 1);
  EXPECT_EQ(CommandsWithCode(CBN_SELCHANGE).size(), 1u);
}

TEST_F(ComboBox, DisabledComboDoesNotOpenAndLosingTheFocusClosesIt) {
  HWND combo = Make(0, {u"a", u"b"});
  HWND other = CreateControl(host, u"BUTTON", BS_PUSHBUTTON, 20, 250, 60, 20, 7, u"x");
  EnableWindow(combo, FALSE);
  TapCentre(driver, combo);
  EXPECT_FALSE(Dropped(combo));
  EnableWindow(combo, TRUE);
  TapCentre(driver, combo);
  ASSERT_TRUE(Dropped(combo));
  SetFocus(other);
  EXPECT_FALSE(Dropped(combo));
  EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
