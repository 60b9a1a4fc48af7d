// The predictive keypad as the main screen sees it: next-key marks, dead-key accents,
// auto-repeat, strokes, the left-handed mirror, Fn and Caps, and the hardware keys.
#include "keyboard_fixture.h"

namespace keyboard_test {
namespace {

constexpr int kFnKey = kPredictFnKey;
constexpr int kCapsKey = kPredictCapsKey;
constexpr int kBackspaceKey = kPredictBackspaceKey;

// English PREDICT_1: "abcdefghijklmnopqrstuvwxyz'-.,   ?!"
constexpr int kKeyA = 0;
constexpr int kKeyB = 1;
constexpr int kKeyE = 4;
constexpr int kKeyX = 23;
constexpr int kKeyComma = 29;
constexpr int kFirstSpace = 30;
// Spanish PREDICT_1: "abcdefghijklmnñopqrstuvwxyz\u0301,.   ¿?"
constexpr int kSpanishU = 21;
constexpr int kSpanishAcute = 27;
constexpr int kSpanishSpace = 30;

// Screen point at the centre of a key.
POINT KeyPoint(int key) { return CentreOnScreen(PredictKeyPlace(key).rect); }

RECT ScreenRect(int key) {
  RECT r = PredictKeyPlace(key).rect;
  OffsetRect(&r, 0, kKeyboardTop);
  return r;
}

class PredictKeypadTest : public KeyboardTest {
 protected:
  void SetUp() override {
    KeyboardTest::SetUp();
    keypad_ = CreateKeyboard(kPredictKeyClass);
    ASSERT_NE(keypad_, nullptr);
  }

  void TapKey(int key, int times = 1) { TapAt(KeyPoint(key), times); }
  void StrokeKey(int key, int dx, int dy) { StrokeFrom(KeyPoint(key), dx, dy); }
  bool Marked(int key) const { return ShownFrame(PredictKeyPlace(key)) == 1; }
  void SwitchLanguage(int language) {
    ThePredictionEngine().tracker.SetLoadedLanguage(language);
    SendMessage(keypad_, LanguageChangedMessage, static_cast<WPARAM>(language), 0);
    driver_.RunUntilIdle();
  }

