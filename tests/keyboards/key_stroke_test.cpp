// What a stroke across a character key sends the main screen: the input of the key it stands
// for, with the threshold taken from the strikelength setting.
#include "keyboards/keyboard_common.h"

#include "common/messages.h"
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
    const auto* text = reinterpret_cast<const WCHAR*>(lParam);
    received.push_back({wParam, text != nullptr ? text : u""});
    return 0;
  }
  return DefWindowProc(window, message, wParam, lParam);
}

class KeyStrokeTest : public ::testing::Test {
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
    parent_ = CreateWindowEx(0, u"StrokeParent", u"p", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                             nullptr, nullptr);
    keys_ = CreateWindowEx(0, u"StrokeKeys", u"k", WS_CHILD | WS_VISIBLE, 0, 0, 240, 320, parent_, nullptr, nullptr,
                           nullptr);
  }

  device::Driver driver_;
  HWND parent_ = nullptr;
  HWND keys_ = nullptr;
};

constexpr POINT kOrigin{120, 120};

TEST_F(KeyStrokeTest, TheThresholdFollowsTheStrikeLengthSetting) {
  ASSERT_EQ(StrokeThreshold(), 35);
  EXPECT_EQ(KeyStroke(kOrigin, POINT{120 + 35, 120}), kNoStroke);
  EXPECT_EQ(KeyStroke(kOrigin, POINT{120 + 36, 120}), kStrokeRight);
  TheSettings().strikelength = 3;
  EXPECT_EQ(KeyStroke(kOrigin, POINT{120 + 45, 120}), kNoStroke);
  EXPECT_EQ(KeyStroke(kOrigin, POINT{120 + 46, 120}), kStrokeRight);
  EXPECT_TRUE(received.empty()) << "classifying sends nothing";
}

TEST_F(KeyStrokeTest, StrokesSendTheInputOfTheirKeys) {
  EXPECT_EQ(RunKeyStroke(keys_, kOrigin, POINT{200, 120}, false, u'a'), kStrokeRight);
  EXPECT_EQ(RunKeyStroke(keys_, kOrigin, POINT{50, 120}, false, u'a'), kStrokeLeft);
  EXPECT_EQ(RunKeyStroke(keys_, kOrigin, POINT{120, 200}, false, u'a'), kStrokeDown);
  EXPECT_EQ(RunKeyStroke(keys_, kOrigin, POINT{120, 50}, false, u'\u00e9'), kStrokeUp);
  EXPECT_EQ(RunKeyStroke(keys_, kOrigin, POINT{120, 50}, true, u'\u00c9'), kStrokeUp);
  EXPECT_EQ(RunKeyStroke(keys_, kOrigin, POINT{120, 50}, true, 0), kStrokeUp) << "a key without a character";
  EXPECT_EQ(RunKeyStroke(keys_, kOrigin, POINT{130, 130}, false, u'a'), kNoStroke);
  ASSERT_EQ(received.size(), 5u);
  EXPECT_EQ(received[0].code, kInputCharacter);
  EXPECT_EQ(received[0].text, u" ");
  EXPECT_EQ(received[1].code, kInputBackspace);
  EXPECT_EQ(received[2].code, kInputEnter);
  EXPECT_EQ(received[3].code, kInputCharacter);
  EXPECT_EQ(received[3].text, u"\u00c9") << "an up stroke gives the other case";
  EXPECT_EQ(received[4].text, u"\u00e9");
}

}  // namespace
