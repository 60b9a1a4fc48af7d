// Numeric mode on the main screen: the calculator keypad in place of the letter keyboard,
// the calc/text toggle from the menu bar and the third application button, and a sum put into
// the note with "Add".
#include "main_screen_fixture.h"

#include "keyboards/calculator_keypad.h"
#include "keyboards/calculator_machine.h"

#include <gtest/gtest.h>

using namespace mainscreen_test;

namespace {

constexpr int kCalculatorTop = 93;

void TapKey(device::Driver& d, int key) {
  const RECT r = CalculatorKeyPlace(key).rect;
  d.Tap((r.left + r.right) / 2, kCalculatorTop + (r.top + r.bottom) / 2);
}

void TapKeys(device::Driver& d, std::initializer_list<int> keys) {
  for (int key : keys) TapKey(d, key);
}

}  // namespace

TEST(CalculatorScreen, NumericModeShowsTheKeypadAndTheMethodTogglesBetweenTextAndSums) {
  RunMainScreen({}, [](device::Driver& d) {
    TapMenu(d, 0);  // "123"
    HWND keypad = Keyboard(d);
    ASSERT_EQ(ClassOf(keypad), u"NumExpKeyClass");
    RECT place{};
    GetWindowRect(keypad, &place);
    EXPECT_EQ(place.top, kCalculatorTop);
    EXPECT_EQ(place.bottom - place.top, 227);
    EXPECT_FALSE(IsWindowVisible(Bar(d)));
    EXPECT_EQ(TheSettings().numericmethod, 0);
    TapKeys(d, {12, 19, 13});  // text mode: "2+3"
    EXPECT_EQ(EditorText(d), u"2+3");

    TapMenu(d, 1);  // "calc"
    EXPECT_EQ(TheSettings().numericmethod, 1);
    EXPECT_EQ(Keyboard(d), keypad) << "the method changes the keypad's mode, not the keypad";
    TapKeys(d, {12, 19, 13, kCalcEqualsKey});  // 2 + 3 =
    EXPECT_EQ(d.WindowText(CalculatorDisplay(keypad)), u"5");
    EXPECT_EQ(EditorText(d), u"2+3") << "calculator keys type nothing";
    TapKey(d, kCalcSpaceKey);
    d.Stroke(120, kCalculatorTop + 45, 80, kCalculatorTop + 45);  // a left stroke: backspace
    TapKeys(d, {kCalcEqualsKey, kCalcAddKey});                     // = again adds 3: 8
    EXPECT_EQ(EditorText(d), u"2+38");

    d.PressKey(VK_APP3);  // back to text mode
    EXPECT_EQ(TheSettings().numericmethod, 0);
    TapKeys(d, {kCalcEqualsKey});
    EXPECT_EQ(EditorText(d), u"2+38=");

    TapMenu(d, 0);  // "ABC"
    EXPECT_TRUE(IsWindowVisible(Bar(d)));
    EXPECT_NE(ClassOf(Keyboard(d)), u"NumExpKeyClass");
  });
}

TEST(CalculatorScreen, ANumericRequestOpensOnTheKeypad) {
  EditRequest request{};
  CopyBounded(request.title, kEditTitleRoom, u"Amount");
  request.numeric = 1;
  const int result = RunMainScreen({.editMode = kEditField, .request = &request, .beforeOpening = {}}, [](device::Driver& d) {
    ASSERT_EQ(ClassOf(Keyboard(d)), u"NumExpKeyClass");
    EXPECT_FALSE(IsWindowVisible(Bar(d)));
    TapKeys(d, {11, 16, kCalcEnterKey});  // "10", Enter accepts the field
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(std::u16string(request.text), u"10");
}
