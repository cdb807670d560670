// The fields of CPUs without a vector reading of their own here: byte by
// byte.

#include <string_view>

#include "report/decimal.h"
#include "report/decimal_field.h"

double readDecimalField(const char* field, size_t width) {
  return readDecimal(std::string_view(field, width));
}
