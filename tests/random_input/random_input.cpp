// random_input: drives the whole program with random pen taps, strokes, holds, hardware keys,
// typed characters and time advances, and checks after every event that
//   - the program is still running (or ended through its own Exit, which restarts it);
//   - no message box says "window stack" (a window closed out of order) and every open message
//     box is answered with one of its own buttons;
//   - the window stack holds the start window at the bottom, live windows only, none twice;
//   - every shown top-level window lies wholly on the screen and every shown child at least
//     partly, so that a person can reach it. The start window is made 240 x 360 at the top left
//     and reaches 40 pixels below the screen by design; it is only checked to stay there.
//
//   random_input [EVENTS] [SEED]      (defaults: 3000 events, a seed taken from the clock)
//
// The seed is printed first; the same seed plays the same events, so a failure is reproduced by
// running again with it ($TAVREL_RANDOM_TRACE=1 prints every event, 2 also the windows after it;
// $TAVREL_RANDOM_SHOT=N writes the screen after event N to random_input.png). A watchdog ends the run
// when one event has not finished after a minute of real time (a program that hangs). The device
// image is a temporary folder kept across restarts and removed at the end unless a check failed.
// Exit status: 0 when every check passed, 1 otherwise.
#include "internal/window_state.h"
#include "prediction/prediction_engine.h"
#include "shell/edit_mode.h"
#include "shell/startup.h"
#include "shell/window_stack.h"

#include <device/driver.h>
#include <device/message_box_probe.h>

#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

int WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);

