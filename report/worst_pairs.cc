#include "report/worst_pairs.h"

#include <algorithm>
#include <cmath>

namespace {

// Pairs are counted at the later of their two lines, and no line holds two
// tags: that line tells their order in the file.
Count countedAt(const CountedPair& pair) {
  return std::max(pair.distance_line, pair.error_line);
}

// A type rather than a function, so that the selection inlines it.
struct RanksAbove {
  bool operator()(const CountedPair& a, const CountedPair& b) const {
    const bool a_none = std::isnan(a.ratio);
    const bool b_none = std::isnan(b.ratio);
    if (a_none != b_none) return b_none;
    if (!a_none && a.ratio != b.ratio) return a.ratio > b.ratio;
    return countedAt(a) < countedAt(b);
  }
};
constexpr RanksAbove ranksAbove;

}  // namespace

WorstPairs::WorstPairs(size_t limit) : limit_(limit) {
  kept_.reserve(limit_ + limit_ / 4 + 1);
}

void WorstPairs::take(const CountedPair& pair) {
  if (lowest_kept_ && !ranksAbove(pair, *lowest_kept_)) return;
  kept_.push_back(pair);
  if (kept_.size() == kept_.capacity()) keepTheHighest();
}

void WorstPairs::keepTheHighest() {
  if (kept_.size() <= limit_) return;
  if (limit_ == 0) {
    kept_.clear();
    return;
  }
  const auto lowest = kept_.begin() + static_cast<std::ptrdiff_t>(limit_ - 1);
  std::nth_element(kept_.begin(), lowest, kept_.end(), ranksAbove);
  lowest_kept_ = *lowest;
  kept_.resize(limit_);
}

const std::vector<CountedPair>& WorstPairs::highest() {
  keepTheHighest();
  return kept_;
}
