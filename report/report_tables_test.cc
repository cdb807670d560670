#include "report/report_tables.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

std::string tableLine(const AccuracyCounts& counts, const std::string& label) {
  std::ostringstream report;
  writeTables(counts, report);
  std::istringstream lines(report.str());
  std::string line;
  std::string last;
  // The label's row in the second table.
  while (std::getline(lines, line)) {
    if (line.compare(0, label.size(), label) == 0) last = line;
  }
  return last;
}

TEST(ReportTablesTest, EndsEachSpacingCountUnderItsHeading) {
  AccuracyCounts counts;
  counts.by_spacing = {{{1}, {22}, {333}, {4444}}};
  // Columns 13, 24, 39 and 49, counted from 1.
  EXPECT_EQ("   11       1         22            333      4444",
            tableLine(counts, "   11 "));
}

TEST(ReportTablesTest, WidensARowForCountsOverFourDigits) {
  AccuracyCounts counts;
  counts.by_spacing[0][10] = 123456;
  counts.by_spacing[3][10] = 7;
  EXPECT_EQ("   low   123456          0              0         7",
            tableLine(counts, "   low"));
}

}  // namespace
