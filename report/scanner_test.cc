#include "report/scanner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iomanip>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "testing/test_param_name.h"

namespace {

// Builders of print-file lines for a file with offset control `offset`.
std::string placed(size_t offset, size_t column, const std::string& text,
                   std::string line = "") {
  if (line.size() < offset + column) line.resize(offset + column, ' ');
  return line.replace(offset + column, text.size(), text);
}

std::string magicLine(size_t offset) {
  return placed(offset, 0, "PROGRAM OMBRIX") + std::string(8, ' ') +
         "HEIGHT ADJUSTMENT";
}

std::string versionLine(size_t offset, const std::string& version) {
  return placed(offset, 57, "VERSION") + std::string(2 - offset, ' ') + version;
}

std::string spacingLine(size_t offset, const std::string& metres) {
  const std::string value = std::string(12 - metres.size(), ' ') + metres;
  return placed(offset, 22, value, placed(offset, 8, "DISTANCE=")) + "  M";
}

std::string errorLine(size_t offset, const std::string& error) {
  return placed(offset, 56, error, placed(offset, 8, "VERT.ANG.= 90 01 02.3"));
}

std::string file(const std::initializer_list<std::string>& lines) {
  std::string text = "1   ADJUSTMENT PRINT FILE\n";
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// Blocks that short texts cross, with lines longer than a block.
constexpr size_t kSmallBlock = 2 * Scanner::kHeadSize;

// Every pair a scan hands on, each as one line of text.
class PairList : public PairSink {
 public:
  void take(const CountedPair& pair) override {
    std::ostringstream text;
    text << std::setprecision(17) << pair.distance_line << " "
         << pair.error_line << " " << pair.distance_m << " "
         << pair.standard_error_m << " " << pair.accuracy_mm << " "
         << pair.ratio << " " << pair.counted.order_class << " "
         << pair.counted.spacing_bin;
    pairs.push_back(text.str());
  }

  std::vector<std::string> pairs;
};

// Scans `text` fed in blocks of `block_size` bytes, the last one shorter,
// handing its pairs to `pairs` when there is one.
ScanResult scan(const std::string& text,
                size_t block_size = std::numeric_limits<size_t>::max(),
                PairList* pairs = nullptr) {
  Scanner scanner(pairs);
  for (size_t start = 0; start < text.size(); start += block_size) {
    scanner.feed(std::string_view(text).substr(start, block_size));
  }
  return scanner.finish();
}

// Returns the only class counted in `outcome`, checking it was counted once
// and in `bin`.
size_t onlyClass(const ScanResult& outcome, size_t bin) {
  size_t found = kOrderClassCount;
  for (size_t c = 0; c < kOrderClassCount; ++c) {
    if (outcome.counts.total[c] == 0) continue;
    EXPECT_EQ(kOrderClassCount, found) << "more than one class counted";
    EXPECT_EQ(1u, outcome.counts.total[c]);
    EXPECT_EQ(1u, outcome.counts.by_spacing[bin][c]);
    found = c;
  }
  return found;
}

Count totalPairs(const AccuracyCounts& counts) {
  Count sum = 0;
  for (Count c : counts.total) sum += c;
  return sum;
}

struct PairCase {
  std::string metres;
  std::string error;
  size_t order_class;
  size_t bin;
};

void PrintTo(const PairCase& c, std::ostream* os) {
  *os << c.metres << " m, " << c.error;
}

class ScannerPairTest : public testing::TestWithParam<PairCase> {};

// Each pair is scanned in files of both offsets and in both orders.
TEST_P(ScannerPairTest, ClassifiesThePair) {
  const PairCase& c = GetParam();
  for (size_t offset : {size_t{0}, size_t{1}}) {
    SCOPED_TRACE(offset);
    const std::string distance = spacingLine(offset, c.metres);
    const std::string error = errorLine(offset, c.error);
    EXPECT_EQ(
        c.order_class,
        onlyClass(scan(file({magicLine(offset), distance, error})), c.bin));
    EXPECT_EQ(
        c.order_class,
        onlyClass(scan(file({magicLine(offset), error, distance})), c.bin));
  }
}

INSTANTIATE_TEST_SUITE_P(
    ClassBounds, ScannerPairTest,
    testing::Values(
        // Ratios exactly at each bound land in the higher class; the first
        // pair of each is just below. The products must be rounded in the
        // written order: error x 1960 in one step lands every one of these
        // bound pairs a class too low.
        PairCase{"129231.425", "0.0029", 0, 2},
        PairCase{"129231.424", "0.0029", 1, 2},
        PairCase{"54139982.5", "0.0831", 1, 3},
        PairCase{"54139982.4", "0.0831", 2, 3},
        PairCase{"32307.857", "0.0029", 2, 1},
        PairCase{"32307.856", "0.0029", 3, 1},
        PairCase{"63928065.7", "0.1677", 3, 3},
        PairCase{"63928065.6", "0.1677", 4, 3},
        PairCase{"8076.965", "0.0029", 4, 0},
        PairCase{"8076.964", "0.0029", 5, 0},
        PairCase{"6492.305", "0.0039", 5, 0},
        PairCase{"6492.304", "0.0039", 6, 0},
        PairCase{"1623.077", "0.0039", 6, 0},
        PairCase{"1623.076", "0.0039", 7, 0},
        PairCase{"53734.76417", "0.0561", 7, 1},
        PairCase{"53734.76416", "0.0561", 8, 1},
        PairCase{"13433.69105", "0.0561", 8, 0},
        PairCase{"13433.69104", "0.0561", 9, 0},
        PairCase{"3358.42277", "0.0561", 9, 0},
        PairCase{"3358.42276", "0.0561", 10, 0}),
    ShortParamName());

INSTANTIATE_TEST_SUITE_P(SpacingBounds, ScannerPairTest,
                         testing::Values(PairCase{"24999.99999", "0.0", 0, 0},
                                         PairCase{"25000", "0.0", 0, 1},
                                         PairCase{"99999.99999", "0.0", 0, 1},
                                         PairCase{"100000", "0.0", 0, 2},
                                         PairCase{"249999.9999", "0.0", 0, 2},
                                         PairCase{"250000", "0.0", 0, 3}),
                         ShortParamName());

INSTANTIATE_TEST_SUITE_P(
    OddValues, ScannerPairTest,
    testing::Values(
        // A zero spacing: +infinity ("low"), or 0/0, not a number ("11 ").
        PairCase{"0", "0.01", 10, 0}, PairCase{"0", "0", 0, 0},
        // A negative spacing has no root: not a number.
        PairCase{"-1000", "0.01", 0, 0},
        // Out-of-range magnitudes read as infinity.
        PairCase{"1e999", "0.01", 0, 3}, PairCase{"1000", "9e999", 10, 0},
        PairCase{"1e999", "9e999", 0, 3},
        // Fields that are no number read as 0; inf and nan are not numbers.
        PairCase{"abc", "0.01", 10, 0}, PairCase{"inf", "nan", 0, 0},
        PairCase{"0x1F4000", "0.0027", 10, 0},
        PairCase{"1.e3junk", "1.5e", 10, 0}),
    ShortParamName());

TEST(ScannerTest, PairsInOrderOfArrival) {
  // Two spacings then one error: one pair, with the second spacing.
  EXPECT_EQ(4u, onlyClass(scan(file({magicLine(1), spacingLine(1, "1"),
                                     spacingLine(1, "13372609.6"),
                                     errorLine(1, "0.0767")})),
                          3));
  // An error before any spacing waits for one; the pair is counted once,
  // and a later error alone is not counted.
  const ScanResult outcome =
      scan(file({magicLine(1), errorLine(1, "0.0027"), "   other line",
                 spacingLine(1, "7.77924"), errorLine(1, "0.0027")}));
  EXPECT_EQ(10u, onlyClass(outcome, 0));
}

TEST(ScannerTest, DeterminesTheOffsetFromTheMagicLine) {
  // Offset 0 columns read in an offset-1 file would miss both tags.
  const std::string pair0 =
      spacingLine(0, "49000") + "\n" + errorLine(0, "0.0025");
  EXPECT_EQ(1u, totalPairs(scan(file({magicLine(0), pair0})).counts));
  EXPECT_EQ(0u, totalPairs(scan(file({magicLine(1), pair0})).counts));
  // Later magic lines change nothing, and trailing text is trimmed away.
  EXPECT_EQ(
      1u,
      totalPairs(
          scan(file({"PROGRAM OMBRIX     \t", magicLine(1), pair0})).counts));
  // The magic counts within the first 20 columns only.
  const std::string pair1 =
      spacingLine(1, "49000") + "\n" + errorLine(1, "0.0025");
  EXPECT_EQ(1u, totalPairs(scan(file({"      PROGRAM OMBRIX", pair1})).counts));
  EXPECT_EQ(0u,
            totalPairs(scan(file({"       PROGRAM OMBRIX", pair1})).counts));
}

TEST(ScannerTest, AllowsLinesOfUpTo65CharactersBeforeTheMagicLine) {
  const ScanResult outcome =
      scan(file({std::string(65, 'x'), magicLine(1), spacingLine(1, "49000"),
                 errorLine(1, "0.0025")}));
  EXPECT_EQ(2u, onlyClass(outcome, 1));
}

TEST(ScannerTest, IgnoresTheFirstLineAndTagsBeforeTheOffset) {
  // The magic on the first line is never seen; short tagged lines before
  // the magic line are skipped.
  const ScanResult outcome =
      scan(magicLine(0) + "\n" + spacingLine(0, "49000") + "\n" +
           errorLine(0, "0.0025").substr(0, 50) + "\n" + magicLine(0) + "\n" +
           errorLine(0, "0.0025") + "\n");
  EXPECT_EQ(0u, totalPairs(outcome.counts));
  EXPECT_EQ(0u, outcome.blank_versions);
  EXPECT_EQ("", outcome.version);
}

struct LengthCase {
  std::string line;
  bool counted;
};

void PrintTo(const LengthCase& c, std::ostream* os) {
  *os << c.line.size() << " characters";
}

class ScannerLengthTest : public testing::TestWithParam<LengthCase> {};

// The tested line completes a pair with a spacing or an error read before.
TEST_P(ScannerLengthTest, TestsTagsOnlyOnLongEnoughLines) {
  const std::string& line = GetParam().line;
  const std::string partner = line.find("DISTANCE=") != std::string::npos
                                  ? errorLine(0, "0.0027")
                                  : spacingLine(0, "7.77924");
  EXPECT_EQ(GetParam().counted ? 1u : 0u,
            totalPairs(scan(file({magicLine(0), partner, line})).counts))
      << "\"" << line << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Thresholds, ScannerLengthTest,
    testing::Values(
        // 17 characters: not tested for DISTANCE=, 18 are.
        LengthCase{"        DISTANCE=", false},
        LengthCase{"        DISTANCE=X", false},  // ends before its value
        LengthCase{"        DISTANCE=             5", true},
        LengthCase{"        DISTANCE=      5", true},
        LengthCase{"        DISTANCE=     5", true},
        LengthCase{"        DISTANCE=     ", false},
        // 18 characters: not tested for VERT.ANG.=; 57 reach the value.
        LengthCase{"        VERT.ANG.=", false},
        LengthCase{std::string("        VERT.ANG.=") + std::string(38, ' '),
                   false},
        LengthCase{
            std::string("        VERT.ANG.=") + std::string(38, ' ') + "0",
            true},
        LengthCase{"        DISTANCE =      5", false},
        LengthCase{"        distance=      5", false}),
    ShortParamName());

TEST(ScannerTest, RecordsTheFirstNonEmptyVersion) {
  const ScanResult outcome = scan(
      file({magicLine(1), versionLine(1, "   \t  "), std::string(65, 'x'),
            versionLine(1, "  8.1 (2002-11-30)  \r"), versionLine(1, "9.9")}));
  EXPECT_EQ(1u, outcome.blank_versions);
  EXPECT_EQ("8.1 (2002-11-30)", outcome.version);
  // The version text starts at column 66 whatever the offset.
  EXPECT_EQ(
      "X",
      scan(file({magicLine(0), placed(0, 57, "VERSION") + "  X"})).version);
}

TEST(ScannerTest, TakesAVersionLineFrom66Characters) {
  // 65 characters: no version line; 66, the shortest: a blank one; 67: a
  // version of one character.
  const std::string tag = placed(0, 57, "VERSION");
  for (size_t length : {size_t{65}, size_t{66}, size_t{67}}) {
    std::string line = tag + std::string(length - tag.size(), ' ');
    if (length == 67) line.back() = 'X';
    const ScanResult outcome = scan(file({magicLine(0), line}));
    EXPECT_EQ(length == 66 ? 1u : 0u, outcome.blank_versions) << length;
    EXPECT_EQ(length == 67 ? "X" : "", outcome.version) << length;
  }
}

TEST(ScannerTest, TreatsCrLfLinesAndAMissingFinalNewlineLikeLf) {
  const std::string lf = file({magicLine(1), versionLine(1, "8.1"),
                               spacingLine(1, "17"), errorLine(1, "0.0")});
  std::string crlf;
  for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  for (const std::string& text : {lf, crlf, crlf.substr(0, crlf.size() - 2),
                                  crlf.substr(0, crlf.size() - 1)}) {
    const ScanResult outcome = scan(text);
    EXPECT_EQ("8.1", outcome.version);
    EXPECT_EQ(0u, onlyClass(outcome, 0));
  }
}

TEST(ScannerTest, ReadsLinesLongerThanTheBlock) {
  const std::string filler(kSmallBlock * 2, 'z');
  const std::string long_version = "7.0" + filler + "!";
  const ScanResult outcome =
      scan(file({magicLine(1), spacingLine(1, "49000") + filler,
                 versionLine(1, long_version + "  "), filler,
                 errorLine(1, "0.0025") + filler}),
           kSmallBlock);
  EXPECT_EQ(long_version, outcome.version);
  EXPECT_EQ(2u, onlyClass(outcome, 1));
}

TEST(ScannerTest, ReadsTagsOfALongVersionLineBeforeItsRest) {
  // One line longer than the block: a standard error of 0 read from
  // "0VERSI", and the version from column 66 to its end.
  const std::string filler(kSmallBlock, 'z');
  const ScanResult outcome = scan(
      file({magicLine(1),
            placed(1, 56, "0VERSION 8.1" + filler, placed(1, 8, "VERT.ANG.=")),
            spacingLine(1, "1000")}),
      kSmallBlock);
  EXPECT_EQ("8.1" + filler, outcome.version);
  EXPECT_EQ(0u, onlyClass(outcome, 0));
}

TEST(ScannerTest, CountsManyPairsAcrossBlocks) {
  std::string text = file({magicLine(1), versionLine(1, "8.1")});
  // The spacing line runs on with what would be a tag line 64 bytes on,
  // past the columns its rules read: no line of its own.
  std::string spacing = spacingLine(1, "3111.696");
  spacing.resize(64, ' ');
  const std::string pair = spacing + errorLine(1, "9.9999") + "\n" +
                           "  some other line of the print file\n" +
                           errorLine(1, "0.0027") + "\r\n\n";
  for (int i = 0; i < 20000; ++i) text += pair;
  const ScanResult outcome = scan(text);
  EXPECT_EQ(ScanOutcome::kComplete, outcome.outcome);
  EXPECT_EQ(20000u, outcome.counts.total[6]);
  EXPECT_EQ(20000u, totalPairs(outcome.counts));
}

struct FatalCase {
  std::string text;
  ScanOutcome outcome;
};

void PrintTo(const FatalCase& c, std::ostream* os) {
  *os << "outcome " << static_cast<int>(c.outcome);
}

class ScannerFatalTest : public testing::TestWithParam<FatalCase> {};

TEST_P(ScannerFatalTest, StopsWhenTheOffsetIsUnknown) {
  const FatalCase& c = GetParam();
  // Nothing after the fatal line is counted.
  const std::string pair =
      spacingLine(1, "49000") + "\n" + errorLine(1, "0.0025") + "\n";
  const ScanResult result = scan(c.text + magicLine(1) + "\n" + pair);
  EXPECT_EQ(c.outcome, result.outcome);
  EXPECT_EQ(0u, totalPairs(result.counts));
}

INSTANTIATE_TEST_SUITE_P(
    Offsets, ScannerFatalTest,
    testing::Values(
        FatalCase{file({"\tPROGRAM OMBRIX"}), ScanOutcome::kOffsetMagic},
        FatalCase{file({"\rPROGRAM OMBRIX"}), ScanOutcome::kOffsetMagic},
        FatalCase{file({"short", std::string(66, 'x')}),
                  ScanOutcome::kOffsetMissing},
        // The magic on the first line does not count.
        FatalCase{magicLine(1) + "\n" + std::string(17, 'x') + "\n" +
                      versionLine(1, "8.1") + "\n",
                  ScanOutcome::kOffsetMissing}),
    ShortParamName());

// Texts whose lines meet block edges in every way: CR LF ends cut between
// CR and LF, lines longer than a head, a version line longer than a block,
// blank versions, lines too short to reach the tag column, a last line
// without its end, and each fatal outcome.
std::string richFile() {
  const std::string filler(3 * Scanner::kHeadSize, 'z');
  std::string text = "1 TITLE LINE " + filler + "\n" + magicLine(0) + "\r\n";
  text +=
      versionLine(0, " \t ") + "\r\n" + versionLine(0, "8.1" + filler) + "\n";
  for (const char* metres : {"49000", "1", "250000", "abc", "24999.9"}) {
    text += spacingLine(0, metres) + filler + "\r\n" + "x\n\n\r\n" +
            std::string(Scanner::kHeadSize, 'y') + "\n" +
            errorLine(0, "0.0027") + "\r\n";
  }
  return text + spacingLine(0, "7.7") + "\n" + errorLine(0, "0.1");
}

void expectSameScan(const ScanResult& expected, const ScanResult& actual) {
  EXPECT_EQ(expected.outcome, actual.outcome);
  EXPECT_EQ(expected.version, actual.version);
  EXPECT_EQ(expected.blank_versions, actual.blank_versions);
  EXPECT_EQ(expected.counts.total, actual.counts.total);
  EXPECT_EQ(expected.counts.by_spacing, actual.counts.by_spacing);
}

TEST(ScannerTest, HandsOnEachPairWithTheNumbersOfItsLines) {
  // Line 2 carries the magic, 3 the version; lines after it are skipped
  // unseen up to a tag, long ones (8) and CR LF ones (9) included.
  const std::string text = "1 TITLE\n" + magicLine(1) + "\r\n" +
                           versionLine(1, "8.1") + "\n" + spacingLine(1, "1") +
                           "\n" + "   other\n" + spacingLine(1, "30000") +
                           "\n" + errorLine(1, "0.0010") + "\n" +
                           std::string(3 * Scanner::kHeadSize, 'w') + "\n" +
                           "\r\n" + errorLine(1, "0.0027") + "\r\n\n\n" +
                           spacingLine(1, "0") + "\n" + errorLine(1, "abc");
  // The second pair's error comes first, and a last error stays alone.
  const std::vector<std::string> expected = {
      "6 7 30000 0.001 1.96 0.35784540423670852 0 1",
      "13 10 0 0.0027000000000000001 5.2919999999999998 inf 10 0"};
  for (size_t block : {size_t{1}, size_t{5}, kSmallBlock, text.size()}) {
    PairList pairs;
    const ScanResult result = scan(text, block, &pairs);
    EXPECT_EQ(expected, pairs.pairs) << "blocks of " << block;
    EXPECT_EQ(2u, totalPairs(result.counts));
  }
  // The last line, without its end, as the pair's error.
  PairList pairs;
  scan("1\n" + magicLine(1) + "\n" + spacingLine(1, "0") + "\n" +
           errorLine(1, "0"),
       kSmallBlock, &pairs);
  ASSERT_EQ(1u, pairs.pairs.size());
  EXPECT_EQ(0u, pairs.pairs[0].find("3 4 0 0 0 "));
}

TEST(ScannerTest, AnySplitIntoBlocksGivesTheSameResult) {
  const std::string filler(100, 'w');
  const std::string texts[] = {
      richFile(),
      file({magicLine(1), versionLine(1, "  "), spacingLine(1, "1000"),
            errorLine(1, "0.0025") + filler, versionLine(1, "9" + filler)}),
      file({"short", std::string(66, 'x')}),
      file({"\tPROGRAM OMBRIX" + filler}),
  };
  std::mt19937 random(20261209);
  for (const std::string& text : texts) {
    PairList whole_pairs;
    const ScanResult whole =
        scan(text, std::numeric_limits<size_t>::max(), &whole_pairs);
    expectSameScan(whole, scan(text, 1));
    for (size_t longest :
         {size_t{2}, size_t{3}, size_t{7}, size_t{70}, size_t{300}}) {
      for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(testing::Message() << "blocks up to " << longest);
        PairList pairs;
        Scanner scanner(&pairs);
        for (size_t start = 0; start < text.size();) {
          const size_t size =
              std::uniform_int_distribution<size_t>(1, longest)(random);
          scanner.feed(std::string_view(text).substr(start, size));
          start += size;
        }
        expectSameScan(whole, scanner.finish());
        EXPECT_EQ(whole_pairs.pairs, pairs.pairs);
      }
    }
  }
  EXPECT_EQ("8.1" + std::string(3 * Scanner::kHeadSize, 'z'),
            scan(texts[0]).version);
  EXPECT_EQ(6u, totalPairs(scan(texts[0]).counts));
}

TEST(ScannerTest, BlocksAfterTheScanStoppedChangeNothing) {
  Scanner scanner;
  scanner.feed(file({"\tPROGRAM OMBRIX"}));
  EXPECT_TRUE(scanner.stopped());
  scanner.feed(file({magicLine(1), spacingLine(1, "1"), errorLine(1, "0")}));
  const ScanResult result = scanner.finish();
  EXPECT_EQ(ScanOutcome::kOffsetMagic, result.outcome);
  EXPECT_EQ(0u, totalPairs(result.counts));
  EXPECT_EQ(ScanOutcome::kComplete, Scanner().finish().outcome);
}

}  // namespace
