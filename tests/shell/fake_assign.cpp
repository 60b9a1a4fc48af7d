// Stand-in for the button tool in the shell tests: appends its command line (argv[1], or an
// empty line) to $TAVREL_DEVICE/assign.out, one line per start, and exits.
#include <cstdlib>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv) {
  const char* device = std::getenv("TAVREL_DEVICE");
  if (!device) return 1;
  std::ofstream out(std::filesystem::path(device) / "assign.out", std::ios::binary | std::ios::app);
  out << (argc > 1 ? argv[1] : "") << '\n';
  return 0;
}
