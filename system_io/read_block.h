#ifndef ZEPTOR_SYSTEM_IO_READ_BLOCK_H_
#define ZEPTOR_SYSTEM_IO_READ_BLOCK_H_

#include <cstddef>
#include <new>

// The memory a print file is read into, one block at a time. It starts on
// a page boundary: the kernel copies a file into such a block in half the
// time it takes for one that starts 16 bytes past a boundary, as memory
// from new char[] does.
class ReadBlock {
 public:
  // Large: each read is a system call, and a scan keeps nothing of a block
  // once it is fed.
  static constexpr size_t kSize = 256 * 1024;
  static constexpr size_t kAlignment = 4096;

  ReadBlock()
      : data_(static_cast<char*>(
            ::operator new[](kSize, std::align_val_t{kAlignment}))) {}
  ReadBlock(const ReadBlock&) = delete;
  ReadBlock& operator=(const ReadBlock&) = delete;
  ~ReadBlock() { ::operator delete[](data_, std::align_val_t{kAlignment}); }

  char* data() const { return data_; }

 private:
  char* const data_;
};

#endif  // ZEPTOR_SYSTEM_IO_READ_BLOCK_H_
