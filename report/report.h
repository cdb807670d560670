#ifndef ZEPTOR_REPORT_REPORT_H_
#define ZEPTOR_REPORT_REPORT_H_

#include <ostream>
#include <string>

#include "report/run_parameters.h"
#include "report/scanner.h"
#include "support/date.h"

// Writes the whole report of a run, every line in order: the run's
// identification (its time, the file names, the accession number when one
// was given), the version lines, and the two tables of `scan`'s counts, each
// with a row for every order class: the number of accuracies per class, and
// the same split by station spacing.
void writeReport(const RunParameters& params, const Date& run_time,
                 const ScanResult& scan, std::ostream& report);

// Returns the whole report as writeReport() writes it. Memory running out
// ends the run.
std::string reportText(const RunParameters& params, const Date& run_time,
                       const ScanResult& scan);

#endif  // ZEPTOR_REPORT_REPORT_H_
