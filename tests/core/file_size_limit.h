// A write failure without root or a small file system: while it lives, this
// process cannot make any file longer than the limit (writes beyond it fail
// with EFBIG, as they would on a full disk).
#pragma once

#include <sys/resource.h>

#include <csignal>
#include <cstddef>

namespace rallinox::test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(size_t bytes) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);  // the failed write returns an error instead
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

}  // namespace rallinox::test
