#ifndef ZEPTOR_REPORT_WORST_PAIRS_H_
#define ZEPTOR_REPORT_WORST_PAIRS_H_

#include <cstddef>
#include <optional>
#include <vector>

#include "report/scanner.h"

// The pairs of a scan with the highest ratios, at most `limit` of them,
// whatever the file's size: the page shows and lists those. A ratio that is
// no number ranks below every other, as its class is the best; equal ratios
// rank in file order. Every pair worse than a class is kept whenever there
// are no more than `limit` of them, as they rank above all the others.
class WorstPairs : public PairSink {
 public:
  // Takes its room at once: growing to it would need half as much again
  // while the pairs move.
  explicit WorstPairs(size_t limit);

  void take(const CountedPair& pair) override;

  // The pairs kept, in no particular order: whoever lists them sorts them
  // as it needs. Requires no take() after it.
  const std::vector<CountedPair>& highest();

 private:
  // Keeps the `limit_` pairs that rank highest.
  void keepTheHighest();

  const size_t limit_;
  // The pairs that may rank among the highest, up to a quarter more than
  // limit_ between selections: each pair then costs a few steps however
  // the ratios run, where a heap would cost a walk through it.
  std::vector<CountedPair> kept_;
  // The lowest that the last selection kept; one ranking no higher will
  // never be among the highest.
  std::optional<CountedPair> lowest_kept_;
};

#endif  // ZEPTOR_REPORT_WORST_PAIRS_H_
