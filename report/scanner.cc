#include "report/scanner.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "report/decimal.h"
#include "report/tag_search.h"
#include "support/fatal_exit.h"
#include "support/trim.h"

// What is read, by 0-based column; o is the offset control, 1 when the file
// keeps a carriage-control column in front of every line, else 0.
//   magic    "PROGRAM OMBRIX" in the first 20 columns, white space trimmed;
//            the line's first character decides o (blank 1, "P" 0).
//   version  "VERSION" at o+57 of a line longer than 65; the text is from
//            column 66 to the line end (column 66 is not shifted by o).
//   spacing  "DISTANCE=" at o+8 of a line longer than 17; metres in the 12
//            columns from o+22.
//   error    "VERT.ANG.=" at o+8 of a line longer than 18; the standard
//            error in the 6 columns from o+56.
// The first line is never examined. Deliberate simplifications: lines are
// tested without a carriage return at their end; no tag is tested before
// the offset is known; a tagged line that stops before its value field is
// skipped.

namespace {

constexpr size_t kMagicWidth = 20;
constexpr std::string_view kMagic = "PROGRAM OMBRIX";
constexpr size_t kLongLine = 66;  // the version's, and fatal before the magic
constexpr size_t kVersionTagColumn = 57;
constexpr size_t kVersionTextColumn = 66;
constexpr std::string_view kVersionTag = "VERSION";
constexpr size_t kTagColumn = 8;

// A tagged value: the tag at o+kTagColumn, the number in `value_width`
// columns from o+`value_column`.
struct TaggedField {
  std::string_view tag;
  size_t value_column;
  size_t value_width;
};
constexpr TaggedField kSpacingField = {"DISTANCE=", 22, 12};
constexpr TaggedField kErrorField = {"VERT.ANG.=", 56, 6};

// A tag is read only from a line that reaches its value column, which is
// then always longer than the 17 or 18 characters a tag test needs.
static_assert(kSpacingField.value_column >= 17 &&
                  kErrorField.value_column >= 18,
              "a value column short of the length a tag test needs");

// A truncated line keeps its first block, which must hold every column the
// scanner reads, including the start of the version text.
constexpr size_t kMinBlockSize = 128;
static_assert(kMinBlockSize > kVersionTextColumn + 1, "block too small");

// Returns up to `width` characters of `text` from `column`.
std::string_view field(std::string_view text, size_t column, size_t width) {
  return column < text.size() ? text.substr(column, width) : std::string_view();
}

[[noreturn]] void failOffsetControl(ExitStatus status) {
  exitWithError(
      status, "Not able to determine offset control",
      {status == kExitOffsetMagic ? "See programmer(5).  Program ends"
                                  : "See programmer(7).  Program ends"});
}

// What the lines examined so far have established, and the rules by which
// each further line changes it. It sees one line's text at a time and never
// the reader, so nothing it does can move the text it is looking at.
class ScanState {
 public:
  ScanState(std::ostream& report, AccuracyCounts* counts)
      : report_(report), counts_(counts) {}

  // Examines the text of one line. Returns true when the line starts the
  // version text: the caller then appends the rest of a truncated line to
  // *versionText() and calls finishVersion().
  bool examine(std::string_view text);

  std::string* versionText() { return &version_; }

  // Trims the version text and writes its report line.
  void finishVersion();

  // The column of the tags, once offset and version are known and only
  // tagged lines can change anything.
  std::optional<size_t> tagColumnOnly() const {
    if (!offset_ || version_.empty()) return std::nullopt;
    return *offset_ + kTagColumn;
  }

 private:
  void detectOffset(std::string_view text);
  // Inlined so that each call compares against a tag of known length.
  [[gnu::always_inline]] bool readTagged(std::string_view text,
                                         const TaggedField& tagged,
                                         double* value) const;
  void countPair();

  std::ostream& report_;
  AccuracyCounts* counts_;
  std::optional<size_t> offset_;  // nothing until the magic line
  std::string version_;
  double spacing_km_ = 0;
  bool spacing_pending_ = true;
  double scaled_error_ = 0;
  bool error_pending_ = true;
};

bool ScanState::examine(std::string_view text) {
  if (!offset_) {
    detectOffset(text);
    if (!offset_) {
      // No tag is tested before the offset is known, but a long line
      // there is fatal.
      if (text.size() >= kLongLine) failOffsetControl(kExitOffsetMissing);
      return false;
    }
  }
  double value = 0;
  if (readTagged(text, kSpacingField, &value)) {
    spacing_km_ = value * 0.001;
    spacing_pending_ = false;
  }
  if (readTagged(text, kErrorField, &value)) {
    scaled_error_ = (value * 1.96) * 1000;
    error_pending_ = false;
  }
  if (!spacing_pending_ && !error_pending_) countPair();
  if (!version_.empty() || text.size() < kLongLine ||
      field(text, *offset_ + kVersionTagColumn, kVersionTag.size()) !=
          kVersionTag) {
    return false;
  }
  version_.assign(text.substr(kVersionTextColumn));
  return true;
}

void ScanState::detectOffset(std::string_view text) {
  if (trimmedView(field(text, 0, kMagicWidth), 'B') != kMagic) return;
  if (text[0] == ' ') {
    offset_ = 1;
  } else if (text[0] == 'P') {
    offset_ = 0;
  } else {
    failOffsetControl(kExitOffsetMagic);
  }
}

void ScanState::finishVersion() {
  trim(version_, 'B');
  report_ << "Ombrix version:      " << version_ << std::endl;
  // A version of white space only may have been a very long line.
  if (version_.empty()) version_.shrink_to_fit();
}

// Sets *value and returns true when `text` carries `tagged` and reaches its
// value field; a line that stops before the field is skipped.
inline bool ScanState::readTagged(std::string_view text,
                                  const TaggedField& tagged,
                                  double* value) const {
  const size_t value_column = *offset_ + tagged.value_column;
  if (text.size() <= value_column ||
      field(text, *offset_ + kTagColumn, tagged.tag.size()) != tagged.tag) {
    return false;
  }
  *value = readDecimal(field(text, value_column, tagged.value_width));
  return true;
}

void ScanState::countPair() {
  spacing_pending_ = true;
  error_pending_ = true;
  const double ratio = scaled_error_ / std::sqrt(spacing_km_);
  counts_->add(ratio, spacing_km_);
}

}  // namespace

bool Scan(std::istream& input, std::ostream& report, AccuracyCounts* counts,
          size_t block_size) {
  LineReader reader(input, std::max(block_size, kMinBlockSize));
  ScanState state(report, counts);
  Line line;
  // The first line is never examined.
  if (!reader.next(&line)) return !reader.failed();
  for (;;) {
    if (const std::optional<size_t> column = state.tagColumnOnly()) {
      reader.skipTo(*column + kTagStartWidth,
                    [column](const char* begin, const char* end) {
                      return findTagLine(begin, end, *column);
                    });
    }
    if (!reader.next(&line)) break;
    if (state.examine(line.text)) {
      if (line.truncated) reader.appendRest(state.versionText());
      state.finishVersion();
    }
  }
  return !reader.failed();
}
