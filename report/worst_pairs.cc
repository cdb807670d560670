#include "report/worst_pairs.h"

#include <algorithm>
#include <cmath>

namespace {

// Pairs are counted at the later of their two lines, and no line holds two
// tags: that line tells their order.
Count countedAt(const CountedPair& pair) {
  return std::max(pair.distance_line, pair.error_line);
}

bool ranksAbove(const CountedPair& a, const CountedPair& b) {
  const bool a_none = std::isnan(a.ratio);
  const bool b_none = std::isnan(b.ratio);
  if (a_none != b_none) return b_none;
  if (!a_none && a.ratio != b.ratio) return a.ratio > b.ratio;
  return countedAt(a) < countedAt(b);
}

}  // namespace

void WorstPairs::take(const CountedPair& pair) {
  if (kept_.size() < limit_) {
    kept_.push_back(pair);
    std::push_heap(kept_.begin(), kept_.end(), ranksAbove);
  } else if (limit_ > 0 && ranksAbove(pair, kept_.front())) {
    std::pop_heap(kept_.begin(), kept_.end(), ranksAbove);
    kept_.back() = pair;
    std::push_heap(kept_.begin(), kept_.end(), ranksAbove);
  }
}

const std::vector<CountedPair>& WorstPairs::inFileOrder() {
  std::sort(kept_.begin(), kept_.end(),
            [](const CountedPair& a, const CountedPair& b) {
              return countedAt(a) < countedAt(b);
            });
  return kept_;
}
