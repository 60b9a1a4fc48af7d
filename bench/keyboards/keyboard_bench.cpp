// Typing on the keypads, headless with the shipped data and the English dictionaries: one tap
// from pen-down to the repainted keypad, including the parent's word tracker update (as the
// main screen does it). The keypads promise no flicker, so a tap with its full redraw should
// stay well inside one 60 Hz frame (16 ms); target 5 ms.
//
//   PredictTap  a character key, then Space (the marks change after both)
//   PhoneTap    a letter key while its character is pending (preview painted at once)
#include "common/messages.h"
#include "drawing/skin_images.h"
#include "keyboards/phone_keypad.h"
#include "keyboards/predict_keypad.h"
#include "prediction/language_switch.h"
#include "prediction/prediction_engine.h"
#include "settings/settings_store.h"

#include <device/driver.h>
#include <device/files.h>

#include <benchmark/benchmark.h>

namespace {

constexpr int kKeypadTop = 122;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == KeyboardInputMessage && wParam == kInputCharacter && lParam != 0) {
    ThePredictionEngine().tracker.TypeCharacter(reinterpret_cast<const WCHAR*>(lParam)[0]);
    return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

// A device with the shipped data, English loaded, and a keypad of `className` under a parent.
HWND StartKeypad(device::Driver& driver, const WCHAR* className) {
  device::EnsureDeviceImage();
  PredictionEngine& engine = ThePredictionEngine();
  ReadLanguageFile(u"\\Program Files\\Tavrel\\keyboard.txt", engine.languages);
  LoadSkinImages();
  LoadSettings(TheSettings(), engine.languages.count);
  engine.tracker.SetLoadedLanguage(-1);
  LoadLanguageDictionaries(engine, 0);
  RegisterWindowClass(nullptr, kPhoneKeyClassRow);
  RegisterWindowClass(nullptr, kPredictKeyClassRow);
  WNDCLASSW wc{};
  wc.lpfnWndProc = ParentProc;
  wc.lpszClassName = u"BenchParent";
  RegisterClass(&wc);
  HWND parent = CreateWindowEx(0, u"BenchParent", u"main", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                               nullptr, nullptr);
  HWND keypad = CreateWindowEx(0, className, u"keyboard", WS_CHILD | WS_VISIBLE, 0, kKeypadTop, 240, 201, parent, nullptr,
                               nullptr, nullptr);
  driver.RunUntilIdle();
  return keypad;
}

void TapKey(device::Driver& driver, const KeyPlace& key) {
  driver.Tap((key.rect.left + key.rect.right) / 2, kKeypadTop + (key.rect.top + key.rect.bottom) / 2);
}

void BM_PredictTap(benchmark::State& state) {
  device::Driver driver;
  StartKeypad(driver, kPredictKeyClass);
  for (auto _ : state) {
    TapKey(driver, PredictKeyPlace(4));  // 'e'
    TapKey(driver, PredictKeyPlace(kPredictSpaceKey));
  }
  state.SetItemsProcessed(state.iterations() * 2);
}

void BM_PhoneTap(benchmark::State& state) {
  device::Driver driver;
  StartKeypad(driver, kPhoneKeyClass);
  for (auto _ : state) TapKey(driver, PhoneKeyPlace(1));  // letter key 2, cycling
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_PredictTap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PhoneTap)->Unit(benchmark::kMillisecond);

}  // namespace
