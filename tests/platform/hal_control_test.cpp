// The reboot request is the only hardware-abstraction control the programs send.
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
