// The Fx keys over the main screen: predefined texts page by page, Lock for several
// insertions, the date and the time on the virtual clock, the page limits and the longest
// texts the settings hold.
#include "main_screen_fixture.h"

#include "shell/fx_keys.h"

#include <device/kernel.h>
#include <device/message_box_probe.h>

#include <gtest/gtest.h>

using namespace mainscreen_test;

namespace {

HWND FxKeys(const device::Driver& d) { return d.Find(kFxKeyClass, kFxKeysTitle); }

HWND OpenFxKeys(device::Driver& d) {
  SendMessage(Screen(d), OpenFxKeysMessage, 0, 0);
  d.AdvanceTime(200);  // the pop-up's opening timers
  return FxKeys(d);
}

void TapFx(device::Driver& d, int key) {
  const RECT r = FxKeyPlace(key).rect;
  d.Tap((r.left + r.right) / 2, kFxKeysPlace.top + (r.top + r.bottom) / 2);
}

std::vector<std::u16string> TextLabels(HWND popup) {
  std::vector<std::u16string> labels;
  for (int k = 0; k < kFxTextKeyCount; ++k) labels.push_back(FxKeyLabel(popup, k));
  return labels;
}

// Predefined texts "Text 1" ... "Text n".
Opening WithTexts(int n) {
  Opening opening;
  opening.beforeOpening = [n](SettingsBlock& settings) {
    settings.PredefinedTextCount = n;
    for (int i = 0; i < n; ++i) {
      const std::u16string text = u"Text " + std::u16string(1, static_cast<char16_t>(u'A' + i));
      CopyBounded(settings.PredefinedTexts[i], kPredefinedTextRoom, text.c_str());
    }
  };
  return opening;
}

}  // namespace

TEST(FxKeys, FiveTextsFillThePageAndAnEmptyKeyInsertsNothingButCloses) {
  RunMainScreen(WithTexts(5), [](device::Driver& d) {
    HWND popup = OpenFxKeys(d);
    ASSERT_NE(popup, nullptr);
    RECT place{};
    GetWindowRect(popup, &place);
    EXPECT_EQ(place.bottom, 320) << "the pop-up ends at the screen's edge";
    EXPECT_EQ(TextLabels(popup),
              (std::vector<std::u16string>{u"Text A", u"Text B", u"Text C", u"Text D", u"Text E", u""}));
    TapMenu(d, 2);  // the pop-up's own bar lies over the screen's: next page
    EXPECT_EQ(TheFxKeys().page, 1);
    EXPECT_EQ(TextLabels(popup), std::vector<std::u16string>(6, u""));
    TapMenu(d, 1);  // previous page
    EXPECT_EQ(FxKeyLabel(popup, 4), u"Text E");
    TapFx(d, 5);
    EXPECT_EQ(FxKeys(d), nullptr) << "an empty key closes the unlocked pop-up";
    EXPECT_EQ(EditorText(d), u"");
    EXPECT_EQ(TopWindow(), Screen(d));
    OpenFxKeys(d);
    TapFx(d, 1);
    EXPECT_EQ(EditorText(d), u"Text B");
    EXPECT_EQ(FxKeys(d), nullptr);
  });
}

TEST(FxKeys, LockedThePopupStaysForSeveralTextsAndUnlockedTheNextOneCloses) {
  RunMainScreen(WithTexts(3), [](device::Driver& d) {
    HWND popup = OpenFxKeys(d);
    TapFx(d, kFxLockKey);
    EXPECT_EQ(FxKeyLabel(popup, kFxLockKey), u"Unlock");
    TapFx(d, 0);
    SendInput(d, kInputCharacter, u" ");
    TapFx(d, 2);
    SendInput(d, kInputCharacter, u" ");
    EXPECT_EQ(FxKeys(d), popup);
    TapFx(d, kFxLockKey);
    EXPECT_EQ(FxKeyLabel(popup, kFxLockKey), u"Lock");
    TapFx(d, 1);
    EXPECT_EQ(EditorText(d), u"Text A Text C Text B");
    EXPECT_EQ(FxKeys(d), nullptr);
    OpenFxKeys(d);
    EXPECT_EQ(FxKeyLabel(FxKeys(d), kFxLockKey), u"Lock") << "a new pop-up starts unlocked";
  });
}

TEST(FxKeys, DateAndTimeKeysFollowTheClockWithoutLeadingZeros) {
  SYSTEMTIME sixthOfDecember{};
  sixthOfDecember.wYear = 2026;
  sixthOfDecember.wMonth = 12;
  sixthOfDecember.wDay = 6;
  sixthOfDecember.wHour = 0;
  sixthOfDecember.wMinute = 7;
  device::SetTimeOverride(&sixthOfDecember);
  RunMainScreen({}, [](device::Driver& d) {
    OpenFxKeys(d);
    TapFx(d, kFxTimeKey);
    EXPECT_EQ(EditorText(d), u"0:7");
    SendInput(d, kInputCharacter, u" ");
    OpenFxKeys(d);
    TapFx(d, kFxDateKey);
    EXPECT_EQ(EditorText(d), u"0:7 6/12 2026");
  });
  device::SetTimeOverride(nullptr);
}

