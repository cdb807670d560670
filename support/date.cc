#include "support/date.h"

#include <iomanip>
#include <new>
#include <sstream>

#include "support/data_out_of_range_exception.h"
#include "support/local_time.h"

[[gnu::used]] static const char kModuleId[] = "@(#)Date\t1.2\t2003/01/08 QXT";

namespace {

// Returns names[index], or "Er!" when index is outside [0, count).
const char* nameAt(const char* const* names, int count, int index) {
  return index >= 0 && index < count ? names[index] : "Er!";
}

const char* dayOfWeekName(int day) {
  // Day 7 is Sunday again.
  static const char* const kNames[] = {"Sun", "Mon", "Tue", "Wed",
                                       "Thr", "Fri", "Sat", "Sun"};
  return nameAt(kNames, 8, day);
}

const char* monthName(int month) {
  static const char* const kNames[] = {"Jan", "Feb", "Mar", "Apr",
                                       "May", "Jun", "Jul", "Aug",
                                       "Sep", "Oct", "Nov", "Dec"};
  return nameAt(kNames, 12, month);
}

// Stores `value` in *field, or ends the process unless first <= value <=
// last.
void storeInRange(int* field, const char* name, int value, int first,
                  int last) {
  if (value < first || value > last) DataOutOfRangeException{name, value};
  *field = value;
}

}  // namespace

Date::Date() : Date(currentLocalTime()) {}

Date::Date(const std::tm& time) {
  setSeconds(time.tm_sec);
  setMinutes(time.tm_min);
  setHour(time.tm_hour);
  setDayOfMonth(time.tm_mday);
  setMonth(time.tm_mon);
  setYear(time.tm_year);
  setDayOfWeek(time.tm_wday);
  setDayOfYear(time.tm_yday);
  setDaylightSaving(time.tm_isdst);
}

void Date::setSeconds(double seconds) {
  // Written so that a value that is not a number fails too.
  if (!(seconds >= 0 && seconds <= 61)) {
    DataOutOfRangeException{"Date.seconds", seconds};
  }
  seconds_ = seconds;
}

void Date::setMinutes(int minutes) {
  storeInRange(&minutes_, "Date.minutes", minutes, 0, 59);
}

void Date::setHour(int hour) { storeInRange(&hour_, "Date.hour", hour, 0, 23); }

void Date::setDayOfMonth(int day) {
  storeInRange(&day_of_month_, "Date.day-of-month", day, 1, 31);
}

void Date::setMonth(int month) {
  storeInRange(&month_, "Date.month", month, 0, 11);
}

void Date::setYear(int year) {
  if (year > 1899) year -= 1900;
  // The report names the full year.
  if (year < 0 || year > 150) DataOutOfRangeException{"Date.year", year + 1900};
  year_ = year;
}

void Date::setDayOfWeek(int day) {
  storeInRange(&day_of_week_, "Date.day-of-week", day, 0, 6);
}

void Date::setDayOfYear(int day) {
  storeInRange(&day_of_year_, "Date.day-of-year", day, 0, 365);
}

void Date::setDaylightSaving(int state) {
  daylight_saving_ = state > 0 ? 1 : state == 0 ? 0 : -1;
}

std::string Date::toText() const {
  std::ostringstream text;
  text << "Date: " << dayOfWeekName(day_of_week_) << " " << monthName(month_)
       << " " << day_of_month_ << ", " << year_ + 1900;
  text << "  Time: " << std::setfill('0') << std::setw(2) << hour_ << ":"
       << std::setw(2) << minutes_ << ":" << std::fixed << std::setprecision(0)
       << std::setw(2) << seconds_ << " " << (hour_ > 11 ? "pm" : "am");
  // A stream drops what it cannot allocate room for and goes bad; a cut
  // text is no date.
  if (!text) throw std::bad_alloc();
  return text.str();
}

std::ostream& operator<<(std::ostream& out, const Date& date) {
  return out << date.toText();
}
