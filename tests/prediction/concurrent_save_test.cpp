// Two programs saving the same dictionary file at once, while a third reads it: every save
// goes to a temporary file of its own and replaces the file in one step, so no reader ever sees
// a mix of two saves or a half-written file, and no temporary file is left behind.
#include "prediction/dictionary_file.h"

#include "device_image.h"

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <string>
#include <vector>

extern char** environ;

namespace {

// Starts the contender with `args`; returns its process id, or -1.
pid_t StartContender(std::vector<std::string> args) {
  args.insert(args.begin(), SAVE_CONTENDER);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  return posix_spawn(&pid, SAVE_CONTENDER, nullptr, nullptr, argv.data(), environ) == 0 ? pid : -1;
}

int ExitStatus(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

}  // namespace

class ConcurrentSave : public DeviceImageTest {};

TEST_F(ConcurrentSave, TwoProcessesSavingAtOnceNeverLetAReaderSeeATornFile) {
  // A whole file is there before the reader starts.
  ASSERT_EQ(ExitStatus(StartContender({"save", "1", "x"})), 0);
  const pid_t first = StartContender({"save", "150", "x"});
  const pid_t second = StartContender({"save", "150", "y"});
  const pid_t reader = StartContender({"read", "1500"});
  ASSERT_GT(first, 0);
  ASSERT_GT(second, 0);
  ASSERT_GT(reader, 0);
  EXPECT_EQ(ExitStatus(first), 0);
  EXPECT_EQ(ExitStatus(second), 0);
  EXPECT_EQ(ExitStatus(reader), 0) << "the reader saw a torn file";

  EXPECT_EQ(Names(u"\\Program Files\\Tavrel\\*"), std::vector<std::u16string>{u"db.dat"}) << "no temporary file and nothing kept aside";
}
