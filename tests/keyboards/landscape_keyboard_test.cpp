// The landscape keyboard as the main screen sees it: Caps and Fn, strokes in turned
// directions, marks compared in lower case, the dead keys it shares with the predictive
// keypad, and auto-repeat.
#include "keyboard_fixture.h"

namespace keyboard_test {
namespace {

constexpr int kLeft = 74;  // the keyboard's place on the screen: 74, 0, 166 x 320

// English QWERTYFULL_1: "qwertyuiop" from the bottom of the first column, "asdfghjkl'",
// "zxcvbnm,.?", "-!\":;()@/&"; QWERTYFULL_3 starts "1234".
constexpr int kKeyQ = 0;
constexpr int kKeyE = 2;
constexpr int kKeyR = 3;
constexpr int kKeyA = 10;
constexpr int kKeyX = 21;
constexpr int kKeyB = 24;
// Spanish QWERTYFULL_1 holds the combining acute, its first accent, at key 30.
constexpr int kSpanishAcute = 30;
constexpr int kStroke = 60;

class LandscapeKeyboardTest : public KeyboardTest {
 protected:
  void SetUp() override {
    KeyboardTest::SetUp();
    keyboard_ = CreateWindowEx(0, kLandscapeKeyClass, u"keyboard", WS_CHILD | WS_VISIBLE, kLeft, 0, 166, 320, screen_,
                               nullptr, nullptr, nullptr);
    ASSERT_NE(keyboard_, nullptr);
    driver_.RunUntilIdle();
  }

  static POINT KeyPoint(int key) {
    const RECT r = LandscapeKeyPlace(key).rect;
    return POINT{kLeft + (r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  void TapKey(int key) { TapAt(KeyPoint(key)); }
  void StrokeKey(int key, int dx, int dy) { StrokeFrom(KeyPoint(key), dx, dy); }
  // The fixture reads keys of a keyboard at (0, 122); this one lies at (74, 0).
  bool Marked(int key) const {
    KeyPlace place = LandscapeKeyPlace(key);
    OffsetRect(&place.rect, kLeft, -kKeyboardTop);
    return ShownFrame(place) == 1;
  }
  static LandscapeKeyboardState& State() { return TheLandscapeKeyboard(); }

  HWND keyboard_ = nullptr;
};

TEST_F(LandscapeKeyboardTest, Marks_WithCapsOnTheUpperCaseLabelsAreComparedInLowerCase) {
  ThePredictionEngine().dictionary.AddStoredWord(u"able", 10);
  ThePredictionEngine().dictionary.AddStoredWord(u"aXe", 5);
  TapKey(kKeyA);
  ASSERT_EQ(std::u16string(ThePredictionEngine().tracker.GetNextKeys()), u"bX");
  EXPECT_TRUE(Marked(kKeyB));
  EXPECT_FALSE(Marked(kKeyX)) << "'x' is not 'X'";
  TapKey(kLandscapeCapsKey);
  EXPECT_TRUE(Marked(kKeyB)) << "'B' counts as 'b'";
  EXPECT_FALSE(Marked(kKeyX)) << "'X' counts as 'x'";
  TapKey(kKeyB);
  EXPECT_EQ(Typed(), u"aB") << "the labels come from QWERTYFULL_2";
  EXPECT_FALSE(Marked(kKeyB)) << "the old marks go when the word moves on";
}

TEST_F(LandscapeKeyboardTest, FnAndCapsExcludeEachOtherAndFnIsSpentByOneKey) {
  TapKey(kLandscapeCapsKey);
  TapKey(kLandscapeFnKey);
  EXPECT_TRUE(State().fn);
  EXPECT_FALSE(State().caps) << "Fn switches Caps off";
  TapKey(kLandscapeCapsKey);
  EXPECT_TRUE(State().caps);
  EXPECT_FALSE(State().fn) << "Caps disarms Fn";
  TapKey(kLandscapeCapsKey);
  ThePredictionEngine().languages.records[kEnglish].QWERTYFULL_3[kKeyR] = u' ';
  TapKey(kLandscapeFnKey);
  TapKey(kKeyR);
  EXPECT_EQ(Typed(), u"") << "a space in the Fn layer types nothing";
  EXPECT_FALSE(State().fn) << "but still spends the Fn layer";
  TapKey(kLandscapeFnKey);
  TapKey(kKeyE);
  TapKey(kKeyE);
  EXPECT_EQ(Typed(), u"3e");
}

TEST_F(LandscapeKeyboardTest, StrokesAreReadTurnedWithTheDevice) {
  StrokeKey(kKeyQ, 0, -kStroke);  // up the screen: the turned device's right
  StrokeKey(kKeyQ, 0, kStroke);
  StrokeKey(kKeyQ, kStroke, 0);
  StrokeKey(kKeyQ, -kStroke, 0);
  TapKey(kLandscapeCapsKey);
  StrokeKey(kKeyQ, -kStroke, 0);
  EXPECT_EQ(Typed(), u" \b\rQq");
}

TEST_F(LandscapeKeyboardTest, DeadKeysShareTheAccentOfThePredictiveKeypad) {
  ThePredictionEngine().tracker.SetLoadedLanguage(kSpanish);
  SendMessage(keyboard_, LanguageChangedMessage, kSpanish, 0);
  driver_.RunUntilIdle();
  TapKey(kSpanishAcute);
  EXPECT_EQ(Typed(), u"") << "a dead key sends nothing";
  EXPECT_EQ(ActiveAccent(ThePredictionEngine().languages.Language(kSpanish)), u'\u0301');
  TapKey(kKeyE);
  TapKey(kKeyE);
  EXPECT_EQ(Typed(), u"\u00E9e");
}

TEST_F(LandscapeKeyboardTest, HoldingBackspaceRepeatsEvery50msAfter300ms) {
  const POINT back = KeyPoint(kLandscapeBackspaceKey);
  HoldThroughTwoRepetitions(back, u"\b", 50);
  driver_.PenMove(back.x, back.y - 5);
  driver_.AdvanceTime(200);
  EXPECT_EQ(Typed(), u"\b\b") << "a 5-pixel slide stops the repetition";
  driver_.PenUp(back.x, back.y - 5);
  EXPECT_EQ(Typed(), u"\b\b\b");
}

}  // namespace
}  // namespace keyboard_test
