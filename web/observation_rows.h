#ifndef ZEPTOR_WEB_OBSERVATION_ROWS_H_
#define ZEPTOR_WEB_OBSERVATION_ROWS_H_

#include <cstdint>
#include <string>
#include <vector>

#include "report/scanner.h"

// The page's observations of a run, as zeptor-pairs writes them: the CSV
// header, then the row of every pair in file order, and what the page
// needs to cut a listing out of them without reading the rows.
struct ObservationRows {
  std::string csv;
  // Where each row starts in `csv`; it ends where the next starts, the
  // last at the end.
  std::vector<std::uint32_t> row_starts;
  std::vector<std::uint8_t> row_classes;   // each row's order class
  std::vector<std::uint32_t> worst_first;  // the rows, worst first
};

// The rows of `ranked`, pairs worst first as WorstPairSelector ranks them.
ObservationRows observationRows(const std::vector<CountedPair>& ranked);

#endif  // ZEPTOR_WEB_OBSERVATION_ROWS_H_
