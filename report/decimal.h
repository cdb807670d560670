#ifndef ZEPTOR_REPORT_DECIMAL_H_
#define ZEPTOR_REPORT_DECIMAL_H_

#include <string_view>

// Returns the value of the decimal number at the start of `field`, as the C
// library's strtod() gives it in the C locale, but for decimal text only:
// leading white space is skipped, then an optional sign, digits with an
// optional point, and an exponent only when digits follow the e/E. Reading
// stops at the first byte that cannot continue the number; without a number
// the value is 0. Hexadecimal forms and the words inf/nan are not read, and a
// magnitude out of range becomes infinity (or zero) as with strtod().
double readDecimal(std::string_view field);

#endif  // ZEPTOR_REPORT_DECIMAL_H_
