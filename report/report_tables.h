#ifndef ZEPTOR_REPORT_REPORT_TABLES_H_
#define ZEPTOR_REPORT_REPORT_TABLES_H_

#include <ostream>

#include "report/order_class.h"

// Appends the two tables, each with a row for every order class: the
// number of accuracies per class, and the same split by station spacing.
void writeTables(const AccuracyCounts& counts, std::ostream& report);

#endif  // ZEPTOR_REPORT_REPORT_TABLES_H_
