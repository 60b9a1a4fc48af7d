// The subcommands of the dictionary tool. Each takes its arguments (after the subcommand's
// name), prints its results to stdout and returns the process exit code; refused input is
// reported by throwing InputError (host_text.h), which main turns into a message and exit 1.
#pragma once

#include <string>
#include <vector>

using Arguments = std::vector<std::string>;

int RunBuild(const Arguments& args);
int RunDump(const Arguments& args);
int RunPhrases(const Arguments& args);
int RunSimulate(const Arguments& args);

// Exit code of a usage error (unknown option, missing value).
constexpr int kUsageExit = 2;
