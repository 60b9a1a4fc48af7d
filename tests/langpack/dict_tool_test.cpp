// The dict tool run as a developer runs it: bad input is refused with a message and a
// non-zero exit; good input gives files the engine reads, in the promised order.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

struct ToolRun {
  int exitCode;
  std::string output;  // stdout and stderr together
};

ToolRun RunDict(const std::string& args) {
  const std::string command = std::string("'") + DICT_TOOL + "' " + args + " 2>&1";
  ToolRun run{-1, {}};
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
  const int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

class DictTool : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("dict_tool_test_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Write(const std::string& name, const std::string& bytes) {
    const fs::path p = dir_ / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p.string();
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::string BuildArgs(const std::string& inputs) const {
    return "build " + inputs + " --dict-out '" + Path("db.dat") + "' --next-out '" + Path("phrases.dat") + "'";
  }

  fs::path dir_;
};

TEST_F(DictTool, RefusesMissingBinaryAndOverlongInputWithAMessage) {
  const std::string junk = Write("junk.bin", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  const std::string longLine = Write("long.txt", std::string(2 << 20, 'a') + "\n");
  const std::string badCount = Write("bad.tsv", "the 100\nand lots\n");
  const struct {
    std::string args;
    std::string message;
  } cases[] = {
      {BuildArgs("--words '" + Path("missing.tsv") + "'"), "cannot open"},
      {BuildArgs("--text '" + junk + "'"), "not UTF-8"},
      {BuildArgs("--text '" + longLine + "'"), "longer than"},
      {BuildArgs("--words '" + badCount + "'"), "line 2"},
      {"dump '" + junk + "'", "not a word dictionary"},
      {"dump '" + Path("missing.dat") + "'", "cannot open"},
      {"phrases '" + junk + "'", "not UTF-8"},
      {"simulate --dict '" + junk + "' '" + badCount + "'", "not a word dictionary"},
  };
  for (const auto& c : cases) {
    const ToolRun run = RunDict(c.args);
    EXPECT_NE(run.exitCode, 0) << c.args;
    EXPECT_NE(run.output.find(c.message), std::string::npos) << c.args << "\n" << run.output;
  }
  EXPECT_FALSE(fs::exists(Path("db.dat"))) << "nothing is written from refused input";
}

TEST_F(DictTool, UsageErrorsExitWithTwo) {
  EXPECT_EQ(RunDict("").exitCode, 2);
  EXPECT_EQ(RunDict("frobnicate").exitCode, 2);
  EXPECT_EQ(RunDict("build --dict-out x").exitCode, 2);
  EXPECT_EQ(RunDict("simulate --dict").exitCode, 2);
}

TEST_F(DictTool, BuildStoresTheMostUsefulWordsFirstAndFollowersByGain) {
  const std::string words = Write("words.tsv", "the 1000\nthen 10\nthey 500\nzebra 1\n");
  const std::string text = Write("text.txt",
                                 "thank you. thank you. thank you very much. thank goodness.\n"
                                 "thank goodness, they said thank you\n");
  // A light text weight keeps the list's order; the text still brings its words and pairs.
  const ToolRun build = RunDict(BuildArgs("--words '" + words + "' --text '" + text +
                                      "' --text-weight 0.01 --min-text-count 1 --min-pair-count 1"));
  ASSERT_EQ(build.exitCode, 0) << build.output;

  const ToolRun dump = RunDict("dump '" + Path("db.dat") + "'");
  ASSERT_EQ(dump.exitCode, 0);
  // In the bucket of 't', "the" (1000 uses, 2 letters to gain) outweighs "they" (500 uses, 3
  // letters), which outweighs "then"; the best word gets the top count of 1000.
  const auto the = dump.output.find("the\t1000\n");
  const auto they = dump.output.find("they\t");
  const auto then = dump.output.find("then\t");
  ASSERT_NE(the, std::string::npos) << dump.output;
  EXPECT_LT(the, they);
  EXPECT_LT(they, then);

  const ToolRun phrases = RunDict("phrases '" + Path("phrases.dat") + "'");
  ASSERT_EQ(phrases.exitCode, 0);
  // "thank you" 4 times, "thank goodness" twice: a tap on "goodness" saves 7 letters, on
  // "you" 2, so goodness (2 x 7) is offered before you (4 x 2).
  EXPECT_NE(phrases.output.find("thank\tgoodness\nthank\tyou\n"), std::string::npos) << phrases.output;
  // A full stop or a comma ends the phrase: "you. thank" and "goodness, they" are no pairs.
  EXPECT_EQ(phrases.output.find("you\tthank"), std::string::npos) << phrases.output;
  EXPECT_EQ(phrases.output.find("goodness\tthey"), std::string::npos) << phrases.output;
}

TEST_F(DictTool, SimulateReportsSavingsAndLearnsAsItTypes) {
  const std::string words = Write("words.tsv", "because 100\nbecome 10\n");
  ASSERT_EQ(RunDict(BuildArgs("--words '" + words + "'")).exitCode, 0);
  // "because" is offered after "b": 2 keystrokes instead of 7, twice; "zyx" is learned on its
  // first use and offered after "z" the second time: 2 instead of 3. Spaces and the line end
  // cost one each.
  const std::string typed = Write("typed.txt", "because zyx because zyx\n");
  const ToolRun run = RunDict("simulate --dict '" + Path("db.dat") + "' '" + typed + "'");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("characters: 24\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("keystrokes: 13\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("keystroke savings: 45.8 %"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("suggestion hit rate: 75.0 %"), std::string::npos) << run.output;
}

TEST_F(DictTool, SimulateHalvesShowWhatTheLearnedPairsBring) {
  const std::string words = Write("words.tsv", "because 100\nbecome 10\n");
  ASSERT_EQ(RunDict(BuildArgs("--words '" + words + "'")).exitCode, 0);
  // Twelve words, six to a half. "zyx" and "qwv" are learned on first use, so from then on
  // each costs a letter and a tap. The pair "zyx qwv" has its second use at word 4 and
  // "qwv zyx" at word 5: with learned pairs on, every word of the second half is offered
  // before its first letter (one tap) instead of after it (a letter and a tap).
  const std::string typed = Write("typed.txt", "zyx qwv zyx qwv zyx qwv zyx qwv zyx qwv zyx qwv\n");
  const std::string simulate = "simulate --halves --dict '" + Path("db.dat") + "' ";
  const ToolRun on = RunDict(simulate + "'" + typed + "'");
  const ToolRun off = RunDict(simulate + "--no-pairs '" + typed + "'");
  ASSERT_EQ(on.exitCode, 0) << on.output;
  ASSERT_EQ(off.exitCode, 0) << off.output;
  for (const ToolRun* run : {&on, &off}) {
    EXPECT_NE(run->output.find("first half words measured: 6\n"), std::string::npos) << run->output;
    EXPECT_NE(run->output.find("second half words measured: 6\n"), std::string::npos) << run->output;
    EXPECT_NE(run->output.find("second half characters: 24\n"), std::string::npos) << run->output;
  }
  EXPECT_NE(on.output.find("second half keystrokes: 12\n"), std::string::npos) << on.output;
  EXPECT_NE(on.output.find("second half keystroke savings: 50.0 %"), std::string::npos) << on.output;
  EXPECT_NE(off.output.find("second half keystrokes: 18\n"), std::string::npos) << off.output;
  EXPECT_NE(off.output.find("learned pairs off"), std::string::npos) << off.output;
  EXPECT_NE(on.output.find("2 learned pairs"), std::string::npos) << on.output;
}

}  // namespace
