// End-to-end tests of the built zeptor-pairs: its whole standard output,
// error output and exit status. The binary is the one built beside these
// tests, or the one named by ZEPTOR_PAIRS_BINARY, started through the
// command in ZEPTOR_EMULATOR (qemu, or wine for a Windows build).

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "testing/program_test.h"
#include "testing/test_param_name.h"

namespace {

const Target& target() {
  static const Target the_target =
      findTarget("ZEPTOR_PAIRS_BINARY", ZEPTOR_PAIRS_BINARY, ZEPTOR_EMULATOR);
  return the_target;
}

const char kHeader[] =
    "distance_line,error_line,distance_m,standard_error_m,accuracy_mm,ratio,"
    "class,spacing_range\r\n";

const char kUsage[] =
    "Usage: zeptor-pairs INPUT [CLASS]\n"
    "  Lists every observation pair that zeptor counts in the OMBRIX\n"
    "  print file INPUT, as CSV on standard output, in the order\n"
    "  counted: the numbers of its DISTANCE= and VERT.ANG.= lines, the\n"
    "  two values, the accuracy in mm at 95%, the ratio, the order\n"
    "  class and the spacing range.\n"
    "  With CLASS, only the pairs whose class is worse than CLASS.\n"
    "  CLASS is one of 11 12 21 22 31 32 41 42 51 52.\n";

const char kMagic[] = "1 TITLE\n PROGRAM OMBRIX\n";

// Tagged lines of a file with a carriage-control column.
std::string distance(const std::string& metres) {
  return "         DISTANCE=     " + std::string(12 - metres.size(), ' ') +
         metres + "  M\n";
}

std::string error(const std::string& metres) {
  return "         VERT.ANG.=" + std::string(38, ' ') + metres + "\n";
}

std::string withCrLf(const std::string& text) {
  std::string crlf;
  for (char c : text)
    crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return crlf;
}

class ZeptorPairsTest : public ProgramTest {
 protected:
  ZeptorPairsTest() : ProgramTest(target()) {}

  // Runs zeptor-pairs with `args`; its standard output as written, its
  // error output with lines ending in "\n".
  Outcome run(const std::vector<std::string>& args,
              Stdout out = Stdout::kFile) {
    Outcome outcome = runProgram(args, "", out);
    outcome.err = fromPlatformText(target(), outcome.err);
    return outcome;
  }

  void expectListing(const Outcome& outcome, const std::string& rows) {
    EXPECT_EQ(0, outcome.status);
    EXPECT_EQ("", outcome.err);
    EXPECT_EQ(kHeader + rows, outcome.out);
  }

