#ifndef ZEPTOR_REPORT_DECIMAL_TEXT_H_
#define ZEPTOR_REPORT_DECIMAL_TEXT_H_

// Returns the correctly rounded value of the decimal number [first, last)
// (digits with an optional point and exponent, no sign), as the C
// library's strtod() gives it in the C locale. A magnitude beyond the
// doubles' range is infinity when `huge`, else zero. Defined by the
// conversion the build's C++ library has.
double parseDecimalText(const char* first, const char* last, bool huge);

#endif  // ZEPTOR_REPORT_DECIMAL_TEXT_H_
