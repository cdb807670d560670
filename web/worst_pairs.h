#ifndef ZEPTOR_WEB_WORST_PAIRS_H_
#define ZEPTOR_WEB_WORST_PAIRS_H_

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <vector>

#include "report/scanner.h"

// The line a pair was counted at, the later of its two: no line holds two
// tags, so it tells the pairs' order in the file.
inline Count countedAt(const CountedPair& pair) {
  return std::max(pair.distance_line, pair.error_line);
}

// Whether pair `a` is worse than pair `b`: its ratio is higher, or equal
// and earlier in the file. A ratio that is no number ranks below every
// other, as its class is the best. A type rather than a function, so that
// the selection inlines it.
struct IsWorse {
  bool operator()(const CountedPair& a, const CountedPair& b) const {
    const bool a_none = std::isnan(a.ratio);
    const bool b_none = std::isnan(b.ratio);
    if (a_none != b_none) return b_none;
    if (!a_none && a.ratio != b.ratio) return a.ratio > b.ratio;
    return countedAt(a) < countedAt(b);
  }
};

// Selects the worst pairs of a scan, at most `limit` of them, whatever the
// file's size: the page shows and lists those. Every pair worse than a
// class is selected whenever there are no more than `limit` of them, as
// they are worse than all the others.
class WorstPairSelector : public PairSink {
 public:
  // Takes its room at once: growing to it would need half as much again
  // while the pairs move.
  explicit WorstPairSelector(size_t limit);

  void take(const CountedPair& pair) override;

  // Hands over the selected pairs, worst first, and keeps none. Requires
  // no take() after it.
  std::vector<CountedPair> takeRanked();

 private:
  // Keeps the `limit_` worst candidates.
  void keepTheWorst();

  const size_t limit_;
  // The pairs that may be among the worst, up to a quarter more than
  // limit_ between selections: each pair then costs a few steps however
  // the ratios run, where a heap would cost a walk through it.
  std::vector<CountedPair> candidates_;
  // The best that the last selection kept; a pair no worse than it will
  // never be among the worst.
  std::optional<CountedPair> best_kept_;
};

#endif  // ZEPTOR_WEB_WORST_PAIRS_H_
