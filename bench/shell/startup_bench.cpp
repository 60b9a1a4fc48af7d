// Start of tavrel, headless with the shipped data: from the call of WinMain until the program
// first waits for input, which is after the start window has been painted (and the settings,
// the language file, the skin and the current dictionaries are loaded). Target: 150 ms.
//
//   StartToStartWindow             from the call of WinMain (the data is installed: the usual start)
//   FreshDeviceStartToStartWindow  from before the device exists: making the device image and
//                                  installing the shipped data into it are included
#include "prediction/prediction_engine.h"
#include "shell/edit_mode.h"
#include "shell/window_stack.h"

#include <device/driver.h>

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

void RunStarts(benchmark::State& state, bool includeDevice) {
  for (auto _ : state) {
    Clock::time_point started = Clock::now(), firstIdle;
    device::RunProgramWithScript(
        [&] {
          ResetProcessState();
          if (!includeDevice) started = Clock::now();
          return WinMain(reinterpret_cast<HINSTANCE>(0x00010000), nullptr, nullptr, SW_SHOW);
        },
        [&](device::Driver&) { firstIdle = Clock::now(); });
    state.SetIterationTime(std::chrono::duration<double>(firstIdle - started).count());
  }
}

void BM_StartToStartWindow(benchmark::State& state) { RunStarts(state, false); }
void BM_FreshDeviceStartToStartWindow(benchmark::State& state) { RunStarts(state, true); }

BENCHMARK(BM_StartToStartWindow)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FreshDeviceStartToStartWindow)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
