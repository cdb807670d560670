#ifndef ZEPTOR_TESTING_TEST_PARAM_NAME_H_
#define ZEPTOR_TESTING_TEST_PARAM_NAME_H_

// For tests only: short names for parameterised test cases.

#include <gtest/gtest.h>

#include <cctype>
#include <string>

// A name generator for INSTANTIATE_TEST_SUITE_P: the case's printed value
// with every run of other characters than letters and digits made one '_',
// at most 32 characters, and the case's index, which keeps names unique.
struct ShortParamName {
  template <typename Param>
  std::string operator()(const testing::TestParamInfo<Param>& info) const {
    std::string name;
    for (char c : testing::PrintToString(info.param)) {
      if (name.size() >= 32) break;
      if (std::isalnum(static_cast<unsigned char>(c))) {
        name += c;
      } else if (!name.empty() && name.back() != '_') {
        name += '_';
      }
    }
    if (!name.empty() && name.back() != '_') name += '_';
    return name + std::to_string(info.index);
  }
};

#endif  // ZEPTOR_TESTING_TEST_PARAM_NAME_H_
