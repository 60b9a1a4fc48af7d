// MessageBox answered from a driver script: through the probe, by tapping a button, and with
// Enter and Escape; the owner is disabled while the box is open and the box fits the screen.
#include "dialog_test_support.h"

#include <device/message_box_probe.h>

#include <gtest/gtest.h>

#include <string>

using namespace dlgtest;

namespace {

TEST(MessageBox, ProbeReadsTheBoxAndPressesTheButtonsInTurn) {
  std::vector<int> results;
  HWND host = nullptr;
  device::RunProgramWithScript(
      [&] {
        host = CreateHost();
        for (int i = 0; i < 2; ++i) {
          results.push_back(MessageBox(host, u"Are you sure, You want to delete:\n\\notes\\a.pwi ?", u"confirm",
                                       MB_YESNO | MB_ICONQUESTION));
        }
        return 0;
      },
      [&](device::Driver& d) {
        HWND box = device::FindMessageBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(device::MessageBoxText(box), u"Are you sure, You want to delete:\n\\notes\\a.pwi ?");
        EXPECT_EQ(device::MessageBoxCaption(box), u"confirm");
        EXPECT_EQ(d.WindowText(box), u"confirm");
        EXPECT_EQ(device::MessageBoxType(box), MB_YESNO | MB_ICONQUESTION);
        EXPECT_NE(GetDlgItem(box, IDYES), nullptr);
        EXPECT_NE(GetDlgItem(box, IDNO), nullptr);
        EXPECT_EQ(GetDlgItem(box, IDOK), nullptr);
        EXPECT_FALSE(device::PressMessageBoxButton(box, IDCANCEL)) << "a Yes/No box has no Cancel";
        EXPECT_FALSE(IsWindowEnabled(host));
        EXPECT_EQ(GetActiveWindow(), box);
        EXPECT_TRUE(device::PressMessageBoxButton(box, IDNO));
        d.RunUntilIdle();
        EXPECT_EQ(results, (std::vector<int>{IDNO}));
        HWND second = device::FindMessageBox();
        ASSERT_NE(second, nullptr);
        EXPECT_NE(second, box);
        device::PressMessageBoxButton(second, IDYES);
        d.RunUntilIdle();
        EXPECT_EQ(device::FindMessageBox(), nullptr);
      });
  EXPECT_EQ(results, (std::vector<int>{IDNO, IDYES}));
  EXPECT_TRUE(IsWindowEnabled(host) || !IsWindow(host));
}

TEST(MessageBox, EnterChoosesTheDefaultButtonAndEscapeFollowsTheButtonsThereAre) {
  std::vector<int> results;
  bool hostEnabledBetween = false;
  device::RunProgramWithScript(
      [&] {
        HWND host = CreateHost();
        results.push_back(MessageBox(host, u"Delete?", u"", MB_YESNO | MB_DEFBUTTON2));
        hostEnabledBetween = IsWindowEnabled(host) && GetActiveWindow() == host;
        results.push_back(MessageBox(host, u"window stack", u"sample", MB_OK));
        results.push_back(MessageBox(host, u"Go on?", u"q", MB_OKCANCEL | MB_ICONEXCLAMATION));
        results.push_back(MessageBox(nullptr, u"Keep?", u"q", MB_YESNO));
        return 0;
      },
      [&](device::Driver& d) {
        d.PressKey(VK_RETURN);  // "No" is the default
        d.PressKey(VK_ESCAPE);  // only OK: Escape answers OK
        d.PressKey(VK_ESCAPE);  // Cancel is there
        d.PressKey(VK_ESCAPE);  // Yes/No: Escape does nothing ...
        EXPECT_NE(device::FindMessageBox(), nullptr);
        d.PressKey(VK_RETURN);  // ... and Enter takes the first button
      });
  EXPECT_EQ(results, (std::vector<int>{IDNO, IDOK, IDCANCEL, IDYES}));
  EXPECT_TRUE(hostEnabledBetween);
}

TEST(MessageBox, TappingAButtonAnswersAndTheBoxFitsTheScreenCentred) {
  int result = 0;
  device::RunProgramWithScript(
      [&] {
        result = MessageBox(nullptr,
                            u"You must restart your device before new settings take effect. "
                            u"This text is long enough to need several lines in the box.",
                            u"System Reboot", MB_OKCANCEL | MB_ICONEXCLAMATION | MB_SETFOREGROUND | MB_TOPMOST);
        return 0;
      },
      [&](device::Driver& d) {
        HWND box = device::FindMessageBox();
        ASSERT_NE(box, nullptr);
        RECT r = ScreenRect(box);
        EXPECT_GE(r.left, 0);
        EXPECT_LE(r.right, 240);
        EXPECT_LE(std::abs((r.left + r.right) / 2 - 120), 1);
        EXPECT_LE(std::abs((r.top + r.bottom) / 2 - 160), 1);
        HWND text = GetWindow(box, GW_CHILD);
        RECT t = ScreenRect(text);
        EXPECT_GT(t.bottom - t.top, 30) << "the text is wrapped onto several lines";
        HWND ok = GetDlgItem(box, IDOK);
        HWND cancel = GetDlgItem(box, IDCANCEL);
        ASSERT_NE(cancel, nullptr);
        EXPECT_GT(ScreenRect(ok).top, t.bottom - 1) << "the buttons are under the text";
        EXPECT_EQ(ScreenRect(ok).top, ScreenRect(cancel).top);
        EXPECT_EQ(GetFocus(), ok);
        d.Screenshot("message_box_exclamation");
        TapCentre(d, cancel);
      });
  EXPECT_EQ(result, IDCANCEL);
}

}  // namespace
