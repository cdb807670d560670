#ifndef ZEPTOR_SUPPORT_DATE_H_
#define ZEPTOR_SUPPORT_DATE_H_

#include <ctime>
#include <ostream>
#include <string>

// An object that can render itself as one line of text.
class Record {
 public:
  virtual ~Record() = default;

  // Returns the object's text form.
  virtual std::string toText() const = 0;
};

// A calendar date with time of day, every field checked against its range
// when stored. A field out of range ends the process through
// DataOutOfRangeException.
class Date : public Record {
 public:
  // The current local time.
  Date();
  // The given broken-down time, stored field by field through the setters.
  explicit Date(const std::tm& time);
  ~Date() override = default;

  void setSeconds(double seconds);    // 0 to 61
  void setMinutes(int minutes);       // 0 to 59
  void setHour(int hour);             // 0 to 23
  void setDayOfMonth(int day);        // 1 to 31
  void setMonth(int month);           // 0 to 11, 0 is January
  void setYear(int year);             // 1900 to 2050, or 0 to 150 after 1900
  void setDayOfWeek(int day);         // 0 to 6, 0 is Sunday
  void setDayOfYear(int day);         // 0 to 365
  void setDaylightSaving(int state);  // > 0 in effect, 0 not, < 0 unknown

  double seconds() const { return seconds_; }
  int minutes() const { return minutes_; }
  int hour() const { return hour_; }
  int dayOfMonth() const { return day_of_month_; }
  int year() const { return year_; }  // years since 1900

  // Returns, for example, "Date: Thr Jan 9, 2003  Time: 18:51:48 pm".
  // Throws std::bad_alloc when there is no room for the whole text.
  std::string toText() const override;

 private:
  int minutes_ = 0;
  int hour_ = 0;
  int day_of_month_ = 1;
  int month_ = 0;
  int year_ = 0;
  int day_of_week_ = 0;
  int day_of_year_ = 0;
  int daylight_saving_ = -1;
  double seconds_ = 0;
};

std::ostream& operator<<(std::ostream& out, const Date& date);

#endif  // ZEPTOR_SUPPORT_DATE_H_
