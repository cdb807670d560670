#include "web/worst_pairs.h"

#include <utility>

namespace {

constexpr IsWorse isWorse;

}  // namespace

WorstPairSelector::WorstPairSelector(size_t limit) : limit_(limit) {
  candidates_.reserve(limit_ + limit_ / 4 + 1);
}

void WorstPairSelector::take(const CountedPair& pair) {
  if (best_kept_ && !isWorse(pair, *best_kept_)) return;
  candidates_.push_back(pair);
  if (candidates_.size() == candidates_.capacity()) keepTheWorst();
}

void WorstPairSelector::keepTheWorst() {
  if (candidates_.size() <= limit_) return;
  if (limit_ == 0) {
    candidates_.clear();
    return;
  }
  const auto best =
      candidates_.begin() + static_cast<std::ptrdiff_t>(limit_ - 1);
  std::nth_element(candidates_.begin(), best, candidates_.end(), isWorse);
  best_kept_ = *best;
  candidates_.resize(limit_);
}

std::vector<CountedPair> WorstPairSelector::takeRanked() {
  keepTheWorst();
  std::sort(candidates_.begin(), candidates_.end(), isWorse);
  return std::move(candidates_);
}
