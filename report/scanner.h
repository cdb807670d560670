#ifndef ZEPTOR_REPORT_SCANNER_H_
#define ZEPTOR_REPORT_SCANNER_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "report/order_class.h"

// How a scan ended.
enum class ScanOutcome {
  kComplete,       // at the end of the input
  kOffsetMagic,    // the magic line starts with neither a blank nor "P"
  kOffsetMissing,  // a line longer than 65 came before the magic line
};

// What a scan found. Only a complete scan has the whole counts.
struct ScanResult {
  AccuracyCounts counts;
  // The version lines of the report, in order: `blank_versions` lines whose
  // text trimmed to nothing (each makes the scan look for another), then one
  // with `version` when it is not empty.
  size_t blank_versions = 0;
  std::string version;
  ScanOutcome outcome = ScanOutcome::kComplete;
};

// Scans a print file handed to it in blocks: finds its offset control and
// version, pairs every "DISTANCE=" spacing with the next "VERT.ANG.="
// standard error (in either order) and counts each pair's accuracy ratio.
// Stops at the first line that makes the offset control undeterminable.
//
// It does no I/O, and any split of the same bytes into blocks gives the same
// result. Lines are examined in place in the block that holds them; of a
// line that crosses into the next block only its head is kept, which holds
// every column the rules read, and of a version line its text.
class Scanner {
 public:
  // The bytes of a line's head: a longer line is examined by its head alone,
  // and only a version's text is read on to the line's end.
  static constexpr size_t kHeadSize = 68;

  Scanner() = default;
  Scanner(const Scanner&) = delete;
  Scanner& operator=(const Scanner&) = delete;

  // Scans `block`, the bytes that follow those of the blocks fed before.
  void feed(std::string_view block);

  // True once a line has ended the scan: later blocks change nothing.
  bool stopped() const { return result_.outcome != ScanOutcome::kComplete; }

  // Ends the scan at the end of the input, whose last line may lack its
  // "\n", and returns what it found. Requires no feed() after it.
  ScanResult finish();

 private:
  // What becomes of the bytes up to the "\n" of a line already examined.
  enum class Rest { kNone, kSkip, kVersion };

  // Each takes the unscanned bytes [p, end) of a block and returns where it
  // stopped.
  const char* scanLines(const char* p, const char* end);
  const char* continueHead(const char* p, const char* end);
  const char* consumeRest(const char* p, const char* end);
  const char* skipUntaggedLines(const char* p, const char* end);
  // Keeps the head of a line that the block ends inside.
  void carry(const char* p, const char* end);

  // Applies every rule to `text`: a whole line without its line end, or
  // (`whole` false) the head of a longer one. Inlined into the loop over a
  // block's lines.
  [[gnu::always_inline]] void examine(std::string_view text, bool whole);
  // Examines the head of a line longer than kHeadSize, whose rest follows.
  void examineHead(std::string_view head);
  // Returns false when the magic line makes the offset undeterminable.
  bool detectOffset(std::string_view text);
  void countPairOnceComplete();
  bool startsVersion(std::string_view text) const;
  void readVersion(std::string_view text, bool whole);
  void endVersion();

  ScanResult result_;
  std::optional<size_t> offset_;  // nothing until the magic line
  // The values read since the last pair was counted.
  std::optional<double> spacing_km_;
  std::optional<double> scaled_error_;
  Rest rest_ = Rest::kSkip;  // the first line is never examined
  // The head of a line begun in an earlier block; empty when none is.
  char head_[kHeadSize] = {};
  size_t head_size_ = 0;
};

#endif  // ZEPTOR_REPORT_SCANNER_H_
