// The prediction bar in a parent of the test's own: which completion each button gives in
// both layouts, and the empty button that asks for the Fx keys.
#include "common/messages.h"
#include "drawing/back_buffer.h"
#include "keyboards/prediction_bar.h"
#include "prediction/prediction_engine.h"
#include "settings/settings_store.h"

#include <device/driver.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Received {
  UINT msg;
  WPARAM code;
  std::u16string text;
  bool operator==(const Received&) const = default;
};
std::vector<Received> received;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == KeyboardInputMessage) {
    received.push_back({msg, wParam, reinterpret_cast<const WCHAR*>(lParam)});
    return 0;
  }
  if (msg == OpenFxKeysMessage) {
    received.push_back({msg, 0, u""});
    return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

class PredictionBar : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterWindowClass(nullptr, kPredictionBarClassRow);
    WNDCLASSW wc{};
    wc.lpfnWndProc = ParentProc;
    wc.lpszClassName = u"BarParent";
    RegisterClass(&wc);
    parent = CreateWindowEx(0, u"BarParent", u"", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
    HDC dc = GetDC(parent);
    CreateBackBuffer(dc);
    ReleaseDC(parent, dc);
    WordDictionary& dictionary = ThePredictionEngine().dictionary;
    dictionary.EmptyDictionary();
    // Counts far apart, so the ranking is cat, car, cab.
    for (int i = 0; i < 40; ++i) Learn(u"cat");
    for (int i = 0; i < 20; ++i) Learn(u"car");
    Learn(u"cab");
    bar = CreateWindowEx(0, kPredictionBarClass, kPredictionBarTitle, WS_CHILD | WS_VISIBLE, 0, 93, 240, 29, parent,
                         nullptr, nullptr, nullptr);
    driver.RunUntilIdle();
    received.clear();
  }
  static void Learn(const WCHAR* word) {
    WCHAR copy[kWordBufferSize] = {};
    for (int i = 0; word[i] != 0; ++i) copy[i] = word[i];
    ThePredictionEngine().dictionary.LearnWord(copy);
  }
  void TearDown() override { ThePredictionEngine().dictionary.EmptyDictionary(); }

  void ShowCompletionsOf(const WCHAR* word) {
    SendMessage(bar, WordBeforeCaretMessage, reinterpret_cast<WPARAM>(word), 0);
    driver.RunUntilIdle();
  }
  std::u16string Completion(int k) const {
    WCHAR word[kWordBufferSize] = {};
    ThePredictionEngine().tracker.GetCompletion(k, word);
    return word;
  }

  device::Driver driver;
  HWND parent = nullptr;
  HWND bar = nullptr;
};

}  // namespace

TEST_F(PredictionBar, HorizontalButtonsGiveCompletionsZeroToTwoFromTheLeft) {
  ShowCompletionsOf(u"ca");
  ASSERT_EQ(Completion(0), u"cat");
  ASSERT_EQ(Completion(2), u"cab");
  driver.Tap(200, 93 + 13);
  EXPECT_EQ(received, (std::vector<Received>{{KeyboardInputMessage, kInputCompleteWord, u"b"}}));
  ShowCompletionsOf(u"ca");
  received.clear();
  driver.Tap(10, 93 + 13);
  EXPECT_EQ(received, (std::vector<Received>{{KeyboardInputMessage, kInputCompleteWord, u"t"}}));
}

TEST_F(PredictionBar, TheVerticalBarsBottomButtonGivesCompletionZero) {
  MoveWindow(bar, 45, 0, 29, 320, TRUE);
  SendMessage(bar, BarLayoutMessage, kBarVertical, 0);
  ShowCompletionsOf(u"ca");
  driver.Screenshot("prediction-bar-vertical");
  driver.Tap(45 + 15, 300);
  EXPECT_EQ(received, (std::vector<Received>{{KeyboardInputMessage, kInputCompleteWord, u"t"}}));
  ShowCompletionsOf(u"ca");
  received.clear();
  driver.Tap(45 + 15, 20);
  EXPECT_EQ(received, (std::vector<Received>{{KeyboardInputMessage, kInputCompleteWord, u"b"}}));
}

TEST_F(PredictionBar, WithAddSpaceTheWordThatNothingExtendsIsFollowedByASpace) {
  TheSettings().AddSpace = 1;
  ShowCompletionsOf(u"ca");
  received.clear();
  driver.Tap(10, 93 + 13);  // "cat": no longer word
  EXPECT_EQ(received, (std::vector<Received>{{KeyboardInputMessage, kInputCompleteWord, u"t"},
                                             {KeyboardInputMessage, kInputCharacter, u" "}}));
  EXPECT_EQ(std::u16string(ThePredictionEngine().tracker.CurrentWord()), u"") << "the word ends unlearned";
  TheSettings().AddSpace = 0;
  ShowCompletionsOf(u"ca");
  received.clear();
  driver.Tap(10, 93 + 13);
  EXPECT_EQ(received, (std::vector<Received>{{KeyboardInputMessage, kInputCompleteWord, u"t"}}));
  EXPECT_EQ(std::u16string(ThePredictionEngine().tracker.CurrentWord()), u"cat");
}

TEST_F(PredictionBar, AnEmptyButtonAsksForTheFxKeysInsteadOfInsertingText) {
  ShowCompletionsOf(u"cat");  // no longer word: every button is empty
  driver.Tap(120, 93 + 13);
  EXPECT_EQ(received, (std::vector<Received>{{OpenFxKeysMessage, 0, u""}}));
}

TEST_F(PredictionBar, APenDownOutsideTheButtonsSelectsNothingOnPenUp) {
  ShowCompletionsOf(u"ca");
  driver.PenDown(10, 93 + 13);
  driver.PenUp(10, 93 + 13);
  received.clear();
  driver.Tap(100, 93 + 27);  // below the buttons
  EXPECT_TRUE(received.empty());
}
