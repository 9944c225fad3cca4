// The process's GUI life: the window system's back end, the App and the
// frame loop until the window is closed.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/kit/file_dialogs.h"

namespace rallinox {

class App;
class Backend;

// Sees every frame from outside the application; the scripted GUI tests
// drive the real application through it.
class FrameObserver {
public:
    virtual ~FrameObserver() = default;
    // Before the window's events are read: the place to queue events.
    virtual void beforeEvents(App& app, Backend& backend) = 0;
    // After the frame is drawn into the back buffer and before it is shown.
    virtual void afterRender(App& app, Backend& backend) = 0;
    // Whether the application is to draw every frame, as while a video
    // plays; otherwise it draws only when something changes.
    virtual bool drivesFrames() const { return false; }
};

struct RunOptions {
    std::string videoPath;  // made a project at once when not empty
    // The newest project of `videoPath` is opened (or analysed again when it
    // never finished) instead of making another.
    bool reopenProject = false;
    ui::FileDialogs::Backends dialogs = ui::FileDialogs::Backends::Desktop;
    FrameObserver* observer = nullptr;
};

// The command line after the program's name: [--reopen] [VIDEO].
RunOptions runOptionsFromArguments(const std::vector<std::string>& arguments);

// The process's exit code: 0, or 1 when no graphics context can be made.
int runApplication(const RunOptions& options);

}  // namespace rallinox
