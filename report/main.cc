// zeptor: the ellipsoid-height order-class accuracy distribution of an
// OMBRIX print file, written to standard output and to an output file.

#include <csignal>
#include <fstream>
#include <iostream>
#include <sstream>

#include "report/fatal.h"
#include "report/order_class.h"
#include "report/report_tables.h"
#include "report/run_files.h"
#include "report/run_setup.h"
#include "report/scanner.h"
#include "report/version.h"
#include "support/date.h"

[[gnu::used]] static const char kModuleId[] =
    "@(#)zeptor\t" ZEPTOR_VERSION "\t" ZEPTOR_DATE " QXT";

int main(int argc, char** argv) {
  // A closed standard output must not end the run before the output file
  // has the report; the failed write is reported instead.
  std::signal(SIGPIPE, SIG_IGN);
  std::ostringstream report;

  writeBanner(std::cout);
  const RunParameters params = getParameters(argc, argv, std::cin, std::cout);
  std::ifstream input;
  openInput(params.input_name, &input);
  std::ofstream output;
  openOutput(params.output_name, params.input_name, &output);

  writeIdentification(Date(), params, report);
  AccuracyCounts counts;
  if (!Scan(input, report, &counts)) failReadingInput(params.input_name);
  input.close();
  writeTables(counts, report);
  deliverReport(report.str(), params.output_name, &output);

  std::cout << std::endl << "Normal end of program zeptor" << std::endl;
  checkStandardOutput();
  return kExitNormal;
}