  void expectFailure(const Outcome& outcome, int status,
                     const std::string& error) {
    EXPECT_EQ(status, outcome.status);
    EXPECT_EQ("", outcome.out);
    EXPECT_EQ(error, outcome.err);
  }
};

TEST_F(ZeptorPairsTest, ListsTheBundledExample) {
  writeFile(path("survey.prt"),
            readFile(ZEPTOR_SOURCE_DIR "/examples/survey.prt"));
  const std::string expected =
      readFile(ZEPTOR_SOURCE_DIR "/pairs/testdata/survey.csv");
  ASSERT_NE("", expected);
  const Outcome outcome = run({"survey.prt"});
  EXPECT_EQ(0, outcome.status);
  EXPECT_EQ("", outcome.err);
  EXPECT_EQ(expected, outcome.out);
}

struct ListingCase {
  std::string name;
  std::string print_file;
  std::string rows;
};

void PrintTo(const ListingCase& c, std::ostream* os) { *os << c.name; }

class ZeptorPairsListingTest : public ZeptorPairsTest,
                               public testing::WithParamInterface<ListingCase> {
};

TEST_P(ZeptorPairsListingTest, ListsEveryCountedPair) {
  writeFile(path("in.prt"), GetParam().print_file);
  expectListing(run({"in.prt"}), GetParam().rows);
}

const std::string kLongLine(300 * 1024, 'x');

INSTANTIATE_TEST_SUITE_P(
    PrintFiles, ZeptorPairsListingTest,
    testing::Values(
        ListingCase{"NoPairs", kMagic, ""},
        ListingCase{"CrLfLines",
                    withCrLf(kMagic + distance("30000") + error("0.0010") +
                             "\n" + distance("1000") + error("0.0005")),
                    "3,4,30000,0.001,1.96,0.3578454042367085,11,"
                    "25km-100km\r\n"
                    "6,7,1000,0.0005,0.98,0.98,21,<25km\r\n"},
        ListingCase{"LinesLongerThanAReadBlock",
                    kMagic + kLongLine + "\n" + distance("400000") + kLongLine +
                        "\n" + error("0.0100") + kLongLine,
                    "4,6,400000,0.01,19.599999999999998,0.9799999999999999,21,"
                    ">=250km\r\n"},
        ListingCase{"TagsBeforeTheMagicLine",
                    "1 TITLE\n" + distance("1000") + error("0.0005") +
                        " PROGRAM OMBRIX\n" + distance("250000") +
                        error("0.0100"),
                    "5,6,250000,0.01,19.599999999999998,1.2396128427860047,22,"
                    ">=250km\r\n"},
        // 0 / 0 is no number (class 11); a spacing of 0 km with an error
        // makes an infinite ratio.
        ListingCase{"NoNumberAndInfiniteRatios",
                    kMagic + distance("0") + error("0") + distance("0") +
                        error("0.0010"),
                    "3,4,0,0,0,nan,11,<25km\r\n"
                    "5,6,0,0.001,1.96,inf,low,<25km\r\n"},
        ListingCase{"ATaggedLineThatEndsBeforeItsValue",
                    kMagic + distance("1000") + "         VERT.ANG.=   12\n" +
                        error("0.0005"),
                    "3,5,1000,0.0005,0.98,0.98,21,<25km\r\n"},
        ListingCase{
            "TwoSpacingsBeforeOneError",
            kMagic + distance("1") + distance("100000") + error("0.0050"),
            "4,5,100000,0.005,9.799999999999999,0.9799999999999999,21,"
            "100km-250km\r\n"}),
    ShortParamName());

// One pair in each of the eleven classes, in order: at 1 km the ratio is
// the accuracy in mm.
std::string oneOfEachClass() {
  std::string text = kMagic;
  for (const char* error_m :
       {"0.0001", "0.0003", "0.0004", "0.0006", "0.0008", "0.0013", "0.0026",
        "0.0060", "0.0120", "0.0250", "0.0400"}) {
    text += distance("1000") + error(error_m);
  }
  return text;
}

TEST_F(ZeptorPairsTest, ListsOnlyThePairsWorseThanTheClassGiven) {
  writeFile(path("in.prt"), oneOfEachClass());
  const Outcome all = run({"in.prt"});
  ASSERT_EQ(0, all.status);
  std::vector<std::string> rows;
  for (size_t start = all.out.find("\r\n") + 2; start < all.out.size();) {
    const size_t end = all.out.find("\r\n", start) + 2;
    rows.push_back(all.out.substr(start, end - start));
    start = end;
  }
  ASSERT_EQ(11u, rows.size());
  const char* const classes[] = {"11", "12", "21", "22", "31",
                                 "32", "41", "42", "51", "52"};
  for (size_t c = 0; c < 10; ++c) {
    SCOPED_TRACE(classes[c]);
    EXPECT_THAT(rows[c],
                testing::HasSubstr(std::string(",") + classes[c] + ",<25km"));
    std::string worse;
    for (size_t w = c + 1; w < rows.size(); ++w) worse += rows[w];
    expectListing(run({"in.prt", classes[c]}), worse);
  }
  EXPECT_THAT(rows[10], testing::HasSubstr(",low,<25km"));
}

// ---------------------------------------------------------------------------
// Errors.

TEST_F(ZeptorPairsTest, HelpAloneGoesToStandardOutput) {
  for (const char* help : {"-h", "--help"}) {
    const Outcome outcome = run({help});
    EXPECT_EQ(0, outcome.status);
    EXPECT_EQ(kUsage, fromPlatformText(target(), outcome.out));
    EXPECT_EQ("", outcome.err);
  }
}

TEST_F(ZeptorPairsTest, AnyOtherArgumentCountIsAUsageError) {
  writeFile(path("in.prt"), kMagic);
  for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                               {"in.prt", "22", "extra"},
                                               {"-h", "--help", "x"}}) {
    expectFailure(run(args), 1, kUsage);
  }
}

TEST_F(ZeptorPairsTest, RefusesAWordThatIsNoClassBeforeOpeningTheInput) {
  for (const char* word : {"low", "13", "11 ", "", "1", "052"}) {
    expectFailure(run({"missing.prt", word}), 1,
                  std::string("Error: Not an order class:  ") + word +
                      "\n       Use one of 11 12 21 22 31 32 41 42 51 52\n");
  }
}

