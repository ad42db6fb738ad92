#include "kcs/common/SysCalls.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace kcs::sys {

namespace {

FaultHook& hook() {
    static FaultHook h;
    return h;
}

// True when the test's hook fails this call (errno is then set).
bool faulted(std::string_view call) {
    if (!hook()) return false;
    const int e = hook()(call);
    if (e == 0) return false;
    errno = e;
    return true;
}

}  // namespace

void setFaultHook(FaultHook h) { hook() = std::move(h); }

int open(const char* path, int flags, mode_t mode) {
    if ((flags & (O_WRONLY | O_RDWR | O_CREAT)) != 0 && faulted("open")) return -1;
    return ::open(path, flags, mode);
}

ssize_t write(int fd, const void* data, size_t size) {
    if (faulted("write")) return -1;
    return ::write(fd, data, size);
}

int fsync(int fd) {
    if (faulted("fsync")) return -1;
    return ::fsync(fd);
}

int fchmod(int fd, mode_t mode) {
    if (faulted("fchmod")) return -1;
    return ::fchmod(fd, mode);
}

int close(int fd) {
    // The descriptor is closed whatever the result, as the real call does.
    const bool fail = faulted("close");
    const int saved = errno;
    const int r = ::close(fd);
    if (fail) {
        errno = saved;
        return -1;
    }
    return r;
}

int rename(const char* from, const char* to) {
    if (faulted("rename")) return -1;
    return ::rename(from, to);
}

int unlink(const char* path) {
    if (faulted("unlink")) return -1;
    return ::unlink(path);
}

int mkdir(const char* path, mode_t mode) {
    if (faulted("mkdir")) return -1;
    return ::mkdir(path, mode);
}

}  // namespace kcs::sys
