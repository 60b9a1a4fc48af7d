// Typing speed of the EDIT control: 1000 characters, one WM_CHAR at a time, into a multi-line,
// word-wrapped note control of 240 x 150 with a scroll bar, the way the main screen feeds it.
// "WithRepaint" also lets the window manager repaint after every character (UpdateWindow), as
// the device does between key presses; "MessageOnly" measures the handling alone. Reported
// per character (items per second is characters per second).
#include "internal/system_classes.h"

#include <device/driver.h>
#include <device/edit.h>
#include <device/gdi.h>
#include <device/user.h>

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::u16string NoteText() {
  const std::u16string words[] = {u"the ", u"pocket ", u"note ", u"taker ", u"keeps ", u"short ",
                                  u"texts, ", u"typed ", u"with ", u"a ", u"pen. "};
  std::u16string text;
  for (int i = 0; text.size() < 1000; ++i) {
    text += words[i % 11];
    if (i % 23 == 22) text += u"\r";  // a new line now and then, typed as CR
  }
  text.resize(1000);
  return text;
}

void TypeNote(benchmark::State& state, bool repaint) {
  device::Driver driver;
  device::internal::RegisterEditClass();
  HWND edit = CreateWindowEx(0, u"EDIT", u"",
                             WS_POPUP | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN,
                             0, 30, 240, 150, nullptr, nullptr, nullptr, nullptr);
  SetFocus(edit);
  driver.RunUntilIdle();
  const std::u16string text = NoteText();
  for (auto _ : state) {
    state.PauseTiming();
    SetWindowText(edit, u"");
    UpdateWindow(edit);
    state.ResumeTiming();
    for (char16_t c : text) {
      SendMessage(edit, WM_CHAR, c, 1);
      if (repaint) UpdateWindow(edit);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(text.size()));
  DestroyWindow(edit);
}

void BM_EditType1000CharactersWithRepaint(benchmark::State& state) { TypeNote(state, true); }
void BM_EditType1000CharactersMessageOnly(benchmark::State& state) { TypeNote(state, false); }

BENCHMARK(BM_EditType1000CharactersWithRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditType1000CharactersMessageOnly)->Unit(benchmark::kMillisecond);

}  // namespace
