// Strokes across a key: the exact threshold, diagonals, and what reaches the main screen.
#include "drawing/stroke.h"

#include "common/messages.h"
#include "drawing/button_panel.h"
#include "settings/settings_store.h"

#include <device/driver.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Received {
  WPARAM code;
  std::u16string text;
};
std::vector<Received> received;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == KeyboardInputMessage) {
    received.push_back({wParam, reinterpret_cast<const WCHAR*>(lParam)});
    return 0;
  }
  return DefWindowProc(window, message, wParam, lParam);
}

class StrokeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    received.clear();
    TheSettings().strikelength = 2;
    WNDCLASS parentClass{};
    parentClass.lpfnWndProc = RecordingProc;
    parentClass.lpszClassName = u"StrokeParent";
    RegisterClass(&parentClass);
    WNDCLASS keyClass{};
    keyClass.lpfnWndProc = DefWindowProc;
    keyClass.lpszClassName = u"StrokeKeys";
    RegisterClass(&keyClass);
    parent_ = CreateWindowEx(0, u"StrokeParent", u"p", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr,
                             nullptr, nullptr, nullptr);
    keys_ = CreateWindowEx(0, u"StrokeKeys", u"k", WS_CHILD | WS_VISIBLE, 0, 0, 240, 320, parent_, nullptr,
                           nullptr, nullptr);
    button_ = ButtonSpec{};
    button_.left = 100;
    button_.top = 100;
    button_.right = 140;
    button_.bottom = 140;
    button_.drawMode = 1;
    panel_ = RegisterButtonPanel(keys_, &button_, 1, nullptr, 0, 0);
    int pressed = -1;
    PressButtonAt(keys_, &button_, 120, 120, panel_, &pressed);
  }
  void TearDown() override { UnregisterButtonPanel(panel_); }

  device::Driver driver_;
  HWND parent_ = nullptr;
  HWND keys_ = nullptr;
  ButtonSpec button_{};
  int panel_ = -1;
};

TEST_F(StrokeTest, ExactlyTheThresholdIsATapAndOnePixelMoreIsAStroke) {
  ASSERT_EQ(StrokeThreshold(), 35);
  EXPECT_EQ(ClassifyStroke(keys_, 120 + 35, 120, false, false, u'a'), kNoStroke);
  EXPECT_EQ(ClassifyStroke(keys_, 120 + 36, 120, false, false, u'a'), kStrokeRight);
  EXPECT_EQ(ClassifyStroke(keys_, 120 - 36, 120, false, false, u'a'), kStrokeLeft);
  EXPECT_EQ(ClassifyStroke(keys_, 120, 120 + 36, false, false, u'a'), kStrokeDown);
  EXPECT_EQ(ClassifyStroke(keys_, 120, 120 - 36, false, false, u'a'), kStrokeUp);
  EXPECT_TRUE(received.empty()) << "without send nothing reaches the parent";

  TheSettings().strikelength = 3;
  EXPECT_EQ(ClassifyStroke(keys_, 120 + 45, 120, false, false, u'a'), kNoStroke);
  EXPECT_EQ(ClassifyStroke(keys_, 120 + 46, 120, false, false, u'a'), kStrokeRight);
}

TEST_F(StrokeTest, ADiagonalWithEqualSidesCountsAsVertical) {
  EXPECT_EQ(ClassifyStroke(keys_, 120 + 50, 120 + 50, false, false, u'a'), kStrokeDown);
  EXPECT_EQ(ClassifyStroke(keys_, 120 - 50, 120 - 50, false, false, u'a'), kStrokeUp);
  EXPECT_EQ(ClassifyStroke(keys_, 120 + 51, 120 - 50, false, false, u'a'), kStrokeRight);
}

TEST_F(StrokeTest, SentStrokesReachTheParentAsKeyboardInput) {
  ClassifyStroke(keys_, 200, 120, true, false, u'a');
  ClassifyStroke(keys_, 50, 120, true, false, u'a');
  ClassifyStroke(keys_, 120, 200, true, false, u'a');
  ClassifyStroke(keys_, 120, 50, true, false, u'\u00e9');
  ClassifyStroke(keys_, 120, 50, true, true, u'\u00c9');
  ASSERT_EQ(received.size(), 5u);
  EXPECT_EQ(received[0].code, 0u);
  EXPECT_EQ(received[0].text, u" ");
  EXPECT_EQ(received[1].code, 8u);
  EXPECT_EQ(received[2].code, 13u);
  EXPECT_EQ(received[3].code, 0u);
  EXPECT_EQ(received[3].text, u"\u00c9") << "an up stroke gives the other case";
  EXPECT_EQ(received[4].text, u"\u00e9");
}

}  // namespace
