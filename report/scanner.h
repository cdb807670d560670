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

// The process exit statuses of a run whose scan ends in kOffsetMagic and
// kOffsetMissing: each tells a user which of the two it was.
constexpr int kExitOffsetMagic = 5;
constexpr int kExitOffsetMissing = 7;

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

// One observation pair as the scan counted it.
struct CountedPair {
  // The 1-based numbers of the lines whose values formed the pair; a line
  // ends at a "\n".
  Count distance_line;
  Count error_line;
  double distance_m;        // the "DISTANCE=" value as read
  double standard_error_m;  // the "VERT.ANG.=" value as read
  double accuracy_mm;       // the error scaled to 95% and to millimetres
  double ratio;             // the accuracy over the root of the spacing in km
  Classification counted;   // where the counts have it
};

// Takes every pair a scan counts, in the order counted.
class PairSink {
 public:
  virtual ~PairSink() = default;
  virtual void take(const CountedPair& pair) = 0;
};

// Scans a print file handed to it in blocks: finds its offset control and
// version, pairs every "DISTANCE=" spacing with the next "VERT.ANG.="
// standard error (in either order) and counts each pair's accuracy ratio.
// Stops at the first line that makes the offset control undeterminable.
//
// It does no I/O, and any split of the same bytes into blocks gives the same
// result. Lines are examined in place in the block that holds them; of a
// line that crosses into the next block only its head is kept, which holds
// every column the rules read, and of a version line its text. Lines are
// numbered only for a scan that hands its pairs on, so that one that only
// counts keeps skipping lines unseen.
class Scanner {
 public:
  // The bytes of a line's head: a longer line is examined by its head alone,
  // and only a version's text is read on to the line's end.
  static constexpr size_t kHeadSize = 68;

  // Hands every counted pair to `pairs`, when there is one, before the
  // feed() or finish() that read it returns; it must outlive the scan.
  explicit Scanner(PairSink* pairs = nullptr) : pairs_(pairs) {}
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
  const char* findTaggedLineAfter(const char* p, const char* end);
  const char* skipToLastLines(const char* p, const char* end);
  const char* scanTaggedLines(const char* p, const char* end);
  // Keeps the head of a line that the block ends inside.
  void carry(const char* p, const char* end);

  // What a text examined is: a whole line without its line end, or the
  // head of a longer one, whose rest follows.
  enum class Text { kWholeLine, kHeadOfLonger };

  // Applies every rule to `text`, of `kind`. Inlined into the loop over a
  // block's lines.
  [[gnu::always_inline]] void examine(std::string_view text, Text kind);
  // Examines the head of a line longer than kHeadSize, whose rest follows.
  void examineHead(std::string_view head);
  // Reads the value of a line that starts a tag once the offset and
  // version are known, when only its tag's rule can apply; `text` is the
  // line or, of a longer one, its kTagLineReach bytes.
  void examineTagLine(std::string_view text);
  // Each reads its value of `text`, when it carries it.
  void readSpacing(std::string_view text);
  void readError(std::string_view text);
  // Returns false when the magic line makes the offset undeterminable.
  bool detectOffset(std::string_view text);
  void queuePairOnceComplete();
  void countPendingPairs();
  bool startsVersion(std::string_view text) const;
  void readVersion(std::string_view text, Text kind);
  void endVersion();

  // A value read from a tagged line.
  struct Reading {
    double value;  // as read
    Count line;
  };

  PairSink* const pairs_;
  ScanResult result_;
  std::optional<size_t> offset_;  // nothing until the magic line
  // The line ends passed so far; only kept whole with `pairs_`.
  Count line_ends_ = 0;
  // The values read since the last pair was read whole.
  std::optional<Reading> spacing_;
  std::optional<Reading> error_;
  // The pairs read whole but not yet counted. They are counted together, at
  // the end of each block or when full: their divisions and square roots
  // then overlap, two or more to an instruction, where one by one each held
  // the search up. A column a value, so that the compiler can pair them.
  struct PendingPairs {
    static constexpr size_t kCapacity = 64;
    double spacing_m[kCapacity] = {};
    double error_m[kCapacity] = {};
    Count spacing_line[kCapacity] = {};
    Count error_line[kCapacity] = {};
    size_t size = 0;
  };
  PendingPairs pending_;
  Rest rest_ = Rest::kSkip;  // the first line is never examined
  // The head of a line begun in an earlier block; empty when none is.
  char head_[kHeadSize] = {};
  size_t head_size_ = 0;
};

#endif  // ZEPTOR_REPORT_SCANNER_H_
