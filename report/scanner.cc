#include "report/scanner.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <string_view>

#include "report/decimal.h"
#include "report/decimal_field.h"
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
// A whole field is read with the bytes before it.
static_assert(kSpacingField.value_column + kSpacingField.value_width >=
                      kDecimalFieldReach &&
                  kErrorField.value_column + kErrorField.value_width >=
                      kDecimalFieldReach,
              "a value field too near its line's start");

// A tag is read only from a line that reaches its value column, which is
// then always longer than the 17 or 18 characters a tag test needs.
static_assert(kSpacingField.value_column >= 17 &&
                  kErrorField.value_column >= 18,
              "a value column short of the length a tag test needs");
// A head holds every column the rules read, and tells a long line.
static_assert(Scanner::kHeadSize > kVersionTextColumn &&
                  Scanner::kHeadSize >
                      kErrorField.value_column + 1 + kErrorField.value_width,
              "a head too short for the columns read");

// Returns up to `width` characters of `text` from `column`.
std::string_view field(std::string_view text, size_t column, size_t width) {
  return column < text.size() ? text.substr(column, width) : std::string_view();
}

// A line's text without its line end: one "\r" before the "\n" goes too.
std::string_view withoutCarriageReturn(const char* text, size_t length) {
  if (length > 0 && text[length - 1] == '\r') --length;
  return std::string_view(text, length);
}

// How far a line runs into [p, p + size): its bytes before the first '\n',
// and whether there is one.
struct LineEnd {
  size_t length;
  bool found;
};
LineEnd findLineEnd(const char* p, size_t size) {
  const void* newline = std::memchr(p, '\n', size);
  if (newline == nullptr) return {size, false};
  return {static_cast<size_t>(static_cast<const char*>(newline) - p), true};
}

// Returns the value of `tagged` when `text` carries it at `offset` and
// reaches its value field; a line that stops before the field is skipped.
// Inlined so that each call compares against a tag of known length.
[[gnu::always_inline]] inline std::optional<double> readTagged(
    std::string_view text, size_t offset, const TaggedField& tagged) {
  const size_t value_column = offset + tagged.value_column;
  // A line that reaches its value column holds the whole tag.
  if (text.size() <= value_column ||
      std::string_view(text.data() + offset + kTagColumn, tagged.tag.size()) !=
          tagged.tag) {
    return std::nullopt;
  }
  if (text.size() < value_column + tagged.value_width)
    return readDecimal(text.substr(value_column));
  return readDecimalField(text.data() + value_column, tagged.value_width);
}

}  // namespace

void Scanner::feed(std::string_view block) {
  const char* p = block.data();
  const char* const end = p + block.size();
  while (p < end && !stopped()) {
    if (head_size_ > 0) {
      p = continueHead(p, end);
    } else if (rest_ != Rest::kNone) {
      p = consumeRest(p, end);
    } else {
      p = scanLines(p, end);
    }
  }
  countPendingPairs();
}

ScanResult Scanner::finish() {
  if (!stopped()) {
    // The last line, without a line end.
    if (head_size_ > 0)
      examine(withoutCarriageReturn(head_, head_size_), Text::kWholeLine);
    if (rest_ == Rest::kVersion) endVersion();
  }
  countPendingPairs();
  head_size_ = 0;
  return std::move(result_);
}

// Examines the lines that start and end in the block in place.
const char* Scanner::scanLines(const char* p, const char* end) {
  while (p < end) {
    // Once offset and version are known only tagged lines matter.
    if (offset_ && !result_.version.empty()) {
      p = scanTaggedLines(p, end);
      if (p == end) break;
    }
    const void* newline = std::memchr(p, '\n', static_cast<size_t>(end - p));
    if (newline == nullptr) {
      carry(p, end);
      return end;
    }
    const auto length =
        static_cast<size_t>(static_cast<const char*>(newline) - p);
    examine(withoutCarriageReturn(p, length), Text::kWholeLine);
    if (stopped()) return end;
    p += length + 1;
    ++line_ends_;
  }
  return p;
}

