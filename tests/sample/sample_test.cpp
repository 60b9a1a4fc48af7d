// The sample program through the test driver: window texts count the taps and ticks, the card
// takes the colour of its tap count, the badge is drawn. (Its script: script_test.cpp.)
#include "sample_app.h"

#include <gtest/gtest.h>


namespace {

int RunSample(const std::function<void(device::Driver&)>& script) {
  std::u16string commandLine;
  return device::RunProgramWithScript(
      [&] { return WinMain(nullptr, nullptr, commandLine.data(), SW_SHOW); }, script);
}

TEST(SampleProgram, TapsAndTicksShowInTextsAndColours) {
  int result = RunSample([](device::Driver& d) {
    HWND frame = d.Find(sample::kFrameClass);
    HWND card = d.Find(sample::kCardClass);
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(d.Pixel(30, 70), sample::kCardColours[0]);
    d.Tap(120, 120);
    EXPECT_EQ(d.WindowText(card), u"Taps: 1");
    EXPECT_EQ(d.Pixel(30, 70), sample::kCardColours[1]);
    d.Tap(10, 300);  // the frame, not the card
    EXPECT_EQ(d.WindowText(card), u"Taps: 1");
    d.AdvanceTime(sample::kTickMs * 2 - 1);
    EXPECT_EQ(d.WindowText(frame), u"Ticks: 1");
    d.AdvanceTime(1);
    EXPECT_EQ(d.WindowText(frame), u"Ticks: 2");
    // The badge: a red disc in the middle of the card's client area, 100 pixels down.
    int centreX = sample::kCardRect.left + 1 + (sample::kCardRect.right - sample::kCardRect.left - 2) / 2;
    EXPECT_EQ(d.Pixel(centreX, sample::kCardRect.top + 1 + 116), RGB(220, 30, 30));
    EXPECT_EQ(d.Pixel(sample::kCardRect.left, 150), RGB(0, 0, 0));  // the card's border
  });
  EXPECT_EQ(result, 0);
}

}  // namespace
