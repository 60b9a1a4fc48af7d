// Installing the shipped data into a device image is atomic as the next start sees it: an
// install cut short (a staging folder left half-copied, some entries moved in, no marker) is
// completed at the next start, and files already in the program folder (a dictionary a person
// taught) are never replaced. The device installs as the sample program describes.
#include <device/files.h>
#include <device/install.h>

#include "fresh_device.h"
#include "sample_install.h"

#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

class DeviceInstallTest : public FreshDevice {
 protected:
  void SetUp() override {
    FreshDevice::SetUp();
    data_ = root_ / "shipped";
    Write(data_ / "sample.txt", "marker");
    Write(data_ / "english" / "db.dat", std::string(5000, 'w'));
    Write(data_ / "gx" / "a.png", "image a");
    Write(data_ / "gx" / "b.png", std::string(3000, 'b'));
    ::setenv(sample::kDataVariable, data_.c_str(), 1);
  }

  static void Write(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
  }
  static std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  fs::path Installed(const fs::path& relative) const { return Fs() / "Program Files" / "Sample" / relative; }

  // Every shipped file is in the program folder, whole.
  void ExpectEveryFileInstalled() const {
    for (const char* file : {"sample.txt", "english/db.dat", "gx/a.png", "gx/b.png"}) {
      EXPECT_EQ(Read(Installed(file)), Read(data_ / file)) << file;
    }
  }

  int StagingFolders() const {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(root_)) {
      count += entry.path().filename().string().rfind("install-staging-", 0) == 0;
    }
    return count;
  }

  fs::path data_;
};

TEST_F(DeviceInstallTest, AFreshImageGetsEveryFileAndNoStagingFolderStays) {
  ASSERT_TRUE(device::EnsureDeviceImage());
  ExpectEveryFileInstalled();
  EXPECT_EQ(StagingFolders(), 0);
  EXPECT_TRUE(fs::is_directory(Fs() / "My Documents" / "Samples"));
}

// The state a kill in the middle of an install leaves: half a copy in the staging folder, one
// folder already moved into place, no marker.
TEST_F(DeviceInstallTest, AnInstallCutShortIsCompletedAtTheNextStart) {
  Write(root_ / "install-staging-Xy12Ab" / "gx" / "b.png", std::string(100, 'b'));
  Write(Installed("english/db.dat"), Read(data_ / "english" / "db.dat"));
  ASSERT_FALSE(fs::exists(Installed("sample.txt")));

  ASSERT_TRUE(device::EnsureDeviceImage());
  ExpectEveryFileInstalled();
  EXPECT_EQ(StagingFolders(), 0) << "the left-over staging folder is removed";
}

TEST_F(DeviceInstallTest, AReinstallNeverReplacesWhatThePersonTaught) {
  ASSERT_TRUE(device::EnsureDeviceImage());
  Write(Installed("english/db.dat"), "learned words");
  fs::remove(Installed("sample.txt"));  // the marker gone: the data are installed again
  fs::remove(Installed("gx/b.png"));

  ASSERT_TRUE(device::EnsureDeviceImage());
  EXPECT_EQ(Read(Installed("english/db.dat")), "learned words");
  EXPECT_EQ(Read(Installed("gx/b.png")), Read(data_ / "gx" / "b.png"));
  EXPECT_EQ(Read(Installed("sample.txt")), "marker");
}

// Without the marker in the shipped data nothing claims to be installed, so the next start
// tries again; without any shipped data the folders are still made.
TEST_F(DeviceInstallTest, DataWithoutTheMarkerNeverCountAsInstalled) {
  fs::remove(data_ / "sample.txt");
  ASSERT_TRUE(device::EnsureDeviceImage());
  EXPECT_FALSE(fs::exists(Installed("sample.txt")));
  EXPECT_EQ(Read(Installed("gx/a.png")), "image a");

  Write(data_ / "sample.txt", "marker");
  ASSERT_TRUE(device::EnsureDeviceImage());
  EXPECT_EQ(Read(Installed("sample.txt")), "marker");

  ::setenv(sample::kDataVariable, (root_ / "nothing-here").c_str(), 1);
  fs::remove_all(Fs());
  ASSERT_TRUE(device::EnsureDeviceImage());
  EXPECT_TRUE(fs::is_directory(Installed("")));
  EXPECT_FALSE(fs::exists(Installed("sample.txt")));
}

// The description decides where: another program folder, other data folders.
TEST_F(DeviceInstallTest, TheDeviceInstallsWhereTheDescriptionSays) {
  const device::InstallDescription sampleDescription = device::CurrentInstallDescription();
  device::InstallDescription other = sampleDescription;
  other.programFolder = u"\\Apps\\Other";
  other.dataFolders = {u"\\Data\\One", u"\\Data\\Two"};
  device::SetInstallDescription(other);
  const bool made = device::EnsureDeviceImage();
  device::SetInstallDescription(sampleDescription);
  ASSERT_TRUE(made);
  EXPECT_EQ(Read(Fs() / "Apps" / "Other" / "english" / "db.dat"), Read(data_ / "english" / "db.dat"));
  EXPECT_EQ(Read(Fs() / "Apps" / "Other" / "sample.txt"), "marker");
  EXPECT_TRUE(fs::is_directory(Fs() / "Data" / "Two"));
}

}  // namespace
