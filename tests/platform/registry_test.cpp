// The device registry: values come back byte-exact, names ignore case, sizes follow the Win32
// protocol, keys are created, opened and deleted as the programs expect, and several processes
// can write at once without losing anything.
#include <device/registry.h>

#include "fresh_device.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

constexpr char16_t kOptions[] = u"Software\\Korvani\\Sample\\Options";

class RegistryTest : public FreshDevice {
 protected:
  HKEY Create(LPCWSTR path, DWORD* disposition = nullptr) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, path, 0, u"key", 0, KEY_ALL_ACCESS, nullptr, &key, disposition),
              static_cast<LONG>(ERROR_SUCCESS));
    return key;
  }

  static std::vector<BYTE> Read(HKEY key, LPCWSTR name, DWORD* type) {
    DWORD size = 0;
    if (RegQueryValueEx(key, name, nullptr, type, nullptr, &size) != ERROR_SUCCESS) return {};
    std::vector<BYTE> data(size);
    EXPECT_EQ(RegQueryValueEx(key, name, nullptr, type, data.data(), &size), static_cast<LONG>(ERROR_SUCCESS));
    data.resize(size);
    return data;
  }
};

std::vector<BYTE> Bytes(const void* data, std::size_t size) {
  auto* bytes = static_cast<const BYTE*>(data);
  return std::vector<BYTE>(bytes, bytes + size);
}

TEST_F(RegistryTest, AllFourTypesRoundTripWithTheirExactSizes) {
  HKEY key = Create(kOptions);
  const char16_t directory[] = u"\\My Documents\\Samples";
  const char16_t texts[] = u"ab\0c\0";  // two strings; the closing empty string is not stored
  DWORD method = 0xA1B2C3D4;
  const BYTE used[] = {2, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0};
  ASSERT_EQ(RegSetValueEx(key, u"directory", 0, REG_SZ, reinterpret_cast<const BYTE*>(directory), sizeof directory), 0);
  ASSERT_EQ(RegSetValueEx(key, u"FxTexts", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(texts), 10), 0);
  ASSERT_EQ(RegSetValueEx(key, u"inputmethod", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&method), 4), 0);
  ASSERT_EQ(RegSetValueEx(key, u"UsedLangs", 0, REG_BINARY, used, sizeof used), 0);
  RegCloseKey(key);

  HKEY again = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, kOptions, 0, KEY_ALL_ACCESS, &again), 0);
  DWORD type = 0;
  EXPECT_EQ(Read(again, u"directory", &type), Bytes(directory, sizeof directory));
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(Read(again, u"FxTexts", &type), Bytes(texts, 10));
  EXPECT_EQ(type, REG_MULTI_SZ);
  EXPECT_EQ(Read(again, u"inputmethod", &type), Bytes(&method, 4));
  EXPECT_EQ(type, REG_DWORD);
  EXPECT_EQ(Read(again, u"UsedLangs", &type), Bytes(used, sizeof used));
  EXPECT_EQ(type, REG_BINARY);
  RegCloseKey(again);
}

TEST_F(RegistryTest, SizesFollowTheWin32Protocol) {
  HKEY key = Create(kOptions);
  const char16_t text[] = u"Hello Darling";
  ASSERT_EQ(RegSetValueEx(key, u"t", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text), 0);

  DWORD size = 0;
  EXPECT_EQ(RegQueryValueEx(key, u"t", nullptr, nullptr, nullptr, &size), 0);
  EXPECT_EQ(size, sizeof text);

  BYTE small[8] = {0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55};
  size = sizeof small;
  EXPECT_EQ(RegQueryValueEx(key, u"t", nullptr, nullptr, small, &size), static_cast<LONG>(ERROR_MORE_DATA));
  EXPECT_EQ(size, sizeof text);

  DWORD missingType = 77, missingSize = 4;
  DWORD value = 0;
  EXPECT_EQ(RegQueryValueEx(key, u"nothing", nullptr, &missingType, reinterpret_cast<BYTE*>(&value), &missingSize),
            static_cast<LONG>(ERROR_FILE_NOT_FOUND));

  // An empty value is a value, not a missing one.
  ASSERT_EQ(RegSetValueEx(key, u"empty", 0, REG_BINARY, nullptr, 0), 0);
  size = 99;
  EXPECT_EQ(RegQueryValueEx(key, u"empty", nullptr, nullptr, nullptr, &size), 0);
  EXPECT_EQ(size, 0u);
  RegCloseKey(key);
}

