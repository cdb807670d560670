#include "report/command_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

TEST(CommandLineTest, TakesParametersFromTheCommandLine) {
  std::istringstream in("unused");
  std::ostringstream out;
  const RunParameters two_names =
      getParameters({"zeptor", "a.prt", "b.rpt"}, in, out).value();
  EXPECT_EQ("a.prt", two_names.input_name);
  EXPECT_EQ("b.rpt", two_names.output_name);
  EXPECT_EQ("", two_names.accession);
  const std::vector<std::string> four = {"zeptor", "a.prt", "b.rpt", "GPS1040"};
  EXPECT_EQ("GPS1040", getParameters(four, in, out).value().accession);
  for (size_t other : {0u, 2u, 5u, 6u}) {
    std::vector<std::string> words(other, "x");
    EXPECT_FALSE(getParameters(words, in, out).has_value()) << other;
  }
  EXPECT_EQ("", out.str());
}

TEST(CommandLineTest, ReadsOneWordPerPrompt) {
  std::istringstream in("my input.prt y JOB 7");
  std::ostringstream out;
  const RunParameters params = askParameters(in, out);
  EXPECT_EQ("my", params.input_name);
  EXPECT_EQ("input.prt", params.output_name);
  EXPECT_EQ("JOB", params.accession);
}

}  // namespace