void Scanner::carry(const char* p, const char* end) {
  const auto size = static_cast<size_t>(end - p);
  if (size > kHeadSize) {
    examineHead(std::string_view(p, size));
  } else {
    std::memcpy(head_, p, size);
    head_size_ = size;
  }
}

// Completes the carried head from the block, and examines it once it is the
// whole line or a full head.
const char* Scanner::continueHead(const char* p, const char* end) {
  const size_t room = kHeadSize - head_size_;
  const LineEnd line =
      findLineEnd(p, std::min(room, static_cast<size_t>(end - p)));
  std::memcpy(head_ + head_size_, p, line.length);
  head_size_ += line.length;
  if (!line.found && head_size_ < kHeadSize) return end;
  const size_t size = head_size_;
  head_size_ = 0;
  if (line.found) {
    examine(withoutCarriageReturn(head_, size), Text::kWholeLine);
    ++line_ends_;
    return p + line.length + 1;
  }
  examineHead(std::string_view(head_, size));
  return p + line.length;
}

void Scanner::examineHead(std::string_view head) {
  rest_ = Rest::kSkip;
  examine(head, Text::kHeadOfLonger);
}

// Skips the rest of a line whose head was examined, or adds it to the
// version text.
const char* Scanner::consumeRest(const char* p, const char* end) {
  const LineEnd line = findLineEnd(p, static_cast<size_t>(end - p));
  if (rest_ == Rest::kVersion) result_.version.append(p, line.length);
  if (!line.found) return end;
  if (rest_ == Rest::kVersion) endVersion();
  rest_ = Rest::kNone;
  ++line_ends_;
  return p + line.length + 1;
}

// Returns the next line start in the block that may start a tag, or one
// whose tag start lies past the block's end; or the end, with the rest of
// the last line to skip, when there is none. A scan that numbers lines
// counts those it skips.
const char* Scanner::skipUntaggedLines(const char* p, const char* end) {
  const size_t column = *offset_ + kTagColumn;
  if (static_cast<size_t>(end - p) < column + kTagStartWidth ||
      startsTag(p + column)) {
    return p;
  }
  return findTaggedLineAfter(p, end);
}

// As skipUntaggedLines(), for the lines that start after a line end at or
// after `p`, which may lie inside a line.
inline const char* Scanner::findTaggedLineAfter(const char* p,
                                                const char* end) {
  const size_t column = *offset_ + kTagColumn;
  const char* const found =
      pairs_ == nullptr ? findNextTagLine(p, end, column)
                        : findNextTagLineCounting(p, end, column, &line_ends_);
  return found != nullptr ? found : skipToLastLines(p, end);
}

// Where findTaggedLineAfter() found no tagged line: every line start whose
// tag start is in the block was tested, and the line ends before
// newlineLimit() counted. Returns the last line's start when its tag start
// lies past the block's end, else the end, with the rest to skip.
const char* Scanner::skipToLastLines(const char* p, const char* end) {
  const size_t column = *offset_ + kTagColumn;
  const std::string_view rest(p, static_cast<size_t>(end - p));
  const size_t last_newline = rest.rfind('\n');
  const char* next = end;
  if (last_newline != std::string_view::npos &&
      rest.size() - (last_newline + 1) < column + kTagStartWidth) {
    next = p + last_newline + 1;
  } else {
    rest_ = Rest::kSkip;
  }
  if (pairs_ != nullptr) {
    line_ends_ += static_cast<Count>(
        std::count(newlineLimit(p, end, column), next, '\n'));
  }
  return next;
}

