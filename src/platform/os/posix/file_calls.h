#pragma once
// The POSIX system calls of the file layer, as one table (see os/file_calls.h). Entries keep the
// calls' own signatures (open always with its mode) and report failures through errno, as the calls do.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/vfs.h>

#include <ctime>

namespace qlxw::platform {

struct FileCalls {
  int (*open)(const char* path, int flags, mode_t mode);
  // A write names its temporary file relative to the folder it flushes: fewer path walks.
  int (*openat)(int folder, const char* name, int flags, mode_t mode);
  int (*close)(int fd);
  ssize_t (*pread)(int fd, void* buffer, size_t size, off_t offset);
  ssize_t (*write)(int fd, const void* buffer, size_t size);
  int (*fsync)(int fd);
  int (*fchmod)(int fd, mode_t mode);
  int (*fchown)(int fd, uid_t owner, gid_t group);
  int (*ftruncate)(int fd, off_t size);
  int (*fstat)(int fd, struct stat* info);
  int (*stat)(const char* path, struct stat* info);
  int (*lstat)(const char* path, struct stat* info);
  ssize_t (*readlink)(const char* path, char* target, size_t size);
  int (*renameat)(int fromFolder, const char* from, int toFolder, const char* to);
  int (*unlink)(const char* path);
  int (*unlinkat)(int folder, const char* name, int flags);
  int (*flock)(int fd, int operation);
  // A lock of a byte range of the open file (fcntl with F_OFD_SETLK, F_SETLK where the system lacks it).
  int (*lockRange)(int fd, int command, struct flock* range);
  DIR* (*opendir)(const char* path);  // looking for temporary files left by killed writers
  dirent* (*readdir)(DIR* folder);
  int (*closedir)(DIR* folder);
  int (*nanosleep)(const timespec* pause, timespec* left);  // between tries of a busy lock
  int (*statfs)(const char* path, struct statfs* info);
};

// The table the file layer calls through.
FileCalls& FileCallTable();
// The system's own entries, whatever the table holds now.
const FileCalls& SystemFileCalls();

}  // namespace qlxw::platform
