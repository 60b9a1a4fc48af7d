// Windows of other processes on the same device image: FindWindow finds them when nothing of
// the process's own matches, the raising calls reach their owner, other images stay apart,
// and a process that died leaves nothing that blocks or lingers.
#include <device/user.h>

#include "fresh_device.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

// A running remote_probe (tests/remote_helper): its pid and the lines it prints.
class Probe {
 public:
  // Starts the probe on the device image `image` and waits until its windows can be found.
  explicit Probe(const fs::path& image) {
    int out[2];
    if (::pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string program = (fs::read_symlink("/proc/self/exe").parent_path() / "remote_probe").string();
    std::vector<std::string> env{"TAVREL_DEVICE=" + image.string(), "SAMPLE_DATA=" + (image / "no-data").string()};
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    char* argv[] = {program.data(), nullptr};
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv, envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    output_ = out[0];
    ready_ = pid_ > 0 && NextLine() == "ready";
  }

  ~Probe() {
    Kill();
    ::close(output_);
  }

  void Kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

  // The next line the probe prints; empty when it prints nothing for long (a guard against a
  // hanging test, not a measurement).
  std::string NextLine() {
    std::string line;
    char c;
    pollfd p{output_, POLLIN, 0};
    while (::poll(&p, 1, 10000) == 1 && ::read(output_, &c, 1) == 1) {
      if (c == '\n') return line;
      line += c;
    }
    return {};
  }

  bool ready() const { return ready_; }
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  int output_ = -1;
  bool ready_ = false;
};

class RemoteWindowsTest : public FreshDevice {
 protected:
  fs::path Instances() const { return root_ / "instances"; }
};

TEST_F(RemoteWindowsTest, FindsTheWindowOfAnotherProcessAndTheRaisingCallsReachIt) {
  Probe probe(root_);
  ASSERT_TRUE(probe.ready());

  HWND found = FindWindow(u"Probe", u"Probe");
  ASSERT_NE(found, nullptr);
  EXPECT_FALSE(IsWindow(found));  // not a window of this process
  EXPECT_EQ(FindWindow(u"PROBE", u"Probe"), found);  // class names ignore case, as locally
  HWND cover = FindWindow(nullptr, u"Cover");
  ASSERT_NE(cover, nullptr);
  EXPECT_NE(cover, found);
  EXPECT_EQ(FindWindow(u"Probe", u"Nothing"), nullptr);
  EXPECT_EQ(FindWindow(u"Other", u"Probe"), nullptr);

  // The way a second instance raises the first: to the top, no move, no resize.
  EXPECT_TRUE(SetWindowPos(found, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
  EXPECT_EQ(probe.NextLine(), "active Probe");
  EXPECT_TRUE(SetForegroundWindow(cover));
  EXPECT_EQ(probe.NextLine(), "active Cover");
  EXPECT_TRUE(BringWindowToTop(found));
  EXPECT_EQ(probe.NextLine(), "active Probe");
  // Anything but raising is refused and never reaches the owner.
  EXPECT_FALSE(SetWindowPos(cover, HWND_TOP, 10, 10, 0, 0, SWP_NOSIZE));
  EXPECT_FALSE(ShowWindow(cover, SW_HIDE));
  EXPECT_TRUE(ShowWindow(cover, SW_SHOW));
  EXPECT_EQ(probe.NextLine(), "active Cover");
}

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

TEST_F(RemoteWindowsTest, AWindowOfThisProcessComesFirst) {
  Probe probe(root_);
  ASSERT_TRUE(probe.ready());
  WNDCLASSW wc{};
  wc.lpfnWndProc = PlainProc;
  wc.lpszClassName = u"Probe";
  ASSERT_NE(RegisterClass(&wc), 0);
  HWND own = CreateWindowEx(0, u"Probe", u"Probe", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(FindWindow(u"Probe", u"Probe"), own);
  // Only the other process has a "Cover".
  HWND cover = FindWindow(u"Probe", u"Cover");
  EXPECT_NE(cover, nullptr);
  EXPECT_FALSE(IsWindow(cover));
  DestroyWindow(own);
}

TEST_F(RemoteWindowsTest, AnotherDeviceImageIsNotSearched) {
  fs::path other = root_ / "other-image";
  fs::create_directories(other);
  Probe probe(other);
  ASSERT_TRUE(probe.ready());
  EXPECT_TRUE(fs::exists(other / "instances" / (std::to_string(probe.pid()) + ".sock")));
  EXPECT_EQ(FindWindow(u"Probe", u"Probe"), nullptr);
}

TEST_F(RemoteWindowsTest, ADeadProcessNeitherBlocksNorStaysRegistered) {
  Probe probe(root_);
  ASSERT_TRUE(probe.ready());
  fs::path registration = Instances() / (std::to_string(probe.pid()) + ".sock");
  ASSERT_TRUE(fs::exists(registration));
  probe.Kill();  // no chance to unregister
  // A marker of an abstract socket nobody listens on, and a file that is no registration.
  std::ofstream(Instances() / "999999999.abstract") << "";
  std::ofstream(Instances() / "notes.txt") << "";

  EXPECT_EQ(FindWindow(u"Probe", u"Probe"), nullptr);
  EXPECT_FALSE(fs::exists(registration));
  EXPECT_FALSE(fs::exists(Instances() / "999999999.abstract"));
  EXPECT_TRUE(fs::exists(Instances() / "notes.txt"));
}

// A device image so deep that a socket path inside it would not fit a socket address.
TEST_F(RemoteWindowsTest, ADeepImageUsesAnAbstractSocket) {
  fs::path deep = root_ / std::string(60, 'd') / std::string(60, 'e');
  fs::create_directories(deep);
  ::setenv("TAVREL_DEVICE", deep.c_str(), 1);
  Probe probe(deep);
  ASSERT_TRUE(probe.ready());
  EXPECT_TRUE(fs::exists(deep / "instances" / (std::to_string(probe.pid()) + ".abstract")));
  HWND found = FindWindow(u"Probe", u"Probe");
  ASSERT_NE(found, nullptr);
  EXPECT_TRUE(SetForegroundWindow(found));
  EXPECT_EQ(probe.NextLine(), "active Probe");
}

}  // namespace
