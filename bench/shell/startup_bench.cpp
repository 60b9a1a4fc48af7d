// Start of tavrel, headless with the shipped data: from the call of WinMain until the program
// first waits for input, which is after the start window has been painted (and the settings,
// the language file, the skin and the current dictionaries are loaded). Target: 150 ms.
//
//   FirstStart  a fresh device: the shipped data is installed into the program folder first
//   LaterStart  the data is already installed (the usual start)
#include "prediction/prediction_engine.h"
#include "shell/edit_mode.h"
#include "shell/window_stack.h"

#include <device/driver.h>
#include <device/files.h>

#include <benchmark/benchmark.h>

#include <chrono>

int WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);

namespace {

using Clock = std::chrono::steady_clock;

// The process-wide state a new process starts with.
void ResetProcessState() {
  TheWindowStack = WindowStack{};
  EditMode = kEditField;
  ThePredictionEngine().tracker.SetLoadedLanguage(-1);
  ThePredictionEngine().dictionary.EmptyDictionary();
}

void RunStarts(benchmark::State& state, bool installFirst) {
  for (auto _ : state) {
    Clock::time_point started, firstIdle;
    device::RunProgramWithScript(
        [&] {
          ResetProcessState();
          if (installFirst) device::EnsureDeviceImage();
          started = Clock::now();
          return WinMain(reinterpret_cast<HINSTANCE>(0x00010000), nullptr, nullptr, SW_SHOW);
        },
        [&](device::Driver&) { firstIdle = Clock::now(); });
    state.SetIterationTime(std::chrono::duration<double>(firstIdle - started).count());
  }
}

void BM_FirstStartToStartWindow(benchmark::State& state) { RunStarts(state, false); }
void BM_LaterStartToStartWindow(benchmark::State& state) { RunStarts(state, true); }

BENCHMARK(BM_FirstStartToStartWindow)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LaterStartToStartWindow)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
