// dict: the dictionary tool of the language pack. It builds a language's word dictionary
// (db.dat) and next-word file (phrases.dat) from word lists and texts, prints both, and
// measures the keystrokes that prediction saves by typing a text through the program's own
// word tracker. It runs on the build machine and reads and writes plain host files; the file
// formats, the dictionary and the tracker are the prediction engine's own code.
#include "install/tavrel_install.h"
#include "tools/dict/commands.h"
#include "tools/dict/host_text.h"

#include <cstdio>
#include <cstring>
#include <exception>

namespace {

const char kUsage[] =
    "usage: dict build ...      make db.dat and phrases.dat (dict build --help)\n"
    "       dict dump DB        print a db.dat: word TAB count, in stored order\n"
    "       dict phrases FILE   print a phrases.dat: first TAB following, in stored order\n"
    "       dict simulate ...   type a text with prediction and report the keystrokes saved\n"
    "       dict --help | --version\n"
    "(installed as tavrel-dict)\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    std::fputs(kUsage, argc < 2 ? stderr : stdout);
    return argc < 2 ? kUsageExit : 0;
  }
  const std::string command = argv[1];
  if (command == "--version") {
    std::printf("tavrel-dict %s\n", kTavrelVersion);
    return 0;
  }
  if (command[0] == '-') {
    std::fprintf(stderr, "dict: unknown option %s (try dict --help)\n", command.c_str());
    return kUsageExit;
  }
  const Arguments args(argv + 2, argv + argc);
  // build and simulate print their own usage; dump and phrases take one file and no options.
  if (args.size() == 1 && args[0] == "--help" && command != "build" && command != "simulate") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  try {
    if (command == "build") return RunBuild(args);
    if (command == "dump") return RunDump(args);
    if (command == "phrases") return RunPhrases(args);
    if (command == "simulate") return RunSimulate(args);
    std::fprintf(stderr, "dict: unknown command %s\n%s", command.c_str(), kUsage);
    return kUsageExit;
  } catch (const InputError& e) {
    std::fprintf(stderr, "dict %s: %s\n", command.c_str(), e.what());
    return 1;
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "dict %s: out of memory\n", command.c_str());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "dict %s: %s\n", command.c_str(), e.what());
    return 1;
  }
}
