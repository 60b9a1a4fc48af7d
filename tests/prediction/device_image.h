// A fresh, empty device image for one test: TAVREL_DEVICE points at a new temporary folder
// and TAVREL_DATA at an empty one, so that no shipped data is installed.
#pragma once

#include <device/files.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

class DeviceImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "tavrel-pred-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    std::filesystem::create_directories(root_ / "no-data");
    setenv("TAVREL_DEVICE", (root_ / "image").c_str(), 1);
    setenv("TAVREL_DATA", (root_ / "no-data").c_str(), 1);
    ASSERT_TRUE(device::EnsureDeviceImage());
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  // Writes bytes to a device path through the device.
  static void WriteDeviceFile(const char16_t* path, const std::vector<std::uint8_t>& bytes) {
    HANDLE file = CreateFile(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    if (!bytes.empty()) WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
  }

  static std::vector<std::uint8_t> ReadDeviceFile(const char16_t* path) {
    std::vector<std::uint8_t> bytes;
    HANDLE file = CreateFile(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    bytes.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    if (!bytes.empty()) ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    return bytes;
  }

  static bool Exists(const char16_t* path) { return GetFileAttributes(path) != INVALID_FILE_ATTRIBUTES; }

  // The names a device pattern ("\\folder\\*") matches, sorted.
  static std::vector<std::u16string> Names(const char16_t* pattern) {
    std::vector<std::u16string> names;
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFile(pattern, &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do names.emplace_back(found.cFileName);
    while (FindNextFile(find, &found));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
  }

  std::filesystem::path root_;
};
