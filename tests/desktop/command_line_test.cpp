// The programs' command lines, run as processes: --help and --version answer on standard
// output with exit 0, an unknown option is refused in one line on standard error with exit 2,
// a missing value is named, and a window that cannot be opened is an error, not a blank run.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct Outcome {
  int exit = -1;
  std::string out;
  std::string err;
};

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs `command` through the shell with `environment` (assignments) before it.
Outcome Start(const std::string& command, const std::string& environment = "") {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("cmdline-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::string out = (folder / "out").string(), err = (folder / "err").string();
  const std::string line = "env -u DISPLAY -u WAYLAND_DISPLAY -u TAVREL_HEADLESS " + environment + " " + command +
                           " >'" + out + "' 2>'" + err + "' </dev/null";
  const int status = std::system(line.c_str());
  Outcome run;
  run.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadFile(out);
  run.err = ReadFile(err);
  std::filesystem::remove_all(folder);
  return run;
}

int Lines(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

void ExpectHelpAndVersion(const std::string& program, const std::string& name) {
  const Outcome help = Start(program + " --help");
  EXPECT_EQ(help.exit, 0) << program;
  EXPECT_NE(help.out.find("usage"), std::string::npos) << program;
  EXPECT_EQ(help.err, "") << program;
  const Outcome version = Start(program + " --version");
  EXPECT_EQ(version.exit, 0) << program;
  EXPECT_EQ(version.out.rfind(name + " ", 0), 0u) << version.out;
  EXPECT_EQ(Lines(version.out), 1) << program;
}

void ExpectRefusedInOneLine(const Outcome& run, const std::string& words) {
  EXPECT_EQ(run.exit, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(Lines(run.err), 1) << run.err;
  EXPECT_NE(run.err.find(words), std::string::npos) << run.err;
}

TEST(CommandLine, TavrelAnswersHelpAndVersionAndRefusesWhatItDoesNotKnow) {
  ExpectHelpAndVersion(TAVREL_PROGRAM, "tavrel");
  EXPECT_EQ(Start(std::string(TAVREL_PROGRAM) + " --version").out, "tavrel 1.0.0\n");
  ExpectRefusedInOneLine(Start(std::string(TAVREL_PROGRAM) + " --frobnicate"), "unknown option --frobnicate");
  ExpectRefusedInOneLine(Start(std::string(TAVREL_PROGRAM) + " -x"), "unknown option -x");
  ExpectRefusedInOneLine(Start(std::string(TAVREL_PROGRAM) + " --script"), "--script needs a FILE");
}

TEST(CommandLine, AWindowThatCannotOpenIsReportedAndTheProgramDoesNotRunBlank) {
  const std::filesystem::path device = std::filesystem::temp_directory_path() / ("cmdline-device-" + std::to_string(::getpid()));
  const Outcome run = Start(TAVREL_PROGRAM, "DISPLAY=:97 SDL_VIDEODRIVER=x11 TAVREL_DEVICE=" + device.string());
  std::filesystem::remove_all(device);
  EXPECT_EQ(run.exit, 1);
  EXPECT_NE(run.err.find("cannot open a window on DISPLAY=:97"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("TAVREL_HEADLESS=1"), std::string::npos) << run.err;
}

TEST(CommandLine, ADeviceFolderThatCannotBeMadeIsNamedAndNothingRuns) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("cmdline-image-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  { std::ofstream(folder / "a-file") << "not a folder"; }
  { std::ofstream(folder / "play.script") << "wait 10\n"; }
  const std::string device = (folder / "a-file" / "device").string();
  const Outcome run = Start(std::string(TAVREL_PROGRAM) + " --script " + (folder / "play.script").string(), "TAVREL_DEVICE=" + device);
  std::filesystem::remove_all(folder);
  EXPECT_EQ(run.exit, 1);
  EXPECT_NE(run.err.find("cannot use the device folder " + device), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "");  // the script was not played
}

// A copy of the program with no shipped data beside or above it, headless as in the demo.
TEST(CommandLine, MissingProgramDataAreNamedAndNothingRunsBlank) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("cmdline-bare-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder / "bin");
  std::filesystem::copy_file(TAVREL_PROGRAM, folder / "bin" / "tavrel");
  const Outcome run = Start((folder / "bin" / "tavrel").string(),
                            "TAVREL_HEADLESS=1 TAVREL_SHOTS=" + (folder / "shots").string());
  const bool shot = std::filesystem::exists(folder / "shots");
  std::filesystem::remove_all(folder);
  EXPECT_EQ(run.exit, 1);
  EXPECT_NE(run.err.find("the program data are missing"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find((folder / "bin").string()), std::string::npos) << run.err;
  EXPECT_FALSE(shot) << "a blank screen was pictured";
}

TEST(CommandLine, TheDictionaryToolAnswersForItselfAndForEachCommand) {
  ExpectHelpAndVersion(DICT_PROGRAM, "tavrel-dict");
  const Outcome build = Start(std::string(DICT_PROGRAM) + " build --help");
  EXPECT_EQ(build.exit, 0);
  EXPECT_NE(build.out.find("--dict-out"), std::string::npos) << build.out;
  const Outcome simulate = Start(std::string(DICT_PROGRAM) + " simulate --help");
  EXPECT_EQ(simulate.exit, 0);
  EXPECT_NE(simulate.out.find("--dict"), std::string::npos) << simulate.out;
  ExpectRefusedInOneLine(Start(std::string(DICT_PROGRAM) + " --frobnicate"), "unknown option --frobnicate");
  ExpectRefusedInOneLine(Start(std::string(DICT_PROGRAM) + " build --frobnicate 1"), "unknown option --frobnicate");
  ExpectRefusedInOneLine(Start(std::string(DICT_PROGRAM) + " build --dict-out"), "--dict-out needs a value");
}

TEST(CommandLine, TheDictionaryToolNamesAFolderGivenAsAnOutputFile) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("cmdline-dict-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder / "out");
  { std::ofstream(folder / "words.txt") << "apple\nbanana\ncherry\n"; }
  std::ofstream(folder / "next.dat") << "kept";
  const Outcome run = Start(std::string(DICT_PROGRAM) + " build --words " + (folder / "words.txt").string() + " --dict-out " +
                        (folder / "out").string() + " --next-out " + (folder / "next.dat").string());
  const std::string next = ReadFile(folder / "next.dat");
  std::filesystem::remove_all(folder);
  EXPECT_EQ(run.exit, 1);
  EXPECT_NE(run.err.find("is a folder"), std::string::npos) << run.err;
  EXPECT_EQ(next, "kept");  // nothing was replaced
}

}  // namespace
