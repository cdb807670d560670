#include "report/tag_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace {

// The contract spelled out one byte at a time.
const char* referenceSearch(const char* begin, const char* end, size_t column) {
  for (const char* p = begin; p + 1 + column + 1 < end; ++p) {
    if (*p == '\n' && (p[1 + column] == 'D' || p[1 + column] == 'V') &&
        p[2 + column] == (p[1 + column] == 'D' ? 'I' : 'E')) {
      return p + 1;
    }
  }
  return nullptr;
}

// Requires the build's search to find what the reference finds from every
// line start of `text` on.
void expectSameAsReference(const std::string& text, size_t column) {
  const char* begin = text.data();
  const char* end = begin + text.size();
  for (const char* p = begin; p != nullptr && p < end;) {
    const char* expected = referenceSearch(p, end, column);
    ASSERT_EQ(expected, findNextTagLine(p, end, column))
        << "from " << (p - begin) << " column " << column;
    // The counting search finds the same, and counts the line ends before
    // what it found, or before the limit.
    const char* passed = expected ? expected : newlineLimit(p, end, column);
    Count line_ends = 1;
    ASSERT_EQ(expected, findNextTagLineCounting(p, end, column, &line_ends));
    ASSERT_EQ(1 + static_cast<Count>(std::count(p, std::max(p, passed), '\n')),
              line_ends)
        << "from " << (p - begin) << " column " << column;
    p = expected;
  }
}

TEST(TagSearchTest, FindsLineStartsWithATagStartAtTheColumn) {
  const std::string text = "xxDI\nxxDI\nABCVE\nxxVE\nxxDX\n";
  const char* begin = text.data();
  const char* end = begin + text.size();
  // The byte at `begin` is not after a line end: never a candidate.
  EXPECT_EQ(begin + 5, findNextTagLine(begin, end, 2));
  EXPECT_EQ(begin + 16, findNextTagLine(begin + 6, end, 2));
  EXPECT_EQ(begin + 10, findNextTagLine(begin, end, 3));
  EXPECT_EQ(nullptr, findNextTagLine(begin + 17, end, 2));
}

TEST(TagSearchTest, NeverTestsBytesAtOrPastTheEnd) {
  const std::string text = "ab\nxDI";
  const char* begin = text.data();
  // Both bytes of the second line's tag start are in the range.
  EXPECT_EQ(begin + 3, findNextTagLine(begin, begin + 6, 1));
  // Its second byte lies past the end.
  EXPECT_EQ(nullptr, findNextTagLine(begin, begin + 5, 1));
}

// Inputs a vector step could get wrong: a tag line on either side of each
// 64-byte step and at the very end, lines shorter than the tag column, CR
// LF ends, and no final line end.
TEST(TagSearchTest, AgreesWithTheReferenceOnEdgeInputs) {
  const size_t kColumn = 9;
  const std::string tag = std::string(kColumn, ' ') + "DISTANCE=";
  for (size_t filler = 0; filler < 140; ++filler) {
    SCOPED_TRACE(filler);
    const std::string lead(filler, 'x');
    expectSameAsReference(lead + "\n" + tag + "\n", kColumn);
    expectSameAsReference(lead + "\n" + tag, kColumn);
    expectSameAsReference(lead + "\nVE\n\n" + tag.substr(0, kColumn + 1),
                          kColumn);
    expectSameAsReference(lead + "\r\n" + tag + "\r\n" + lead + "\r\n" + tag,
                          kColumn);
    expectSameAsReference(lead + "\n\n\n" + std::string(kColumn, 'x') + "VE",
                          kColumn);
  }
}

TEST(TagSearchTest, AgreesWithTheReferenceOnRandomInputs) {
  // Line ends, tag letters, and bytes a vector compare could mistake for a
  // line end (its neighbours, with the high bit set, NUL).
  const char kBytes[] = "\n\nDIVExD V\n\r\t\v\x8a\xff\x00";
  std::mt19937 random(8);
  std::uniform_int_distribution<size_t> pick(0, sizeof kBytes - 2);
  std::uniform_int_distribution<size_t> length(0, 300);
  for (int round = 0; round < 20000; ++round) {
    std::string text(length(random), 'x');
    for (char& c : text) c = random() % 3 == 0 ? kBytes[pick(random)] : 'x';
    expectSameAsReference(text, random() % 12);
    if (HasFatalFailure()) return;
  }
}

}  // namespace
