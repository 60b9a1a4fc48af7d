// The notes list over a notes folder of 1,000 notes of about 300 characters, headless with the
// shipped data. Targets:
//
//   OpenNotesList    the notes band tapped until the list's first frame is shown   <= 30 ms
//   SearchContents   a content search that reads every note (ListNoteFiles)        <= 100 ms
//   NextPage         the menu's right arrow until the next six are shown           <= 2 ms
#include "common/file_helpers.h"
#include "common/messages.h"
#include "notes/note_files.h"
#include "prediction/prediction_engine.h"
#include "shell/edit_mode.h"
#include "shell/window_stack.h"

#include <device/driver.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

int WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kNoteCount = 1000;
constexpr WCHAR kFolder[] = u"\\My Documents\\Tavrels";

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

void WriteThousandNotes() {
  CreateDirectory(u"\\My Documents", nullptr);
  CreateDirectory(kFolder, nullptr);
  const std::u16string body =
      u" Meeting with the team about the quarterly plan, the budget and the next release. Bring the figures "
      u"from last month, the draft of the letter to the suppliers and the list of open questions. Remember "
      u"to book the room for Thursday and to call the office about the delivery of the new chairs.";
  for (int i = 0; i < kNoteCount; ++i) {
    std::u16string text = u"Note " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) +
                          static_cast<char16_t>(u'0' + i / 100) + static_cast<char16_t>(u'0' + i / 10 % 10) +
                          static_cast<char16_t>(u'0' + i % 10) + body;
    std::vector<std::uint8_t> bytes{0xFF, 0xFE};
    for (char16_t c : text + u'\0') {
      bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
      bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    const std::u16string path = std::u16string(kFolder) + u"\\" + NoteFileName(text.c_str());
    ReplaceFileContents(path.c_str(), bytes.data(), bytes.size());
  }
}

// Runs tavrel with 1,000 notes and hands the started program to `measure`.
void WithThousandNotes(const std::function<void(device::Driver&)>& measure) {
  device::RunProgramWithScript(
      [] {
        TheWindowStack = WindowStack{};
        EditMode = kEditField;
        ThePredictionEngine().tracker.SetLoadedLanguage(-1);
        ThePredictionEngine().dictionary.EmptyDictionary();
        return WinMain(reinterpret_cast<HINSTANCE>(0x00010000), nullptr, nullptr, SW_SHOW);
      },
      [&](device::Driver& d) {
        d.AdvanceTime(300);
        WriteThousandNotes();
        measure(d);
      });
}

void OpenTheList(device::Driver& d) {
  d.Tap(120, 180);  // the notes band; the tap runs until the list has drawn its first frame
}

void BM_OpenNotesList(benchmark::State& state) {
  WithThousandNotes([&](device::Driver& d) {
    for (auto _ : state) {
      const auto started = Clock::now();
      OpenTheList(d);
      state.SetIterationTime(Seconds(started));
      state.PauseTiming();
      HWND list = TopWindow();
      PostMessage(list, MenuCommandMessage, 4, 0);  // "Back"
      d.AdvanceTime(200);
      state.ResumeTiming();
    }
  });
}

void BM_SearchContents(benchmark::State& state) {
  WithThousandNotes([&](device::Driver&) {
    NoteList notes;
    for (auto _ : state) {
      const auto started = Clock::now();
      const int found = ListNoteFiles(nullptr, u"QUARTERLY PLAN", notes);
      state.SetIterationTime(Seconds(started));
      if (found != kNoteCount) state.SkipWithError("the search missed notes");
    }
  });
}

void BM_NextPage(benchmark::State& state) {
  WithThousandNotes([&](device::Driver& d) {
    OpenTheList(d);
    d.AdvanceTime(200);
    // 100 pages forward of the 167 there are.
    for (auto _ : state) {
      const auto started = Clock::now();
      d.Tap(120, 15);  // the menu's right arrow
      state.SetIterationTime(Seconds(started));
    }
  });
}

BENCHMARK(BM_OpenNotesList)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_SearchContents)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_NextPage)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(100);

}  // namespace
