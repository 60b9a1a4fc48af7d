// The phone keypad as the main screen sees it: multi-tap timing, Shift and Caps, strokes,
// focus keys, language changes and the keypad state that outlives a keypad.
#include "keyboard_fixture.h"

#include "drawing/stroke.h"

namespace keyboard_test {
namespace {

constexpr int kShiftKey = kPhoneShiftKey;
constexpr int kCapsKey = kPhoneCapsKey;
constexpr int kSpaceKey = kPhoneSpaceKey;
constexpr int kBackspaceKey = kPhoneBackspaceKey;
constexpr int kEnterKey = kPhoneEnterKey;
constexpr RECT kPreviewArea{160, 75, 240, 95};

// Screen point at the centre of a key.
POINT KeyPoint(int key) { return CentreOnScreen(PhoneKeyPlace(key).rect); }

class PhoneKeypadTest : public KeyboardTest {
 protected:
  void SetUp() override {
    KeyboardTest::SetUp();
    keypad_ = CreateKeyboard(kPhoneKeyClass);
    ASSERT_NE(keypad_, nullptr);
  }

  void TapKey(int key, int times = 1) { TapAt(KeyPoint(key), times); }
  // A stroke that starts on a key and moves (dx, dy).
  void StrokeKey(int key, int dx, int dy) { StrokeFrom(KeyPoint(key), dx, dy); }
  UINT Period() const { return static_cast<UINT>(TheSettings().phonetimer) * 300; }
  HWND Preview() const { return driver_.Find(kPhonePreviewClass); }

