// One tavrel per device image: a second start, as its own process, raises the running instance
// and exits with 0 doing nothing else; two starts at the same moment never both run.
#include "shell_test_support.h"

#include "settings/registry_settings.h"
#include "shell/main_window.h"
#include "shell/menu_bar.h"
#include "shell/single_instance.h"

#include <device/gdi.h>
#include <device/imgdecmp.h>
#include <device/kernel.h>
#include <device/registry.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

// Starts the program as its own process with `arguments` and the environment plus `extra`;
// its standard output goes into the file `output` when one is named.
pid_t StartTavrel(std::vector<std::string> arguments, const std::vector<std::string>& extra,
                  const fs::path& output = {}) {
  std::vector<std::string> env(extra);
  for (char** e = environ; *e; ++e) env.emplace_back(*e);
  std::string program = TAVREL_PROGRAM;
  std::vector<char*> argv{program.data()};
  for (std::string& a : arguments) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!output.empty()) posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  return spawned == 0 ? child : -1;
}

// The exit status of a started program, or -1.
int ExitStatus(pid_t child) {
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// The running instance has its grid menu open (active, with the focus); the second start
// raises and activates the start window and ends with 0 without starting anything: no
// first-run assignment is recorded by it. (It joins this driver's image: the environment
// names it.)
TEST(SingleInstance, ASecondStartRaisesTheRunningInstanceAndExitsWith0) {
  shell_test::RunTavrel(
      [](device::Driver& d) {
        HWND main = d.Find(kMainWindowClass, kMainWindowTitle);
        d.PressKey(VK_RETURN);
        HWND grid = d.Find(kMenuClassName, kMenuTitle);
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(GetActiveWindow(), grid);

        const fs::path said = fs::path(d.DeviceFolder()).parent_path() / ("second-start-" + std::to_string(getpid()));
        EXPECT_EQ(ExitStatus(StartTavrel({}, {"TAVREL_HEADLESS=1"}, said)), 0);
        d.RunUntilIdle();  // the raise request arrives in this instance's queue
        EXPECT_EQ(GetActiveWindow(), main);
        std::ifstream in(said);
        const std::string out((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        fs::remove(said);
        EXPECT_NE(out.find("already running on this device; it was brought to the front"), std::string::npos) << out;
        DWORD assign = 7;
        EXPECT_FALSE(ReadDwordSetting(u"Assign", &assign)) << "the second start ran its own timers";
      },
      [] {
        DWORD off = 0;
        WriteSetting(u"Menu", REG_DWORD, &off, sizeof off);
      });
}

// How many processes wait for the lock on `file` (the host kernel lists them in /proc/locks).
int WaitingForLock(const fs::path& file) {
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) return -1;
  const std::string inode = ":" + std::to_string(info.st_ino) + " ";
  std::ifstream locks("/proc/locks");
  int waiting = 0;
  for (std::string line; std::getline(locks, line);) {
    waiting += line.find("->") != std::string::npos && line.find(inode) != std::string::npos;
  }
  return waiting;
}

// The screenshot shows the start window: most of a coarse grid of its pixels is not black.
bool ShowsTheStartWindow(const fs::path& shot) {
  HBITMAP picture = LoadPngFile(shot.c_str());
  if (picture == nullptr) return false;
  HDC probe = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(probe, picture);
  int lit = 0, all = 0;
  for (int y = 5; y < 320; y += 20) {
    for (int x = 5; x < 240; x += 20, ++all) lit += GetPixel(probe, x, y) != RGB(0, 0, 0);
  }
  SelectObject(probe, old);
  DeleteDC(probe);
  DeleteObject(picture);
  return lit * 2 > all;
}

// Two starts on one fresh image, held at the start-up lock until both wait there, then let go
// at the same moment: one runs, the other raises it and ends with 0 having drawn nothing.
// (Each writes what its screen shows; both used to show the start window.)
TEST(SingleInstance, TwoStartsAtTheSameMomentNeverBothRun) {
  for (int attempt = 0; attempt < 4; ++attempt) {
    std::string pattern = (fs::temp_directory_path() / "tavrel-twice-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path image = pattern;
    // The running one stays up for a while (each shot writes a file), so that the other, however
    // late the host schedules it, still finds it running; one that had already ended would
    // rightly leave the second start to run on its own.
    {
      std::ofstream script(image / "shot.script");
      for (int shot = 0; shot < 200; ++shot) script << "shot screen\n";
    }

    const std::string previousImage = std::getenv("TAVREL_DEVICE") ? std::getenv("TAVREL_DEVICE") : "";
    setenv("TAVREL_DEVICE", image.c_str(), 1);
    HANDLE startUp = CreateMutex(nullptr, TRUE, kStartUpMutex);
    ASSERT_NE(startUp, nullptr);
    const fs::path lockFile = image / "locks" / "Tavrel%0020start-up.lock";
    std::vector<pid_t> starts;
    for (int i = 0; i < 2; ++i) {
      starts.push_back(StartTavrel({"--script", (image / "shot.script").string()},
                                   {"TAVREL_HEADLESS=1", "TAVREL_DEVICE=" + image.string(),
                                    "TAVREL_SHOTS=" + (image / ("shots-" + std::to_string(i))).string()}));
    }
    // Both start-ups take a moment (loading libraries, fonts); then they wait at the lock.
    for (auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
         WaitingForLock(lockFile) < 2 && std::chrono::steady_clock::now() < deadline;) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(WaitingForLock(lockFile), 2);
    ReleaseMutex(startUp);
    CloseHandle(startUp);
    if (previousImage.empty()) unsetenv("TAVREL_DEVICE");
    else setenv("TAVREL_DEVICE", previousImage.c_str(), 1);

    int ran = 0;
    for (int i = 0; i < 2; ++i) {
      EXPECT_EQ(ExitStatus(starts[static_cast<size_t>(i)]), 0) << "attempt " << attempt;
      ran += ShowsTheStartWindow(image / ("shots-" + std::to_string(i)) / "screen.png");
    }
    EXPECT_EQ(ran, 1) << "attempt " << attempt;
    std::error_code ignored;
    fs::remove_all(image, ignored);
  }
}

}  // namespace
