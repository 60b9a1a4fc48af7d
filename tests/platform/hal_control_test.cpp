// The reboot request is the only hardware-abstraction control the programs send; debugger
// output goes to standard error.
#include <device/kernel.h>

#include <gtest/gtest.h>

TEST(HalControl, RebootIsCountedAndOtherCodesAreRefused) {
  const int before = device::RebootRequestCount();
  DWORD returned = 99;
  EXPECT_TRUE(KernelIoControl(IOCTL_HAL_REBOOT, nullptr, 0, nullptr, 0, &returned));
  EXPECT_EQ(returned, 0u);
  EXPECT_EQ(device::RebootRequestCount(), before + 1);

  SetLastError(0);
  EXPECT_FALSE(KernelIoControl(0x01010040, nullptr, 0, nullptr, 0, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
  EXPECT_EQ(device::RebootRequestCount(), before + 1);
}

// The debugger's output is standard error, in UTF-8; a broken surrogate pair does not cut the
// text short.
TEST(DebugOutput, GoesToStandardErrorAsUtf8) {
  testing::internal::CaptureStderr();
  OutputDebugString(u"k\u00E9y \u03B1\U0001F600 \xD800!\n");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "k\xC3\xA9y \xCE\xB1\xF0\x9F\x98\x80 \xEF\xBF\xBD!\n");
}
