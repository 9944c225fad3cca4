// The desktop calls of the window ("Play video", "Show in folder", "Open
// folder") on a thread of their own: the desktop may take seconds to answer
// and the window must not wait for it. A call that nothing could carry out
// comes back as a message for the user.
#pragma once

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace rallinox {

class DesktopRequests {
public:
    DesktopRequests();
    // A call under way is given a short while, then left to end on its own.
    ~DesktopRequests();
    DesktopRequests(const DesktopRequests&) = delete;
    DesktopRequests& operator=(const DesktopRequests&) = delete;

    // Both return at once; the calls are made in order.
    void open(const std::string& path);
    void showInFolder(const std::string& path);

    // The messages of the calls that failed since the last call, oldest first.
    std::vector<std::string> takeFailures();

    struct Shared;

private:
    // Shared with the thread, which keeps it alive when it is let go.
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};

}  // namespace rallinox
