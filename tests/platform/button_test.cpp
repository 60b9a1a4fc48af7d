// BUTTON and STATIC: radio groups, check boxes, the pushed look and when a click counts, the
// dialog item helpers on buttons, and a label that repaints its new text.
#include "dialog_test_support.h"

#include <gtest/gtest.h>

using namespace dlgtest;

namespace {

class Button : public ::testing::Test {
 protected:
  device::Driver driver;
  HWND host = CreateHost();

  HWND Make(DWORD style, int id, int y, LPCWSTR text = u"option") {
    return CreateControl(host, u"BUTTON", style, 10, y, 120, 16, id, text);
  }
  static LRESULT Check(HWND button) { return SendMessage(button, BM_GETCHECK, 0, 0); }
};

TEST_F(Button, AutoRadioButtonUnchecksTheOthersOfItsGroupOnly) {
  HWND low = Make(BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 1066, 10, u"low");
  HWND medium = Make(BS_AUTORADIOBUTTON, 1065, 30, u"medium");
  HWND high = Make(BS_AUTORADIOBUTTON, 1064, 50, u"high");
  HWND left = Make(BS_AUTORADIOBUTTON | WS_GROUP, 1061, 80, u"left");
  HWND right = Make(BS_AUTORADIOBUTTON, 1062, 100, u"right");
  CheckRadioButton(host, 1064, 1066, 1066);
  CheckDlgButton(host, 1061, BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(host, 1066), BST_CHECKED);

  TapCentre(driver, high);
  EXPECT_EQ(Check(high), BST_CHECKED);
  EXPECT_EQ(Check(low), BST_UNCHECKED);
  EXPECT_EQ(Check(medium), BST_UNCHECKED);
  EXPECT_EQ(Check(left), BST_CHECKED) << "the next group is another group";
  EXPECT_EQ(Commands(), (std::vector<Command>{{1064, BN_CLICKED, high}}));

  TapCentre(driver, right);
  EXPECT_EQ(Check(left), BST_UNCHECKED);
  EXPECT_EQ(Check(high), BST_CHECKED);
  TapCentre(driver, right);  // a checked radio button stays checked
  EXPECT_EQ(Check(right), BST_CHECKED);
}

TEST_F(Button, CheckRadioButtonSetsOneAndClearsTheRestOfTheRange) {
  Make(BS_RADIOBUTTON | WS_GROUP, 1, 10);
  Make(BS_RADIOBUTTON, 2, 30);
  Make(BS_RADIOBUTTON, 3, 50);
  Make(BS_AUTOCHECKBOX, 4, 70);
  CheckDlgButton(host, 4, BST_CHECKED);
  CheckRadioButton(host, 1, 3, 2);
  CheckRadioButton(host, 1, 3, 3);
  EXPECT_EQ(IsDlgButtonChecked(host, 1), BST_UNCHECKED);
  EXPECT_EQ(IsDlgButtonChecked(host, 2), BST_UNCHECKED);
  EXPECT_EQ(IsDlgButtonChecked(host, 3), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(host, 4), BST_CHECKED);
  EXPECT_TRUE(Commands().empty()) << "the program's own checks are not clicks";
}

TEST_F(Button, AutoCheckBoxTogglesAndAPlainOneLeavesItToTheProgram) {
  HWND automatic = Make(BS_AUTOCHECKBOX, 1004, 10);
  HWND plain = Make(BS_CHECKBOX, 1005, 40);
  TapCentre(driver, automatic);
  EXPECT_EQ(Check(automatic), BST_CHECKED);
  TapCentre(driver, automatic);
  EXPECT_EQ(Check(automatic), BST_UNCHECKED);
  TapCentre(driver, plain);
  EXPECT_EQ(Check(plain), BST_UNCHECKED);
  SendMessage(plain, BM_CLICK, 0, 0);
  EXPECT_EQ(Commands(), (std::vector<Command>{{1004, BN_CLICKED, automatic},
                                              {1004, BN_CLICKED, automatic},
                                              {1005, BN_CLICKED, plain},
                                              {1005, BN_CLICKED, plain}}));
  HWND push = Make(BS_PUSHBUTTON, 1, 70);
  CheckDlgButton(host, 1, BST_CHECKED);
  EXPECT_EQ(Check(push), BST_UNCHECKED) << "a push button has no check";
}

TEST_F(Button, PushedLookWhileThePenIsDownAndOnlyAPenUpInsideClicks) {
  HWND ok = CreateControl(host, u"BUTTON", BS_DEFPUSHBUTTON, 60, 100, 80, 24, IDOK, u"OK");
  driver.RunUntilIdle();
  POINT c = Centre(ok);
  COLORREF face = driver.Pixel(c.x + 30, c.y);
  driver.PenDown(c.x, c.y);
  EXPECT_TRUE(SendMessage(ok, BM_GETSTATE, 0, 0) & BST_PUSHED);
  EXPECT_NE(driver.Pixel(c.x + 30, c.y), face);
  driver.PenMove(c.x + 100, c.y);  // slides off: drawn up again
  EXPECT_FALSE(SendMessage(ok, BM_GETSTATE, 0, 0) & BST_PUSHED);
  EXPECT_EQ(driver.Pixel(c.x + 30, c.y), face);
  driver.PenUp(c.x + 100, c.y);
  EXPECT_TRUE(Commands().empty());
  EXPECT_EQ(GetCapture(), nullptr);

  driver.PenDown(c.x, c.y);
  driver.PenMove(c.x + 100, c.y);
  driver.PenMove(c.x + 2, c.y);  // and back on
  driver.PenUp(c.x + 2, c.y);
  EXPECT_EQ(Commands(), (std::vector<Command>{{IDOK, BN_CLICKED, ok}}));
  EXPECT_EQ(GetFocus(), ok);
}

TEST_F(Button, DisabledButtonIgnoresThePenAndBmClick) {
  HWND b = Make(BS_AUTOCHECKBOX, 9, 10);
  EnableWindow(b, FALSE);
  TapCentre(driver, b);
  SendMessage(b, BM_CLICK, 0, 0);
  EXPECT_EQ(Check(b), BST_UNCHECKED);
  EXPECT_TRUE(Commands().empty());
}

TEST_F(Button, SpaceClicksTheFocusedButton) {
  HWND b = Make(BS_AUTOCHECKBOX, 9, 10);
  SetFocus(b);
  driver.PressKey(VK_SPACE);
  EXPECT_EQ(Check(b), BST_CHECKED);
  EXPECT_EQ(Commands(), (std::vector<Command>{{9, BN_CLICKED, b}}));
}

TEST_F(Button, StaticRepaintsItsNewText) {
  HWND label = CreateControl(host, u"STATIC", SS_LEFT, 10, 200, 200, 20, IDC_STATIC, u"");
  driver.RunUntilIdle();
  auto darkPixels = [&] {
    RECT r = ScreenRect(label);
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) n += driver.Pixel(x, y) != RGB(255, 255, 255);
    }
    return n;
  };
  EXPECT_EQ(darkPixels(), 0);
  SetWindowText(label, u"Use these:");
  driver.RunUntilIdle();
  EXPECT_GT(darkPixels(), 20);
  EXPECT_EQ(driver.WindowText(label), u"Use these:");
  SetDlgItemText(host, IDC_STATIC, u"");
  driver.RunUntilIdle();
  EXPECT_EQ(darkPixels(), 0);
}

}  // namespace
