#pragma once
// A file descriptor closed on every way out.

#include <unistd.h>

#include "kcs/common/SysCalls.h"

namespace kcs {

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    Fd(Fd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    Fd& operator=(Fd&&) = delete;
    ~Fd() { if (fd_ >= 0) ::close(fd_); }
    int get() const { return fd_; }
    // Close and report: a failed close can be the first sign that data did not reach the disk.
    int release() { const int r = sys::close(fd_); fd_ = -1; return r; }

private:
    int fd_;
};

}  // namespace kcs
