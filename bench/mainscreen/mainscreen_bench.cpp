// One keystroke on the main screen, from pen-up until the screen is updated: the keyboard
// sends the character, the main screen feeds the word tracker (the shipped English dictionary)
// and the editor, the prediction bar redraws its three suggestions, and the keyboard repaints
// its next-key marks. Portrait: the predictive keypad and the edit control. Landscape: the
// landscape keyboard and the landscape editor, which draws its three lines rotated after every
// change (the costly part). The main screen runs modeless on the benchmark's own thread, so
// only the program's work is timed (the pen-down before each pen-up is not).
#include "main_screen_fixture.h"

#include "keyboards/landscape_keyboard.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

using namespace mainscreen_test;

namespace {


constexpr char16_t kSentence[] = u"the quick brown fox jumps over the lazy dog and then some more words ";

// The landscape key that types `c` in English (Space for a space and for any other).
POINT LandscapeKeyPoint(WCHAR c) {
  const WCHAR* row = ThePredictionEngine().languages.Language(TheSettings().CurrentLang).QWERTYFULL_1;
  int key = kLandscapeSpaceKey;
  for (int i = 0; i < kLandscapeCharacterKeyCount && row[i] != 0 && c != u' '; ++i) {
    if (row[i] == c) key = i;
  }
  const RECT r = LandscapeKeyPlace(key).rect;
  return POINT{74 + (r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void TimeKeystrokes(benchmark::State& state, int inputMethod, POINT (*keyPoint)(WCHAR)) {
  device::Driver driver;
  HWND owner = StartProgram();
  TheSettings().inputmethod = inputMethod;
  SaveSettings();
  EditMode = kEditNewNote;
  HWND screen = CreateDialogParam(ProgramInstance, MAKEINTRESOURCE(kMainScreenDialog), owner, MainScreenProc, 0);
  ShowWindow(screen, SW_SHOW);
  driver.AdvanceTime(200);
  HWND editor = inputMethod == 3 ? driver.Find(u"EditLSClass", nullptr) : Editor(driver);
  std::vector<POINT> keys;
  for (WCHAR c : std::u16string(kSentence)) keys.push_back(keyPoint(c));
  size_t typed = 0;
  for (auto _ : state) {
    const POINT key = keys[typed % keys.size()];
    if (++typed % 1000 == 0) SetWindowText(editor, u"");  // keep the note a realistic length
    driver.PenDown(key.x, key.y);
    const auto start = std::chrono::steady_clock::now();
    driver.PenUp(key.x, key.y);
    const auto end = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
  }
  state.counters["note_chars"] = static_cast<double>(GetWindowTextLength(editor));
  DestroyWindow(screen);
  DestroyWindow(owner);
}

void BM_PredictiveKeystrokeToScreen(benchmark::State& state) { TimeKeystrokes(state, 1, PredictiveKeyPoint); }
BENCHMARK(BM_PredictiveKeystrokeToScreen)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_LandscapeKeystrokeToScreen(benchmark::State& state) { TimeKeystrokes(state, 3, LandscapeKeyPoint); }
BENCHMARK(BM_LandscapeKeystrokeToScreen)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
