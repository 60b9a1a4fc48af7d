// The whole program: the start window's new-note band opens the main screen, a note is typed on
// the predictive keypad and saved, and the start window owns the screen again.
#include "main_screen_fixture.h"

#include <gtest/gtest.h>

int WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);

using namespace mainscreen_test;

TEST(MainScreenFromTheStartWindow, TheNewNoteBandOpensTheScreenAndSaveReturnsWithTheNote) {
  bool saved = false;
  device::RunProgramWithScript(
      [] {
        TheWindowStack = WindowStack{};
        EditMode = kEditField;
        ThePredictionEngine().tracker.SetLoadedLanguage(-1);
        ThePredictionEngine().dictionary.EmptyDictionary();
        return WinMain(TestInstance(), nullptr, nullptr, SW_SHOW);
      },
      [&](device::Driver& d) {
        d.AdvanceTime(300);
        HWND start = d.Find(u"Tavrel", u"Tavrel");
        d.Tap(120, 130);  // the new-note band
        d.AdvanceTime(200);
        ASSERT_NE(Screen(d), nullptr);
        EXPECT_EQ(EditMode, kEditNewNote);
        EXPECT_EQ(TopWindow(), Screen(d));
        EXPECT_EQ(ClassOf(Keyboard(d)), u"PredictKeyClass");
        const WCHAR* row = ThePredictionEngine().languages.Language(TheSettings().CurrentLang).PREDICT_1;
        for (WCHAR c : {u'h', u'i'}) {
          for (int i = 0; i < 35; ++i) {
            if (row[i] == c) d.Tap(34 * (i % 7) + 17, 122 + 34 * (i / 7) + 17);
          }
        }
        EXPECT_EQ(EditorText(d), u"hi");
        d.Screenshot("mainscreen-from-start-window");
        TapMenu(d, 3);  // "Save"
        d.AdvanceTime(300);
        EXPECT_EQ(Screen(d), nullptr);
        EXPECT_EQ(TopWindow(), start);
        saved = GetFileAttributes(u"\\My Documents\\Tavrels\\hi.pwi") != INVALID_FILE_ATTRIBUTES;
        d.Screenshot("start-window-after-saving");
      });
  EXPECT_TRUE(saved);
}
