#ifndef ZEPTOR_PAIRS_PAIR_LISTING_H_
#define ZEPTOR_PAIRS_PAIR_LISTING_H_

#include <cstddef>
#include <optional>
#include <vector>

#include "report/scanner.h"

// zeptor-pairs's listing: the CSV header, then a row for every pair it
// takes whose class is worse than `worse_than` (every pair when there is
// none), on standard output. Rows are held and written whole, many at a
// time, so that output cut short by an error ends with a whole row; a
// failed write ends the run.
class PairListing : public PairSink {
 public:
  explicit PairListing(std::optional<size_t> worse_than);

  void take(const CountedPair& pair) override;

  // Writes what is held.
  void finish() { flush(); }

 private:
  void flush();

  const size_t first_listed_;  // the best class listed
  std::vector<char> buffer_;
  size_t held_ = 0;
};

#endif  // ZEPTOR_PAIRS_PAIR_LISTING_H_
