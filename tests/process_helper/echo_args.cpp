// Test helper: writes its argument count and its arguments after the program name, one per
// line, to $TAVREL_DEVICE/echo_args.out, waits for $TAVREL_DEVICE/echo_args.go when asked to
// by an argument "wait", and exits with its argument count.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

int main(int argc, char** argv) {
  const char* device = std::getenv("TAVREL_DEVICE");
  if (!device) return 100;
  std::filesystem::path root(device);
  {
    std::ofstream out(root / "echo_args.out", std::ios::binary);
    out << argc << '\n';
    for (int i = 1; i < argc; ++i) out << argv[i] << '\n';
  }
  if (argc > 1 && std::string(argv[1]) == "wait") {
    while (!std::filesystem::exists(root / "echo_args.go")) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return argc;
}
