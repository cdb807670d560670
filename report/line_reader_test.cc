#include "report/line_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "report/tag_search.h"

namespace {

// Small, so that short texts cross block edges.
constexpr size_t kBlock = 64;

using Lines = std::vector<std::string>;

Lines readAll(const std::string& text, size_t block_size = kBlock) {
  std::istringstream input(text);
  LineReader reader(input, block_size);
  Lines lines;
  Line line;
  while (reader.next(&line)) lines.emplace_back(line.text);
  return lines;
}

TEST(LineReaderTest, SplitsLinesAndStripsOneCarriageReturn) {
  for (size_t block_size : {kBlock, LineReader::kDefaultBlockSize}) {
    EXPECT_EQ(Lines{}, readAll("", block_size));
    EXPECT_EQ(Lines{""}, readAll("\n", block_size));
    EXPECT_EQ((Lines{"a", "", "b"}), readAll("a\n\nb\n", block_size));
    EXPECT_EQ((Lines{"a", "b"}), readAll("a\r\nb", block_size));
    EXPECT_EQ((Lines{"a\r", "\rb", "c"}),
              readAll("a\r\r\n\rb\nc\r", block_size));
    EXPECT_EQ((Lines{std::string("a\0b", 3)}),
              readAll(std::string("a\0b", 3), block_size));
  }
}

// A last line without a line end, for every way it can meet the end of a
// block; its bytes differ so that a shifted copy would show.
TEST(LineReaderTest, KeepsALastLineWithoutLineEndWhole) {
  for (size_t size : {kBlock - 7, kBlock - 6, kBlock - 5, kBlock + 1}) {
    std::string last;
    for (size_t i = 0; i < size; ++i) last += static_cast<char>('a' + i % 23);
    const Lines lines = readAll("first\n" + last);
    ASSERT_EQ(2u, lines.size()) << size;
    EXPECT_EQ(last.substr(0, kBlock), lines[1]) << size;
  }
}

TEST(LineReaderTest, TruncatesALongLineAndSkipsOrAppendsItsRest) {
  const std::string head(kBlock, 'h');
  const std::string rest(kBlock * 2 + 17, 'r');
  const std::string text = "x\n" + head + rest + "\nnext\n";
  for (bool append : {false, true}) {
    std::istringstream input(text);
    LineReader reader(input, kBlock);
    Line line;
    ASSERT_TRUE(reader.next(&line));
    ASSERT_TRUE(reader.next(&line));
    EXPECT_TRUE(line.truncated);
    EXPECT_EQ(head, line.text);
    if (append) {
      std::string out;
      reader.appendRest(&out);
      EXPECT_EQ(rest, out);
    }
    ASSERT_TRUE(reader.next(&line));
    EXPECT_EQ("next", line.text);
    EXPECT_FALSE(line.truncated);
    EXPECT_FALSE(reader.next(&line));
  }
}

// Random text with lines of every length, some longer than a block.
std::string randomText(std::mt19937& random) {
  std::string text;
  std::uniform_int_distribution<int> kind(0, 99);
  while (text.size() < 40 * kBlock) {
    const int k = kind(random);
    const size_t length =
        k < 3 ? kBlock + random() % 100 : random() % (k < 50 ? 12 : 90);
    for (size_t i = 0; i < length; ++i) {
      text += "DIVExE\r"[random() % 7];
    }
    text += '\n';
  }
  return text;
}

bool startsTagAt(std::string_view line, size_t column) {
  return line.size() >= column + kTagStartWidth && startsTag(&line[column]);
}

// Skipping to tag lines must keep every line that starts a tag at the
// column; any other line it returns is too short to hold one.
TEST(LineReaderTest, SkippingKeepsEveryPickedLine) {
  std::mt19937 random(1043);
  for (int round = 0; round < 40; ++round) {
    const std::string text = randomText(random);
    for (size_t column : {size_t{0}, size_t{8}, size_t{9}}) {
      Lines expected;
      for (const std::string& line : readAll(text, text.size())) {
        if (startsTagAt(line, column)) expected.push_back(line.substr(0, 60));
      }
      std::istringstream input(text);
      LineReader reader(input, kBlock);
      Lines kept;
      Line line;
      for (;;) {
        skipToTagLine(&reader, column);
        if (!reader.next(&line)) break;
        if (startsTagAt(line.text, column)) {
          kept.emplace_back(line.text.substr(0, 60));
        } else {
          EXPECT_LT(line.text.size(), column + kTagStartWidth);
        }
      }
      EXPECT_EQ(expected, kept) << "round " << round;
    }
  }
}

}  // namespace
