#include "report/report.h"

#include <iomanip>
#include <sstream>

#include "report/run_exit.h"

namespace {

void writeIdentification(const RunParameters& params, const Date& run_time,
                         std::ostream& report) {
  report << "System run time:     " << run_time << std::endl;
  report << "Input filename:      " << params.input_name << std::endl;
  report << "Output filename:     " << params.output_name << std::endl;
  if (!params.accession.empty()) {
    report << "Accession number:    " << params.accession << std::endl;
  }
}

void writeVersionLines(const ScanResult& scan, std::ostream& report) {
  for (size_t line = 0; line < scan.blank_versions; ++line) {
    report << "Ombrix version:      " << std::endl;
  }
  if (!scan.version.empty()) {
    report << "Ombrix version:      " << scan.version << std::endl;
  }
}

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

void writeReport(const RunParameters& params, const Date& run_time,
                 const ScanResult& scan, std::ostream& report) {
  writeIdentification(params, run_time, report);
  writeVersionLines(scan, report);
  writeClassTable(scan.counts, report);
  writeSpacingTable(scan.counts, report);
}

std::string reportText(const RunParameters& params, const Date& run_time,
                       const ScanResult& scan) {
  std::ostringstream report;
  writeReport(params, run_time, scan, report);
  // A stream drops what it cannot allocate room for and goes bad; such a
  // report is incomplete.
  if (!report) failOutOfMemory();
  return report.str();
}
