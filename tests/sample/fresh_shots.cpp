// Screenshots of a test run go into a fresh temporary folder (unless TAVREL_SHOTS names one
// already), so that two runs on one machine never write into each other's files. The folder
// is removed when the run ends; set TAVREL_SHOTS to keep the pictures and look at them.
// An interface source: every test executable linking fresh_shots compiles it in.
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

class FreshShotsFolder {
 public:
  FreshShotsFolder() {
    const char* named = std::getenv("TAVREL_SHOTS");
    if (named && *named) return;
    std::string pattern = (std::filesystem::temp_directory_path() / "device-shots-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) return;
    folder_ = pattern;
    ::setenv("TAVREL_SHOTS", folder_.c_str(), 1);
  }
  ~FreshShotsFolder() {
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
  }
  FreshShotsFolder(const FreshShotsFolder&) = delete;
  FreshShotsFolder& operator=(const FreshShotsFolder&) = delete;

 private:
  std::string folder_;
};

const FreshShotsFolder freshShotsFolder;

}  // namespace
