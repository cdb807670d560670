// A library to preload into zeptor (LD_PRELOAD) that makes one call of the
// C library fail, for the fault-injection test:
//
//   ZEPTOR_FAULT_CALL=read ZEPTOR_FAULT_AT=3   the third read() fails
//   ZEPTOR_FAULT_COUNTS=FILE                   counts every call, written
//                                              to FILE at the exit, and the
//                                              reads of a page or more into
//                                              memory that starts no page
//                                              ("misaligned-read"), which
//                                              the kernel copies slowly
//
// A call is named by its group: "open" stands for open, open64, openat and
// the rest, "stat" for the stat family, "malloc" for every allocation.
// Failures return what the C library returns, with errno EIO (ENOMEM for
// an allocation).

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
void __libc_free(void* pointer);
}

namespace {

enum Group {
  kRead,
  kWrite,
  kWritev,
  kOpen,
  kClose,
  kFwrite,
  kFflush,
  kFputc,
  kStat,
  kFtruncate,
  kUnlink,
  kMalloc,
  kGroupCount
};
// In the order of Group.
const char* const kGroups[kGroupCount] = {
    "read",   "write", "writev", "open",      "close",  "fwrite",
    "fflush", "fputc", "stat",   "ftruncate", "unlink", "malloc"};

struct State {
  bool ready = false;
  bool looking_up = false;  // inside dlsym, whose calls are not the program's
  int failing_group = -1;
  long fail_at = 0;
  long counts[kGroupCount] = {};
  long misaligned_reads = 0;
  const char* counts_file = nullptr;
};

State state;

int groupIndex(const char* name) {
  for (int i = 0; i < kGroupCount; ++i) {
    if (std::strcmp(kGroups[i], name) == 0) return i;
  }
  return -1;
}

// Reads the environment once; getenv allocates nothing.
void prepare() {
  if (state.ready) return;
  state.ready = true;
  if (const char* call = std::getenv("ZEPTOR_FAULT_CALL")) {
    state.failing_group = groupIndex(call);
  }
  if (const char* at = std::getenv("ZEPTOR_FAULT_AT")) {
    state.fail_at = std::strtol(at, nullptr, 10);
  }
  state.counts_file = std::getenv("ZEPTOR_FAULT_COUNTS");
}

// Counts a call of `group`; true when this one is to fail.
bool fails(Group group) {
  if (state.looking_up) return false;
  prepare();
  const long count = ++state.counts[group];
  return group == state.failing_group && count == state.fail_at;
}

template <typename Function>
Function next(const char* name) {
  state.looking_up = true;
  void* function = dlsym(RTLD_NEXT, name);
  state.looking_up = false;
  return reinterpret_cast<Function>(function);
}

}  // namespace

// Writes the counts through the system calls alone, after every exit
// handler of the program has run.
[[gnu::destructor]] static void writeCounts() {
  if (state.counts_file == nullptr) return;
  const int file =
      static_cast<int>(syscall(SYS_openat, AT_FDCWD, state.counts_file,
                               O_WRONLY | O_CREAT | O_TRUNC, 0644));
  if (file < 0) return;
  char line[64];
  for (int i = 0; i < kGroupCount; ++i) {
    const int length = std::snprintf(line, sizeof line, "%s %ld\n", kGroups[i],
                                     state.counts[i]);
    syscall(SYS_write, file, line, static_cast<size_t>(length));
  }
  const int length = std::snprintf(line, sizeof line, "misaligned-read %ld\n",
                                   state.misaligned_reads);
  syscall(SYS_write, file, line, static_cast<size_t>(length));
  syscall(SYS_close, file);
}

#define FAIL_WITH(group, value) \
  if (fails(group)) {           \
    errno = EIO;                \
    return value;               \
  }

