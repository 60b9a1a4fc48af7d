// The calculator keypad under the stand-in main screen: what its keys send in text mode, the
// calculator behind its display in calculator mode, "Add", and strokes in both modes.
#include "keyboard_fixture.h"

#include "keyboards/calculator_keypad.h"
#include "keyboards/calculator_machine.h"

namespace keyboard_test {
namespace {

constexpr int kCalculatorTop = 93;

class CalculatorKeypadTest : public KeyboardTest {
 protected:
  void SetUp() override {
    KeyboardTest::SetUp();
    TheCalculator() = CalculatorMachine{};
    RegisterWindowClass(nullptr, kNumExpKeyClassRow);
    keypad_ = CreateWindowEx(0, kNumExpKeyClass, u"keyboard", WS_CHILD | WS_VISIBLE, 0, kCalculatorTop, 240, 227,
                             screen_, nullptr, nullptr, nullptr);
    ASSERT_NE(keypad_, nullptr);
    driver_.RunUntilIdle();
  }

  void SetMode(WPARAM mode) {
    SendMessage(keypad_, CalculatorModeMessage, mode, 0);
    driver_.RunUntilIdle();
  }

  static POINT KeyPoint(int key) {
    const RECT r = CalculatorKeyPlace(key).rect;
    return POINT{(r.left + r.right) / 2, kCalculatorTop + (r.top + r.bottom) / 2};
  }
  void Press(std::initializer_list<int> keys) {
    for (int key : keys) TapAt(KeyPoint(key));
  }
  std::u16string Display() const { return driver_.WindowText(CalculatorDisplay(keypad_)); }

  HWND keypad_ = nullptr;
};

TEST_F(CalculatorKeypadTest, TextModeKeysTypeTheirCharacters) {
  SetMode(kCalculatorTextMode);
  Press({1, 4, kCalcClearKey, 10, 15, 16, kCalcPointKey, kCalcEqualsKey, 20, kCalcSquareRootKey, kCalcPercentKey,
         kCalcSpaceKey, kCalcBackspaceKey, kCalcEnterKey});
  EXPECT_EQ(Typed(), u"7/()#0.=,s% \b\r");
  EXPECT_EQ(Display(), u"0") << "text-mode keys leave the display alone";
}

TEST_F(CalculatorKeypadTest, CalculatorModeComputesAndAddSendsTheDisplay) {
  SetMode(kCalculatorMode);
  Press({12, 19, 13, 9, 6, kCalcEqualsKey});  // 2 + 3 * 4 =
  EXPECT_EQ(Display(), u"14");
  EXPECT_EQ(Typed(), u"") << "calculator keys type nothing";
  Press({kCalcEqualsKey});
  EXPECT_EQ(Display(), u"26");
  Press({kCalcAddKey});
  ASSERT_FALSE(Inputs().empty());
  EXPECT_EQ(Inputs().back().code, kInputInsertText);
  EXPECT_EQ(Inputs().back().text, u"26");
  SetMode(kCalculatorTextMode);
  EXPECT_EQ(Display(), u"26") << "the display keeps its text across a mode switch";
  Press({1});
  EXPECT_EQ(Typed(), u"7");
  EXPECT_EQ(Display(), u"26");
}

TEST_F(CalculatorKeypadTest, ClearMemoryAndSquareRootKeysInCalculatorMode) {
  SetMode(kCalculatorMode);
  Press({3, kCalcMemoryStoreKey, kCalcClearKey, kCalcClearKey});  // 9 Ms CE/C CE/C
  EXPECT_EQ(Display(), u"0");
  Press({kCalcMemoryRecallKey, kCalcSquareRootKey});
  EXPECT_EQ(Display(), u"3");
  Press({19, 11, kCalcEqualsKey});  // + 1 =
  EXPECT_EQ(Display(), u"4");
  Press({11, kCalcPointKey, 7, kCalcPercentKey});  // 1.5 %  of the 4 stacked after "="
  EXPECT_EQ(Display(), CalculatorMachine::Format(1.5 * 4 * 0.01));
}

TEST_F(CalculatorKeypadTest, StrokesGiveTheirInputOnEveryKeyInBothModes) {
  SetMode(kCalculatorMode);
  StrokeFrom(KeyPoint(7), 40, 0);                // right on "5": a space, even here
  StrokeFrom(KeyPoint(kCalcMemoryAddKey), -40, 0);  // left on "M+": backspace
  StrokeFrom(KeyPoint(kCalcSquareRootKey), 0, -40);  // up on "sqrt": "S"
  StrokeFrom(KeyPoint(kCalcPercentKey), 0, 40);   // down: Enter
  EXPECT_EQ(Typed(), u" \bS\r");
  EXPECT_EQ(Display(), u"0") << "a stroke is no key press";
  SetMode(kCalculatorTextMode);
  StrokeFrom(KeyPoint(2), 40, 0);
  EXPECT_EQ(Typed(), u" \bS\r ");
}

TEST_F(CalculatorKeypadTest, ANewKeypadStartsFromZeroButKeepsTheMemory) {
  SetMode(kCalculatorMode);
  Press({2, kCalcMemoryStoreKey, 19, 12});  // 8 Ms + 2
  DestroyWindow(keypad_);
  keypad_ = CreateWindowEx(0, kNumExpKeyClass, u"keyboard", WS_CHILD | WS_VISIBLE, 0, kCalculatorTop, 240, 227,
                           screen_, nullptr, nullptr, nullptr);
  SetMode(kCalculatorMode);
  EXPECT_EQ(Display(), u"0");
  Press({kCalcMemoryRecallKey, kCalcEqualsKey});
  EXPECT_EQ(Display(), u"8") << "the pending addition went with the old keypad";
}

// The labels follow the mode: "(" becomes "CE/C", ")" "M+", "#" "Ms", "," "Mr"; the digits
// and operators keep theirs.
TEST_F(CalculatorKeypadTest, ModeChangesTheLabelsOfTheFourKeysThatDifferOnly) {
  auto keyPixels = [&](int key) {
    const RECT r = CalculatorKeyPlace(key).rect;
    std::vector<COLORREF> pixels;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) pixels.push_back(driver_.Pixel(x, kCalculatorTop + y));
    return pixels;
  };
  constexpr int kKeys[] = {1, 4, kCalcClearKey, kCalcMemoryAddKey, kCalcMemoryStoreKey, kCalcMemoryRecallKey,
                           kCalcSquareRootKey};
  SetMode(kCalculatorTextMode);
  std::vector<std::vector<COLORREF>> text;
  for (int key : kKeys) text.push_back(keyPixels(key));
  SetMode(kCalculatorMode);
  for (size_t i = 0; i < std::size(kKeys); ++i) {
    const bool differs = kKeys[i] == kCalcClearKey || kKeys[i] == kCalcMemoryAddKey ||
                         kKeys[i] == kCalcMemoryStoreKey || kKeys[i] == kCalcMemoryRecallKey;
    EXPECT_EQ(keyPixels(kKeys[i]) != text[i], differs) << "key " << kKeys[i];
  }
}

}  // namespace
}  // namespace keyboard_test
