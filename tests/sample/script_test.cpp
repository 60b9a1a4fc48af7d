// Device scripts: the sample program played by `sample --script FILE` as its own process (exit
// status, the line named in a failure, the image kept), and the interpreter in this process
// for what a line may say.
#include "sample_app.h"
#include "sample_install.h"

#include <device/dialogs.h>
#include <device/script.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

// A fresh folder for one test's script, screenshots and output, removed afterwards.
class ScriptRun : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "sample-script-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  fs::path Write(const std::string& name, const std::string& text) const {
    std::ofstream(folder_ / name, std::ios::binary) << text;
    return folder_ / name;
  }

  // Runs `sample` with `arguments`, screenshots into the test's folder, on the image `device`
  // names (none: a fresh one).
  Outcome Run(std::vector<std::string> arguments, const std::string& device = "") const {
    std::vector<std::string> env{"TAVREL_SHOTS=" + (folder_ / "shots").string(), "TAVREL_HEADLESS=1"};
    if (!device.empty()) env.push_back("TAVREL_DEVICE=" + device);
    for (char** e = environ; *e; ++e) {
      const std::string entry = *e;
      if (entry.rfind("TAVREL_", 0) != 0 && entry.rfind("SAMPLE_", 0) != 0) env.push_back(entry);
    }
    std::string program = SAMPLE_PROGRAM;
    std::vector<char*> argv{program.data()};
    for (std::string& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    const std::string out = (folder_ / "stdout").string(), err = (folder_ / "stderr").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    Outcome outcome;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) == 0) {
      int status = 0;
      if (waitpid(pid, &status, 0) == pid && WIFEXITED(status)) outcome.status = WEXITSTATUS(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    outcome.out = ReadFile(out);
    outcome.err = ReadFile(err);
    return outcome;
  }

  fs::path folder_;
};

