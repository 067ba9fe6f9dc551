// A full disk for one scope, shared by the unit and the window tests.
#pragma once

#include <csignal>

#include <sys/resource.h>

namespace nuvo::test {

// Simulates a full disk for one scope: files cannot grow past limit bytes, and the write that would
// passes the limit fails with EFBIG ("File too large") instead of killing the process. Works for
// root too, which permission bits do not stop.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved_;
        small.rlim_cur = limit;
        active_ = setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool active() const { return active_; }

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
    bool active_ = false;
};

} // namespace nuvo::test
