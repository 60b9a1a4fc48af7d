// The test driver (device/driver.h): input injection, virtual time, idle runs, window
// lookup, pixels and screenshots, and the lock-step hand-off between a program's own message
// loop and a script on a second thread.
//
// The hand-off: the headless backend's idle handler (called by GetMessage / WaitMessage on
// the UI thread when nothing is left to do) gives the turn to the script and blocks until
// the script gives it back. The script gives the turn back in Settle and blocks until the
// program is idle again. One mutex and one condition variable; exactly one thread runs.
#include <device/install.h>
#include <device/driver.h>
#include <device/shell.h>

#include "internal/backend.h"
#include "internal/device_start.h"
#include "internal/headless.h"
#include "internal/png_writer.h"
#include "internal/screen.h"
#include "internal/window_state.h"

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <thread>

namespace device {

using namespace internal;

class Lockstep {
 public:
  // UI thread, when idle.
  void ProgramIdle() {
    if (!OnUiThread()) {
      // The script itself sent a message whose handler waits for messages: nobody is left
      // to act. Scripts post such messages (or tap) instead.
      std::fprintf(stderr, "device: a script's SendMessage ran a message loop; post instead\n");
      std::abort();
    }
    std::unique_lock<std::mutex> guard(lock_);
    if (scriptDone_) {
      guard.unlock();
      PostQuitMessage(0);  // the script has ended: nothing else will come
      return;
    }
    scriptTurn_ = true;
    changed_.notify_all();
    changed_.wait(guard, [&] { return !scriptTurn_ || scriptDone_; });
  }

  // Script thread: lets the program run until it is idle again.
  void RunProgram() {
    std::unique_lock<std::mutex> guard(lock_);
    if (programDone_) return;
    scriptTurn_ = false;
    changed_.notify_all();
    changed_.wait(guard, [&] { return scriptTurn_ || programDone_; });
  }

  void WaitForFirstTurn() {
    std::unique_lock<std::mutex> guard(lock_);
    changed_.wait(guard, [&] { return scriptTurn_ || programDone_; });
  }

  void ScriptFinished() {
    PostQuitMessage(0);
    std::lock_guard<std::mutex> guard(lock_);
    scriptDone_ = true;
    scriptTurn_ = false;
    changed_.notify_all();
  }

