#include "report/line_reader.h"

#include <algorithm>
#include <cstring>

namespace {

std::string_view withoutCarriageReturn(const char* text, size_t length) {
  if (length > 0 && text[length - 1] == '\r') --length;
  return std::string_view(text, length);
}

}  // namespace

LineReader::LineReader(std::istream& input, size_t block_size)
    : input_(input),
      block_size_(std::max<size_t>(block_size, 1)),
      buffer_(new char[block_size_]) {}

bool LineReader::refill() {
  if (at_end_) return false;
  const size_t unread = end_ - begin_;
  std::memmove(buffer_.get(), buffer_.get() + begin_, unread);
  begin_ = 0;
  end_ = unread;
  input_.read(buffer_.get() + end_,
              static_cast<std::streamsize>(block_size_ - end_));
  const size_t count = static_cast<size_t>(input_.gcount());
  end_ += count;
  if (!input_) at_end_ = true;
  return count > 0;
}

bool LineReader::next(Line* line) {
  if (inside_line_) consumeRest(nullptr);
  for (;;) {
    const char* start = buffer_.get() + begin_;
    const size_t available = end_ - begin_;
    const void* newline = std::memchr(start, '\n', available);
    if (newline != nullptr) {
      const auto length =
          static_cast<size_t>(static_cast<const char*>(newline) - start);
      begin_ += length + 1;
      *line = Line{withoutCarriageReturn(start, length), false};
      return true;
    }
    if (available == block_size_) {
      begin_ = end_;
      inside_line_ = true;
      *line = Line{std::string_view(start, available), true};
      return true;
    }
    if (!refill()) {
      // The last line has no line end; refill() may have moved it.
      if (begin_ == end_) return false;
      const char* last = buffer_.get() + begin_;
      *line = Line{withoutCarriageReturn(last, end_ - begin_), false};
      begin_ = end_;
      return true;
    }
  }
}

void LineReader::appendRest(std::string* out) { consumeRest(out); }

void LineReader::consumeRest(std::string* out) {
  for (;;) {
    const char* start = buffer_.get() + begin_;
    const size_t available = end_ - begin_;
    const void* newline = std::memchr(start, '\n', available);
    const size_t length =
        newline != nullptr
            ? static_cast<size_t>(static_cast<const char*>(newline) - start)
            : available;
    if (out != nullptr) out->append(start, length);
    if (newline != nullptr) {
      begin_ += length + 1;
      break;
    }
    begin_ = end_;
    if (!refill()) break;
  }
  inside_line_ = false;
}

void LineReader::dropSearchedLines(size_t reach) {
  const std::string_view unread(buffer_.get() + begin_, end_ - begin_);
  const size_t last_newline = unread.rfind('\n');
  if (last_newline != std::string_view::npos &&
      unread.size() - (last_newline + 1) < reach) {
    begin_ += last_newline + 1;  // its tag start is still to come
  } else {
    begin_ = end_;
    inside_line_ = true;
  }
}
