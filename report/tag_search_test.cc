#include "report/tag_search.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

TEST(TagSearchTest, FindsLineStartsWithATagLetterAtTheColumn) {
  const std::string text = "xxD\nxxD\nABCDE\nxxV\n";
  const char* begin = text.data();
  const char* end = begin + text.size();
  // The byte at `begin` is not after a line end: never a candidate.
  EXPECT_EQ(begin + 4, findTagCandidate(begin, end, 2));
  EXPECT_EQ(begin + 14, findTagCandidate(begin + 5, end, 2));
  EXPECT_EQ(begin + 8, findTagCandidate(begin, end, 3));
  EXPECT_EQ(nullptr, findTagCandidate(begin, end, 5));
}

TEST(TagSearchTest, NeverTestsBytesAtOrPastTheEnd) {
  const std::string text = "ab\nxD";
  // The byte at column 1 of the second line is the last one: tested.
  EXPECT_EQ(text.data() + 3,
            findTagCandidate(text.data(), text.data() + text.size(), 1));
  // Column 2 lies past the end: that line start is not a candidate.
  EXPECT_EQ(nullptr,
            findTagCandidate(text.data(), text.data() + text.size(), 2));
}

// The vector path must find exactly what the portable one finds, at every
// alignment and near both ends of the range.
TEST(TagSearchTest, VectorAndPortablePathsAgree) {
  const char kBytes[] = "\n\nDVxD V\n";
  std::mt19937 random(8);
  std::uniform_int_distribution<size_t> pick(0, sizeof kBytes - 2);
  std::uniform_int_distribution<size_t> length(0, 200);
  for (int round = 0; round < 20000; ++round) {
    std::string text(length(random), 'x');
    for (char& c : text) c = random() % 4 == 0 ? kBytes[pick(random)] : 'x';
    const size_t column = random() % 12;
    const char* begin = text.data();
    const char* end = begin + text.size();
    for (const char* p = begin; p != nullptr && p < end; ++p) {
      const char* expected = findTagCandidatePortable(p, end, column);
      ASSERT_EQ(expected, findTagCandidate(p, end, column))
          << "round " << round << " column " << column;
      p = expected;
      if (p == nullptr) break;
    }
  }
}

}  // namespace