  HWND keypad_ = nullptr;
};

TEST_F(PredictKeypadTest, Marks_EmptyNextKeysMarkOnlyTheSpaceKeys) {
  ASSERT_EQ(std::u16string(ThePredictionEngine().tracker.GetNextKeys()), u"");
  for (int key : {kFirstSpace, kFirstSpace + 1, kFirstSpace + 2}) EXPECT_TRUE(Marked(key)) << key;
  for (int key : {kKeyA, kKeyComma, 33}) EXPECT_FALSE(Marked(key)) << key;
}

TEST_F(PredictKeypadTest, Marks_FollowTypingAndCompareCaseSensitively) {
  ThePredictionEngine().dictionary.AddStoredWord(u"able", 10);
  ThePredictionEngine().dictionary.AddStoredWord(u"aXe", 5);
  TapKey(kKeyA);
  ASSERT_EQ(Typed(), u"a");
  ASSERT_EQ(std::u16string(ThePredictionEngine().tracker.GetNextKeys()), u"bX");
  EXPECT_TRUE(Marked(kKeyB));
  EXPECT_FALSE(Marked(kKeyX)) << "'x' is not 'X'";
  EXPECT_FALSE(Marked(kFirstSpace));

  TapKey(kCapsKey);
  EXPECT_FALSE(Marked(kKeyB)) << "'B' is not 'b'";
  EXPECT_TRUE(Marked(kKeyX));
  EXPECT_EQ(ShownFrame(PredictKeyPlace(kCapsKey)), 1) << "Caps shows its focused look while set";
}

TEST_F(PredictKeypadTest, Marks_NeverShownWithShowPredictOff) {
  TheSettings().showPredict = 0;
  ThePredictionEngine().dictionary.AddStoredWord(u"able", 10);
  SendMessage(keypad_, RefreshMessage, 0, 0);
  driver_.RunUntilIdle();
  EXPECT_FALSE(Marked(kFirstSpace));
  TapKey(kKeyA);
  EXPECT_FALSE(Marked(kKeyB));
}

TEST_F(PredictKeypadTest, DeadKeys_TwoAccentListCyclesAndComposes) {
  SwitchLanguage(kSpanish);  // modifiers: U+0301, U+00A8 and the appended space
  TapKey(kSpanishAcute);
  EXPECT_EQ(Typed(), u"") << "a dead key sends nothing";
  EXPECT_TRUE(HasRedInk(ScreenRect(kKeyE))) << "keys the accent changes are shown red";
  EXPECT_FALSE(HasRedInk(ScreenRect(kKeyB)));
  TapKey(kKeyE);
  TapKey(kKeyE);
  EXPECT_EQ(Typed(), u"ée") << "the accent is gone after one composed character";
  EXPECT_FALSE(HasRedInk(ScreenRect(kKeyE)));

  TapKey(kSpanishAcute, 2);
  TapKey(kSpanishU);
  TapKey(kSpanishAcute, 3);
  TapKey(kKeyA);
  EXPECT_EQ(Typed(), u"éeüa") << "second press: diaeresis; third press: back to none";

  TapKey(kSpanishAcute);
  TapKey(kSpanishSpace);
  TapKey(kKeyE);
  EXPECT_EQ(Typed(), u"éeüa e") << "a space is sent unchanged and clears the accent";

  TapKey(kSpanishAcute);
  SwitchLanguage(kSpanish);
  TapKey(kKeyE);
  EXPECT_EQ(Typed(), u"éeüa ee") << "a language change clears the accent";
}

TEST_F(PredictKeypadTest, AutoRepeat_HeldBackspaceRepeatsAfter300MsThenEvery50Ms) {
  const POINT p = KeyPoint(kBackspaceKey);
  HoldThroughTwoRepetitions(p, u"\b", 50);
  driver_.AdvanceTime(100);
  EXPECT_EQ(Inputs().size(), 4u);
  driver_.PenUp(p.x, p.y);
  EXPECT_EQ(Typed(), u"\b\b\b\b\b") << "and one more on release";
  driver_.AdvanceTime(1000);
  EXPECT_EQ(Inputs().size(), 5u);
}

TEST_F(PredictKeypadTest, AutoRepeat_SlidingStopsItAndALongSlideIsAStroke) {
  const POINT p = KeyPoint(kKeyA);
  driver_.PenDown(p.x, p.y);
  driver_.AdvanceTime(300);
  EXPECT_EQ(Typed(), u"a");
  driver_.PenMove(p.x + 4, p.y);
  driver_.AdvanceTime(50);
  EXPECT_EQ(Typed(), u"aa") << "4 pixels keep the repetition";
  driver_.PenMove(p.x + 5, p.y);
  driver_.AdvanceTime(500);
  EXPECT_EQ(Typed(), u"aa") << "5 pixels stop it";
  driver_.PenMove(p.x + 36, p.y);
  driver_.PenUp(p.x + 36, p.y);
  EXPECT_EQ(Typed(), u"aa ") << "the pen-up runs the stroke instead of the key";
}

TEST_F(PredictKeypadTest, AutoRepeat_OffMeansOneKeyPerTap) {
  TheSettings().autorepeat = 0;
  const POINT p = KeyPoint(kBackspaceKey);
  driver_.PenDown(p.x, p.y);
  driver_.AdvanceTime(1000);
  driver_.PenUp(p.x, p.y);
  EXPECT_EQ(Typed(), u"\b");
}

TEST_F(PredictKeypadTest, Strokes_UpGivesTheOtherCaseOfTheKeyUnderThePen) {
  StrokeKey(kKeyA, 0, -36);
  StrokeKey(kKeyB, 0, -35);  // a tap
  StrokeKey(kKeyE, 0, 36);   // down: Enter
  StrokeKey(kKeyE, -36, 0);  // left: backspace
  TapKey(kCapsKey);
  StrokeKey(kKeyB, 0, -40);
  EXPECT_EQ(Typed(), u"Ab\r\bb");
}

TEST_F(PredictKeypadTest, FnSelectsTheThirdRowOverCaps) {
  TapKey(kCapsKey);
  TapKey(kFnKey);
  TapKey(kKeyA);
  TapKey(kFnKey);
  TapKey(kKeyA);
  TapKey(kCapsKey);
  TapKey(kKeyA);
  EXPECT_EQ(Typed(), u"1Aa");
}

TEST_F(PredictKeypadTest, LeftHandedLayoutMirrorsEachRow) {
  DestroyWindow(keypad_);
  TheSettings().lefthanded = 1;
  keypad_ = CreateKeyboard(kPredictKeyClass);
  TapKey(0);
  TapKey(6);
  TapKey(7);
  TapKey(21);
  TapKey(34);
  EXPECT_EQ(Typed(), u"gan-.") << "each key types the character it shows";
}

TEST_F(PredictKeypadTest, HardwareKeysRunAfter100Ms) {
  RECT window;
  GetWindowRect(keypad_, &window);
  EXPECT_EQ(window.bottom - window.top, 240) << "the keypad makes itself 240 x 240";
  SetFocus(keypad_);
  driver_.PressKey(VK_RETURN);
  driver_.AdvanceTime(99);
  EXPECT_EQ(Typed(), u"");
  driver_.AdvanceTime(1);
  EXPECT_EQ(Typed(), u" ") << "Enter triggers the focused space key";

  driver_.PressKey(VK_LEFT);
  driver_.AdvanceTime(100);
  EXPECT_EQ(PredictKeypadFocusedKey(keypad_), kKeyComma);
  driver_.PressKey(VK_RETURN);
  driver_.AdvanceTime(100);
  EXPECT_EQ(Typed(), u" ,");
  EXPECT_EQ(PredictKeypadFocusedKey(keypad_), kFirstSpace) << "after Enter the focus returns to the space key";

  driver_.PressKey(VK_RETURN);
  driver_.PressKey(VK_LEFT);
  driver_.AdvanceTime(100);
  EXPECT_EQ(Typed(), u" , ") << "a direction key does not replace a pending Enter";
  EXPECT_EQ(PredictKeypadFocusedKey(keypad_), kFirstSpace);
}

TEST_F(PredictKeypadTest, PenDownBesideEveryKeyDoesNothing) {
  TapKey(kKeyB);
  driver_.Tap(239, kKeyboardTop + 17);  // right of the last grid column
  EXPECT_EQ(Typed(), u"b");
}

TEST_F(PredictKeypadTest, ScreenShowsMarksLabelsPressedKeysAndAccents) {
  ThePredictionEngine().dictionary.AddStoredWord(u"hello", 10);
  ThePredictionEngine().dictionary.AddStoredWord(u"help", 8);
  ThePredictionEngine().dictionary.AddStoredWord(u"hat", 5);
  TapKey(7);  // 'h': e and a marked
  driver_.Screenshot("predict_keypad");
  EXPECT_TRUE(Marked(kKeyE));
  EXPECT_TRUE(Marked(kKeyA));
  EXPECT_FALSE(Marked(kKeyB));
  for (int key : {kKeyA, kKeyB, kFnKey, kCapsKey, int{kPredictSpaceKey}}) EXPECT_GT(LabelInk(PredictKeyPlace(key)), 10) << key;
  EXPECT_EQ(LabelInk(PredictKeyPlace(kBackspaceKey)), 0) << "Backspace shows its picture only";
  driver_.PenDown(KeyPoint(kKeyE).x, KeyPoint(kKeyE).y);
  driver_.Screenshot("predict_keypad_pressed");
  EXPECT_EQ(ShownFrame(PredictKeyPlace(kKeyE)), 2);
  driver_.PenUp(KeyPoint(kKeyE).x, KeyPoint(kKeyE).y);
  SwitchLanguage(kSpanish);
  TapKey(kSpanishAcute);
  driver_.Screenshot("predict_keypad_accent");
  EXPECT_TRUE(HasRedInk(ScreenRect(kKeyE)));
  EXPECT_FALSE(HasRedInk(ScreenRect(kKeyB)));
}

}  // namespace
}  // namespace keyboard_test