TEST_F(RegistryTest, KeyAndValueNamesIgnoreCaseAndKeepTheirFirstSpelling) {
  DWORD disposition = 0;
  HKEY key = Create(u"SOFTWARE\\Microsoft\\Shell\\Keys\\40D1", &disposition);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  DWORD one = 1;
  ASSERT_EQ(RegSetValueEx(key, u"Button", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4), 0);
  RegCloseKey(key);

  HKEY same = Create(u"software\\MICROSOFT\\shell\\keys\\40d1", &disposition);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  DWORD type = 0;
  EXPECT_EQ(Read(same, u"bUTTON", &type), Bytes(&one, 4));
  DWORD two = 2;
  ASSERT_EQ(RegSetValueEx(same, u"BUTTON", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&two), 4), 0);
  char16_t name[16];
  DWORD nameLength = 16;
  ASSERT_EQ(RegEnumValue(same, 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(std::u16string(name), u"Button");
  nameLength = 16;
  EXPECT_EQ(RegEnumValue(same, 1, name, &nameLength, nullptr, nullptr, nullptr, nullptr),
            static_cast<LONG>(ERROR_NO_MORE_ITEMS));
  RegCloseKey(same);

  // Case folding beyond ASCII: Greek and Hungarian key names.
  HKEY greek = Create(u"Software\\ΑΛΦΑ\\ŐRZŐ");
  RegCloseKey(greek);
  HKEY found = nullptr;
  EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, u"software\\αλφα\\őrző", 0, KEY_READ, &found), 0);
  RegCloseKey(found);
}

TEST_F(RegistryTest, RootsAreSeparateAndOpeningAMissingKeyFails) {
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, kOptions, 0, KEY_READ, &key), static_cast<LONG>(ERROR_FILE_NOT_FOUND));
  HKEY user = nullptr;
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, kOptions, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &user, nullptr), 0);
  RegCloseKey(user);
  EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, kOptions, 0, KEY_READ, &key), static_cast<LONG>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, kOptions, 0, KEY_READ, &key), static_cast<LONG>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, u"software\\korvani", 0, KEY_READ, &key), 0);
  RegCloseKey(key);
}

TEST_F(RegistryTest, DeletingAKeyRemovesItsValuesAndSubkeysAndOrphansItsHandles) {
  // The assign tool's key: Software\Korvani followed by the program's path.
  const char16_t assigned[] = u"Software\\Korvani\\Program Files\\Sample\\sample.exe";
  HKEY key = Create(assigned);
  DWORD three = 3;
  ASSERT_EQ(RegSetValueEx(key, u"button", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&three), 4), 0);
  HKEY child = Create(u"Software\\Korvani\\Program Files\\Sample\\sample.exe\\child");
  RegCloseKey(child);

  EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, u"software\\korvani\\program files\\sample\\SAMPLE.EXE"), 0);
  HKEY gone = nullptr;
  EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, assigned, 0, KEY_READ, &gone), static_cast<LONG>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(RegSetValueEx(key, u"button", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&three), 4),
            static_cast<LONG>(ERROR_KEY_DELETED));
  RegCloseKey(key);

  // Recreated, the key is empty, and the parent survived.
  HKEY fresh = Create(assigned);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueEx(fresh, u"button", nullptr, nullptr, nullptr, &size),
            static_cast<LONG>(ERROR_FILE_NOT_FOUND));
  RegCloseKey(fresh);
  EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, u"Software\\Korvani\\nothing"), static_cast<LONG>(ERROR_FILE_NOT_FOUND));
}

TEST_F(RegistryTest, DeleteValueRemovesOnlyThatValue) {
  HKEY key = Create(kOptions);
  DWORD one = 1;
  RegSetValueEx(key, u"Menu", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4);
  RegSetValueEx(key, u"Qwerty", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4);
  EXPECT_EQ(RegDeleteValue(key, u"menu"), 0);
  EXPECT_EQ(RegDeleteValue(key, u"menu"), static_cast<LONG>(ERROR_FILE_NOT_FOUND));
  DWORD type;
  EXPECT_EQ(Read(key, u"Qwerty", &type), Bytes(&one, 4));
  RegCloseKey(key);
}

TEST_F(RegistryTest, ClosedOrForgedHandlesAreRejected) {
  HKEY key = Create(kOptions);
  ASSERT_EQ(RegCloseKey(key), 0);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueEx(key, u"x", nullptr, nullptr, nullptr, &size), static_cast<LONG>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(RegCloseKey(key), static_cast<LONG>(ERROR_INVALID_HANDLE));
}