namespace {

constexpr int kScreenWidth = 240;
constexpr int kScreenHeight = 320;
constexpr int kMessageBoxAnswers = 20;  // boxes answered after one event before giving up
constexpr auto kEventTimeLimit = std::chrono::seconds(60);

constexpr std::array<UINT, 9> kHardwareKeys = {VK_APP1, VK_APP2, VK_APP3, VK_APP4, VK_UP,
                                               VK_DOWN, VK_LEFT, VK_RIGHT, VK_RETURN};
constexpr std::array<int, 4> kBoxButtons = {IDOK, IDYES, IDNO, IDCANCEL};
constexpr char16_t kTypedCharacters[] = u"aeinorst .,'?\b\b\r";

// Event kinds and their weights out of 100. A window tap hits a point inside a shown window
// chosen at random, so that small buttons and the windows behind them are reached as often as
// large ones.
enum EventKind { kTap, kWindowTap, kStroke, kHold, kKey, kCharacter, kTime };
constexpr std::array<int, 7> kEventWeights = {30, 16, 16, 5, 18, 5, 10};

using Random = std::mt19937_64;

int Uniform(Random& random, int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

// A point on the screen, now and then a few pixels beyond its edge.
POINT RandomPoint(Random& random) {
  return POINT{Uniform(random, -4, kScreenWidth + 3), Uniform(random, -4, kScreenHeight + 3)};
}

EventKind RandomKind(Random& random) {
  int roll = Uniform(random, 0, 99);
  for (int kind = 0; kind < static_cast<int>(kEventWeights.size()); ++kind) {
    if (roll < kEventWeights[kind]) return static_cast<EventKind>(kind);
    roll -= kEventWeights[kind];
  }
  return kTime;
}

// Mostly the short pauses between a person's actions; now and then long enough for the
// program's slow timers (auto-repeat, saving, the start window's first-run steps).
std::uint32_t RandomPause(Random& random) {
  int roll = Uniform(random, 0, 99);
  if (roll < 70) return static_cast<std::uint32_t>(Uniform(random, 1, 400));
  if (roll < 95) return static_cast<std::uint32_t>(Uniform(random, 400, 3000));
  return static_cast<std::uint32_t>(Uniform(random, 3000, 60000));
}

void CollectShown(const device::internal::Window* w, std::vector<RECT>& places) {
  if (!device::internal::IsShown(w)) return;
  const RECT r = device::internal::Intersect(device::internal::ScreenWindowRect(w),
                                             RECT{0, 0, kScreenWidth, kScreenHeight});
  if (!device::internal::Empty(r)) places.push_back(r);
  for (const device::internal::Window* child : w->children) CollectShown(child, places);
}

// A point inside a shown window chosen at random; a point anywhere when none is shown.
POINT RandomWindowPoint(Random& random) {
  std::vector<RECT> places;
  for (const device::internal::Window* w : device::internal::Wm().topLevels) CollectShown(w, places);
  if (places.empty()) return RandomPoint(random);
  const RECT r = places[static_cast<size_t>(Uniform(random, 0, static_cast<int>(places.size()) - 1))];
  return POINT{Uniform(random, r.left, r.right - 1), Uniform(random, r.top, r.bottom - 1)};
}

// Plays one random event and returns its description.
std::string PlayEvent(device::Driver& d, Random& random) {
  char text[96];
  const EventKind kind = RandomKind(random);
  switch (kind) {
    case kTap:
    case kWindowTap: {
      POINT p = kind == kTap ? RandomPoint(random) : RandomWindowPoint(random);
      d.Tap(p.x, p.y);
      std::snprintf(text, sizeof text, "tap %ld %ld", static_cast<long>(p.x), static_cast<long>(p.y));
      break;
    }
    case kStroke: {
      POINT a = RandomPoint(random);
      POINT b = RandomPoint(random);
      int moves = Uniform(random, 1, 8);
      d.Stroke(a.x, a.y, b.x, b.y, moves);
      std::snprintf(text, sizeof text, "stroke %ld %ld %ld %ld (%d moves)", static_cast<long>(a.x),
                    static_cast<long>(a.y), static_cast<long>(b.x), static_cast<long>(b.y), moves);
      break;
    }
    case kHold: {
      POINT p = RandomPoint(random);
      std::uint32_t ms = static_cast<std::uint32_t>(Uniform(random, 300, 2500));
      d.PenDown(p.x, p.y);
      d.AdvanceTime(ms);
      d.PenUp(p.x, p.y);
      std::snprintf(text, sizeof text, "hold %ld %ld for %u ms", static_cast<long>(p.x), static_cast<long>(p.y),
                    static_cast<unsigned>(ms));
      break;
    }
    case kKey: {
      UINT key = kHardwareKeys[static_cast<size_t>(Uniform(random, 0, kHardwareKeys.size() - 1))];
      d.PressKey(key);
      std::snprintf(text, sizeof text, "key 0x%X", key);
      break;
    }
    case kCharacter: {
      char16_t ch = kTypedCharacters[Uniform(random, 0, std::size(kTypedCharacters) - 2)];
      d.TypeChar(ch);
      std::snprintf(text, sizeof text, "character %u", static_cast<unsigned>(ch));
      break;
    }
    case kTime: {
      std::uint32_t ms = RandomPause(random);
      d.AdvanceTime(ms);
      std::snprintf(text, sizeof text, "wait %u", static_cast<unsigned>(ms));
      break;
    }
  }
  return text;
}

// Answers every open message box with one of its buttons, chosen at random. Returns a fault,
// or an empty string.
std::string AnswerMessageBoxes(device::Driver& d, Random& random) {
  for (int answered = 0; answered < kMessageBoxAnswers; ++answered) {
    HWND box = device::FindMessageBox();
    if (box == nullptr) return {};
    if (device::MessageBoxText(box) == u"window stack") return "a \"window stack\" message box";
    int choices[kBoxButtons.size()];
    int count = 0;
    for (int id : kBoxButtons) {
      if (GetDlgItem(box, id) != nullptr) choices[count++] = id;
    }
    if (count == 0) return "a message box without buttons";
    device::PressMessageBoxButton(box, choices[Uniform(random, 0, count - 1)]);
    d.RunUntilIdle();
  }
  return "a message box that is never answered";
}

std::string CheckWindowStack() {
  const WindowStack& stack = TheWindowStack;
  if (stack.count < 1 || stack.count > kWindowStackRoom) return "window stack count " + std::to_string(stack.count);
  if (stack.windows[0] != MainWindow) return "the start window is not at the bottom of the window stack";
  for (int i = 0; i < stack.count; ++i) {
    if (!IsWindow(stack.windows[i])) return "window stack entry " + std::to_string(i) + " is no live window";
    for (int j = 0; j < i; ++j) {
      if (stack.windows[j] == stack.windows[i]) return "window stack entry " + std::to_string(i) + " twice";
    }
  }
  return {};
}

std::string Narrow(const std::u16string& text) {
  std::string narrow;
  for (char16_t ch : text) narrow += ch < 0x80 ? static_cast<char>(ch) : '?';
  return narrow;
}

// A dialog told apart from the others of its class: the classes of its controls and, when
// `withTitle`, its title (which some windows set to what was typed, so the list of windows
// reached leaves it out).
std::string DialogName(const device::internal::Window* w, bool withTitle = true) {
  std::set<std::string> controls;
  for (const device::internal::Window* child : w->children) controls.insert(Narrow(child->cls->name));
  std::string name = withTitle ? "dialog \"" + Narrow(w->text) + "\" (" : "dialog (";
  for (const std::string& control : controls) name += (name.back() == '(' ? "" : " ") + control;
  return name + ")";
}

// Which windows the run reached: the class of every shown window; dialogs by their controls.
void NoteWindow(const device::internal::Window* w, std::set<std::string>& seen) {
  if (!device::internal::IsShown(w)) return;
  const std::string name = Narrow(w->cls->name);
  seen.insert(name == "#32770" ? DialogName(w, false) : name);
  for (const device::internal::Window* child : w->children) NoteWindow(child, seen);
}

void NoteWindows(std::set<std::string>& seen) {
  for (const device::internal::Window* w : device::internal::Wm().topLevels) NoteWindow(w, seen);
}

std::string Describe(const device::internal::Window* w) {
  std::string name = Narrow(w->cls->name);
  const RECT r = device::internal::ScreenWindowRect(w);
  char text[160];
  std::snprintf(text, sizeof text, "%s (%ld,%ld)-(%ld,%ld)", name.c_str(), static_cast<long>(r.left),
                static_cast<long>(r.top), static_cast<long>(r.right), static_cast<long>(r.bottom));
  return text;
}

// A shown child wholly off the screen, or a shown top-level window not wholly on it.
std::string CheckOnScreen(const device::internal::Window* w, bool topLevel) {
  using namespace device::internal;
  if (!IsShown(w)) return {};
  const RECT r = ScreenWindowRect(w);
  const RECT screen{0, 0, kScreenWidth, kScreenHeight};
  const bool placed = w->handle == MainWindow ? r.left == 0 && r.top == 0
                                             : r.left >= 0 && r.top >= 0 && r.right <= kScreenWidth && r.bottom <= kScreenHeight;
  if (topLevel && !placed) {
    return "a window reaches off the screen: " + Describe(w);
  }
  if (!topLevel && !Empty(r) && Empty(Intersect(r, screen))) return "a window lies off the screen: " + Describe(w);
  for (const Window* child : w->children) {
    if (std::string fault = CheckOnScreen(child, false); !fault.empty()) return fault;
  }
  return {};
}

std::string CheckScreen() {
  for (const device::internal::Window* w : device::internal::Wm().topLevels) {
    if (std::string fault = CheckOnScreen(w, true); !fault.empty()) return fault;
  }
  return {};
}

// Ends the process when the event it watches does not finish in time.
class Watchdog {
 public:
  explicit Watchdog(std::uint64_t seed) : seed_(seed), thread_([this] { Watch(); }) {}
  ~Watchdog() {
    {
      std::lock_guard<std::mutex> guard(lock_);
      stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
  }
  void EventStarted(long index) {
    std::lock_guard<std::mutex> guard(lock_);
    event_ = index;
    ++ticks_;
    changed_.notify_all();
  }

 private:
  void Watch() {
    std::unique_lock<std::mutex> guard(lock_);
    while (!stop_) {
      const long ticks = ticks_;
      if (!changed_.wait_for(guard, kEventTimeLimit, [&] { return stop_ || ticks_ != ticks; })) {
        std::fprintf(stderr, "random_input: seed %llu, event %ld did not finish within a minute\n",
                     static_cast<unsigned long long>(seed_), event_);
        std::abort();
      }
    }
  }
  std::uint64_t seed_;
  std::mutex lock_;
  std::condition_variable changed_;
  long event_ = 0;
  long ticks_ = 0;
  bool stop_ = false;
  std::thread thread_;
};

struct Run {
  long events = 3000;
  std::uint64_t seed = 0;
  int trace = 0;  // 1: print each event; 2: also the shown windows and the stack after it
  long shotAt = 0;  // the event after which the screen is written to random_input.png (0: none)
  long played = 0;
  int starts = 0;
  std::string fault;  // the first failed check
  std::string lastEvent;
  std::set<std::string> windowsSeen;  // every window shown: its class, or DialogName
};

// Set on the program's thread when its entry returns; read by the script in lock-step after it.
std::atomic<bool> programEnded{false};

int StartProgram() {
  programEnded = false;
  TheWindowStack = WindowStack{};
  EditMode = kEditField;
  ThePredictionEngine().tracker.SetLoadedLanguage(-1);
  ThePredictionEngine().dictionary.EmptyDictionary();
  const int result = WinMain(reinterpret_cast<HINSTANCE>(0x00010000), nullptr, nullptr, SW_SHOW);
  programEnded = true;
  return result;
}

// Checks after one event; an empty string when all is well. Sets `ended` when the program has
// ended through its own Exit.
std::string CheckAfterEvent(device::Driver& d, Random& random, bool& ended) {
  if (std::string fault = AnswerMessageBoxes(d, random); !fault.empty()) return fault;
  const bool startWindowGone = MainWindow == nullptr || !IsWindow(MainWindow);
  if (programEnded && !startWindowGone) return "the program ended with its start window open";
  if (startWindowGone) {
    ended = true;
    return programEnded ? std::string() : "the start window is gone but the program goes on";
  }
  if (std::string fault = CheckWindowStack(); !fault.empty()) return fault;
  return CheckScreen();
}

void TraceWindows() {
  std::printf("   shown:");
  for (const device::internal::Window* w : device::internal::Wm().topLevels) {
    if (device::internal::IsShown(w)) std::printf(" [%s]", Describe(w).c_str());
  }
  std::printf("\n   stack:");
  for (int i = 0; i < TheWindowStack.count && i < kWindowStackRoom; ++i) {
    const device::internal::Window* w = device::internal::FromHandle(TheWindowStack.windows[i]);
    std::printf(" [%s]", w ? Narrow(w->cls->name).c_str() : "dead");
  }
  std::printf("\n");
  std::fflush(stdout);
}

// Printed as soon as a check fails: closing a program whose windows are in disorder may
// itself end the process.
void ReportFault(const Run& run) {
  std::printf("random_input: FAILED at event %ld (%s), seed %llu: %s\n", run.played, run.lastEvent.c_str(),
              static_cast<unsigned long long>(run.seed), run.fault.c_str());
  std::fflush(stdout);
}

// One start of the program, playing events until it ends, a check fails or all are played.
void PlaySession(Run& run, Random& random, Watchdog& watchdog) {
  ++run.starts;
  device::RunProgramWithScript(
      StartProgram,
      [&](device::Driver& d) {
        d.AdvanceTime(300);  // the start window's first timers
        bool ended = false;
        while (run.played < run.events && run.fault.empty() && !ended) {
          watchdog.EventStarted(run.played);
          run.lastEvent = PlayEvent(d, random);
          ++run.played;
          if (run.trace) {
            std::printf("%ld: %s\n", run.played, run.lastEvent.c_str());
            std::fflush(stdout);
          }
          run.fault = CheckAfterEvent(d, random, ended);
          NoteWindows(run.windowsSeen);
          if (run.trace > 1) TraceWindows();
          if (run.played == run.shotAt) d.Screenshot("random_input.png");
        }
        if (!run.fault.empty()) ReportFault(run);
      },
      device::DeviceImage::kFromEnvironment);
}

bool ParseNumber(const char* text, unsigned long long& value) {
  char* end = nullptr;
  value = std::strtoull(text, &end, 10);
  return end != text && *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
  Run run;
  unsigned long long value = 0;
  if (argc > 3 || (argc > 1 && (!ParseNumber(argv[1], value) || value == 0))) {
    std::fprintf(stderr, "usage: random_input [EVENTS] [SEED]\n");
    return 2;
  }
  if (argc > 1) run.events = static_cast<long>(value);
  run.seed = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) % 1000000007;
  if (argc > 2) {
    if (!ParseNumber(argv[2], value)) {
      std::fprintf(stderr, "random_input: the seed must be a number\n");
      return 2;
    }
    run.seed = value;
  }
  const char* trace = std::getenv("TAVREL_RANDOM_TRACE");
  run.trace = trace != nullptr ? std::atoi(trace) : 0;
  const char* shotAt = std::getenv("TAVREL_RANDOM_SHOT");
  run.shotAt = shotAt != nullptr ? std::atol(shotAt) : 0;
  std::printf("random_input: %ld events, seed %llu\n", run.events, static_cast<unsigned long long>(run.seed));
  std::fflush(stdout);

  std::error_code error;
  const std::filesystem::path image = std::filesystem::temp_directory_path() /
                                      ("tavrel-random-" + std::to_string(run.seed) + "-" + std::to_string(getpid()));
  std::filesystem::create_directories(image, error);
  setenv("TAVREL_DEVICE", image.c_str(), 1);

  Random random(run.seed);
  {
    Watchdog watchdog(run.seed);
    while (run.played < run.events && run.fault.empty()) PlaySession(run, random, watchdog);
  }
  if (!run.fault.empty()) {
    std::printf("random_input: device image kept in %s\n", image.c_str());
    return 1;
  }
  std::filesystem::remove_all(image, error);
  std::printf("random_input: windows reached:");
  for (const std::string& name : run.windowsSeen) std::printf(" %s;", name.c_str());
  std::printf("\n");
  std::printf("random_input: passed: %ld events, %d program starts, seed %llu\n", run.played, run.starts,
              static_cast<unsigned long long>(run.seed));
  return 0;
}
