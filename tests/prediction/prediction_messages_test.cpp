// The messages a language switch sends to windows: the new language to the keyboard and its
// name to the menu bar.
#include "common/messages.h"
#include "prediction/language_switch.h"

#include <device/driver.h>
#include <device/user.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Received {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  std::u16string text;  // lParam's text, copied during the call (it belongs to the sender)
  bool operator==(const Received&) const = default;
};

std::vector<Received>& Log() {
  static std::vector<Received> log;
  return log;
}

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case KeyboardInputMessage:
    case MenuLabelMessage:
      Log().push_back({hwnd, msg, wParam, reinterpret_cast<const WCHAR*>(lParam)});
      return 0;
    case LanguageChangedMessage:
      Log().push_back({hwnd, msg, wParam, u""});
      return 0;
    default:
      return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

class PredictionMessages : public ::testing::Test {
 protected:
  void SetUp() override {
    Log().clear();
    WNDCLASSW wc{};
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = u"PredictionTestClass";
    RegisterClass(&wc);
    mainScreen = CreateWindowEx(0, u"PredictionTestClass", u"main", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                                nullptr, nullptr);
    bar = CreateWindowEx(0, u"PredictionTestClass", u"bar", WS_CHILD | WS_VISIBLE, 0, 200, 240, 20, mainScreen,
                         nullptr, nullptr, nullptr);
    keyboard = CreateWindowEx(0, u"PredictionTestClass", u"keys", WS_CHILD | WS_VISIBLE, 0, 220, 240, 100,
                              mainScreen, nullptr, nullptr, nullptr);
    menuBar = CreateWindowEx(0, u"PredictionTestClass", u"menu", WS_CHILD | WS_VISIBLE, 0, 0, 240, 26, mainScreen,
                             nullptr, nullptr, nullptr);
  }

  device::Driver driver;
  HWND mainScreen = nullptr, bar = nullptr, keyboard = nullptr, menuBar = nullptr;
  PredictionEngine engine;
};

}  // namespace

TEST_F(PredictionMessages, LanguageSwitchTellsKeyboardAndMenuBar) {
  const std::u16string block = u"CHARSET=START\r\nLONG=L\r\nNAME=%\r\nPREDICTDB=-\r\nNEXTWORDDB=-\r\n";
  std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
  for (const char16_t* name : {u"en", u"de", u"fr"}) {
    std::u16string text = block;
    text.replace(text.find(u'%'), 1, name);
    for (char16_t c : text) bytes.insert(bytes.end(), {std::uint8_t(c), std::uint8_t(c >> 8)});
  }
  ParseLanguageFile(bytes.data(), bytes.size(), engine.languages);
  LanguageChoice choice{0, {2, 0}};
  ASSERT_TRUE(SwitchToNextLanguage(engine, choice, keyboard, menuBar, true));
  EXPECT_EQ(choice.CurrentLang, 2);
  EXPECT_EQ(Log(), (std::vector<Received>{{keyboard, LanguageChangedMessage, 2, u""},
                                          {menuBar, MenuLabelMessage, kLanguageButton, u"fr"}}));
}
