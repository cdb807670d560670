#include "report/scanner.h"

#include <cmath>
#include <iostream>
#include <string>
#include <string_view>

#include "report/decimal.h"
#include "report/fatal.h"
#include "report/line_reader.h"
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
// The first line is never examined. Deliberate choices where nothing else is
// defined: lines are tested without a carriage return at their end; no tag
// is tested before the offset is known; a tagged line that stops before its
// value field is skipped.

namespace {

constexpr int kOffsetUndetermined = -10;
constexpr size_t kMagicWidth = 20;
constexpr std::string_view kMagic = "PROGRAM OMBRIX";
constexpr size_t kVersionMinLength = 66;
constexpr size_t kVersionTagColumn = 57;
constexpr size_t kVersionTextColumn = 66;
constexpr std::string_view kVersionTag = "VERSION";
constexpr size_t kTagColumn = 8;

// A tagged value: the tag at o+kTagColumn of a line at least `min_length`
// long, the number in `value_width` columns from o+`value_column`.
struct TaggedField {
  std::string_view tag;
  size_t min_length;
  size_t value_column;
  size_t value_width;
};
constexpr TaggedField kSpacingField = {"DISTANCE=", 18, 22, 12};
constexpr TaggedField kErrorField = {"VERT.ANG.=", 19, 56, 6};

// A truncated line keeps its first block, which must hold every column the
// scanner reads, including the start of the version text.
static_assert(LineReader::kBlockSize > 80, "block too small for the columns");

// Returns up to `width` characters of `text` from `column`.
std::string_view field(std::string_view text, size_t column, size_t width) {
  return column < text.size() ? text.substr(column, width) : std::string_view();
}

[[noreturn]] void failOffsetControl(ExitStatus status) {
  std::cerr << "Error: Not able to determine offset control\n"
            << "       See programmer(" << static_cast<int>(status)
            << ").  Program ends" << std::endl;
  exitRun(status);
}

class Scanner {
 public:
  Scanner(std::istream& input, std::ostream& report, AccuracyCounts* counts)
      : reader_(input), report_(report), counts_(counts) {}

  bool run();

 private:
  void examine(const Line& line);
  void detectOffset(std::string_view text);
  void readVersion(const Line& line);
  // Inlined so that each call compares against a tag of known length.
  [[gnu::always_inline]] bool readTagged(std::string_view text,
                                         const TaggedField& tagged,
                                         double* value) const;
  void countPair();

  // Once both are known, only tagged lines can change anything.
  bool onlyTagsMatter() const {
    return offset_ != kOffsetUndetermined && !version_.empty();
  }

  LineReader reader_;
  std::ostream& report_;
  AccuracyCounts* counts_;
  int offset_ = kOffsetUndetermined;
  std::string version_;
  double spacing_km_ = 0;
  bool spacing_pending_ = true;
  double scaled_error_ = 0;
  bool error_pending_ = true;
};

bool Scanner::run() {
  Line line;
  if (!reader_.next(&line)) return !reader_.failed();
  for (;;) {
    if (onlyTagsMatter()) reader_.skipToTagCandidate(offset_ + kTagColumn);
    if (!reader_.next(&line)) break;
    examine(line);
  }
  return !reader_.failed();
}

void Scanner::examine(const Line& line) {
  const std::string_view text = line.text;
  if (offset_ == kOffsetUndetermined) {
    detectOffset(text);
    if (offset_ == kOffsetUndetermined) {
      // No tag is tested before the offset is known, but a long line
      // there is fatal.
      if (text.size() >= kVersionMinLength) {
        failOffsetControl(kExitOffsetMissing);
      }
      return;
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
  // Last, since reading the rest of a long line reuses the buffer that
  // `text` points into.
  if (version_.empty() && text.size() >= kVersionMinLength) readVersion(line);
}

void Scanner::detectOffset(std::string_view text) {
  if (trimmedView(field(text, 0, kMagicWidth), 'B') != kMagic) return;
  if (text[0] == ' ') {
    offset_ = 1;
  } else if (text[0] == 'P') {
    offset_ = 0;
  } else {
    failOffsetControl(kExitOffsetMagic);
  }
}

void Scanner::readVersion(const Line& line) {
  if (field(line.text, offset_ + kVersionTagColumn, kVersionTag.size()) !=
      kVersionTag) {
    return;
  }
  version_.assign(line.text.substr(kVersionTextColumn));
  if (line.truncated) reader_.appendRest(&version_);
  trim(version_, 'B');
  report_ << "Ombrix version:      " << version_ << std::endl;
  // A version of white space only may have been a very long line.
  if (version_.empty()) version_.shrink_to_fit();
}

// Sets *value and returns true when `text` carries `tagged` and reaches its
// value field; a line that stops before the field is skipped.
inline bool Scanner::readTagged(std::string_view text,
                                const TaggedField& tagged,
                                double* value) const {
  const size_t value_column = offset_ + tagged.value_column;
  if (text.size() < tagged.min_length || text.size() <= value_column ||
      field(text, offset_ + kTagColumn, tagged.tag.size()) != tagged.tag) {
    return false;
  }
  *value = readDecimal(field(text, value_column, tagged.value_width));
  return true;
}

void Scanner::countPair() {
  spacing_pending_ = true;
  error_pending_ = true;
  const double ratio = scaled_error_ / std::sqrt(spacing_km_);
  counts_->add(ratio, spacing_km_);
}

}  // namespace

bool Scan(std::istream& input, std::ostream& report, AccuracyCounts* counts) {
  return Scanner(input, report, counts).run();
}
