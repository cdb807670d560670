#ifndef ZEPTOR_REPORT_WORST_PAIRS_H_
#define ZEPTOR_REPORT_WORST_PAIRS_H_

#include <cstddef>
#include <vector>

#include "report/scanner.h"

// The pairs of a scan with the highest ratios, at most `limit` of them,
// whatever the file's size: the page shows and lists those. A ratio that is
// no number ranks below every other, as its class is the best; equal ratios
// rank in file order. Every pair worse than a class is kept whenever there
// are no more than `limit` of them, as they rank above all the others.
class WorstPairs : public PairSink {
 public:
  // Takes the room for `limit` pairs at once: growing to it would need
  // half as much again while the pairs move.
  explicit WorstPairs(size_t limit) : limit_(limit) { kept_.reserve(limit); }

  void take(const CountedPair& pair) override;

  // The pairs kept, in file order. Requires no take() after it.
  const std::vector<CountedPair>& inFileOrder();

 private:
  const size_t limit_;
  // A heap whose front ranks lowest: the first to go for a higher one.
  std::vector<CountedPair> kept_;
};

#endif  // ZEPTOR_REPORT_WORST_PAIRS_H_