extern "C" {

ssize_t read(int file, void* buffer, size_t size) {
  constexpr size_t kPage = 4096;
  if (size >= kPage && reinterpret_cast<uintptr_t>(buffer) % kPage != 0) {
    ++state.misaligned_reads;
  }
  FAIL_WITH(kRead, -1);
  return next<ssize_t (*)(int, void*, size_t)>("read")(file, buffer, size);
}

ssize_t write(int file, const void* buffer, size_t size) {
  FAIL_WITH(kWrite, -1);
  return next<ssize_t (*)(int, const void*, size_t)>("write")(file, buffer,
                                                              size);
}

ssize_t writev(int file, const struct iovec* parts, int count) {
  FAIL_WITH(kWritev, -1);
  return next<ssize_t (*)(int, const struct iovec*, int)>("writev")(file, parts,
                                                                    count);
}

// The open family takes a mode only with O_CREAT or O_TMPFILE.
#define OPEN_LIKE(name, ...)                                         \
  int name(__VA_ARGS__, int flags, ...) {                            \
    va_list rest;                                                    \
    va_start(rest, flags);                                           \
    const mode_t mode = static_cast<mode_t>(va_arg(rest, unsigned)); \
    va_end(rest);                                                    \
    FAIL_WITH(kOpen, -1);                                            \
    return OPEN_NEXT_##name;                                         \
  }
#define OPEN_NEXT_open \
  next<int (*)(const char*, int, ...)>("open")(path, flags, mode)
#define OPEN_NEXT_open64 \
  next<int (*)(const char*, int, ...)>("open64")(path, flags, mode)
#define OPEN_NEXT_openat \
  next<int (*)(int, const char*, int, ...)>("openat")(dir, path, flags, mode)
#define OPEN_NEXT_openat64 \
  next<int (*)(int, const char*, int, ...)>("openat64")(dir, path, flags, mode)
OPEN_LIKE(open, const char* path)
OPEN_LIKE(open64, const char* path)
OPEN_LIKE(openat, int dir, const char* path)
OPEN_LIKE(openat64, int dir, const char* path)

FILE* fopen(const char* path, const char* mode) {
  FAIL_WITH(kOpen, nullptr);
  return next<FILE* (*)(const char*, const char*)>("fopen")(path, mode);
}

FILE* fopen64(const char* path, const char* mode) {
  FAIL_WITH(kOpen, nullptr);
  return next<FILE* (*)(const char*, const char*)>("fopen64")(path, mode);
}

int close(int file) {
  FAIL_WITH(kClose, -1);
  return next<int (*)(int)>("close")(file);
}

int fclose(FILE* stream) {
  FAIL_WITH(kClose, EOF);
  return next<int (*)(FILE*)>("fclose")(stream);
}

size_t fwrite(const void* data, size_t size, size_t count, FILE* stream) {
  FAIL_WITH(kFwrite, 0);
  return next<size_t (*)(const void*, size_t, size_t, FILE*)>("fwrite")(
      data, size, count, stream);
}

int fflush(FILE* stream) {
  FAIL_WITH(kFflush, EOF);
  return next<int (*)(FILE*)>("fflush")(stream);
}

int fputc(int c, FILE* stream) {
  FAIL_WITH(kFputc, EOF);
  return next<int (*)(int, FILE*)>("fputc")(c, stream);
}

int putc(int c, FILE* stream) {
  FAIL_WITH(kFputc, EOF);
  return next<int (*)(int, FILE*)>("putc")(c, stream);
}

#define STAT_LIKE(name, type, argument, status_type)                   \
  int name(type argument, status_type* status) {                       \
    FAIL_WITH(kStat, -1);                                              \
    return next<int (*)(type, status_type*)>(#name)(argument, status); \
  }
STAT_LIKE(stat, const char*, path, struct stat)
STAT_LIKE(lstat, const char*, path, struct stat)
STAT_LIKE(fstat, int, file, struct stat)
STAT_LIKE(stat64, const char*, path, struct stat64)
STAT_LIKE(lstat64, const char*, path, struct stat64)
STAT_LIKE(fstat64, int, file, struct stat64)

int fstatat(int dir, const char* path, struct stat* status, int flags) {
  FAIL_WITH(kStat, -1);
  return next<int (*)(int, const char*, struct stat*, int)>("fstatat")(
      dir, path, status, flags);
}

int ftruncate(int file, off_t length) {
  FAIL_WITH(kFtruncate, -1);
  return next<int (*)(int, off_t)>("ftruncate")(file, length);
}

int ftruncate64(int file, off64_t length) {
  FAIL_WITH(kFtruncate, -1);
  return next<int (*)(int, off64_t)>("ftruncate64")(file, length);
}

int unlink(const char* path) {
  FAIL_WITH(kUnlink, -1);
  return next<int (*)(const char*)>("unlink")(path);
}

void* malloc(size_t size) {
  if (fails(kMalloc)) {
    errno = ENOMEM;
    return nullptr;
  }
  return __libc_malloc(size);
}

void* calloc(size_t count, size_t size) {
  if (fails(kMalloc)) {
    errno = ENOMEM;
    return nullptr;
  }
  return __libc_calloc(count, size);
}

void* realloc(void* pointer, size_t size) {
  if (fails(kMalloc)) {
    errno = ENOMEM;
    return nullptr;
  }
  return __libc_realloc(pointer, size);
}

void* aligned_alloc(size_t alignment, size_t size) {
  if (fails(kMalloc)) {
    errno = ENOMEM;
    return nullptr;
  }
  return next<void* (*)(size_t, size_t)>("aligned_alloc")(alignment, size);
}

int posix_memalign(void** pointer, size_t alignment, size_t size) {
  if (fails(kMalloc)) return ENOMEM;
  return next<int (*)(void**, size_t, size_t)>("posix_memalign")(
      pointer, alignment, size);
}

void free(void* pointer) { __libc_free(pointer); }

}  // extern "C"
