#ifndef ZEPTOR_REPORT_DECIMAL_FIELD_H_
#define ZEPTOR_REPORT_DECIMAL_FIELD_H_

#include <cstddef>

// The bytes a field's reading may look at: the field and those before it,
// kDecimalFieldReach in all.
constexpr size_t kDecimalFieldReach = 16;

// Returns readDecimal() of the `width` bytes at `field`, 1 to 15 of them; the
// kDecimalFieldReach bytes that end where the field does must be readable.
// Defined once per CPU. On x86-64 the common form of a print file's fields
// (blanks, then digits with at most one point, to the field's end) is read
// without a branch a byte: its value is its digits as one integer over an
// exact power of ten, a single IEEE division, as strtod gives it; any other
// field goes to readDecimal(), as every field does elsewhere.
double readDecimalField(const char* field, size_t width);

#endif  // ZEPTOR_REPORT_DECIMAL_FIELD_H_
