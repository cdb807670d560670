#include "report/report_tables.h"

#include <iomanip>

namespace {

// A row starts with the class label right-aligned in 4 after 2 columns.
void writeLabel(const OrderClass& order_class, std::ostream& report) {
  report << std::setw(2) << " " << std::setw(4) << order_class.label;
}

void writeClassTable(const AccuracyCounts& counts, std::ostream& report) {
  report << std::endl
         << " Distribution of Ellipsoid Height Accuracies" << std::endl
         << std::endl
         << "             Number of" << std::endl
         << "   OC        Accuracies" << std::endl
         << "   --        ----------" << std::endl;
  for (size_t c = 0; c < kOrderClassCount; ++c) {
    writeLabel(kOrderClasses[c], report);
    report << std::setw(10) << " " << std::setw(4) << counts.total[c]
           << std::endl;
  }
}

void writeSpacingTable(const AccuracyCounts& counts, std::ostream& report) {
  report << std::endl
         << " Distribution of Accuracies by Station Spacing" << std::endl
         << std::endl
         << "   OC   <25km   25km - 100km  100km - 250km  >250km" << std::endl
         << "   --   -----   ------------  -------------  ------" << std::endl;
  // Blank columns before each bin's count, so that the counts end under
  // their headings.
  constexpr int kGapBefore[kSpacingBinCount] = {3, 7, 11, 6};
  for (size_t c = 0; c < kOrderClassCount; ++c) {
    writeLabel(kOrderClasses[c], report);
    for (size_t bin = 0; bin < kSpacingBinCount; ++bin) {
      report << std::setw(kGapBefore[bin]) << " " << std::setw(4)
             << counts.by_spacing[bin][c];
    }
    report << std::endl;
  }
}

}  // namespace

void writeTables(const AccuracyCounts& counts, std::ostream& report) {
  writeClassTable(counts, report);
  writeSpacingTable(counts, report);
}
