// What a fresh device has before its program does anything: the system window classes, the
// installed image and the shell's start state; and a program started by a program running on
// a driver's image joins that image and gets its command line as it was given.
#include <device/driver.h>
#include <device/files.h>
#include <device/kernel.h>
#include <device/shell.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

// A data folder to install: only the marker file.
class DeviceStartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "sample-data-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    data_ = pattern;
    std::ofstream(data_ / "sample.txt") << "layout";
    ::setenv("SAMPLE_DATA", data_.c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("SAMPLE_DATA");
    std::error_code ignored;
    fs::remove_all(data_, ignored);
  }
  fs::path data_;
};

TEST_F(DeviceStartTest, AFreshDeviceHasTheSystemClassesAndTheInstalledProgramFolder) {
  device::Driver driver;
  WNDCLASSW info;
  for (const WCHAR* name : {u"EDIT", u"BUTTON", u"STATIC", u"LISTBOX", u"COMBOBOX", u"richink"}) {
    EXPECT_TRUE(GetClassInfo(nullptr, name, &info)) << std::string(name, name + std::char_traits<char16_t>::length(name));
  }
  HWND button = CreateWindowEx(0, u"BUTTON", u"OK", WS_VISIBLE, 0, 0, 60, 20, nullptr, nullptr, nullptr, nullptr);
  EXPECT_NE(button, nullptr);
  DestroyWindow(button);
  fs::path keyboard = fs::path(driver.DeviceFolder()) / "fs" / "Program Files" / "Sample" / "sample.txt";
  ASSERT_TRUE(fs::exists(keyboard));
  EXPECT_TRUE(fs::is_directory(fs::path(driver.DeviceFolder()) / "fs" / "My Documents" / "Samples"));
}

TEST_F(DeviceStartTest, EachDriverStartsFromTheShellsStartState) {
  {
    device::Driver driver;
    HWND window = CreateWindowEx(0, u"STATIC", u"", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
    SHFullScreen(window, SHFS_HIDETASKBAR);
    GXOpenInput();
    ASSERT_FALSE(device::GetShellState().taskBarShown);
  }
  device::Driver driver;
  device::ShellState state = device::GetShellState();
  EXPECT_TRUE(state.taskBarShown);
  EXPECT_FALSE(state.gameInputOpen);
  EXPECT_EQ(state.fullScreenCalls, 0);
}

// The image a driver makes is its own; a variable left by the caller is restored afterwards.
TEST_F(DeviceStartTest, ADriverMakesAFreshImageAndRestoresTheCallersVariable) {
  ::setenv("TAVREL_DEVICE", "/nonexistent/image", 1);
  std::string folder;
  {
    device::Driver driver;
    folder = driver.DeviceFolder();
    EXPECT_NE(folder, "/nonexistent/image");
    EXPECT_EQ(std::string(std::getenv("TAVREL_DEVICE")), folder);
  }
  EXPECT_FALSE(fs::exists(folder));
  EXPECT_EQ(std::string(std::getenv("TAVREL_DEVICE")), "/nonexistent/image");
  ::unsetenv("TAVREL_DEVICE");
}

// command_line_probe (tests/remote_helper) runs headless through the process entry and
// writes the command line it got into the root of its device.
TEST_F(DeviceStartTest, AProgramStartedHeadlessJoinsTheImageAndGetsItsCommandLineUnchanged) {
  device::Driver driver;
  ::setenv("TAVREL_HEADLESS", "1", 1);
  PROCESS_INFORMATION info{};
  const WCHAR commandLine[] = u"\\Program Files\\Sample\\sample.exe \"a b\" c";
  ASSERT_TRUE(CreateProcess(u"\\Program Files\\Sample\\command_line_probe.exe", commandLine, nullptr, nullptr,
                            FALSE, 0, nullptr, nullptr, nullptr, &info));
  ASSERT_EQ(WaitForSingleObject(info.hProcess, 30000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  GetExitCodeProcess(info.hProcess, &exitCode);
  EXPECT_EQ(exitCode, 0u);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  ::unsetenv("TAVREL_HEADLESS");

  std::ifstream in(fs::path(driver.DeviceFolder()) / "fs" / "command_line.out", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), {});
  std::u16string got(bytes.size() / 2, u'\0');
  bytes.copy(reinterpret_cast<char*>(got.data()), got.size() * 2);
  EXPECT_EQ(got, commandLine);
  // The child did not remove the image it joined.
  EXPECT_TRUE(fs::exists(fs::path(driver.DeviceFolder()) / "registry.sqlite"));
}

}  // namespace

namespace {

// Without SAMPLE_DATA the sample's shipped data folder is installed.
TEST(DeviceStartShippedData, AFreshDeviceInstallsTheShippedKeyboardFile) {
  ::unsetenv("SAMPLE_DATA");
  device::Driver driver;
  auto read = [](const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
  };
  std::string shipped = read(fs::path(SAMPLE_DATA_DIR) / "sample.txt");
  ASSERT_FALSE(shipped.empty());
  const fs::path programFolder = fs::path(driver.DeviceFolder()) / "fs" / "Program Files" / "Sample";
  EXPECT_EQ(read(programFolder / "sample.txt"), shipped);
  EXPECT_EQ(read(programFolder / "notes" / "readme.txt"), read(fs::path(SAMPLE_DATA_DIR) / "notes" / "readme.txt"));
}

}  // namespace
