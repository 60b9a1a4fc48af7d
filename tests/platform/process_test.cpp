// Processes, threads and libraries: the running program's device path, starting a device
// program with a command line (the way the main program starts its button tool), waiting for
// it, threads that run and end, and the built-in library names.
#include <device/kernel.h>

#include "fresh_device.h"

#include <atomic>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

class ProcessTest : public FreshDevice {
 protected:
  // What echo_args wrote: its argument count and arguments, one per line.
  std::string EchoOutput() {
    std::ifstream in(root_ / "echo_args.out", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
};

TEST_F(ProcessTest, ModulePathIsTheProgramFolderPlusTheExecutableName) {
  WCHAR path[260];
  DWORD length = GetModuleFileName(nullptr, path, 260);
  std::string hostName = fs::read_symlink("/proc/self/exe").filename().string();  // platform_tests
  EXPECT_EQ(std::u16string(path), u"\\Program Files\\Sample\\" + std::u16string(hostName.begin(), hostName.end()) + u".exe");
  EXPECT_EQ(length, std::u16string(path).size());
  // The program's instance handle, whatever its value, names the program too.
  WCHAR byInstance[260];
  GetModuleFileName(reinterpret_cast<HMODULE>(0x00010000), byInstance, 260);
  EXPECT_EQ(std::u16string(byInstance), std::u16string(path));

  WCHAR small[8];
  EXPECT_EQ(GetModuleFileName(nullptr, small, 8), 8u);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(std::u16string(small), u"\\Progra");
}

TEST_F(ProcessTest, StartsTheProgramBesideItWithTheCommandLineAsOneArgument) {
  PROCESS_INFORMATION info{};
  const char16_t commandLine[] = u"\\Program Files\\Sample\\sample.exe ő \U0001F600";
  ASSERT_TRUE(CreateProcess(u"\\program files\\SAMPLE\\Echo_Args.exe", commandLine, nullptr, nullptr, FALSE, 0,
                            nullptr, nullptr, nullptr, &info));
  ASSERT_EQ(WaitForSingleObject(info.hProcess, 20000), WAIT_OBJECT_0);
  DWORD exitCode = 0;
  EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &exitCode));
  EXPECT_EQ(exitCode, 2u);
  EXPECT_EQ(EchoOutput(), "2\n\\Program Files\\Sample\\sample.exe \xC5\x91 \xF0\x9F\x98\x80\n");
  EXPECT_TRUE(CloseHandle(info.hThread));
  EXPECT_TRUE(CloseHandle(info.hProcess));
}

TEST_F(ProcessTest, AnEmptyCommandLinePassesNoArgument) {
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(CreateProcess(u"\\Program Files\\Sample\\echo_args.exe", u"", nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, nullptr, &info));
  ASSERT_EQ(WaitForSingleObject(info.hProcess, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(EchoOutput(), "1\n");
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
}

TEST_F(ProcessTest, WaitTimesOutWhileTheProgramRuns) {
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(CreateProcess(u"\\Program Files\\Sample\\echo_args.exe", u"wait", nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, nullptr, &info));
  EXPECT_EQ(WaitForSingleObject(info.hProcess, 0), WAIT_TIMEOUT);
  DWORD exitCode = 0;
  EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &exitCode));
  EXPECT_EQ(exitCode, STILL_ACTIVE);
  std::ofstream(root_ / "echo_args.go") << "";
  EXPECT_EQ(WaitForSingleObject(info.hThread, INFINITE), WAIT_OBJECT_0);
  EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &exitCode));
  EXPECT_EQ(exitCode, 2u);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
}

TEST_F(ProcessTest, MissingProgramsFailWithFileNotFound) {
  PROCESS_INFORMATION info{};
  EXPECT_FALSE(CreateProcess(u"\\Program Files\\Sample\\nothing.exe", u"x", nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, nullptr, &info));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  // A program of that name in another folder is not a device program.
  EXPECT_FALSE(CreateProcess(u"\\Windows\\echo_args.exe", u"x", nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             nullptr, &info));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(fs::exists(root_ / "echo_args.out"));
}

DWORD CountTo(LPVOID parameter) {
  auto* counter = static_cast<std::atomic<int>*>(parameter);
  for (int i = 0; i < 1000; ++i) ++*counter;
  return 7;
}

TEST_F(ProcessTest, ThreadsRunWithTheirParameterAndCanBeWaitedFor) {
  std::atomic<int> counter{0};
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, CountTo, &counter, 0, &id);
  ASSERT_NE(thread, nullptr);
  EXPECT_NE(id, 0u);
  EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(counter.load(), 1000);
  EXPECT_TRUE(CloseHandle(thread));
  EXPECT_FALSE(CloseHandle(thread));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_FAILED);
}

TEST_F(ProcessTest, OnlyTheBuiltInLibrariesLoad) {
  HMODULE richInk = LoadLibrary(u"richink.dll");
  ASSERT_NE(richInk, nullptr);
  EXPECT_EQ(LoadLibrary(u"\\Windows\\RICHINK"), richInk);
  EXPECT_TRUE(FreeLibrary(richInk));
  EXPECT_EQ(LoadLibrary(u"gx.dll"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
}

}  // namespace
