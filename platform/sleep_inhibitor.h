// Keeps the computer from suspending while a long job runs: a "sleep:idle"
// inhibitor lock from logind, held as a file descriptor for the object's
// life. Without a system bus or logind nothing happens.
#pragma once

namespace rallinox {

class SleepInhibitor {
public:
    // `why` is shown by the desktop when it lists what blocks suspending.
    explicit SleepInhibitor(const char* why);
    // Closing the descriptor releases the lock.
    ~SleepInhibitor();
    SleepInhibitor(const SleepInhibitor&) = delete;
    SleepInhibitor& operator=(const SleepInhibitor&) = delete;

    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

}  // namespace rallinox
