#include "report/report.h"

#include <gtest/gtest.h>

#include <ctime>
#include <sstream>
#include <string>

namespace {

const Date& thursday() {
  static const Date date = [] {
    std::tm time{};
    time.tm_mday = 9;
    time.tm_year = 103;
    time.tm_wday = 4;
    return Date(time);
  }();
  return date;
}

std::string report(const ScanResult& scan,
                   const RunParameters& params = {"in", "out", ""}) {
  std::ostringstream text;
  writeReport(params, thursday(), scan, text);
  return text.str();
}

// The line of the report that starts with `label`, the last one if several
// do (the second table's row of a class).
std::string lineStarting(const std::string& text, const std::string& label) {
  std::istringstream lines(text);
  std::string last;
  for (std::string line; std::getline(lines, line);) {
    if (line.compare(0, label.size(), label) == 0) last = line;
  }
  return last;
}

TEST(ReportTest, StartsWithTheIdentificationAndVersionLines) {
  ScanResult scan;
  scan.blank_versions = 2;
  scan.version = "8.1";
  const std::string expected =
      "System run time:     Date: Thr Jan 9, 2003  Time: 00:00:00 am\n"
      "Input filename:      in\n"
      "Output filename:     out\n"
      "Accession number:    J1\n"
      "Ombrix version:      \n"
      "Ombrix version:      \n"
      "Ombrix version:      8.1\n"
      "\n"
      " Distribution of Ellipsoid Height Accuracies\n";
  EXPECT_EQ(expected,
            report(scan, {"in", "out", "J1"}).substr(0, expected.size()));
  // No accession number, no version: no such lines.
  const std::string plain = report(ScanResult{});
  EXPECT_EQ(std::string::npos, plain.find("Accession"));
  EXPECT_EQ(std::string::npos, plain.find("Ombrix"));
}

TEST(ReportTest, EndsEachCountUnderItsHeading) {
  ScanResult scan;
  scan.counts.total[0] = 3;
  scan.counts.by_spacing = {{{1}, {22}, {333}, {4444}}};
  const std::string text = report(scan);
  // The total ends in column 20, counted from 1.
  EXPECT_NE(std::string::npos, text.find("\n   11              3\n"));
  // Columns 13, 24, 39 and 49.
  EXPECT_EQ("   11       1         22            333      4444",
            lineStarting(text, "   11 "));
}

TEST(ReportTest, WidensARowForCountsOverFourDigits) {
  ScanResult scan;
  scan.counts.by_spacing[0][10] = 123456;
  scan.counts.by_spacing[3][10] = 7;
  EXPECT_EQ("   low   123456          0              0         7",
            lineStarting(report(scan), "   low"));
}

}  // namespace
