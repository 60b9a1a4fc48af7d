// One predictive-keypad keystroke on the main screen, from pen-up until the screen is updated:
// the keypad sends the character, the main screen feeds the word tracker (the shipped English
// dictionary) and the editor, the prediction bar redraws its three suggestions, and the keypad
// repaints its next-key marks. The main screen runs modeless on the benchmark's own thread, so
// only the program's work is timed (the pen-down before each pen-up is not).
#include "main_screen_fixture.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

using namespace mainscreen_test;

namespace {


void BM_PredictiveKeystrokeToScreen(benchmark::State& state) {
  device::Driver driver;
  HWND owner = StartProgram();
  EditMode = kEditNewNote;
  HWND screen = CreateDialogParam(ProgramInstance, MAKEINTRESOURCE(kMainScreenDialog), owner, MainScreenProc, 0);
  ShowWindow(screen, SW_SHOW);
  driver.AdvanceTime(200);
  HWND editor = Editor(driver);
  std::vector<POINT> keys;
  for (WCHAR c : std::u16string(u"the quick brown fox jumps over the lazy dog and then some more words ")) {
    keys.push_back(PredictiveKeyPoint(c));
  }
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
BENCHMARK(BM_PredictiveKeystrokeToScreen)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
