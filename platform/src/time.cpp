// Wall-clock time and OLE automation dates: GetLocalTime, GetSystemTime,
// SystemTimeToVariantTime, VariantTimeToSystemTime.
//
// Dates use the proleptic Gregorian calendar, as OLE does. Not implemented: SetLocalTime,
// SetSystemTime, time zones other than the host's, file-time conversions.
#include <device/kernel.h>

#include <cmath>
#include <ctime>
#include <mutex>
#include <optional>

namespace {

std::mutex overrideMutex;
std::optional<SYSTEMTIME> timeOverride;

// Days from 1970-01-01 to a civil date (H. Hinnant's algorithm, valid far beyond our range).
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const auto yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

void CivilFromDays(std::int64_t days, int& year, unsigned& month, unsigned& day) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
  const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned mp = (5 * dayOfYear + 2) / 153;
  day = dayOfYear - (153 * mp + 2) / 5 + 1;
  month = mp < 10 ? mp + 3 : mp - 9;
  year = static_cast<int>(static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2));
}

bool IsLeapYear(unsigned year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

unsigned DaysInMonth(unsigned year, unsigned month) {
  static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// 1970-01-01 was a Thursday.
WORD DayOfWeek(std::int64_t daysSince1970) { return static_cast<WORD>(((daysSince1970 % 7) + 7 + 4) % 7); }

const std::int64_t kOleEpochDays = DaysFromCivil(1899, 12, 30);

// OLE dates range over the years 100 to 9999.
constexpr double kFirstOleDate = -657434.0;                 // 0100-01-01
constexpr double kLastOleDate = 2958465.0 + 86399.0 / 86400.0;  // 9999-12-31 23:59:59

void HostTime(SYSTEMTIME* out, bool local) {
  timespec now;
  ::clock_gettime(CLOCK_REALTIME, &now);
  std::tm parts;
  if (local) ::localtime_r(&now.tv_sec, &parts);
  else ::gmtime_r(&now.tv_sec, &parts);
  out->wYear = static_cast<WORD>(parts.tm_year + 1900);
  out->wMonth = static_cast<WORD>(parts.tm_mon + 1);
  out->wDayOfWeek = static_cast<WORD>(parts.tm_wday);
  out->wDay = static_cast<WORD>(parts.tm_mday);
  out->wHour = static_cast<WORD>(parts.tm_hour);
  out->wMinute = static_cast<WORD>(parts.tm_min);
  out->wSecond = static_cast<WORD>(parts.tm_sec);
  out->wMilliseconds = static_cast<WORD>(now.tv_nsec / 1000000);
}

void CurrentTime(LPSYSTEMTIME time, bool local) {
  if (!time) return;
  {
    std::lock_guard lock(overrideMutex);
    if (timeOverride) {
      *time = *timeOverride;
      return;
    }
  }
  HostTime(time, local);
}

}  // namespace

void GetLocalTime(LPSYSTEMTIME time) { CurrentTime(time, true); }

void GetSystemTime(LPSYSTEMTIME time) { CurrentTime(time, false); }

INT SystemTimeToVariantTime(const SYSTEMTIME* time, DATE* variantTime) {
  if (!time || !variantTime) return FALSE;
  if (time->wYear < 100 || time->wYear > 9999 || time->wMonth < 1 || time->wMonth > 12 || time->wDay < 1 ||
      time->wDay > DaysInMonth(time->wYear, time->wMonth) || time->wHour > 23 || time->wMinute > 59 ||
      time->wSecond > 59)
    return FALSE;
  std::int64_t days = DaysFromCivil(time->wYear, time->wMonth, time->wDay) - kOleEpochDays;
  double fraction = (time->wHour * 3600.0 + time->wMinute * 60.0 + time->wSecond) / 86400.0;
  // Before the epoch the whole part counts days backwards but the fraction still counts the
  // time of day forwards, so it is subtracted: 1899-12-29 06:00 is -1.25, not -0.75.
  *variantTime = days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
  return TRUE;
}

INT VariantTimeToSystemTime(DATE variantTime, LPSYSTEMTIME time) {
  if (!time || !(variantTime >= kFirstOleDate && variantTime < kLastOleDate + 0.5 / 86400.0)) return FALSE;
  double whole = std::trunc(variantTime);
  auto days = static_cast<std::int64_t>(whole);
  auto seconds = static_cast<std::int64_t>(std::llround(std::fabs(variantTime - whole) * 86400.0));
  if (seconds >= 86400) {  // rounded up to the next midnight, which is one calendar day later
    seconds -= 86400;
    ++days;
  }
  std::int64_t civilDays = days + kOleEpochDays;
  int year;
  unsigned month, day;
  CivilFromDays(civilDays, year, month, day);
  time->wYear = static_cast<WORD>(year);
  time->wMonth = static_cast<WORD>(month);
  time->wDay = static_cast<WORD>(day);
  time->wDayOfWeek = DayOfWeek(civilDays);
  time->wHour = static_cast<WORD>(seconds / 3600);
  time->wMinute = static_cast<WORD>(seconds / 60 % 60);
  time->wSecond = static_cast<WORD>(seconds % 60);
  time->wMilliseconds = 0;
  return TRUE;
}

namespace device {

void SetTimeOverride(const SYSTEMTIME* localTime) {
  std::lock_guard lock(overrideMutex);
  if (localTime) timeOverride = *localTime;
  else timeOverride.reset();
}

}  // namespace device