  HWND keypad_ = nullptr;
};

TEST_F(PhoneKeypadTest, MultiTap_ThirdTapThenTimeoutCommitsThirdCharacter) {
  ASSERT_EQ(TheSettings().phonetimer, 2);
  TapKey(1, 3);
  EXPECT_EQ(Typed(), u"") << "nothing is sent while the character is pending";
  ASSERT_NE(Preview(), nullptr);
  EXPECT_TRUE(IsWindowVisible(Preview()));
  EXPECT_EQ(driver_.WindowText(Preview()), u"abc2");
  EXPECT_TRUE(HasRedInk(kPreviewArea)) << "the pending character is painted red";

  driver_.AdvanceTime(Period() - 1);
  EXPECT_EQ(Typed(), u"");
  driver_.AdvanceTime(1);
  EXPECT_EQ(Typed(), u"c");
  EXPECT_FALSE(IsWindowVisible(Preview()));

  driver_.AdvanceTime(5000);
  EXPECT_EQ(Typed(), u"c") << "one character per cycle";
}

TEST_F(PhoneKeypadTest, MultiTap_TimeoutFollowsThePhoneTimerSetting) {
  TheSettings().phonetimer = 5;
  TapKey(2);
  driver_.AdvanceTime(1499);
  EXPECT_EQ(Typed(), u"");
  driver_.AdvanceTime(1);
  EXPECT_EQ(Typed(), u"d");
}

TEST_F(PhoneKeypadTest, MultiTap_WrapsAndAnotherKeyCommitsAtOnce) {
  TapKey(1, 5);  // "abc2" has four characters: the fifth tap is back on 'a'
  TapKey(2);
  EXPECT_EQ(Typed(), u"a") << "the second key commits the first key's character at once";
  EXPECT_EQ(driver_.WindowText(Preview()), u"def3");
  driver_.AdvanceTime(Period());
  EXPECT_EQ(Typed(), u"ad");
}

TEST_F(PhoneKeypadTest, MultiTap_EachTapRestartsTheFullPeriod) {
  TapKey(1);
  driver_.AdvanceTime(Period() - 100);
  TapKey(1);
  driver_.AdvanceTime(Period() - 100);
  EXPECT_EQ(Typed(), u"");
  driver_.AdvanceTime(100);
  EXPECT_EQ(Typed(), u"b");
}

TEST_F(PhoneKeypadTest, SpaceBackspaceAndEnterArriveBeforeThePendingCharacter) {
  TapKey(1);
  TapKey(kSpaceKey);
  TapKey(kBackspaceKey);
  TapKey(kEnterKey);
  EXPECT_EQ(Typed(), u" \b\r");
  driver_.AdvanceTime(Period());
  EXPECT_EQ(Typed(), u" \b\ra");
}

TEST_F(PhoneKeypadTest, ShiftAndCapsTogetherGiveLowerCase) {
  const auto typeKeyOne = [&] {
    TapKey(1);
    driver_.AdvanceTime(Period());
  };
  EXPECT_EQ(ShownFrame(PhoneKeyPlace(kCapsKey)), 0);
  TapKey(kShiftKey);
  typeKeyOne();
  TapKey(kCapsKey);
  typeKeyOne();
  EXPECT_EQ(ShownFrame(PhoneKeyPlace(kCapsKey)), 1) << "Caps shows its focused look while set";
  TapKey(kShiftKey);  // Shift off, Caps still on
  typeKeyOne();
  TapKey(kCapsKey);
  typeKeyOne();
  EXPECT_EQ(Typed(), u"AaAa") << "typing resets neither flag";
  EXPECT_EQ(ShownFrame(PhoneKeyPlace(kCapsKey)), 0);
}

TEST_F(PhoneKeypadTest, Strokes_ThirtyFivePixelsIsATapThirtySixAStroke) {
  StrokeKey(4, 35, 0);
  EXPECT_EQ(Typed(), u"") << "a 35-pixel move is a tap: 'j' is pending";
  driver_.AdvanceTime(Period());
  EXPECT_EQ(Typed(), u"j");

  Inputs().clear();
  StrokeKey(4, 36, 0);
  StrokeKey(4, -36, 0);
  StrokeKey(4, 40, 40);  // |dx| = |dy| is vertical: down
  EXPECT_EQ(Typed(), u" \b\r");
  EXPECT_FALSE(ThePhoneKeypad().cyclePending) << "a stroke is no tap";
}

TEST_F(PhoneKeypadTest, Strokes_UpUsesTheLastTappedKeyAndCapsLowersIt) {
  TapKey(2);
  driver_.AdvanceTime(Period());
  StrokeKey(4, 0, -40);  // on "ghi4", but 'd' was tapped last
  EXPECT_EQ(Typed(), u"dD");

  TapKey(kCapsKey);
  StrokeKey(7, 0, -40);
  EXPECT_EQ(Typed(), u"dDd") << "with Caps the group is upper case and the stroke gives lower case";

  TapKey(kShiftKey);  // Shift plays no part in strokes
  TapKey(kCapsKey);
  StrokeKey(7, 0, -40);
  EXPECT_EQ(Typed(), u"dDdD");
}

TEST_F(PhoneKeypadTest, Strokes_UpReplacesThePendingCharacter) {
  TapKey(1, 2);
  StrokeKey(1, 0, -40);
  EXPECT_EQ(Typed(), u"B");
  EXPECT_FALSE(IsWindowVisible(Preview()));
  driver_.AdvanceTime(Period() * 2);
  EXPECT_EQ(Typed(), u"B") << "the pending 'b' does not follow its capital";
}

TEST_F(PhoneKeypadTest, Strokes_SpaceBackspaceAndEnterFollowThePendingCharacter) {
  TapKey(1);
  StrokeKey(4, 36, 0);
  EXPECT_EQ(Typed(), u"a ");
  TapKey(1, 2);
  StrokeKey(4, -36, 0);
  EXPECT_EQ(Typed(), u"a b\b");
  TapKey(2);
  StrokeKey(4, 0, 36);
  EXPECT_EQ(Typed(), u"a b\bd\r");
  EXPECT_FALSE(IsWindowVisible(Preview()));
  driver_.AdvanceTime(Period() * 2);
  EXPECT_EQ(Typed(), u"a b\bd\r") << "nothing follows the strokes";
}

TEST_F(PhoneKeypadTest, CommitPendingInputTypesThePendingCharacterAtOnce) {
  SendMessage(keypad_, CommitPendingInputMessage, 0, 0);
  EXPECT_EQ(Typed(), u"") << "nothing pending, nothing typed";
  TapKey(1, 2);
  SendMessage(keypad_, CommitPendingInputMessage, 0, 0);
  EXPECT_EQ(Typed(), u"b");
  EXPECT_FALSE(IsWindowVisible(Preview()));
  driver_.AdvanceTime(Period() * 2);
  TapKey(1);
  driver_.AdvanceTime(Period());
  EXPECT_EQ(Typed(), u"ba") << "the next tap starts a new cycle";
}

TEST_F(PhoneKeypadTest, PenDownBesideEveryKeyDoesNothing) {
  TapKey(1);
  driver_.AdvanceTime(Period());
  driver_.Tap(120, kKeyboardTop + 169);  // the line between the letter keys and the function keys
  driver_.AdvanceTime(Period());
  EXPECT_EQ(Typed(), u"a");
  EXPECT_EQ(ThePhoneKeypad().currentKey, -1);
}

TEST_F(PhoneKeypadTest, DirectionKeysMoveTheFocusWithoutTyping) {
  TapKey(4);
  driver_.AdvanceTime(Period());
  Inputs().clear();
  SetFocus(keypad_);
  driver_.PressKey(VK_RIGHT);
  EXPECT_EQ(ThePhoneKeypad().currentKey, 5);
  driver_.PressKey(VK_RIGHT);
  EXPECT_EQ(ThePhoneKeypad().currentKey, 5) << "no wrap-around at the edge";
  driver_.PressKey(VK_DOWN);
  EXPECT_EQ(ThePhoneKeypad().currentKey, 8);
  EXPECT_EQ(ShownFrame(PhoneKeyPlace(8)), 1) << "the focused key shows frame 1";
  EXPECT_EQ(Typed(), u"");
}

TEST_F(PhoneKeypadTest, LanguageChangeRefillsTheGroups) {
  SendMessage(keypad_, LanguageChangedMessage, kGerman, 0);
  TapKey(1, 5);  // German "abc2ä"
  driver_.AdvanceTime(Period());
  EXPECT_EQ(Typed(), u"ä");
}

TEST_F(PhoneKeypadTest, StateOutlivesTheKeypadButNotItsPendingCharacter) {
  TapKey(kShiftKey);
  TapKey(1);
  DestroyWindow(keypad_);
  driver_.AdvanceTime(Period() * 2);
  EXPECT_EQ(Typed(), u"") << "the pending character dies with the keypad";
  EXPECT_EQ(Preview(), nullptr);

  keypad_ = CreateKeyboard(kPhoneKeyClass);
  TapKey(2);
  EXPECT_EQ(Typed(), u"") << "nothing stale is committed by the new keypad";
  driver_.AdvanceTime(Period());
  EXPECT_EQ(Typed(), u"D") << "Shift is still on";
}

TEST_F(PhoneKeypadTest, ShortKeyStringsLeaveTheOtherGroupsAndLongOnesAreCut) {
  LanguageRecord& english = ThePredictionEngine().languages.records[kEnglish];
  std::u16string longGroup(30, u'x');
  std::u16string value = u"1~" + longGroup;
  std::copy(value.begin(), value.end(), english.PHONEKEYS_1);
  english.PHONEKEYS_1[value.size()] = 0;
  FillLetterTable(kEnglish);
  EXPECT_EQ(std::u16string(ThePhoneKeypad().letters[0]), u"1");
  EXPECT_EQ(std::u16string(ThePhoneKeypad().letters[1]), std::u16string(19, u'x'));
  EXPECT_EQ(std::u16string(ThePhoneKeypad().letters[2]), u"def3") << "a group the string lacks stays";
}

TEST_F(PhoneKeypadTest, ScreenShowsKeyFacesLabelsAndThePendingCharacter) {
  TapKey(kShiftKey);
  TapKey(1, 2);
  driver_.Screenshot("phone_keypad");
  for (int key = 0; key < kPhoneKeyCount; ++key) EXPECT_EQ(ShownFrame(PhoneKeyPlace(key)), 0) << key;
  for (int key : {kShiftKey, kCapsKey, kSpaceKey}) EXPECT_GT(LabelInk(PhoneKeyPlace(key)), 20) << key;
  for (int key : {0, 1, kBackspaceKey, kEnterKey}) EXPECT_EQ(LabelInk(PhoneKeyPlace(key)), 0) << "no label on " << key;
  EXPECT_EQ(driver_.WindowText(Preview()), u"ABC2");
  EXPECT_TRUE(HasRedInk(kPreviewArea)) << "'B' is pending";
  const POINT p = KeyPoint(4);
  driver_.PenDown(p.x, p.y);
  EXPECT_EQ(ShownFrame(PhoneKeyPlace(4)), 2) << "a key under the pen shows its pressed face";
  driver_.PenUp(p.x, p.y);
  EXPECT_EQ(ShownFrame(PhoneKeyPlace(4)), 0);
}

}  // namespace
}  // namespace keyboard_test
