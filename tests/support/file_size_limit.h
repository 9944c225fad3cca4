// A write failure without root or a small file system: while it lives, this
// process cannot make any file longer than the limit (writes beyond it fail
// with EFBIG, as they would on a full disk). Set it only after the test's
// inputs are made: child processes inherit it.
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
        const rlimit limited{bytes, previous_.rlim_max};
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
