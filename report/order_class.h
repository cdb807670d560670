#ifndef ZEPTOR_REPORT_ORDER_CLASS_H_
#define ZEPTOR_REPORT_ORDER_CLASS_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// One row of the order-class table: the report label and the exclusive
// upper bound of the accuracy ratio.
struct OrderClass {
  const char* label;
  double ratio_below;
};

constexpr size_t kOrderClassCount = 11;
constexpr size_t kLowClass = kOrderClassCount - 1;

// Ascending bounds; the last class, "low", has none (60 and above).
constexpr std::array<OrderClass, kOrderClassCount> kOrderClasses = {{
    {"11 ", 0.5},
    {"12 ", 0.7},
    {"21 ", 1.0},
    {"22 ", 1.3},
    {"31 ", 2},
    {"32 ", 3},
    {"41 ", 6},
    {"42 ", 15},
    {"51 ", 30},
    {"52 ", 60},
    {"low", 0},
}};

// Station spacing ranges in km: < 25, 25 to < 100, 100 to < 250, >= 250.
constexpr size_t kSpacingBinCount = 4;
constexpr std::array<double, kSpacingBinCount - 1> kSpacingBinBelowKm = {
    25, 100, 250};

// Returns the label of class `order_class` without the report's padding:
// "11" to "52", "low".
constexpr std::string_view classCode(size_t order_class) {
  const std::string_view label = kOrderClasses[order_class].label;
  return label.substr(0, label.find(' '));
}

// Returns the class of an accuracy ratio: the first row whose bound the ratio
// is below. A ratio equal to a bound belongs to the higher class; a ratio
// that is not a number stops at the first test, in class 0.
size_t orderClassOf(double ratio);

// Returns the spacing bin of a spacing in km; a bound belongs to the higher
// bin, and a spacing that is not a number to the first.
size_t spacingBinOf(double spacing_km);

using Count = std::uint64_t;

// Where one observation pair is counted.
struct Classification {
  size_t order_class;
  size_t spacing_bin;
};

// The counts per order class, in total and per spacing bin.
struct AccuracyCounts {
  std::array<Count, kOrderClassCount> total{};
  std::array<std::array<Count, kOrderClassCount>, kSpacingBinCount>
      by_spacing{};

  // Counts one observation pair; returns where.
  Classification add(double ratio, double spacing_km);
};

#endif  // ZEPTOR_REPORT_ORDER_CLASS_H_
