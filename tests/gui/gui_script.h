// A small script of user actions and checks, played against the running
// application one frame at a time. One step per line:
//   wait N | click X Y | click-label LABEL | right-click-label LABEL
//   drag-label LABEL DX DY (press on the item, move by DX DY, release)
//   hover-label LABEL (the mouse rests on the item)
//   type TEXT | key [ctrl+][shift+]NAME
//   tap N [ctrl+]NAME (N presses and releases of the key, all before one frame)
//   keyboard us|fr|de (the layout that types the keys from now on)
//   drop PATH... | move X Y | resize W H | screenshot FILE
//   close (the window's close button; the script goes on while the window stays)
//   expect-title TEXT | expect-text TEXT | expect-no-text TEXT
//   expect-window X Y W H | expect-projects N | expect-glyph HEX
//   expect-icon W H (the window's icon as the window manager reads it)
//   wait-for PREFIX (until a text starting with PREFIX is drawn)
//   expect-fit (every item and text of the last frame shown whole)
//   idle SECONDS (leaves the application alone: no events and no frames
//   asked for, so the step ends at the loop's next look up after SECONDS;
//   prints "idle: pid N" first, for a watcher of the process)
//   expect-idle-frames LOW HIGH (frames the last idle step saw drawn)
// A "\n" in a click-label label stands for a line break; a label "###id"
// finds the item whose full label ends so. Blank lines and
// lines starting with '#' are skipped; relative paths are
// taken from the script's folder. At the end, or after a failed step, the
// window is closed, and asked whether to stop running jobs, "Stop and quit"
// is clicked and "asked: QUESTION" printed for the test to find.
#pragma once

#include <SDL.h>
#include <imgui.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "app/shell/run_application.h"

namespace rallinox::guitest {

struct ScriptStep {
    int line = 0;
    std::string command;
    std::string argument;  // the rest of the line
};

// Throws std::runtime_error naming the line of an unknown command.
std::vector<ScriptStep> parseScript(const std::string& text);

class ScriptPlayer : public FrameObserver {
public:
    ScriptPlayer(std::vector<ScriptStep> steps, std::filesystem::path folder);

    void beforeEvents(App& app, Backend& backend) override;
    void afterRender(App& app, Backend& backend) override;
    // Every frame is drawn, except while the script idles.
    bool drivesFrames() const override;

    bool failed() const { return failed_; }

private:
    // Runs the step; false while it needs more frames.
    bool run(const ScriptStep& step, App& app, Backend& backend);
    bool click(float x, float y, Uint8 button = SDL_BUTTON_LEFT);
    bool pressKey(const std::string& keys);
    bool tapKey(const std::string& countAndKeys);
    bool drag(const ScriptStep& step);
    bool idle(double seconds);
    void expect(bool condition, const ScriptStep& step, const std::string& detail);
    void pushCloseRequest();
    // Closes the window and ends the script.
    void quit();
    void stopRunningJobsWhenAsked();

    std::vector<ScriptStep> steps_;
    std::filesystem::path folder_;
    size_t next_ = 0;
    int stepFrame_ = 0;  // frames spent in the current step
    int framesLeft_ = 0;
    ImVec2 dragFrom_;
    ImVec2 stopAt_;
    std::string pendingScreenshot_;
    bool failed_ = false;
    bool quitting_ = false;
    std::string layout_ = "us";
    int framesPlayed_ = 0;
    std::chrono::steady_clock::time_point idleUntil_;
    int idleFrames_ = 0;
};

}  // namespace rallinox::guitest
