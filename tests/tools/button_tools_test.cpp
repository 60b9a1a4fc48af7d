// assign and keyreset as real processes on a fresh device image: the shell's button keys the
// image starts with, what assign writes for each choice, when it asks for the reboot, and
// what keyreset gives back.
#include "settings/registry_settings.h"
#include "tools/assign/assign_program.h"
#include "tools/assign/assign_window.h"
#include "tools/assign/button_registry.h"

#include <device/driver.h>
#include <device/files.h>
#include <device/registry.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr char kTavrelPath[] = "\\Program Files\\Tavrel\\tavrel.exe";
constexpr WCHAR kTavrelPath16[] = u"\\Program Files\\Tavrel\\tavrel.exe";
constexpr WCHAR kQuotedTavrel[] = u"\"\\Program Files\\Tavrel\\tavrel.exe\"";
constexpr WCHAR kAssignedKey[] = u"Software\\Korvani\\Program Files\\Tavrel\\tavrel.exe";
const std::u16string kFactory[] = {u"", u"\\Windows\\calendar.exe", u"\\Windows\\addrbook.exe", u"\\Windows\\tasks.exe",
                                   u"\\Windows\\notes.exe", u"\\Windows\\voicerec.exe"};

// Screen places of the assign dialog (template 103 at the top left, under its caption).
constexpr char kChooseButton[] = "tap 80 72\ntap 80 ";  // then the entry's y
constexpr int kEntryY[] = {0, 89, 103, 117, 131, 145};  // the open list's entries "Button 1".."Button 5"
constexpr char kUncheck[] = "tap 15 43\n";
constexpr char kOk[] = "tap 200 72\n";

struct ToolRun {
  int status;
  std::string errors;
  bool Rebooted() const { return errors.find("reboot requested") != std::string::npos; }
};

class ButtonTools : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tavrel-tools-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    setenv("TAVREL_DEVICE", (root_ / "image").c_str(), 1);
    setenv("TAVREL_DATA", (root_ / "no-data").c_str(), 1);
    setenv("TAVREL_SHOTS", root_.c_str(), 1);
    setenv("TAVREL_HEADLESS", "1", 1);
    ASSERT_TRUE(device::EnsureDeviceImage());
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  // Runs `program --script` with `script` and the command line; its exit status and errors.
  ToolRun RunTool(const char* program, const std::string& script, const std::string& commandLine = kTavrelPath) {
    const fs::path file = root_ / "session.script";
    std::ofstream(file) << script;
    const fs::path errors = root_ / "errors.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> args{program, "--script", file.string(), commandLine};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    int status = -1;
    if (posix_spawn(&child, program, &actions, nullptr, argv.data(), environ) == 0 && waitpid(child, &status, 0) == child)
      status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    posix_spawn_file_actions_destroy(&actions);
    std::stringstream text;
    text << std::ifstream(errors).rdbuf();
    return ToolRun{status, text.str()};
  }

  ToolRun Assign(const std::string& script) { return RunTool(ASSIGN_PROGRAM, script); }
  // Chooses button k and presses OK; `answered` says whether the restart box must be answered.
  ToolRun AssignButton(int k, bool answered) {
    return Assign(kChooseButton + std::to_string(kEntryY[k]) + "\n" + kOk + (answered ? "answer OK\n" : "") +
                  "expect-no-window ASSIGN\n");
  }

  static std::u16string Command(int button) {
    std::u16string text;
    ReadButtonValue(button, u"Default", text);
    return text;
  }
  static std::vector<std::u16string> Commands() {
    std::vector<std::u16string> all;
    for (int k = 1; k <= kButtonCount; ++k) all.push_back(Command(k));
    return all;
  }
  static bool AssignedKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, kAssignedKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }
  static std::vector<std::u16string> FactoryCommands() { return {kFactory + 1, kFactory + 6}; }

  fs::path root_;
};

}  // namespace

// The image's first start gives the five buttons their names and factory commands.
TEST_F(ButtonTools, TheImageStartsWithTheFiveShellButtonKeys) {
  for (int k = 1; k <= kButtonCount; ++k) {
    std::u16string name, reset;
    EXPECT_TRUE(ReadButtonValue(k, u"Name", name));
    EXPECT_EQ(name, u"Button " + std::u16string(1, char16_t(u'0' + k)));
    EXPECT_TRUE(ReadButtonValue(k, u"ResetCmd", reset));
    EXPECT_EQ(reset, kFactory[k]);
  }
  EXPECT_EQ(Commands(), FactoryCommands());
}

