#ifndef ZEPTOR_PAIR_CSV_SHORTEST_NUMBER_H_
#define ZEPTOR_PAIR_CSV_SHORTEST_NUMBER_H_

#include <cstddef>

// The longest text appendShortest() writes: a sign, 17 digits, a point and
// an exponent, or up to 21 characters of fixed notation.
constexpr size_t kShortestNumberMax = 32;

// Writes `value` at `out` as the fewest significant digits that read back
// to the same double, and returns the end of what it wrote. With e the
// decimal exponent of the first digit, -4 <= e < 16 is written in fixed
// notation without trailing zeros or a trailing point (0.0008,
// 186.20000000000002), any other as the digits, "e", a sign and at least
// two exponent digits (2.5e-05, 1e+16). Every not-a-number is "nan",
// whatever its sign; infinities are "inf" and "-inf"; -0 is "-0". `out`
// must have room for kShortestNumberMax bytes.
char* appendShortest(double value, char* out);

#endif  // ZEPTOR_PAIR_CSV_SHORTEST_NUMBER_H_
