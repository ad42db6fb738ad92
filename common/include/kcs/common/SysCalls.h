#pragma once
// The system calls by which the program changes files, in one place, so that tests can
// make any one of them fail: a disk that fills up (ENOSPC), fails (EIO), turns read-only
// (EROFS) or vanishes (ENODEV, ENXIO) at exactly that moment. Each behaves as the call
// of the same name; a failure sets errno.

#include <sys/types.h>

#include <functional>
#include <string_view>

namespace kcs::sys {

int open(const char* path, int flags, mode_t mode = 0);
ssize_t write(int fd, const void* data, size_t size);
int fsync(int fd);
int fchmod(int fd, mode_t mode);
int close(int fd);
int rename(const char* from, const char* to);
int unlink(const char* path);
int mkdir(const char* path, mode_t mode);

// For tests: called before each of the calls above with the call's name; a result other
// than 0 makes the call fail with that errno without doing anything. Empty: no faults.
using FaultHook = std::function<int(std::string_view call)>;
void setFaultHook(FaultHook hook);

}  // namespace kcs::sys