// Reads every tagged line of the block, and returns the start of the first
// line that may start a tag and lies less than kTagLineReach bytes before
// the block's end, for the examination of whole lines; or the end, with
// the rest of the last line to skip, when there is none.
const char* Scanner::scanTaggedLines(const char* p, const char* end) {
  static_assert(
      kTagLineReach > 1 + kErrorField.value_column + kErrorField.value_width,
      "a tag line's fields past its reach");
  for (p = skipUntaggedLines(p, end);
       static_cast<size_t>(end - p) >= kTagLineReach;) {
    // The search goes on from the line's end, which it counts, or from its
    // reach when its rest holds no field.
    const size_t length = tagLineLength(p);
    examineTagLine(length == kTagLineReach ? std::string_view(p, length)
                                           : withoutCarriageReturn(p, length));
    p = findTaggedLineAfter(p + length, end);
  }
  return p;
}

void Scanner::examineTagLine(std::string_view text) {
  if (text[*offset_ + kTagColumn] == kSpacingField.tag[0]) {
    readSpacing(text);
  } else {
    readError(text);
  }
  queuePairOnceComplete();
}

void Scanner::readSpacing(std::string_view text) {
  if (const std::optional<double> metres =
          readTagged(text, *offset_, kSpacingField)) {
    spacing_.emplace(Reading{*metres, line_ends_ + 1});
  }
}

void Scanner::readError(std::string_view text) {
  if (const std::optional<double> error =
          readTagged(text, *offset_, kErrorField)) {
    error_.emplace(Reading{*error, line_ends_ + 1});
  }
}

inline void Scanner::examine(std::string_view text, Text kind) {
  if (!offset_) {
    if (!detectOffset(text)) return;
    if (!offset_) {
      // No tag is tested before the offset is known, but a long line
      // there is fatal.
      if (text.size() >= kLongLine)
        result_.outcome = ScanOutcome::kOffsetMissing;
      return;
    }
  }
  readSpacing(text);
  readError(text);
  queuePairOnceComplete();
  if (startsVersion(text)) readVersion(text, kind);
}

bool Scanner::detectOffset(std::string_view text) {
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

void Scanner::queuePairOnceComplete() {
  if (!spacing_ || !error_) return;
  const size_t i = pending_.size++;
  pending_.spacing_m[i] = spacing_->value;
  pending_.spacing_line[i] = spacing_->line;
  pending_.error_m[i] = error_->value;
  pending_.error_line[i] = error_->line;
  spacing_.reset();
  error_.reset();
  if (pending_.size == PendingPairs::kCapacity) countPendingPairs();
}

void Scanner::countPendingPairs() {
  constexpr size_t kCapacity = PendingPairs::kCapacity;
  double spacing_km[kCapacity];
  double accuracy_mm[kCapacity];
  double ratio[kCapacity];
  for (size_t i = 0; i < pending_.size; ++i) {
    spacing_km[i] = pending_.spacing_m[i] * kKilometresPerMetre;
    accuracy_mm[i] =
        (pending_.error_m[i] * kSigmasAt95Percent) * kMillimetresPerMetre;
    ratio[i] = accuracy_mm[i] / std::sqrt(spacing_km[i]);
  }
  for (size_t i = 0; i < pending_.size; ++i) {
    const Classification counted = result_.counts.add(ratio[i], spacing_km[i]);
    if (pairs_ != nullptr) {
      pairs_->take(CountedPair{pending_.spacing_line[i], pending_.error_line[i],
                               pending_.spacing_m[i], pending_.error_m[i],
                               accuracy_mm[i], ratio[i], counted});
    }
  }
  pending_.size = 0;
}

bool Scanner::startsVersion(std::string_view text) const {
  return result_.version.empty() && text.size() >= kLongLine &&
         field(text, *offset_ + kVersionTagColumn, kVersionTag.size()) ==
             kVersionTag;
}

// Takes the version text from the line; the rest of a long line follows.
void Scanner::readVersion(std::string_view text, Text kind) {
  result_.version.assign(text.substr(kVersionTextColumn));
  if (kind == Text::kWholeLine) {
    endVersion();
  } else {
    rest_ = Rest::kVersion;
  }
}

void Scanner::endVersion() {
  std::string& version = result_.version;
  trim(version, 'B');
  if (version.empty()) {
    ++result_.blank_versions;
    // A version of white space only may have been a very long line.
    version.shrink_to_fit();
  }
}
