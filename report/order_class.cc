#include "report/order_class.h"

// With ascending bounds, the first row whose bound a value is below is the
// number of bounds it is at or above. Counting them needs no branch, which
// matters for ratios in random order; a value that compares with nothing
// (not a number) is at or above none, so it stays in the first row.

size_t orderClassOf(double ratio) {
  size_t row = 0;
  for (size_t i = 0; i < kLowClass; ++i) {
    row += ratio >= kOrderClasses[i].ratio_below;
  }
  return row;
}

size_t spacingBinOf(double spacing_km) {
  size_t bin = 0;
  for (double bound : kSpacingBinBelowKm) bin += spacing_km >= bound;
  return bin;
}

Classification AccuracyCounts::add(double ratio, double spacing_km) {
  const Classification where = {orderClassOf(ratio), spacingBinOf(spacing_km)};
  ++total[where.order_class];
  ++by_spacing[where.spacing_bin][where.order_class];
  return where;
}
