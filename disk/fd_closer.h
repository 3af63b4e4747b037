#pragma once
// Closes a file descriptor when the scope ends. Owns the descriptor it is given.

#include <unistd.h>

namespace orvane::disk {

class FdCloser {
public:
    explicit FdCloser(int fd)
        : m_fd(fd)
    {
    }
    ~FdCloser()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }
    // Closes now and reports the error a close can carry (delayed write errors on some file systems).
    int release()
    {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result;
    }
    FdCloser(const FdCloser &) = delete;
    FdCloser &operator=(const FdCloser &) = delete;

private:
    int m_fd;
};

} // namespace orvane::disk
