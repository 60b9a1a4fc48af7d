// Named mutexes are shared by the processes of one device image: a name another process owns
// "already exists" and cannot be taken until that process lets go or ends; within a process
// ownership counts, and only the owner may release.
#include <device/kernel.h>

#include "fresh_device.h"

#include <sys/wait.h>
#include <unistd.h>

namespace {

using NamedMutexTest = FreshDevice;

TEST_F(NamedMutexTest, WithinAProcessANameIsOneObjectAndOwnershipCounts) {
  HANDLE first = CreateMutex(nullptr, TRUE, u"Sample lock");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  HANDLE second = CreateMutex(nullptr, FALSE, u"Sample lock");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  HANDLE other = CreateMutex(nullptr, FALSE, u"sample lock");  // names keep their case
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);

  EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_OBJECT_0);  // owned twice now
  EXPECT_TRUE(ReleaseMutex(first));
  EXPECT_TRUE(ReleaseMutex(second));
  EXPECT_FALSE(ReleaseMutex(first));
  EXPECT_EQ(GetLastError(), ERROR_NOT_OWNER);
  for (HANDLE h : {first, second, other}) EXPECT_TRUE(CloseHandle(h));

  EXPECT_EQ(CreateMutex(nullptr, TRUE, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
}

// A child process of this one (fork: the same image) owns the mutex until told to end.
TEST_F(NamedMutexTest, AMutexAnotherProcessOwnsExistsAndIsFreeOnceThatProcessEnds) {
  int owned[2], finish[2];
  ASSERT_EQ(::pipe(owned), 0);
  ASSERT_EQ(::pipe(finish), 0);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    HANDLE mine = CreateMutex(nullptr, TRUE, u"Sample instance");
    char c = mine != nullptr && GetLastError() == ERROR_SUCCESS ? 'y' : 'n';
    (void)!::write(owned[1], &c, 1);
    (void)!::read(finish[0], &c, 1);
    ::_exit(0);  // ends owning it: the host lets go
  }
  char reply = 0;
  ASSERT_EQ(::read(owned[0], &reply, 1), 1);
  EXPECT_EQ(reply, 'y');

  HANDLE mutex = CreateMutex(nullptr, TRUE, u"Sample instance");
  ASSERT_NE(mutex, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_FALSE(ReleaseMutex(mutex)) << "initial ownership is not granted when it exists";
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_TIMEOUT);

  (void)!::write(finish[1], "x", 1);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_EQ(WaitForSingleObject(mutex, INFINITE), WAIT_OBJECT_0);
  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_TRUE(CloseHandle(mutex));
  for (int fd : {owned[0], owned[1], finish[0], finish[1]}) ::close(fd);
}

}  // namespace
