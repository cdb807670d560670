#ifndef ZEPTOR_REPORT_LINE_READER_H_
#define ZEPTOR_REPORT_LINE_READER_H_

#include <cstddef>
#include <istream>
#include <memory>
#include <string>
#include <string_view>

// One line of input without its line end. The text points into the reader's
// buffer and stays valid until the reader is used again.
struct Line {
  std::string_view text;
  // Set when the line is longer than the reader's block: `text` then holds
  // only its first block.
  bool truncated = false;
};

// Reads lines from a stream in large blocks into one buffer, so that no line
// costs an allocation and memory does not grow with the length of a line.
class LineReader {
 public:
  static constexpr size_t kDefaultBlockSize = 256 * 1024;

  // Reads `input` in blocks of `block_size` bytes (at least 1).
  explicit LineReader(std::istream& input,
                      size_t block_size = kDefaultBlockSize);

  // Sets *line to the next line, with its "\n" and one "\r" before it
  // removed. Returns false at the end of input.
  bool next(Line* line);

  // Appends the part of the truncated line last returned that did not fit
  // (up to, not including, its "\n") to *out. Without this call, next()
  // skips it.
  void appendRest(std::string* out);

  // Skips lines up to the next one that `search` picks, so that next()
  // returns it. `search(begin, end)` is given unread bytes, `begin` at a line
  // start, and returns the first line start p in [begin, end) -- `begin`, or
  // a byte right after a '\n' -- whose `reach` bytes from p are all before
  // `end` and that it wants, or nullptr. Whether a line start picks a line
  // may depend on its first `reach` bytes only; lines shorter than that may
  // be skipped unseen.
  template <typename Search>
  void skipTo(size_t reach, const Search& search);

  // True when reading the stream failed, as opposed to reaching its end.
  bool failed() const { return input_.bad(); }

 private:
  // Moves the unread bytes to the front and reads more behind them.
  // Returns false when nothing more could be read.
  bool refill();

  // Drops the unread lines, all of whose line starts with `reach` bytes in
  // the buffer have been searched; keeps only a last line start whose bytes
  // are still to come.
  void dropSearchedLines(size_t reach);

  // Consumes the rest of the current line, up to and including its "\n",
  // appending it (without the "\n") to *out unless out is null.
  void consumeRest(std::string* out);

  std::istream& input_;
  const size_t block_size_;
  std::unique_ptr<char[]> buffer_;
  size_t begin_ = 0;  // first unread byte
  size_t end_ = 0;    // end of the bytes read
  bool at_end_ = false;
  bool inside_line_ = false;  // begin_ is inside a line, not at its start
};

template <typename Search>
void LineReader::skipTo(size_t reach, const Search& search) {
  for (;;) {
    if (inside_line_) consumeRest(nullptr);
    const char* buffer = buffer_.get();
    if (end_ - begin_ >= reach) {
      const char* found = search(buffer + begin_, buffer + end_);
      if (found != nullptr) {
        begin_ = static_cast<size_t>(found - buffer);
        return;
      }
      dropSearchedLines(reach);
    }
    if (!refill()) {
      // What is left is too short to be picked, or is nothing at all.
      begin_ = end_;
      inside_line_ = false;
      return;
    }
  }
}

#endif  // ZEPTOR_REPORT_LINE_READER_H_
