// A fresh device image with the contact store registered, the interface's reports captured
// instead of shown, and helpers to make and read contacts.
#pragma once

#include "contacts/poom/poom_interface.h"

#include <device/driver.h>
#include <device/files.h>
#include <device/pim.h>

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace contacts_test {

struct Report {
  std::u16string text;
  std::u16string caption;
  bool operator==(const Report&) const = default;
};

inline std::mutex& ReportMutex() {
  static std::mutex mutex;
  return mutex;
}

inline std::vector<Report>& CapturedReports() {
  static std::vector<Report> reports;
  return reports;
}

inline void CaptureReport(std::u16string_view text, std::u16string_view caption) {
  std::lock_guard lock(ReportMutex());
  CapturedReports().push_back({std::u16string(text), std::u16string(caption)});
}

inline std::vector<Report> TakeReports() {
  std::lock_guard lock(ReportMutex());
  return std::exchange(CapturedReports(), {});
}

class ContactsTest : public ::testing::Test {
 protected:
  device::Driver driver;

  ContactsTest() {
    EXPECT_TRUE(device::EnsureDeviceImage());
    SetPoomMessageSink(CaptureReport);
    TakeReports();
    PoomRelease();
    ContactListClear();
    TheContactList().ready.store(0);
  }

  ~ContactsTest() override {
    device::SetPimLogonFailures(0);
    device::SetPimFault("", 0, 0);
    device::StopPimCallLog();
    PoomLogoff();
    PoomRelease();
    ContactListClear();
    SetPoomMessageSink(nullptr);
  }

  // Connects on the test's own thread; the logon waits move the virtual clock.
  void Connect() {
    PoomConnect();
    std::vector<ContactRecord> ignored;
    ASSERT_EQ(PoomLoadContacts(ignored), kPoomOk);
  }

  static ContactRecord Person(std::u16string_view first, std::u16string_view last, std::u16string_view mobile = {}) {
    ContactRecord record;
    SetContactString(record, kFirstNameId, first);
    SetContactString(record, kLastNameId, last);
    SetContactString(record, kMobileTelephoneNumberId, mobile);
    if (!first.empty() || !last.empty())
      SetContactString(record, kFileAsId, std::u16string(last) + u", " + std::u16string(first));
    return record;
  }

  static std::u16string Field(const ContactRecord& record, int id) {
    LPCWSTR text = ContactString(record, id);
    return text ? std::u16string(text) : std::u16string();
  }
};

}  // namespace contacts_test