// Choosing the bound button again changes nothing and does not reboot.
TEST_F(ButtonTools, TheSameButtonTwiceDoesNotReboot) {
  ToolRun first = AssignButton(2, true);
  EXPECT_EQ(first.status, 0) << first.errors;
  EXPECT_TRUE(first.Rebooted());
  EXPECT_EQ(Command(2), kQuotedTavrel);
  EXPECT_EQ(ReadAssignedButton(kAssignedKey), 2);

  ToolRun second = Assign(std::string("expect-text ComboBox Button 2\n") + kOk + "expect-no-window ASSIGN\n");
  EXPECT_EQ(second.status, 0) << "the bound button is shown and no restart box opens: " << second.errors;
  EXPECT_FALSE(second.Rebooted());
  EXPECT_EQ(Command(2), kQuotedTavrel);
  EXPECT_EQ(ReadAssignedButton(kAssignedKey), 2);
}

// Unchecking the box always asks for the restart and reboots, bound or not.
TEST_F(ButtonTools, UncheckingAlwaysReboots) {
  ToolRun unbound = Assign(std::string(kUncheck) + kOk + "answer OK\nexpect-no-window ASSIGN\n");
  EXPECT_EQ(unbound.status, 0) << unbound.errors;
  EXPECT_TRUE(unbound.Rebooted());
  EXPECT_EQ(ReadAssignedButton(kAssignedKey), 0);
  EXPECT_EQ(Commands(), FactoryCommands());

  AssignButton(5, true);
  EXPECT_EQ(Command(5), kQuotedTavrel);
  ToolRun release = Assign(std::string(kUncheck) + kOk + "answer OK\n");
  EXPECT_TRUE(release.Rebooted());
  EXPECT_EQ(Commands(), FactoryCommands()) << "button 5 has its factory command back";
  DWORD button = 9;
  EXPECT_TRUE(ReadDwordSetting(HKEY_LOCAL_MACHINE, kAssignedKey, u"button", &button));
  EXPECT_EQ(button, 0u);
}

// Moving from button 2 to 4 gives button 2 its factory command back before 4 is taken.
TEST_F(ButtonTools, MovingFromButtonTwoToFourRestoresTwoFirst) {
  AssignButton(2, true);
  ToolRun move = AssignButton(4, true);
  EXPECT_EQ(move.status, 0) << move.errors;
  EXPECT_TRUE(move.Rebooted());
  std::vector<std::u16string> expected = FactoryCommands();
  expected[3] = kQuotedTavrel;
  EXPECT_EQ(Commands(), expected);
  EXPECT_EQ(ReadAssignedButton(kAssignedKey), 4);
}

// keyreset after assign bound button 3: button 3 has its factory command and the program's key
// is gone; a second run changes nothing.
TEST_F(ButtonTools, KeyresetAfterAssignTwiceInARow) {
  AssignButton(3, true);
  ASSERT_EQ(Command(3), kQuotedTavrel);
  ToolRun reset = RunTool(KEYRESET_PROGRAM, "# keyreset shows nothing\n");
  EXPECT_EQ(reset.status, 0) << reset.errors;
  EXPECT_FALSE(reset.Rebooted());
  EXPECT_EQ(Commands(), FactoryCommands());
  EXPECT_FALSE(AssignedKeyExists());
  RunTool(KEYRESET_PROGRAM, "# again\n");
  EXPECT_EQ(Commands(), FactoryCommands());
  EXPECT_FALSE(AssignedKeyExists());
}

// A second assign, as its own process, brings the running one to the front and ends with 0.
TEST(ButtonToolsInstance, ASecondAssignRaisesTheFirstAndExits) {
  std::string shots = (fs::temp_directory_path() / "tavrel-tools-shots-XXXXXX").string();
  ASSERT_NE(mkdtemp(shots.data()), nullptr);
  setenv("TAVREL_SHOTS", shots.c_str(), 1);  // the second start writes its screen there
  setenv("TAVREL_HEADLESS", "1", 1);
  device::RunProgramWithScript([] { return RunAssign(reinterpret_cast<HINSTANCE>(0x00010000), kTavrelPath16); },
                               [](device::Driver& d) {
                                 HWND main = d.Find(kAssignClassName, kAssignTitle);
                                 ASSERT_NE(main, nullptr);
                                 ASSERT_NE(GetForegroundWindow(), main) << "the dialog is in front";
                                 std::string program = ASSIGN_PROGRAM;
                                 std::vector<char*> argv{program.data(), nullptr};
                                 pid_t child = 0;
                                 int status = -1;
                                 ASSERT_EQ(posix_spawn(&child, program.c_str(), nullptr, nullptr, argv.data(), environ), 0);
                                 ASSERT_EQ(waitpid(child, &status, 0), child);
                                 EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
                                 d.RunUntilIdle();
                                 EXPECT_EQ(GetForegroundWindow(), main);
                               });
  std::error_code ignored;
  fs::remove_all(shots, ignored);
}
