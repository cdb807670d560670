#include "report/tag_search.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

TEST(TagSearchTest, FindsLineStartsWithATagStartAtTheColumn) {
  const std::string text = "xxDI\nxxDI\nABCVE\nxxVE\nxxDX\n";
  const char* begin = text.data();
  const char* end = begin + text.size();
  // The byte at `begin` is not after a line end: never a candidate.
  EXPECT_EQ(begin + 5, findTagCandidate(begin, end, 2));
  EXPECT_EQ(begin + 16, findTagCandidate(begin + 6, end, 2));
  EXPECT_EQ(begin + 10, findTagCandidate(begin, end, 3));
  EXPECT_EQ(nullptr, findTagCandidate(begin + 17, end, 2));
}

TEST(TagSearchTest, NeverTestsBytesAtOrPastTheEnd) {
  const std::string text = "ab\nxDI";
  const char* begin = text.data();
  // Both bytes of the second line's tag start are in the range.
  EXPECT_EQ(begin + 3, findTagCandidate(begin, begin + 6, 1));
  // Its second byte lies past the end.
  EXPECT_EQ(nullptr, findTagCandidate(begin, begin + 5, 1));
}

class TagSearchPathTest : public testing::TestWithParam<SearchPath> {};

// Every path must find exactly what the portable one finds, at every
// alignment and near both ends of the range.
TEST_P(TagSearchPathTest, AgreesWithThePortablePath) {
  const TagCandidateSearch search = tagCandidateSearch(GetParam());
  const TagCandidateSearch portable = tagCandidateSearch(SearchPath::kPortable);
  // Line ends, tag letters, and bytes a word-wise test could mistake for a
  // line end (its neighbours, with the high bit set, NUL).
  const char kBytes[] = "\n\nDIVExD V\n\t\v\x8a\xff\x00";
  std::mt19937 random(8);
  std::uniform_int_distribution<size_t> pick(0, sizeof kBytes - 2);
  std::uniform_int_distribution<size_t> length(0, 200);
  for (int round = 0; round < 20000; ++round) {
    std::string text(length(random), 'x');
    for (char& c : text) c = random() % 3 == 0 ? kBytes[pick(random)] : 'x';
    const size_t column = random() % 12;
    const char* begin = text.data();
    const char* end = begin + text.size();
    for (const char* p = begin; p != nullptr && p < end; ++p) {
      const char* expected = portable(p, end, column);
      ASSERT_EQ(expected, search(p, end, column))
          << "round " << round << " column " << column;
      p = expected;
      if (p == nullptr) break;
    }
  }
}

// Every path this build and CPU can run.
INSTANTIATE_TEST_SUITE_P(Paths, TagSearchPathTest,
                         testing::ValuesIn(availableSearchPaths()),
                         [](const testing::TestParamInfo<SearchPath>& param) {
                           return std::string(searchPathName(param.param));
                         });

TEST(TagSearchTest, OffersThePathsOfTheCpu) {
  std::vector<std::string> names;
  for (SearchPath path : availableSearchPaths()) {
    names.push_back(searchPathName(path));
  }
  ASSERT_GE(names.size(), 2u);
  EXPECT_EQ("portable", names[0]);
  EXPECT_EQ("words", names[1]);
#if defined(__x86_64__)
  EXPECT_EQ("sse2", names[2]);
#elif defined(__aarch64__)
  EXPECT_EQ("neon", names[2]);
#endif
}

}  // namespace
