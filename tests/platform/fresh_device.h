// A fresh, empty device image for each test: TAVREL_DEVICE points at a new temporary folder
// that is removed afterwards, so tests never see each other's files or registry values.
#pragma once

#include <device/files.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

class FreshDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "device-image-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    ::setenv("TAVREL_DEVICE", root_.c_str(), 1);
    ::setenv("SAMPLE_DATA", (root_ / "no-data").c_str(), 1);
    ASSERT_TRUE(device::EnsureDeviceImage());
  }

  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
    ::unsetenv("TAVREL_DEVICE");
    ::unsetenv("SAMPLE_DATA");
  }

  // The host folder behind the device root "\".
  std::filesystem::path Fs() const { return root_ / "fs"; }

  std::filesystem::path root_;
};
