#include "support/data_out_of_range_exception.h"

#include <sstream>

#include "support/fatal_exit.h"

[[gnu::used]] static const char kModuleId[] =
    "@(#)DataOutOfRangeException\t1.2\t2003/01/08 QXT";

DataOutOfRangeException::DataOutOfRangeException(const std::string& name,
                                                 int value)
    : name_(name), value_(value) {
  reportAndExit();
}

DataOutOfRangeException::DataOutOfRangeException(const std::string& name,
                                                 double value)
    : name_(name), value_(value) {
  reportAndExit();
}

void DataOutOfRangeException::reportAndExit() const {
  // The stream's default notation: an integer plainly, a double with at
  // most six significant digits (62.0 prints as 62).
  std::ostringstream value;
  value << "Value = ";
  std::visit([&value](auto v) { value << v; }, value_);
  exitWithError(kExitFailure, "Bad data value found for variable " + name_,
                {value.str(), "Fix and run again"});
}
