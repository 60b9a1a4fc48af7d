// The QWERTY keyboard as the main screen sees it: the one-shot Fn layer, page and case
// strokes, the corner characters, auto-repeat and the case-sensitive next-key marks.
#include "keyboard_fixture.h"

namespace keyboard_test {
namespace {

// English QWERTY_1, page 0: "qwerty" "asdfgh" "zxcvbn" ".,'?!-"; page 1: "uiop()" "jkl;:\""
// "m/@&#*" "+=%$<>". QWERTY_3 page 0 starts "123456".
constexpr int kKeyQ = 0;
constexpr int kKeyW = 1;
constexpr int kKeyA = 6;
constexpr int kKeyX = 13;
constexpr int kKeyB = 16;
constexpr int kStroke = 60;  // beyond the longest stroke threshold (45 pixels)

class QwertyKeyboardTest : public KeyboardTest {
 protected:
  void SetUp() override {
    KeyboardTest::SetUp();
    keyboard_ = CreateKeyboard(kQwertyKeyClass);
    ASSERT_NE(keyboard_, nullptr);
  }

  static POINT KeyPoint(int key) { return CentreOnScreen(QwertyKeyPlace(key).rect); }
  void TapKey(int key) { TapAt(KeyPoint(key)); }
  void StrokeKey(int key, int dx, int dy) { StrokeFrom(KeyPoint(key), dx, dy); }
  bool Marked(int key) const { return ShownFrame(QwertyKeyPlace(key)) == 1; }
  QwertyKeyboardState State() const { return QwertyState(keyboard_); }
  static LanguageRecord& English() { return ThePredictionEngine().languages.records[kEnglish]; }

  // The top right of a character key, where only its corner character is drawn.
  std::vector<COLORREF> Corner(int key) const {
    const RECT r = QwertyKeyPlace(key).rect;
    std::vector<COLORREF> pixels;
    for (int y = r.top + 4; y < r.top + 13; ++y) {
      for (int x = r.right - 15; x < r.right - 6; ++x) pixels.push_back(driver_.Pixel(x, kKeyboardTop + y));
    }
    return pixels;
  }

  HWND keyboard_ = nullptr;
};

TEST_F(QwertyKeyboardTest, FnLayer_ArmedByAnUpStrokeOnCapsAndSpentByOneKey) {
  TapKey(kQwertyCapsKey);
  ASSERT_TRUE(State().caps);
  StrokeKey(kQwertyCapsKey, 0, -kStroke);
  EXPECT_TRUE(State().fn);
  EXPECT_FALSE(State().caps) << "arming Fn switches Caps off";
  English().QWERTY_3[kKeyQ] = u' ';
  TapKey(kKeyQ);
  EXPECT_EQ(Typed(), u"") << "a space in the Fn layer types nothing";
  EXPECT_FALSE(State().fn) << "but still spends the Fn layer";
  StrokeKey(kQwertyCapsKey, 0, -kStroke);
  TapKey(kKeyW);
  EXPECT_EQ(Typed(), u"2");
  TapKey(kKeyW);
  EXPECT_EQ(Typed(), u"2w") << "Fn lasts one key";
  StrokeKey(kQwertyCapsKey, 0, -kStroke);
  StrokeKey(kQwertyCapsKey, 0, -kStroke);
  EXPECT_FALSE(State().fn) << "a second up stroke disarms Fn";
  StrokeKey(kQwertyCapsKey, kStroke, 0);
  EXPECT_TRUE(State().caps) << "any other movement on Caps is a tap";
}

TEST_F(QwertyKeyboardTest, Strokes_SidewaysTurnThePageDownIsEnterUpTypesTheOtherCase) {
  StrokeKey(kKeyQ, kStroke, 0);
  EXPECT_EQ(State().page, 1);
  EXPECT_EQ(Typed(), u"") << "turning the page types nothing";
  TapKey(kKeyQ);
  StrokeKey(kKeyQ, -kStroke, 0);
  EXPECT_EQ(State().page, 0);
  StrokeKey(kKeyQ, 0, -kStroke);
  TapKey(kQwertyCapsKey);
  StrokeKey(kKeyQ, 0, -kStroke);
  TapKey(kKeyQ);
  StrokeKey(kKeyQ, 0, kStroke);
  TapKey(kQwertyFlipKey);
  TapKey(kKeyQ);
  EXPECT_EQ(Typed(), u"uQqQ\rU") << "up with Caps on gives the lower case";
}

TEST_F(QwertyKeyboardTest, CornerCharacterComesFromTheLowerCaseRowWhateverCaps) {
  const std::vector<COLORREF> lower = Corner(kKeyQ);
  int orange = 0;
  for (COLORREF c : lower) orange += (c & 0xFF) > 0x80 && ((c >> 16) & 0xFF) < 0x40;
  EXPECT_GT(orange, 0) << "the corner shows 'u' in orange";
  TapKey(kQwertyCapsKey);
  EXPECT_EQ(Corner(kKeyQ), lower) << "'u', not 'U', with Caps on";
}

TEST_F(QwertyKeyboardTest, AutoRepeat_HoldingSpaceRepeatsEvery100msAfter300ms) {
  const POINT space = KeyPoint(kQwertySpaceKey);
  HoldThroughTwoRepetitions(space, u" ", 100);
  driver_.PenUp(space.x, space.y);
  EXPECT_EQ(Typed(), u"   ");
  const POINT flip = KeyPoint(kQwertyFlipKey);
  driver_.PenDown(flip.x, flip.y);
  driver_.AdvanceTime(1000);
  driver_.PenUp(flip.x, flip.y);
  EXPECT_EQ(State().page, 1) << "flip never repeats";
}

TEST_F(QwertyKeyboardTest, Marks_CompareCaseSensitivelyAndSkipTheFunctionKeys) {
  ThePredictionEngine().dictionary.AddStoredWord(u"able", 10);
  ThePredictionEngine().dictionary.AddStoredWord(u"aXe", 5);
  ThePredictionEngine().dictionary.AddStoredWord(u"afar", 3);
  TapKey(kKeyA);
  ASSERT_EQ(std::u16string(ThePredictionEngine().tracker.GetNextKeys()), u"bXf");
  EXPECT_TRUE(Marked(kKeyB));
  EXPECT_FALSE(Marked(kKeyX)) << "'x' is not 'X'";
  EXPECT_FALSE(Marked(kQwertyFlipKey)) << "\"flip\" starts with an f but is no character";
  TapKey(kQwertyCapsKey);
  EXPECT_FALSE(Marked(kKeyB)) << "'B' is not 'b'";
  EXPECT_TRUE(Marked(kKeyX));
}

}  // namespace
}  // namespace keyboard_test
