#include "support/data_out_of_range_exception.h"

#include <cstdlib>
#include <iostream>

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
  std::cerr << "Error: Bad data value found for variable " << name_
            << std::endl;
  // The stream's default notation: an integer plainly, a double with at
  // most six significant digits (62.0 prints as 62).
  std::cerr << "       Value = ";
  std::visit([](auto value) { std::cerr << value; }, value_);
  std::cerr << std::endl << "       Fix and run again" << std::endl;
  std::exit(1);
}
