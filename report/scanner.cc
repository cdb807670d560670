#include "report/scanner.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string_view>

#include "report/decimal.h"
#include "report/tag_search.h"
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

// The spacing is given in metres, the standard error in metres at one
// sigma; the ratio wants kilometres and millimetres at 95%.
constexpr double kKilometresPerMetre = 0.001;
constexpr double kSigmasAt95Percent = 1.96;
constexpr double kMillimetresPerMetre = 1000;

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
static_assert(kMinBlockSize > kVersionTextColumn + 1, "block too small");

// Returns up to `width` characters of `text` from `column`.
std::string_view field(std::string_view text, size_t column, size_t width) {
  return column < text.size() ? text.substr(column, width) : std::string_view();
}

// One scan: what the lines examined so far have established, and the rules
// by which each further line changes it.
class PrintFileScan {
 public:
  PrintFileScan(std::istream& input, size_t block_size)
      : reader_(input, std::max(block_size, kMinBlockSize)) {}

  ScanResult run();

 private:
  // Applies every rule to `line`. Returns false when the line ends the
  // scan.
  bool examine(const Line& line);
  // Returns false when the magic line makes the offset undeterminable.
  bool detectOffset(std::string_view text);
  // Inlined so that each call compares against a tag of known length.
  [[gnu::always_inline]] std::optional<double> readTagged(
      std::string_view text, const TaggedField& tagged) const;
  void countPairOnceComplete();
  bool startsVersion(std::string_view text) const;
  // Reads the version text of `line`, all of it when the line was longer
  // than the block.
  void readVersion(const Line& line);

  LineReader reader_;
  ScanResult result_;
  std::optional<size_t> offset_;  // nothing until the magic line
  // The values read since the last pair was counted.
  std::optional<double> spacing_km_;
  std::optional<double> scaled_error_;
};

ScanResult PrintFileScan::run() {
  Line line;
  // The first line is never examined.
  if (reader_.next(&line)) {
    for (;;) {
      // Once offset and version are known only tagged lines matter.
      if (offset_ && !result_.version.empty()) {
        skipToTagLine(&reader_, *offset_ + kTagColumn);
      }
      if (!reader_.next(&line) || !examine(line)) break;
    }
  }
  if (result_.outcome == ScanOutcome::kComplete && reader_.failed()) {
    result_.outcome = ScanOutcome::kReadError;
  }
  return std::move(result_);
}

bool PrintFileScan::examine(const Line& line) {
  const std::string_view text = line.text;
  if (!offset_) {
    if (!detectOffset(text)) return false;
    if (!offset_) {
      // No tag is tested before the offset is known, but a long line
      // there is fatal.
      if (text.size() < kLongLine) return true;
      result_.outcome = ScanOutcome::kOffsetMissing;
      return false;
    }
  }
  if (const std::optional<double> metres = readTagged(text, kSpacingField)) {
    spacing_km_ = *metres * kKilometresPerMetre;
  }
  if (const std::optional<double> error = readTagged(text, kErrorField)) {
    scaled_error_ = (*error * kSigmasAt95Percent) * kMillimetresPerMetre;
  }
  countPairOnceComplete();
  // Last: reading the rest of a long line moves the text.
  if (startsVersion(text)) readVersion(line);
  return true;
}

bool PrintFileScan::detectOffset(std::string_view text) {
  if (trimmedView(field(text, 0, kMagicWidth), 'B') != kMagic) return true;
  if (text[0] == ' ') {
    offset_ = 1;
  } else if (text[0] == 'P') {
    offset_ = 0;
  } else {
    result_.outcome = ScanOutcome::kOffsetMagic;
    return false;
  }
  return true;
}

// Returns the value of `tagged` when `text` carries it and reaches its
// value field; a line that stops before the field is skipped.
inline std::optional<double> PrintFileScan::readTagged(
    std::string_view text, const TaggedField& tagged) const {
  const size_t value_column = *offset_ + tagged.value_column;
  if (text.size() <= value_column ||
      field(text, *offset_ + kTagColumn, tagged.tag.size()) != tagged.tag) {
    return std::nullopt;
  }
  return readDecimal(field(text, value_column, tagged.value_width));
}

void PrintFileScan::countPairOnceComplete() {
  if (!spacing_km_ || !scaled_error_) return;
  result_.counts.add(*scaled_error_ / std::sqrt(*spacing_km_), *spacing_km_);
  spacing_km_.reset();
  scaled_error_.reset();
}

bool PrintFileScan::startsVersion(std::string_view text) const {
  return result_.version.empty() && text.size() >= kLongLine &&
         field(text, *offset_ + kVersionTagColumn, kVersionTag.size()) ==
             kVersionTag;
}

void PrintFileScan::readVersion(const Line& line) {
  std::string& version = result_.version;
  version.assign(line.text.substr(kVersionTextColumn));
  if (line.truncated) reader_.appendRest(&version);
  trim(version, 'B');
  if (version.empty()) {
    ++result_.blank_versions;
    // A version of white space only may have been a very long line.
    version.shrink_to_fit();
  }
}

}  // namespace

ScanResult Scan(std::istream& input, size_t block_size) {
  return PrintFileScan(input, block_size).run();
}