TEST_F(ScriptRun, TheSampleScriptPassesEchoingEveryLineAndWritesItsScreenshots) {
  const std::string script = std::string(SAMPLE_DIR) + "/sample.script";
  Outcome run = Run({"--script", script});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_NE(run.out.find(script + ":5: tap 120 120\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find(script + ":16: shot sample-ticked\n"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find(script + ":1:"), std::string::npos) << "a comment is no step";
  for (const char* shot : {"sample-start.png", "sample-tapped.png", "sample-ticked.png"}) {
    EXPECT_TRUE(fs::exists(folder_ / "shots" / shot)) << shot;
  }
}

// The first failed expectation ends the script: exit 1, its line named, what was expected and
// what was found; nothing after it is played.
TEST_F(ScriptRun, AFailingExpectTextExits1NamingTheLine) {
  const fs::path script = Write("fails.script",
                                "# one tap\n"
                                "tap 120 120\n"
                                "expect-text SampleCard Taps: 5\n"
                                "shot never\n");
  Outcome run = Run({"--script", script.string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, script.string() + ":3: expected \"SampleCard\" to hold \"Taps: 5\", found \"Taps: 1\"\n");
  EXPECT_FALSE(fs::exists(folder_ / "shots" / "never.png"));
}

// A malformed line anywhere plays nothing, not even the lines before it.
TEST_F(ScriptRun, AMalformedLineExits2AndPlaysNothing) {
  const fs::path script = Write("bad.script", "shot before\ntap 120\n");
  Outcome run = Run({"--script", script.string()});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err.rfind(script.string() + ":2: ", 0), 0u) << run.err;
  EXPECT_FALSE(fs::exists(folder_ / "shots" / "before.png"));

  EXPECT_EQ(Run({"--script", (folder_ / "missing.script").string()}).status, 2);
  Outcome bare = Run({"--script"});
  EXPECT_EQ(bare.status, 2);
  EXPECT_NE(bare.err.find("--script needs a FILE"), std::string::npos) << bare.err;
}

// With TAVREL_DEVICE set the script runs on that image, which stays for a person to look into.
TEST_F(ScriptRun, AnImageNamedByTavrelDeviceIsUsedAndKept) {
  const fs::path image = folder_ / "image";
  const fs::path script = Write("install.script",
                                "expect-file \\Program Files\\Sample\\sample.txt\n"
                                "expect-file \\Program Files\\Sample\\notes\\*.txt\n"
                                "expect-no-file \\Program Files\\Sample\\*.png\n");
  Outcome run = Run({"--script", script.string()}, image.string());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFile(image / "fs" / "Program Files" / "Sample" / "sample.txt"),
            ReadFile(fs::path(SAMPLE_DATA_DIR) / "sample.txt"));
  EXPECT_TRUE(fs::exists(image / "registry.sqlite"));
}

// ---- The interpreter in this process ----

struct Played {
  device::ScriptStatus status;
  std::string errors;
};

// Checks `text` alone (no program runs).
Played Check(const std::string& text) {
  char* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* errors = open_memstream(&buffer, &size);
  Played played{device::CheckScript("t.script", text, errors), ""};
  std::fclose(errors);
  played.errors.assign(buffer, size);
  std::free(buffer);
  return played;
}

// Plays `text` against `program`.
Played Play(const std::function<int()>& program, const std::string& text) {
  char* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* errors = open_memstream(&buffer, &size);
  Played played{device::kScriptPassed, ""};
  device::RunProgramWithScript(program, [&](device::Driver& d) {
    played.status = device::PlayScript(d, "t.script", text, nullptr, errors);
  });
  std::fclose(errors);
  played.errors.assign(buffer, size);
  std::free(buffer);
  return played;
}

int RunSample() { return WinMain(nullptr, nullptr, nullptr, SW_SHOW); }

TEST(ScriptLines, EachCommandTakesExactlyItsOperands) {
  const std::string good =
      "tap 1 2   # a comment after a command\n"
      "\n"
      "  stroke -5 10 300 400\n"
      "press APP1\npress RETURN\npress LEFT\n"
      "wait 0\nwait 3600000\n"
      "shot a-b_c\n"
      "expect-window \"Save as\"\nexpect-no-window x\n"
      "expect-text EDIT\nexpect-text EDIT a # not a comment\n"
      "expect-file \\My Documents\\a b\\*.txt\nexpect-no-file \\x\n"
      "answer Yes\nanswer No\nanswer OK\nanswer Cancel\r\n";
  EXPECT_EQ(Check(good).status, device::kScriptPassed) << Check(good).errors;

  for (const char* bad : {"tap 1", "tap 1 2 3", "tap x 2", "tap 1.5 2", "tap 20000 1", "stroke 1 2 3", "press ENTER",
                          "press", "wait -1", "wait 3600001", "shot", "shot ../up", "shot a/b", "expect-window",
                          "expect-window \"open", "expect-window a b", "expect-file", "answer Maybe", "answer",
                          "fly 1 2", "TAP 1 2"}) {
    Played played = Check(std::string("# first\n") + bad + "\n");
    EXPECT_EQ(played.status, device::kScriptMalformed) << bad;
    EXPECT_EQ(played.errors.rfind("t.script:2: ", 0), 0u) << bad << " -> " << played.errors;
  }
}

// Classes match ignoring case, titles exactly; a hidden window is not there.
TEST(ScriptLines, WindowsAreFoundByClassOrTitleWhenVisible) {
  EXPECT_EQ(Play(RunSample, "expect-window samplecard\nexpect-window \"Ticks: 0\"\nexpect-text \"Taps: 0\" Taps: 0\n").status,
            device::kScriptPassed);
  Played titleCase = Play(RunSample, "expect-window \"ticks: 0\"\n");
  EXPECT_EQ(titleCase.status, device::kScriptFailed);
  EXPECT_EQ(titleCase.errors, "t.script:1: expected a visible window \"ticks: 0\", found none\n");

  auto hiddenCard = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = u"ScriptHidden";
    RegisterClass(&wc);
    CreateWindowEx(0, u"ScriptHidden", u"shown", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
    HWND hidden = CreateWindowEx(0, u"ScriptHidden", u"hidden", 0, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
    CreateWindowEx(0, u"STATIC", u"inside", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, hidden, nullptr, nullptr, nullptr);
    MSG msg;
    while (GetMessage(&msg, nullptr, 0, 0)) DispatchMessage(&msg);
    return 0;
  };
  EXPECT_EQ(Play(hiddenCard, "expect-window shown\nexpect-no-window hidden\nexpect-no-window inside\n").status,
            device::kScriptPassed);
  Played found = Play(hiddenCard, "expect-no-window shown\n");
  EXPECT_EQ(found.errors, "t.script:1: expected no visible window \"shown\", found one\n");
}

TEST(ScriptLines, AnswerPressesTheButtonOfTheOpenMessageBoxAndFailsWithoutOne) {
  std::vector<int> results;
  auto askTwice = [&] {
    results.push_back(MessageBox(nullptr, u"Keep?", u"q", MB_YESNO));
    results.push_back(MessageBox(nullptr, u"Go on?", u"q", MB_OKCANCEL));
    return 0;
  };
  EXPECT_EQ(Play(askTwice, "answer No\nanswer OK\nexpect-no-window q\n").status, device::kScriptPassed);
  EXPECT_EQ(results, (std::vector<int>{IDNO, IDOK}));

  results.clear();
  Played wrongButton = Play(askTwice, "answer Cancel\n");
  EXPECT_EQ(wrongButton.status, device::kScriptFailed);
  EXPECT_EQ(wrongButton.errors, "t.script:1: expected a Cancel button in the message box \"Keep?\", found none\n");

  Played noBox = Play(RunSample, "answer Yes\n");
  EXPECT_EQ(noBox.status, device::kScriptFailed);
  EXPECT_EQ(noBox.errors, "t.script:1: expected a message box to answer Yes, found none\n");
}

}  // namespace
