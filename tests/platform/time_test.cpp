// Time: OLE automation dates as the contact store exchanges them (whole days since 1899-12-30,
// the time of day as the fraction, dates before 1899-12-30 the OLE way) and the test clock.
#include <device/kernel.h>

#include <gtest/gtest.h>

namespace {

SYSTEMTIME Time(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0) {
  SYSTEMTIME time{};
  time.wYear = year;
  time.wMonth = month;
  time.wDay = day;
  time.wHour = hour;
  time.wMinute = minute;
  time.wSecond = second;
  return time;
}

DATE ToVariant(const SYSTEMTIME& time) {
  DATE date = -1e9;
  EXPECT_TRUE(SystemTimeToVariantTime(&time, &date));
  return date;
}

TEST(VariantTime, KnownDatesHaveTheirOleValues) {
  EXPECT_DOUBLE_EQ(ToVariant(Time(1899, 12, 30)), 0.0);
  EXPECT_DOUBLE_EQ(ToVariant(Time(1900, 1, 1)), 2.0);
  EXPECT_DOUBLE_EQ(ToVariant(Time(1900, 3, 1)), 61.0);  // 1900 is not a leap year here
  EXPECT_DOUBLE_EQ(ToVariant(Time(2000, 1, 1, 18)), 36526.75);
  EXPECT_DOUBLE_EQ(ToVariant(Time(1899, 12, 29, 6)), -1.25);
  EXPECT_DOUBLE_EQ(ToVariant(Time(1800, 1, 1, 12)), -36522.5);
  EXPECT_DOUBLE_EQ(ToVariant(Time(100, 1, 1)), -657434.0);
  EXPECT_DOUBLE_EQ(ToVariant(Time(9999, 12, 31)), 2958465.0);
  EXPECT_DOUBLE_EQ(ToVariant(Time(4501, 1, 1)), 949998.0);  // the contact store's "no date"
}

TEST(VariantTime, InvalidDatesAreRefused) {
  DATE date = 0;
  for (const SYSTEMTIME& bad : {Time(1900, 2, 29), Time(2001, 13, 1), Time(2001, 4, 31), Time(99, 1, 1),
                                Time(2001, 1, 0), Time(2001, 1, 1, 24)}) {
    EXPECT_FALSE(SystemTimeToVariantTime(&bad, &date));
  }
  SYSTEMTIME out;
  EXPECT_FALSE(VariantTimeToSystemTime(-657435.0, &out));
  EXPECT_FALSE(VariantTimeToSystemTime(2958466.0, &out));
}

TEST(VariantTime, RoundTripsOnBothSidesOfTheEpoch) {
  for (const SYSTEMTIME& time : {Time(1899, 12, 30, 23, 59, 59), Time(1899, 12, 29, 0, 0, 1), Time(1850, 6, 15, 7, 30, 5),
                                 Time(1600, 2, 29, 12, 0, 0), Time(2024, 2, 29, 13, 14, 15), Time(1970, 1, 1)}) {
    SYSTEMTIME back{};
    ASSERT_TRUE(VariantTimeToSystemTime(ToVariant(time), &back));
    EXPECT_EQ(back.wYear, time.wYear);
    EXPECT_EQ(back.wMonth, time.wMonth);
    EXPECT_EQ(back.wDay, time.wDay);
    EXPECT_EQ(back.wHour, time.wHour);
    EXPECT_EQ(back.wMinute, time.wMinute);
    EXPECT_EQ(back.wSecond, time.wSecond);
  }
}

TEST(VariantTime, FractionsBeforeTheEpochCountForwardFromMidnight) {
  SYSTEMTIME time{};
  ASSERT_TRUE(VariantTimeToSystemTime(-2.75, &time));  // 1899-12-28 18:00
  EXPECT_EQ(time.wDay, 28);
  EXPECT_EQ(time.wHour, 18);
  ASSERT_TRUE(VariantTimeToSystemTime(-0.5, &time));  // the same as +0.5
  EXPECT_EQ(time.wDay, 30);
  EXPECT_EQ(time.wHour, 12);
  // 2000-01-01 was a Saturday; a value a hair below midnight rounds up to it.
  ASSERT_TRUE(VariantTimeToSystemTime(36526.0 - 1e-9, &time));
  EXPECT_EQ(time.wYear, 2000);
  EXPECT_EQ(time.wDay, 1);
  EXPECT_EQ(time.wHour, 0);
  EXPECT_EQ(time.wDayOfWeek, 6);
  ASSERT_TRUE(VariantTimeToSystemTime(-1.0 - 1e-9, &time));  // rounds to 1899-12-29 00:00
  EXPECT_EQ(time.wDay, 29);
  EXPECT_EQ(time.wHour, 0);
}

TEST(LocalTime, ATestCanFixTheClock) {
  SYSTEMTIME fixed = Time(2003, 7, 14, 9, 41, 0);
  device::SetTimeOverride(&fixed);
  SYSTEMTIME local{}, utc{};
  GetLocalTime(&local);
  GetSystemTime(&utc);
  device::SetTimeOverride(nullptr);
  EXPECT_EQ(local.wYear, 2003);
  EXPECT_EQ(local.wHour, 9);
  EXPECT_EQ(utc.wMinute, 41);

  SYSTEMTIME now{};
  GetLocalTime(&now);
  EXPECT_GE(now.wYear, 2024);
  EXPECT_LE(now.wDayOfWeek, 6);
}

}  // namespace
