// Progress on the application's launcher or dock icon, through the
// com.canonical.Unity.LauncherEntry signal that KDE and most GNOME docks
// show. Without a session bus it shows nothing.
#pragma once

typedef struct _GDBusConnection GDBusConnection;

namespace rallinox {

// The desktop entry the docks match the progress against; installed from
// packaging/ under this name.
inline constexpr const char* kDesktopEntryName = "rallinox.desktop";

class TaskbarProgress {
public:
    TaskbarProgress() = default;
    ~TaskbarProgress();
    TaskbarProgress(const TaskbarProgress&) = delete;
    TaskbarProgress& operator=(const TaskbarProgress&) = delete;

    // 0..1, or any negative value for no progress. Only changes of a
    // thousandth or more are sent.
    void set(double value);
    // The last value sent in thousandths, -1 for none, -2 before the first.
    int shown() const { return last_; }

private:
    bool connect();

    GDBusConnection* bus_ = nullptr;
    bool tried_ = false;
    int last_ = -2;
};

}  // namespace rallinox
