#ifndef ZEPTOR_SUPPORT_DATA_OUT_OF_RANGE_EXCEPTION_H_
#define ZEPTOR_SUPPORT_DATA_OUT_OF_RANGE_EXCEPTION_H_

#include <string>
#include <variant>

// Reports a value outside the range its variable allows. Constructing one
// writes the report to the error stream and ends the process with status 1:
// it is never thrown or caught, and no code after the construction runs.
class DataOutOfRangeException {
 public:
  DataOutOfRangeException(const std::string& name, int value);
  DataOutOfRangeException(const std::string& name, double value);

 private:
  [[noreturn]] void reportAndExit() const;

  std::string name_;
  std::variant<int, double> value_;
};

#endif  // ZEPTOR_SUPPORT_DATA_OUT_OF_RANGE_EXCEPTION_H_