  void ProgramFinished() {
    std::lock_guard<std::mutex> guard(lock_);
    programDone_ = true;
    scriptTurn_ = true;
    changed_.notify_all();
  }

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  bool scriptTurn_ = false;
  bool scriptDone_ = false;
  bool programDone_ = false;
};

namespace {

// Names the image a driver made, for the programs it starts (see StartDeviceImage).
constexpr char kDriverImageSuffix[] = "DRIVER_DEVICE";

// A window that keeps invalidating itself in WM_PAINT would otherwise hang a test.
constexpr int kMaxMessagesPerSettle = 200000;

void FreeAllWindowsSilently() {
  ResetWindowManager();
  ResetTimers();
  ResetQueue();
}

std::string ShotsFolder() {
  const char* env = DeviceVariable("SHOTS");
  return env ? env : "screenshots";
}

HWND FindIn(const std::vector<Window*>& list, WindowClass* cls, LPCWSTR title) {
  for (Window* w : list) {
    bool classOk = !cls || w->cls == cls;
    if (classOk && (!title || w->text == title)) return w->handle;
    if (HWND h = FindIn(w->children, cls, title)) return h;
  }
  return nullptr;
}

}  // namespace

Driver::Driver() { Start(DeviceImage::kFresh); }

Driver::Driver(Lockstep* lockstep, DeviceImage image) : lockstep_(lockstep) { Start(image); }

void Driver::Start(DeviceImage image) {
  StartDeviceImage(image);
  FreeAllWindowsSilently();
  Headless().ResetClock();
  Headless().SetIdleHandler(nullptr);
  SetBackend(&Headless());
  MarkUiThread();
  StartDevice();
  ResetShellState();
}

// Windows left over are freed without messages, as at the end of a process: their
// procedures may refer to state that is already gone.
Driver::~Driver() {
  DestroyCaret();
  FreeAllWindowsSilently();
  Headless().SetIdleHandler(nullptr);
  if (keepImage_) return;  // the image belongs to the program that started this one, or to the user
  std::error_code ignored;
  std::filesystem::remove_all(deviceFolder_, ignored);
  const std::string imageVariable = DeviceVariableName("DEVICE");
  if (hadDeviceEnv_) {
    setenv(imageVariable.c_str(), previousDeviceEnv_.c_str(), 1);
  } else {
    unsetenv(imageVariable.c_str());
  }
  unsetenv(DeviceVariableName(kDriverImageSuffix).c_str());
}

// A fresh temporary image, unless this process was started (CreateProcess passes the
// environment on) by a program running on a driver's image: then it joins that image, so
// that both programs see one file system and one registry, as on the device. With
// kFromEnvironment the image $<prefix>_DEVICE names is used and kept; the programs this one
// starts join it.
void Driver::StartDeviceImage(DeviceImage image) {
  const std::string imageVariable = DeviceVariableName("DEVICE");
  const std::string driverImageVariable = DeviceVariableName(kDriverImageSuffix);
  const char* env = std::getenv(imageVariable.c_str());
  const char* driverImage = std::getenv(driverImageVariable.c_str());
  const bool named = env && *env;
  if (named && (image == DeviceImage::kFromEnvironment || (driverImage && std::string(env) == driverImage))) {
    keepImage_ = true;
    deviceFolder_ = env;
    std::error_code ignored;
    std::filesystem::create_directories(deviceFolder_, ignored);
    setenv(driverImageVariable.c_str(), deviceFolder_.c_str(), 1);
    return;
  }
  if (env) {
    hadDeviceEnv_ = true;
    previousDeviceEnv_ = env;
  }
  std::string pattern = (std::filesystem::temp_directory_path() / "device-image-XXXXXX").string();
  if (mkdtemp(pattern.data())) deviceFolder_ = pattern;
  setenv(imageVariable.c_str(), deviceFolder_.c_str(), 1);
  setenv(driverImageVariable.c_str(), deviceFolder_.c_str(), 1);
}

void Driver::Settle() {
  if (lockstep_) {
    lockstep_->RunProgram();
    return;
  }
  MSG msg;
  for (int n = 0; n < kMaxMessagesPerSettle && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
    if (msg.message != WM_QUIT) DispatchMessage(&msg);
  }
}

void Driver::RunUntilIdle() { Settle(); }

void Driver::Tap(int x, int y) {
  PenDown(x, y);
  PenUp(x, y);
}

void Driver::Stroke(int x0, int y0, int x1, int y1, int moves) {
  PenDown(x0, y0);
  for (int i = 1; i <= moves; ++i) {
    PenMove(x0 + (x1 - x0) * i / (moves + 1), y0 + (y1 - y0) * i / (moves + 1));
  }
  PenMove(x1, y1);
  PenUp(x1, y1);
}

void Driver::PenDown(int x, int y) {
  QueuePenInput(PenAction::Down, POINT{x, y});
  Settle();
}

void Driver::PenMove(int x, int y) {
  QueuePenInput(PenAction::Move, POINT{x, y});
  Settle();
}

void Driver::PenUp(int x, int y) {
  QueuePenInput(PenAction::Up, POINT{x, y});
  Settle();
}

void Driver::PressKey(UINT virtualKey) {
  KeyDown(virtualKey);
  KeyUp(virtualKey);
}

void Driver::KeyDown(UINT virtualKey) {
  QueueKeyInput(WM_KEYDOWN, virtualKey);
  Settle();
}

void Driver::KeyUp(UINT virtualKey) {
  QueueKeyInput(WM_KEYUP, virtualKey);
  Settle();
}

void Driver::TypeChar(char16_t ch) {
  QueueKeyInput(WM_CHAR, ch);
  Settle();
}

void Driver::TypeText(std::u16string_view text) {
  for (char16_t ch : text) TypeChar(ch);
}

void Driver::AdvanceTime(std::uint32_t ms) {
  std::uint64_t target = Now() + ms;
  std::optional<std::uint64_t> stuckAt;
  for (;;) {
    std::optional<std::uint64_t> due = NextTimerDue();
    if (!due || *due > target) break;
    // A due timer that nobody takes (the program has ended) must not loop for ever.
    if (stuckAt && *stuckAt == *due) break;
    stuckAt = *due;
    Headless().SetNow(*due);
    Settle();
  }
  Headless().SetNow(target);
  Settle();
}

std::uint64_t Driver::Now() const { return Headless().NowMs(); }

HWND Driver::Find(LPCWSTR className, LPCWSTR title) const {
  WindowClass* cls = className ? FindClass(className) : nullptr;
  if (className && !cls) return nullptr;
  return FindIn(Wm().topLevels, cls, title);
}

std::u16string Driver::WindowText(HWND hwnd) const {
  int length = GetWindowTextLength(hwnd);
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  int copied = GetWindowText(hwnd, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied));
  return text;
}

COLORREF Driver::Pixel(int x, int y) const {
  Surface s = ScreenSurface();
  if (x < 0 || y < 0 || x >= s.width || y >= s.height) return 0xFFFFFFFF;
  std::uint32_t p = s.pixels[y * s.width + x];
  return RGB(static_cast<BYTE>(p >> 16), static_cast<BYTE>(p >> 8), static_cast<BYTE>(p));
}

std::string Driver::Screenshot(const std::string& name) const {
  std::filesystem::path path(name);
  if (path.extension() != ".png") path += ".png";
  if (!path.has_parent_path()) path = std::filesystem::path(ShotsFolder()) / path;
  std::error_code ignored;
  std::filesystem::create_directories(path.parent_path(), ignored);
  if (!WriteSurfacePng(path.string().c_str(), ScreenSurface())) return {};
  std::string written = std::filesystem::absolute(path).string();
  std::printf("screenshot: %s\n", written.c_str());
  std::fflush(stdout);
  return written;
}

int RunProgramWithScript(const std::function<int()>& program,
                         const std::function<void(Driver&)>& script, DeviceImage image) {
  Lockstep lockstep;
  Driver driver(&lockstep, image);
  Headless().SetIdleHandler([&lockstep] { lockstep.ProgramIdle(); });
  std::thread scriptThread([&] {
    lockstep.WaitForFirstTurn();
    script(driver);
    lockstep.ScriptFinished();
  });
  int result = program();
  lockstep.ProgramFinished();
  scriptThread.join();
  Headless().SetIdleHandler(nullptr);
  return result;
}

}  // namespace device
