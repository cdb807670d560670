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
  // only its first LineReader::kBlockSize bytes.
  bool truncated = false;
};

// Reads lines from a stream in large blocks into one buffer, so that no line
// costs an allocation and memory does not grow with the length of a line.
class LineReader {
 public:
#ifdef ZEPTOR_LINE_BLOCK_SIZE
  // Fuzz builds shrink the block so that short inputs cross its edges.
  static constexpr size_t kBlockSize = ZEPTOR_LINE_BLOCK_SIZE;
#else
  static constexpr size_t kBlockSize = 256 * 1024;
#endif

  explicit LineReader(std::istream& input);

  // Sets *line to the next line, with its "\n" and one "\r" before it
  // removed. Returns false at the end of input.
  bool next(Line* line);

  // Appends the part of the truncated line last returned that did not fit
  // (up to, not including, its "\n") to *out. Without this call, next()
  // skips it.
  void appendRest(std::string* out);

  // Skips lines until the next one that starts a tag ("DI" or "VE") at
  // `column`, so that next() returns it. Lines too short to hold those two
  // bytes are skipped.
  void skipToTagCandidate(size_t column);

  // True when reading the stream failed, as opposed to reaching its end.
  bool failed() const { return input_.bad(); }

 private:
  // Moves the unread bytes to the front and reads more behind them.
  // Returns false when nothing more could be read.
  bool refill();

  // Drops the unread lines, all of whose line starts with both tag-start
  // bytes in the buffer have been ruled out; keeps only a last line start
  // whose bytes (`reach` from it) are still to come.
  void dropRuledOutLines(size_t reach);

  // Consumes the rest of the current line, up to and including its "\n",
  // appending it (without the "\n") to *out unless out is null.
  void consumeRest(std::string* out);

  std::istream& input_;
  std::unique_ptr<char[]> buffer_;
  size_t begin_ = 0;  // first unread byte
  size_t end_ = 0;    // end of the bytes read
  bool at_end_ = false;
  bool inside_line_ = false;  // begin_ is inside a line, not at its start
};

#endif  // ZEPTOR_REPORT_LINE_READER_H_