// Two processes and this one write 500 values each at the same moment; every value arrives.
TEST_F(RegistryTest, ConcurrentWritersFromSeveralProcessesLoseNothing) {
  HKEY warm = Create(kOptions);  // this process's connection exists before the fork
  RegCloseKey(warm);
  constexpr int kValues = 500;
  auto writeAll = [](int writer) {
    HKEY key = nullptr;
    if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, kOptions, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != 0)
      return false;
    for (DWORD i = 0; i < kValues; ++i) {
      std::u16string name = u"w" + std::u16string(1, static_cast<char16_t>(u'0' + writer)) + u"_";
      for (char c : std::to_string(i)) name += static_cast<char16_t>(c);
      DWORD value = static_cast<DWORD>(writer) * 100000 + i;
      if (RegSetValueEx(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4) != 0) return false;
    }
    RegCloseKey(key);
    return true;
  };
  std::vector<pid_t> children;
  for (int writer = 1; writer <= 2; ++writer) {
    pid_t pid = ::fork();
    if (pid == 0) ::_exit(writeAll(writer) ? 0 : 1);
    children.push_back(pid);
  }
  EXPECT_TRUE(writeAll(0));
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }

  HKEY key = Create(kOptions);
  DWORD count = 0;
  char16_t name[32];
  DWORD nameLength = 32, value = 0, size = 4;
  while (RegEnumValue(key, count, name, &nameLength, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) == 0) {
    ++count;
    nameLength = 32;
    size = 4;
  }
  EXPECT_EQ(count, 3u * kValues);
  DWORD last = 0;
  size = 4;
  EXPECT_EQ(RegQueryValueEx(key, u"W2_499", nullptr, nullptr, reinterpret_cast<BYTE*>(&last), &size), 0);
  EXPECT_EQ(last, 200499u);
  RegCloseKey(key);
}

// A writer killed in the middle of its writes leaves a registry that opens, holds exactly the
// values it had committed, and takes new writes.
TEST_F(RegistryTest, AWriterKilledMidWriteLeavesEveryCommittedValueIntact) {
  HKEY warm = Create(kOptions);
  RegCloseKey(warm);
  pid_t writer = ::fork();
  if (writer == 0) {
    HKEY key = nullptr;
    RegCreateKeyEx(HKEY_LOCAL_MACHINE, kOptions, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    std::vector<BYTE> payload(3000);
    for (DWORD i = 0;; ++i) {
      std::u16string name = u"v";
      for (char c : std::to_string(i)) name += static_cast<char16_t>(c);
      std::fill(payload.begin(), payload.end(), static_cast<BYTE>(i));
      RegSetValueEx(key, name.c_str(), 0, REG_BINARY, payload.data(), static_cast<DWORD>(payload.size()));
    }
  }
  HKEY key = Create(kOptions);
  DWORD size = 0;
  bool started = false;
  for (int tries = 0; tries < 20000 && !started; ++tries) {
    started = RegQueryValueEx(key, u"v200", nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS;
    if (!started) ::usleep(1000);
  }
  ::kill(writer, SIGKILL);
  ::waitpid(writer, nullptr, 0);
  ASSERT_TRUE(started);

  DWORD count = 0;
  char16_t name[32];
  std::vector<BYTE> data(4000);
  for (;;) {
    DWORD nameLength = 32, dataSize = static_cast<DWORD>(data.size());
    if (RegEnumValue(key, count, name, &nameLength, nullptr, nullptr, data.data(), &dataSize) != ERROR_SUCCESS) break;
    std::u16string expected = u"v";
    for (char c : std::to_string(count)) expected += static_cast<char16_t>(c);
    ASSERT_EQ(std::u16string(name), expected);
    ASSERT_EQ(dataSize, 3000u);
    ASSERT_EQ(data[0], static_cast<BYTE>(count));
    ASSERT_EQ(data[2999], static_cast<BYTE>(count));
    ++count;
  }
  EXPECT_GT(count, 200u);
  DWORD one = 1;
  EXPECT_EQ(RegSetValueEx(key, u"after", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4), 0);
  RegCloseKey(key);
}

// Tests replace the device image, sometimes at the same path; the registry follows the image.
TEST_F(RegistryTest, ARecreatedDeviceImageStartsWithAnEmptyRegistry) {
  HKEY key = Create(kOptions);
  RegCloseKey(key);
  std::filesystem::remove_all(root_);
  std::filesystem::create_directories(root_);
  ASSERT_TRUE(device::EnsureDeviceImage());
  HKEY old = nullptr;
  EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, kOptions, 0, KEY_READ, &old), static_cast<LONG>(ERROR_FILE_NOT_FOUND));
  HKEY fresh = Create(kOptions);
  RegCloseKey(fresh);
  EXPECT_GT(std::filesystem::file_size(root_ / "registry.sqlite") +
                std::filesystem::file_size(root_ / "registry.sqlite-wal"), 0u);
}

}  // namespace