struct FailureCase {
  std::string name;
  std::string print_file;  // written as in.prt, unless empty
  std::string input;
  int status;
  std::string error;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class ZeptorPairsFailureTest : public ZeptorPairsTest,
                               public testing::WithParamInterface<FailureCase> {
};

TEST_P(ZeptorPairsFailureTest, EndsWithZeptorsErrorAndNoRow) {
  const FailureCase& c = GetParam();
  if (!c.print_file.empty()) writeFile(path("in.prt"), c.print_file);
  mkdir(path("dir.prt").c_str(), 0755);
  expectFailure(run({c.input}), c.status, c.error);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, ZeptorPairsFailureTest,
    testing::Values(
        FailureCase{"Missing", "", "missing.prt", 1,
                    "Error: Cannot find input file:  missing.prt\n"},
        FailureCase{"ADirectory", "", "dir.prt", 1,
                    "Error: Cannot find input file:  dir.prt\n"},
        // Reading a process's own memory at offset 0 fails.
        FailureCase{"Unreadable", "", "/proc/self/mem", 1,
                    "Error: Cannot read input file:  /proc/self/mem\n"},
        FailureCase{"MagicAfterATab", "title\n\tPROGRAM OMBRIX\n", "in.prt", 5,
                    "Error: Not able to determine offset control\n"
                    "       See programmer(5).  Program ends\n"},
        FailureCase{"LongLineBeforeTheMagic",
                    "title\n" + std::string(66, '-') + "\n", "in.prt", 7,
                    "Error: Not able to determine offset control\n"
                    "       See programmer(7).  Program ends\n"}),
    ShortParamName());

TEST_F(ZeptorPairsTest, AnUnwritableStandardOutputIsAnError) {
  writeFile(path("in.prt"), kMagic + distance("1000") + error("0.0005"));
  for (Stdout out : {Stdout::kDevFull, Stdout::kClosedPipe, Stdout::kClosed}) {
    const Outcome outcome = run({"in.prt"}, out);
    EXPECT_EQ(1, outcome.status);
    EXPECT_EQ("Error: Cannot write to standard output\n", outcome.err);
  }
}

TEST_F(ZeptorPairsTest, RefusesToWriteOverItsInput) {
  const std::string text = kMagic + distance("1000") + error("0.0005");
  stdout_file_ = "in.prt";
  writeFile(path("in.prt"), text);
  const Outcome outcome = run({"in.prt"}, Stdout::kAppendToFile);
  EXPECT_EQ(1, outcome.status);
  EXPECT_EQ(
      "Error: Input file is also standard output:  in.prt\n"
      "       Fix and run again\n",
      outcome.err);
  EXPECT_EQ(text, readFile(path("in.prt")));
  // A pipe is no clash.
  stdout_file_ = ".stdout";
  expectListing(run({"in.prt"}, Stdout::kPipe),
                "3,4,1000,0.0005,0.98,0.98,21,<25km\r\n");
}

TEST_F(ZeptorPairsTest, AHugeFileNeedsLittleMemory) {
  {
    // A 50 MB line, then 40,000 pairs: about 2 MB of rows.
    std::ofstream file(path("big.prt"), std::ios::binary);
    file << kMagic << std::string(50 << 20, 'x') << "\n";
    const std::string pair = distance("1000") + error("0.0005");
    for (int i = 0; i < 40000; ++i) file << pair;
  }
  const Outcome outcome = run({"big.prt"});
  EXPECT_EQ(0, outcome.status);
  EXPECT_EQ(kHeader, outcome.out.substr(0, sizeof kHeader - 1));
  EXPECT_EQ("80002,80003,1000,0.0005,0.98,0.98,21,<25km\r\n",
            outcome.out.substr(
                outcome.out.rfind("\r\n", outcome.out.size() - 3) + 2));
  if (measuresMemory(target())) {
    EXPECT_LT(outcome.peak_rss_kib, 16 * 1024);
  }
}

// ---------------------------------------------------------------------------
// One failing call at a time: every run ends as the table of its calls
// says, never with a listing cut short and status 0; the input never
// changes.

// What standard output holds after a run.
enum class Listing { kEmpty, kWhole, kWholeRows };

struct Ending {
  int status;
  std::string err;
  Listing listing;
};

TEST_F(ZeptorPairsTest, EachFailingCallEndsAsItMust) {
  if (!injectsFaults())
    GTEST_SKIP() << "preloading needs a native Linux binary";
  const std::string input = readFile(ZEPTOR_SOURCE_DIR "/examples/survey.prt");
  const std::string expected =
      readFile(ZEPTOR_SOURCE_DIR "/pairs/testdata/survey.csv");
  writeFile(path("survey.prt"), input);
  const std::map<std::string, long> calls = countCalls({"survey.prt"});
  EXPECT_EQ(0, calls.at("misaligned-read"));
  const std::string read_input = "Error: Cannot read input file:  survey.prt\n";
  const std::string standard_output =
      "Error: Cannot write to standard output\n";
  const Ending listing{0, "", Listing::kWhole};
  const CallEndings<Ending> table = {
      {"open",
       {{{1, "Error: Cannot find input file:  survey.prt\n",
          Listing::kEmpty}}}},
      // The input's identity, then standard output's.
      {"stat",
       {{{1, read_input, Listing::kEmpty}},
        {{1, standard_output, Listing::kEmpty}}}},
      {"*read", {{{1, read_input, Listing::kWholeRows}}}},
      {"write", {{{1, standard_output, Listing::kEmpty}}}},
      // The input's, once it is read.
      {"close", {{listing}}},
      {"*fflush", {{listing}}},
      {"*malloc",
       {{listing,
         {1,
          "Error: Not enough memory to finish the report\n"
          "       Check available memory.\n",
          Listing::kEmpty}}}},
  };
  const int runs = runWithEachCallFailing(
      {"survey.prt"}, calls,
      [&](const std::string& call, long k, const Outcome& outcome) {
        EXPECT_EQ(input, readFile(path("survey.prt")));
        const std::string& out = outcome.out;
        const auto matches = [&](const Ending& ending) {
          const bool listed = ending.listing == Listing::kEmpty ? out.empty()
                              : ending.listing == Listing::kWhole
                                  ? out == expected
                                  : expected.rfind(out, 0) == 0 &&
                                        (out.empty() || out.back() == '\n');
          return listed && ending.status == outcome.status &&
                 ending.err == outcome.err;
        };
        const std::vector<Ending> endings = endingsOf(table, call, k);
        EXPECT_TRUE(std::any_of(endings.begin(), endings.end(), matches))
            << "status " << outcome.status << ", error output:\n"
            << outcome.err << "standard output: " << out.size() << " bytes";
      });
  EXPECT_GT(runs, 20);
}

TEST_F(ZeptorPairsTest, AReadErrorKeepsTheWholeRowsWritten) {
  if (!injectsFaults())
    GTEST_SKIP() << "preloading needs a native Linux binary";
  std::string text = kMagic;
  for (int i = 0; i < 40000; ++i) text += distance("1000") + error("0.0005");
  writeFile(path("in.prt"), text);
  const Outcome whole = run({"in.prt"});
  ASSERT_EQ(0, whole.status);
  // The third read, a block in: rows of the first blocks have gone out.
  failCall("read", 3);
  const Outcome cut = run({"in.prt"});
  EXPECT_EQ(1, cut.status);
  EXPECT_EQ("Error: Cannot read input file:  in.prt\n", cut.err);
  EXPECT_GT(cut.out.size(), sizeof kHeader);
  EXPECT_LT(cut.out.size(), whole.out.size());
  EXPECT_EQ(whole.out.substr(0, cut.out.size()), cut.out);
  EXPECT_EQ("\r\n", cut.out.substr(cut.out.size() - 2));
}

// ---------------------------------------------------------------------------
// A console window that zeptor-pairs.exe owns alone waits for Enter, as
// zeptor.exe's does.

class ZeptorPairsConsoleTest : public ZeptorPairsTest,
                               public testing::WithParamInterface<ConsoleCase> {
};

TEST_P(ZeptorPairsConsoleTest, WaitsForEnterOnlyInAConsoleOfItsOwn) {
  if (!target().windows) GTEST_SKIP() << "Windows consoles only";
  const ConsoleCase& c = GetParam();
  writeFile(path("in.prt"), kMagic + distance("1000") + error("0.0005"));
  const ScreenOutcome listing = runInConsole(c, {"in.prt"});
  EXPECT_EQ(0, listing.status);
  EXPECT_EQ(c.waits, listing.prompted) << listing.screen;
  EXPECT_THAT(listing.screen, testing::HasSubstr("3,4,1000,0.0005"));
  const ScreenOutcome error = runInConsole(c, {"missing.prt"});
  EXPECT_EQ(1, error.status);
  EXPECT_THAT(error.screen,
              testing::HasSubstr("Error:Cannotfindinputfile:missing.prt"));
  EXPECT_EQ(c.waits, error.prompted) << error.screen;
}

INSTANTIATE_TEST_SUITE_P(Consoles, ZeptorPairsConsoleTest,
                         testing::ValuesIn(kConsoleCases), ShortParamName());

}  // namespace
