/* Preloaded into the 32-bit half of the private Wine, which runs under qemu-i386.
 *
 * Wine reserves its address space with MAP_FIXED_NOREPLACE, trying address after address. qemu 7.2
 * treats the flag as a hint: for a busy address it searches the whole space for another one (slow) and
 * returns that, so Wine's reservation takes about a minute and then fails. Here a busy range answers
 * EEXIST at once, from a copy of the mappings that is read again whenever something was unmapped; only
 * a range that looks free reaches qemu, and its answer is kept only when it is the address asked for. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <pthread.h>
#include <stdint.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

#ifndef MAP_FIXED_NOREPLACE
#define MAP_FIXED_NOREPLACE 0x100000
#endif

typedef void* (*mmap64_fn)(void*, size_t, int, int, int, off64_t);
typedef int (*munmap_fn)(void*, size_t);

enum { kMaxRanges = 65536, kPage = 4096 };

static struct {
  uint32_t begin[kMaxRanges], end[kMaxRanges];
  int count; /* -1: to be read again */
} ranges = {.count = -1};
static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
static mmap64_fn real_mmap64;
static munmap_fn real_munmap;

/* Looked up before any thread or fork of the program; again by a call that comes earlier still. */
__attribute__((constructor)) static void find_real(void) {
  if (!real_munmap)
    real_munmap = (munmap_fn)dlsym(RTLD_NEXT, "munmap");
  if (!real_mmap64)
    real_mmap64 = (mmap64_fn)dlsym(RTLD_NEXT, "mmap64");
}

static void remember(uint32_t begin, uint32_t end) {
  if (ranges.count < 0)
    return;
  if (ranges.count == kMaxRanges) {
    ranges.count = -1;
    return;
  }
  ranges.begin[ranges.count] = begin;
  ranges.end[ranges.count] = end;
  ranges.count++;
}

static uint32_t parse_hex(const char** at) {
  uint32_t value = 0;
  for (;; (*at)++) {
    char c = **at;
    if (c >= '0' && c <= '9') {
      value = value * 16 + (uint32_t)(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      value = value * 16 + (uint32_t)(c - 'a' + 10);
    } else {
      return value;
    }
  }
}

/* Raw system calls: the C library's own calls could come back into this file. */
static void read_mappings(void) {
  static char chunk[1 << 16];
  char line[256];
  size_t length = 0;
  ranges.count = 0;
  int fd = (int)syscall(SYS_open, "/proc/self/maps", O_RDONLY);
  if (fd < 0) {
    ranges.count = -1;
    return;
  }
  for (;;) {
    long n = syscall(SYS_read, fd, chunk, sizeof chunk);
    if (n <= 0)
      break;
    for (long i = 0; i < n; i++) {
      if (chunk[i] != '\n') {
        if (length < sizeof line - 1)
          line[length++] = chunk[i];
        continue;
      }
      line[length] = 0;
      length = 0;
      const char* at = line;
      uint32_t begin = parse_hex(&at);
      if (*at++ != '-')
        continue;
      remember(begin, parse_hex(&at));
    }
  }
  syscall(SYS_close, fd);
}

static int busy(uint32_t begin, uint32_t end) {
  for (int i = 0; i < ranges.count; i++) {
    if (ranges.begin[i] < end && begin < ranges.end[i])
      return 1;
  }
  return 0;
}

static uint32_t end_of(uint32_t begin, size_t length) {
  return begin + (uint32_t)((length + kPage - 1) & ~(size_t)(kPage - 1));
}

void* mmap64(void* address, size_t length, int protection, int flags, int fd, off64_t offset) {
  find_real();
  if ((flags & MAP_FIXED_NOREPLACE) && !(flags & MAP_FIXED) && address) {
    uint32_t begin = (uint32_t)(uintptr_t)address, end = end_of(begin, length);
    pthread_mutex_lock(&lock);
    if (ranges.count < 0)
      read_mappings();
    if (end < begin || busy(begin, end)) {
      pthread_mutex_unlock(&lock);
      errno = EEXIST;
      return MAP_FAILED;
    }
    void* got = real_mmap64(address, length, protection, flags & ~MAP_FIXED_NOREPLACE, fd, offset);
    if (got == address) {
      remember(begin, end);
      pthread_mutex_unlock(&lock);
      return got;
    }
    if (got != MAP_FAILED)
      real_munmap(got, length);
    ranges.count = -1;
    pthread_mutex_unlock(&lock);
    errno = EEXIST;
    return MAP_FAILED;
  }
  void* got = real_mmap64(address, length, protection, flags, fd, offset);
  if (got != MAP_FAILED) {
    pthread_mutex_lock(&lock);
    remember((uint32_t)(uintptr_t)got, end_of((uint32_t)(uintptr_t)got, length));
    pthread_mutex_unlock(&lock);
  }
  return got;
}

void* mmap(void* address, size_t length, int protection, int flags, int fd, off_t offset) {
  return mmap64(address, length, protection, flags, fd, (off64_t)offset);
}

int munmap(void* address, size_t length) {
  find_real();
  pthread_mutex_lock(&lock);
  ranges.count = -1;
  pthread_mutex_unlock(&lock);
  return real_munmap(address, length);
}

void* mremap(void* old, size_t old_length, size_t new_length, int flags, ...) {
  typedef void* (*mremap_fn)(void*, size_t, size_t, int, ...);
  static mremap_fn real;
  if (!real)
    real = (mremap_fn)dlsym(RTLD_NEXT, "mremap");
  void* target = NULL;
  if (flags & MREMAP_FIXED) {
    __builtin_va_list args;
    __builtin_va_start(args, flags);
    target = __builtin_va_arg(args, void*);
    __builtin_va_end(args);
  }
  pthread_mutex_lock(&lock);
  ranges.count = -1;
  pthread_mutex_unlock(&lock);
  return real(old, old_length, new_length, flags, target);
}
