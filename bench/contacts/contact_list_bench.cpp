// The contact list over 5,000 contacts, headless with the shipped data and the program's own
// contacts thread. Target:
//
//   TypeOneMoreLetter   pen-up on a letter of the list's keyboard until the rows are
//                       redrawn (the search over every contact included)          <= 5 ms
#include "contacts/poom/poom_interface.h"
#include "keyboards/predict_keypad.h"
#include "prediction/prediction_engine.h"
#include "settings/settings_store.h"
#include "shell/edit_mode.h"
#include "shell/window_stack.h"

#include <device/driver.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

int WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kContacts = 5000;
constexpr int kKeyboardTop = 120;  // the list's keyboard, the menu always shown

const char16_t* const kFirstNames[] = {u"Anna", u"Béla", u"Chen", u"Dóra", u"Erik", u"Fanni", u"Gábor", u"Hugo"};
const char16_t* const kLastNames[] = {u"Kovács", u"Smith", u"Müller", u"Wang", u"Nagy", u"García", u"Tóth", u"Lee"};

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

// 5,000 contacts in one store transaction, before the program (and its contacts thread) starts.
void StoreContacts() {
  PoomConnect();
  PoomBeginChanges();
  for (int i = 0; i < kContacts; ++i) {
    ContactRecord record;
    const std::u16string first = kFirstNames[i % 8];
    const std::u16string last = std::u16string(kLastNames[i / 8 % 8]) + static_cast<char16_t>(u'a' + i % 26);
    SetContactString(record, kFirstNameId, first);
    SetContactString(record, kLastNameId, last);
    SetContactString(record, kFileAsId, last + u", " + first);
    PoomCreateContact(record);
  }
  PoomEndChanges(true);
  PoomLogoff();
  PoomRelease();
}

POINT KeyCentre(int key) {
  const RECT r = PredictKeyPlace(key).rect;
  return POINT{(r.left + r.right) / 2, kKeyboardTop + (r.top + r.bottom) / 2};
}

void BM_TypeOneMoreLetter(benchmark::State& state) {
  device::RunProgramWithScript(
      [] {
        TheWindowStack = WindowStack{};
        EditMode = kEditField;
        ThePredictionEngine().tracker.SetLoadedLanguage(-1);
        ThePredictionEngine().dictionary.EmptyDictionary();
        StoreContacts();
        return WinMain(reinterpret_cast<HINSTANCE>(0x00010000), nullptr, nullptr, SW_SHOW);
      },
      [&](device::Driver& d) {
        d.AdvanceTime(300);
        TheSettings().inputmethod2 = 1;  // the predictive keypad
        d.Tap(120, 290);                 // the contacts band waits for the 5,000
        d.AdvanceTime(100);
        if (TheContactList().count() != kContacts) state.SkipWithError("the contacts did not load");
        // The keys a..g, h..n, o..u row by row: "k" finds every Kovács, "ko" keeps them.
        const POINT k = KeyCentre(10);
        const POINT o = KeyCentre(14);
        const POINT backspace = KeyCentre(kPredictBackspaceKey);
        HWND list = TopWindow();
        d.Tap(k.x, k.y);
        for (auto _ : state) {
          d.PenDown(o.x, o.y);
          const auto started = Clock::now();
          d.PenUp(o.x, o.y);
          state.SetIterationTime(Seconds(started));
          if (d.WindowText(list) != u"ko") state.SkipWithError("the letter did not reach the search");
          d.Tap(backspace.x, backspace.y);
        }
      });
}

BENCHMARK(BM_TypeOneMoreLetter)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace
