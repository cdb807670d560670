#include "support/date.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <sstream>
#include <string>

#include "support/data_out_of_range_exception.h"
#include "support/local_time.h"
#include "testing/test_param_name.h"

namespace {

// A valid broken-down time: Thursday 9 January 2003, 18:51:48.
std::tm exampleTime() {
  std::tm time{};
  time.tm_sec = 48;
  time.tm_min = 51;
  time.tm_hour = 18;
  time.tm_mday = 9;
  time.tm_mon = 0;
  time.tm_year = 103;
  time.tm_wday = 4;
  time.tm_yday = 8;
  time.tm_isdst = 0;
  return time;
}

TEST(DateTest, RendersTheExampleWhole) {
  const Date date(exampleTime());
  EXPECT_EQ("Date: Thr Jan 9, 2003  Time: 18:51:48 pm", date.toText());
  std::ostringstream out;
  out << date;
  EXPECT_EQ(date.toText(), out.str());
  const Record& record = date;
  EXPECT_EQ(date.toText(), record.toText());
}

TEST(DateTest, NamesEveryDayAndMonthAndMarksOthers) {
  const char* days[] = {"Sun", "Mon", "Tue", "Wed", "Thr", "Fri", "Sat"};
  const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  Date date(exampleTime());
  for (int day = 0; day < 7; ++day) {
    date.setDayOfWeek(day);
    EXPECT_EQ(std::string("Date: ") + days[day] + " Jan 9, 2003",
              date.toText().substr(0, 21));
  }
  date.setDayOfWeek(4);
  for (int month = 0; month < 12; ++month) {
    date.setMonth(month);
    EXPECT_EQ(std::string("Date: Thr ") + months[month] + " 9, 2003",
              date.toText().substr(0, 21));
  }
}

TEST(DateTest, StoresEveryFieldsLowestAndHighestValue) {
  // A value refused would end the test program.
  Date date(exampleTime());
  date.setSeconds(0);
  date.setSeconds(61);
  date.setMinutes(0);
  date.setMinutes(59);
  date.setHour(0);
  date.setHour(23);
  date.setDayOfMonth(1);
  date.setDayOfMonth(31);
  date.setMonth(0);
  date.setMonth(11);
  date.setDayOfWeek(0);
  date.setDayOfWeek(6);
  // The last day of a leap year.
  date.setDayOfYear(0);
  date.setDayOfYear(365);
  for (int year : {0, 1900, 150}) {
    date.setYear(year);
    EXPECT_EQ(year % 1900, date.year());
  }
  date.setYear(2050);
  EXPECT_EQ("Date: Sat Dec 31, 2050  Time: 23:59:61 pm", date.toText());
}

struct TimeCase {
  int hour;
  int minutes;
  double seconds;
  std::string text;
};

void PrintTo(const TimeCase& c, std::ostream* os) { *os << c.text; }

class DateTimeTest : public testing::TestWithParam<TimeCase> {};

TEST_P(DateTimeTest, RendersTheTimeOnTheTwentyFourHourClock) {
  Date date(exampleTime());
  date.setHour(GetParam().hour);
  date.setMinutes(GetParam().minutes);
  date.setSeconds(GetParam().seconds);
  const std::string text = date.toText();
  EXPECT_EQ("  Time: " + GetParam().text, text.substr(text.find("  Time: ")));
}

INSTANTIATE_TEST_SUITE_P(Times, DateTimeTest,
                         testing::Values(TimeCase{9, 5, 7, "09:05:07 am"},
                                         TimeCase{13, 0, 0, "13:00:00 pm"},
                                         TimeCase{0, 30, 0, "00:30:00 am"},
                                         TimeCase{11, 59, 59, "11:59:59 am"},
                                         TimeCase{12, 0, 0, "12:00:00 pm"},
                                         TimeCase{23, 59, 61, "23:59:61 pm"},
                                         TimeCase{8, 0, 4.4, "08:00:04 am"},
                                         TimeCase{8, 0, 4.6, "08:00:05 am"}),
                         ShortParamName());

TEST(DateTest, StoresYearsSince1900) {
  Date date(exampleTime());
  for (int year : {2003, 103}) {
    date.setYear(year);
    EXPECT_EQ(103, date.year());
  }
  date.setYear(1900);
  EXPECT_EQ(0, date.year());
  date.setYear(2050);
  EXPECT_EQ(150, date.year());
  EXPECT_EQ(", 2050  ", date.toText().substr(15, 8));
}

TEST(DateTest, StoresTheGivenFields) {
  const Date date(exampleTime());
  EXPECT_EQ(48, date.seconds());
  EXPECT_EQ(51, date.minutes());
  EXPECT_EQ(18, date.hour());
  EXPECT_EQ(9, date.dayOfMonth());
}

TEST(DateTest, TakesTheCurrentLocalTime) {
  const std::string before = Date(currentLocalTime()).toText();
  const std::string text = Date().toText();
  const std::string after = Date(currentLocalTime()).toText();
  EXPECT_TRUE(text == before || text == after) << text;
}

struct RangeCase {
  void (*store)(Date&);
  std::string name;
  std::string value;
};

void PrintTo(const RangeCase& c, std::ostream* os) {
  *os << c.name << " " << c.value;
}

class DateDeathTest : public testing::TestWithParam<RangeCase> {};

TEST_P(DateDeathTest, EndsTheRunOnAValueOutOfRange) {
  Date date(exampleTime());
  EXPECT_EXIT(
      GetParam().store(date), testing::ExitedWithCode(1),
      testing::StrEq("Error: Bad data value found for variable " +
                     GetParam().name + "\n       Value = " + GetParam().value +
                     "\n       Fix and run again\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, DateDeathTest,
    testing::Values(
        RangeCase{[](Date& d) { d.setSeconds(-1); }, "Date.seconds", "-1"},
        RangeCase{[](Date& d) { d.setSeconds(62); }, "Date.seconds", "62"},
        RangeCase{[](Date& d) { d.setSeconds(61.5); }, "Date.seconds", "61.5"},
        RangeCase{[](Date& d) { d.setSeconds(NAN); }, "Date.seconds", "nan"},
        RangeCase{[](Date& d) { d.setMinutes(-1); }, "Date.minutes", "-1"},
        RangeCase{[](Date& d) { d.setMinutes(60); }, "Date.minutes", "60"},
        RangeCase{[](Date& d) { d.setHour(-1); }, "Date.hour", "-1"},
        RangeCase{[](Date& d) { d.setHour(24); }, "Date.hour", "24"},
        RangeCase{[](Date& d) { d.setDayOfMonth(0); }, "Date.day-of-month",
                  "0"},
        RangeCase{[](Date& d) { d.setDayOfMonth(32); }, "Date.day-of-month",
                  "32"},
        RangeCase{[](Date& d) { d.setMonth(-1); }, "Date.month", "-1"},
        RangeCase{[](Date& d) { d.setMonth(12); }, "Date.month", "12"},
        RangeCase{[](Date& d) { d.setYear(-1); }, "Date.year", "1899"},
        // 1899 is taken as years since 1900 already.
        RangeCase{[](Date& d) { d.setYear(1899); }, "Date.year", "3799"},
        RangeCase{[](Date& d) { d.setYear(151); }, "Date.year", "2051"},
        RangeCase{[](Date& d) { d.setYear(2051); }, "Date.year", "2051"},
        RangeCase{[](Date& d) { d.setDayOfWeek(-1); }, "Date.day-of-week",
                  "-1"},
        RangeCase{[](Date& d) { d.setDayOfWeek(7); }, "Date.day-of-week", "7"},
        RangeCase{[](Date& d) { d.setDayOfYear(-1); }, "Date.day-of-year",
                  "-1"},
        RangeCase{[](Date& d) { d.setDayOfYear(366); }, "Date.day-of-year",
                  "366"}),
    ShortParamName());

TEST(DateDeathTest, ConstructionChecksTheSecondsFirst) {
  std::tm time = exampleTime();
  time.tm_sec = 62;
  time.tm_hour = 24;
  EXPECT_EXIT(Date{time}, testing::ExitedWithCode(1),
              testing::HasSubstr("Date.seconds\n       Value = 62\n"));
}

TEST(DataOutOfRangeExceptionDeathTest, PrintsValuesInDefaultNotation) {
  EXPECT_EXIT(DataOutOfRangeException("x", 1234567.0),
              testing::ExitedWithCode(1),
              testing::HasSubstr("Value = 1.23457e+06\n"));
  EXPECT_EXIT(DataOutOfRangeException("x", 1234567), testing::ExitedWithCode(1),
              testing::HasSubstr("Value = 1234567\n"));
}

}  // namespace