TEST(FxKeys, PagesStopAtOneAndFourAndThePageOutlivesThePopup) {
  RunMainScreen(WithTexts(20), [](device::Driver& d) {
    HWND popup = OpenFxKeys(d);
    TapMenu(d, 1);
    EXPECT_EQ(TheFxKeys().page, 0) << "no page before 1/4";
    for (int i = 0; i < 5; ++i) TapMenu(d, 2);
    EXPECT_EQ(TheFxKeys().page, 3) << "no page after 4/4";
    EXPECT_EQ(TextLabels(popup),
              (std::vector<std::u16string>{u"Text S", u"Text T", u"", u"", u"", u""}));
    d.Screenshot("fx_keys_last_page");
    TapMenu(d, 4);  // "OK"
    EXPECT_EQ(FxKeys(d), nullptr);
    popup = OpenFxKeys(d);
    EXPECT_EQ(FxKeyLabel(popup, 1), u"Text T");
    TapFx(d, 1);
    EXPECT_EQ(EditorText(d), u"Text T");
  });
}

TEST(FxKeys, TheDefaultTextsAndATextOf199CharactersGoInWhole) {
  RunMainScreen({}, [](device::Driver& d) {
    HWND popup = OpenFxKeys(d);
    EXPECT_EQ(TextLabels(popup), (std::vector<std::u16string>{u"www.tavrel.example", u"Best Regards", u"Hello Darling",
                                                              u"Don't forget to", u"Gave money to ",
                                                              u"Meeting notes:"}));
    TapFx(d, 4);
    EXPECT_EQ(EditorText(d), u"Gave money to ");
  });
  const std::u16string longest(199, u'x');
  Opening opening;
  opening.beforeOpening = [&](SettingsBlock& settings) {
    settings.PredefinedTextCount = 1;
    CopyBounded(settings.PredefinedTexts[0], kPredefinedTextRoom, (longest.substr(0, 198) + u"y").c_str());
  };
  RunMainScreen(opening, [&](device::Driver& d) {
    OpenFxKeys(d);
    TapFx(d, 0);
    EXPECT_EQ(EditorText(d), longest.substr(0, 198) + u"y");
  });
}

TEST(FxKeys, WithMenuOffEnterOpensTheirMenuAsAGrid) {
  Opening opening = WithTexts(8);
  opening.beforeOpening = [inner = opening.beforeOpening](SettingsBlock& settings) {
    inner(settings);
    settings.Menu = 0;
  };
  RunMainScreen(opening, [](device::Driver& d) {
    HWND popup = OpenFxKeys(d);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(d.Find(kMenuClassName, kMenuTitle), nullptr) << "no bar with Menu off";
    d.PressKey(VK_RETURN);
    HWND grid = d.Find(kMenuClassName, kMenuTitle);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(GetParent(grid), popup);
    d.AdvanceTime(400);
    d.Tap(48 + 120, 200 + 45);  // the right cell: next page
    EXPECT_EQ(TheFxKeys().page, 1);
    EXPECT_EQ(FxKeyLabel(popup, 1), u"Text H");
  });
}

TEST(FxKeys, EnterReachingTheMainScreenUnderThePopupOpensNoGridThatATextKeyWouldLeaveBehind) {
  Opening opening = WithTexts(2);
  opening.beforeOpening = [inner = opening.beforeOpening](SettingsBlock& settings) {
    inner(settings);
    settings.Menu = 0;
  };
  TheFxKeys().page = 0;
  RunMainScreen(opening, [](device::Driver& d) {
    SendMessage(Screen(d), OpenFxKeysMessage, 0, 0);
    d.PressKey(VK_RETURN);  // before the pop-up's timer takes the focus: the main screen gets it
    EXPECT_EQ(d.Find(kMenuClassName, kMenuTitle), nullptr);
    d.AdvanceTime(200);
    TapFx(d, 0);
    EXPECT_EQ(device::FindMessageBox(), nullptr) << "no \"window stack\" box";
    EXPECT_EQ(FxKeys(d), nullptr);
    EXPECT_EQ(TopWindow(), Screen(d));
    EXPECT_EQ(EditorText(d), u"Text A");
  });
}

TEST(FxKeys, AskedForUnderTheMainScreensOwnGridThePopupDoesNotOpen) {
  Opening opening = WithTexts(2);
  opening.beforeOpening = [inner = opening.beforeOpening](SettingsBlock& settings) {
    inner(settings);
    settings.Menu = 0;
  };
  RunMainScreen(opening, [](device::Driver& d) {
    d.PressKey(VK_RETURN);  // the main screen's grid
    HWND grid = d.Find(kMenuClassName, kMenuTitle);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(OpenFxKeys(d), nullptr);
    EXPECT_EQ(TopWindow(), grid);
  });
}
