#pragma once
// Keeps freed memory mapped while it lives, so that each new buffer reuses pages touched before: a
// run inside it times the loops alone, without the kernel's first touch of fresh pages.

#include <malloc.h>

namespace orvane::bench {

class WarmPages {
public:
    WarmPages()
    {
        mallopt(M_MMAP_THRESHOLD, 1 << 30);
        mallopt(M_TRIM_THRESHOLD, 1 << 30);
    }
    ~WarmPages()
    {
        mallopt(M_MMAP_THRESHOLD, 128 << 10);
        mallopt(M_TRIM_THRESHOLD, 128 << 10);
    }
    WarmPages(const WarmPages &) = delete;
    WarmPages &operator=(const WarmPages &) = delete;
};

} // namespace orvane::bench
