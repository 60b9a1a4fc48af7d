// Helpers of the shell tests: running the program on a fresh device with process-wide state
// back at its start values, and reading screen areas.
#pragma once

#include "prediction/prediction_engine.h"
#include "shell/edit_mode.h"
#include "shell/window_stack.h"

#include <device/driver.h>

#include <functional>
#include <vector>

int WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);

namespace shell_test {

// A new process starts with an empty window stack and no language loaded; the tests run many
// programs in one process.
inline void ResetProcessState() {
  TheWindowStack = WindowStack{};
  EditMode = kEditField;
  ThePredictionEngine().tracker.SetLoadedLanguage(-1);
  ThePredictionEngine().dictionary.EmptyDictionary();
}

inline HINSTANCE TestInstance() { return reinterpret_cast<HINSTANCE>(0x00010000); }

// Runs the program's WinMain with `script`; `beforeStart` runs first on the fresh device (to
// prepare settings the way an earlier run would have left them).
inline int RunTavrel(const std::function<void(device::Driver&)>& script,
                     const std::function<void()>& beforeStart = nullptr) {
  return device::RunProgramWithScript(
      [&] {
        ResetProcessState();
        if (beforeStart) beforeStart();
        return WinMain(TestInstance(), nullptr, nullptr, SW_SHOW);
      },
      script);
}

// The screen pixels of a rectangle, row by row.
inline std::vector<COLORREF> Pixels(const device::Driver& driver, const RECT& r) {
  std::vector<COLORREF> pixels;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) pixels.push_back(driver.Pixel(x, y));
  }
  return pixels;
}

}  // namespace shell_test
