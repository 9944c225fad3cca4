#include "tests/gui/gui_script.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <utility>

#include <unistd.h>

#include "app/shell/app.h"
#include "platform/backend.h"
#include "tests/gui/imgui_probe.h"
#include "tests/gui/screenshot.h"
#include "tests/gui/window_icon_probe.h"

namespace rallinox::guitest {

namespace {

// A script that never ends must not keep the test running for ever.
constexpr int kMostFrames = 5000;

const std::set<std::string> kCommands{"wait", "click", "click-label", "right-click-label", "drag-label",
                                      "hover-label", "type", "key", "drop", "move", "resize", "screenshot", "close",
                                      "expect-title", "expect-text", "expect-no-text", "expect-window",
                                      "expect-projects", "expect-glyph", "expect-icon", "wait-for", "expect-fit",
                                      "idle", "keyboard", "tap", "expect-idle-frames"};

constexpr const char* kQuitQuestion = "An analysis or export is still running. Stop it and quit?";

void pushEvent(SDL_Event event) { SDL_PushEvent(&event); }

// The application's window: the one its OpenGL context draws into.
SDL_Window* shownWindow() { return SDL_GL_GetCurrentWindow(); }

void pushMotion(float x, float y) {
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = static_cast<int>(x);
    motion.motion.y = static_cast<int>(y);
    pushEvent(motion);
}

void pushMouseButton(Uint32 type, Uint8 button, float x, float y) {
    SDL_Event event{};
    event.type = type;
    event.button.button = button;
    event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.x = static_cast<int>(x);
    event.button.y = static_cast<int>(y);
    pushEvent(event);
}

SDL_Scancode scancodeOf(const std::string& name) {
    static const std::map<std::string, SDL_Scancode> named{
        {"escape", SDL_SCANCODE_ESCAPE}, {"enter", SDL_SCANCODE_RETURN}, {"comma", SDL_SCANCODE_COMMA},
        {"tab", SDL_SCANCODE_TAB},       {"space", SDL_SCANCODE_SPACE},  {"backspace", SDL_SCANCODE_BACKSPACE}};
    const auto it = named.find(name);
    if (it != named.end()) return it->second;
    return SDL_GetScancodeFromName(name.c_str());
}

// A key as a keyboard layout types it: its place and the key code it gives.
struct TypedKey {
    SDL_Scancode scancode = SDL_SCANCODE_UNKNOWN;
    SDL_Keycode keycode = SDLK_UNKNOWN;
};

// The French (AZERTY) and German (QWERTZ) keys the tests use where they
// differ from the US layout of the virtual display; named by what is
// printed on them.
TypedKey typedKey(const std::string& layout, const std::string& name) {
    static const std::map<std::string, std::map<std::string, TypedKey>> differing{
        {"fr",
         {{"a", {SDL_SCANCODE_Q, SDLK_a}},
          {"q", {SDL_SCANCODE_A, SDLK_q}},
          {"z", {SDL_SCANCODE_W, SDLK_z}},
          {"w", {SDL_SCANCODE_Z, SDLK_w}},
          {"m", {SDL_SCANCODE_SEMICOLON, SDLK_m}},
          {"comma", {SDL_SCANCODE_M, SDLK_COMMA}},
          {"1", {SDL_SCANCODE_1, SDLK_AMPERSAND}},
          {"2", {SDL_SCANCODE_2, 0xE9}},
          {"0", {SDL_SCANCODE_0, 0xE0}}}},
        {"de", {{"y", {SDL_SCANCODE_Z, SDLK_y}}, {"z", {SDL_SCANCODE_Y, SDLK_z}}}}};
    if (const auto keys = differing.find(layout); keys != differing.end()) {
        if (const auto key = keys->second.find(name); key != keys->second.end()) return key->second;
    }
    const SDL_Scancode scancode = scancodeOf(name);
    return {scancode, SDL_GetKeyFromScancode(scancode)};
}

void pushKey(Uint32 type, const TypedKey& key, Uint16 mod) {
    SDL_Event event{};
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = key.scancode;
    event.key.keysym.sym = key.keycode;
    event.key.keysym.mod = mod;
    pushEvent(event);
}

void pushText(const std::string& text) {
    // One text event holds at most 31 bytes; split between characters.
    size_t at = 0;
    while (at < text.size()) {
        size_t length = std::min<size_t>(31, text.size() - at);
        while (length > 0 && at + length < text.size() && (static_cast<unsigned char>(text[at + length]) & 0xC0) == 0x80) {
            --length;
        }
        SDL_Event event{};
        event.type = SDL_TEXTINPUT;
        std::memcpy(event.text.text, text.data() + at, length);
        pushEvent(event);
        at += length;
    }
}

void pushDrop(const std::vector<std::string>& paths) {
    SDL_Event begin{};
    begin.type = SDL_DROPBEGIN;
    pushEvent(begin);
    for (const std::string& path : paths) {
        SDL_Event file{};
        file.type = SDL_DROPFILE;
        file.drop.file = SDL_strdup(path.c_str());
        pushEvent(file);
    }
    SDL_Event complete{};
    complete.type = SDL_DROPCOMPLETE;
    pushEvent(complete);
}

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> parts;
    for (std::string part; in >> part;) parts.push_back(part);
    return parts;
}

// Labels of two-line buttons are written with a backslash and "n" in a script line.
std::string withLineBreaks(const std::string& label) {
    std::string result;
    for (size_t at = 0; at < label.size(); ++at) {
        const bool lineBreak = label[at] == '\\' && at + 1 < label.size() && label[at + 1] == 'n';
        result += lineBreak ? '\n' : label[at];
        if (lineBreak) ++at;
    }
    return result;
}

std::vector<int> numbers(const std::string& text) {
    std::vector<int> values;
    for (const std::string& word : words(text)) values.push_back(std::stoi(word));
    return values;
}

}  // namespace

std::vector<ScriptStep> parseScript(const std::string& text) {
    std::vector<ScriptStep> steps;
    std::istringstream in(text);
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        if (line.empty() || line[0] == '#') continue;
        const size_t space = line.find(' ');
        ScriptStep step{lineNumber, line.substr(0, space), space == std::string::npos ? "" : line.substr(space + 1)};
        if (!kCommands.count(step.command)) {
            throw std::runtime_error("line " + std::to_string(lineNumber) + ": unknown command " + step.command);
        }
        steps.push_back(std::move(step));
    }
    return steps;
}

ScriptPlayer::ScriptPlayer(std::vector<ScriptStep> steps, std::filesystem::path folder)
    : steps_(std::move(steps)), folder_(std::move(folder)) {}

void ScriptPlayer::expect(bool condition, const ScriptStep& step, const std::string& detail) {
    if (condition) return;
    std::fprintf(stderr, "script line %d (%s %s) failed: %s\n", step.line, step.command.c_str(),
                 step.argument.c_str(), detail.c_str());
    failed_ = true;
    quit();
}

void ScriptPlayer::pushCloseRequest() {
    SDL_Event event{};
    event.type = SDL_QUIT;
    pushEvent(event);
}

void ScriptPlayer::quit() {
    if (quitting_) return;
    quitting_ = true;
    stepFrame_ = 0;
    pushCloseRequest();
}

void ScriptPlayer::stopRunningJobsWhenAsked() {
    if (stepFrame_ == 0) {
        const std::optional<ItemRect> stop = findItem("Stop and quit");
        if (!stop || !textWasDrawn(kQuitQuestion)) return;
        std::fprintf(stderr, "asked: %s\n", kQuitQuestion);
        stopAt_ = stop->centre();
    }
    stepFrame_ = click(stopAt_.x, stopAt_.y) ? 0 : stepFrame_ + 1;
}

bool ScriptPlayer::click(float x, float y, Uint8 button) {
    switch (stepFrame_) {
        case 0:
            SDL_WarpMouseInWindow(shownWindow(), static_cast<int>(x), static_cast<int>(y));
            pushMotion(x, y);
            return false;
        case 1: pushMouseButton(SDL_MOUSEBUTTONDOWN, button, x, y); return false;
        case 2: pushMouseButton(SDL_MOUSEBUTTONUP, button, x, y); return false;
        default: return true;
    }
}

bool ScriptPlayer::pressKey(const std::string& keys) {
    std::string name = keys;
    Uint16 mod = KMOD_NONE;
    for (const auto& [prefix, modifier] : {std::pair{"ctrl+", KMOD_LCTRL}, std::pair{"shift+", KMOD_LSHIFT}}) {
        if (name.rfind(prefix, 0) != 0) continue;
        name = name.substr(std::string(prefix).size());
        mod |= modifier;
    }
    const TypedKey key = typedKey(layout_, name);
    switch (stepFrame_) {
        case 0:
            SDL_SetModState(static_cast<SDL_Keymod>(mod));
            pushKey(SDL_KEYDOWN, key, mod);
            return false;
        case 1:
            pushKey(SDL_KEYUP, key, mod);
            SDL_SetModState(KMOD_NONE);
            return false;
        default: return true;
    }
}

bool ScriptPlayer::tapKey(const std::string& countAndKeys) {
    if (stepFrame_ > 0) return true;
    const std::vector<std::string> parts = words(countAndKeys);
    const bool ctrl = parts.at(1).rfind("ctrl+", 0) == 0;
    const TypedKey key = typedKey(layout_, ctrl ? parts.at(1).substr(5) : parts.at(1));
    const TypedKey control{SDL_SCANCODE_LCTRL, SDLK_LCTRL};
    // As the keyboard sends them: Ctrl's own press and release around the key.
    const Uint16 mod = ctrl ? KMOD_LCTRL : KMOD_NONE;
    for (int tap = std::stoi(parts.at(0)); tap > 0; --tap) {
        if (ctrl) pushKey(SDL_KEYDOWN, control, mod);
        pushKey(SDL_KEYDOWN, key, mod);
        pushKey(SDL_KEYUP, key, mod);
        if (ctrl) pushKey(SDL_KEYUP, control, KMOD_NONE);
    }
    return false;
}

bool ScriptPlayer::drag(const ScriptStep& step) {
    // The label may hold blanks: the two numbers are the last words.
    const size_t dyAt = step.argument.find_last_of(' ');
    const size_t dxAt = step.argument.find_last_of(' ', dyAt - 1);
    const float dx = std::stof(step.argument.substr(dxAt + 1, dyAt - dxAt - 1));
    const float dy = std::stof(step.argument.substr(dyAt + 1));
    constexpr int kMoves = 5;
    if (stepFrame_ == 0) {
        const std::optional<ItemRect> item = findItem(step.argument.substr(0, dxAt));
        expect(item.has_value(), step, "no item with this label; drawn: " + drawnTexts());
        if (!item) return true;
        dragFrom_ = item->centre();
    }
    // Pushed events leave SDL's button state alone: a button-down event in
    // every frame keeps the button held for the GUI.
    const float share = static_cast<float>(std::min(stepFrame_, kMoves)) / kMoves;
    const float x = dragFrom_.x + dx * share;
    const float y = dragFrom_.y + dy * share;
    SDL_WarpMouseInWindow(shownWindow(), static_cast<int>(x), static_cast<int>(y));
    pushMotion(x, y);
    if (stepFrame_ <= kMoves + 1) {
        pushMouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, x, y);
        return false;
    }
    if (stepFrame_ == kMoves + 2) {
        pushMouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, x, y);
        return false;
    }
    return true;
}

bool ScriptPlayer::idle(double seconds) {
    using Clock = std::chrono::steady_clock;
    if (stepFrame_ > 0) return Clock::now() >= idleUntil_;
    idleUntil_ = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    idleFrames_ = 0;
    std::printf("idle: pid %d\n", static_cast<int>(getpid()));
    std::fflush(stdout);
    return false;
}

bool ScriptPlayer::drivesFrames() const { return next_ >= steps_.size() || steps_[next_].command != "idle"; }

bool ScriptPlayer::run(const ScriptStep& step, App& app, Backend& backend) {
    const std::string& arg = step.argument;
    if (step.command == "wait") {
        if (stepFrame_ == 0) framesLeft_ = std::stoi(arg);
        return framesLeft_-- <= 0;
    }
    if (step.command == "click") {
        const std::vector<int> xy = numbers(arg);
        return click(static_cast<float>(xy.at(0)), static_cast<float>(xy.at(1)));
    }
    if (step.command == "click-label" || step.command == "right-click-label") {
        const std::optional<ItemRect> item = findItem(withLineBreaks(arg));
        expect(item.has_value(), step, "no item with this label; drawn: " + drawnTexts());
        const Uint8 button = step.command == "click-label" ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT;
        return !item || click(item->centre().x, item->centre().y, button);
    }
    if (step.command == "hover-label") {
        const std::optional<ItemRect> item = findItem(arg);
        expect(item.has_value(), step, "no item with this label; drawn: " + drawnTexts());
        if (item) {
            SDL_WarpMouseInWindow(shownWindow(), static_cast<int>(item->centre().x),
                                  static_cast<int>(item->centre().y));
            pushMotion(item->centre().x, item->centre().y);
        }
        return true;
    }
    if (step.command == "key") return pressKey(arg);
    if (step.command == "tap") return tapKey(arg);
    if (step.command == "drag-label") return drag(step);
    if (step.command == "wait-for") return textStartingWithWasDrawn(arg);
    if (step.command == "idle") return idle(std::stod(arg));
    if (step.command == "type") {
        pushText(arg);
    } else if (step.command == "drop") {
        std::vector<std::string> paths;
        for (const std::string& word : words(arg)) paths.push_back((folder_ / word).string());
        pushDrop(paths);
    } else if (step.command == "move") {
        const std::vector<int> xy = numbers(arg);
        SDL_SetWindowPosition(shownWindow(), xy.at(0), xy.at(1));
    } else if (step.command == "resize") {
        const std::vector<int> size = numbers(arg);
        SDL_SetWindowSize(shownWindow(), size.at(0), size.at(1));
    } else if (step.command == "screenshot") {
        pendingScreenshot_ = (folder_ / arg).string();
    } else if (step.command == "close") {
        pushCloseRequest();
    } else if (step.command == "keyboard") {
        layout_ = arg;
    } else if (step.command == "expect-title") {
        expect(backend.title() == arg, step, "title is \"" + backend.title() + "\"");
    } else if (step.command == "expect-text") {
        expect(textWasDrawn(arg), step, "drawn: " + drawnTexts());
    } else if (step.command == "expect-fit") {
        const std::string faults = layoutFaults();
        expect(faults.empty(), step, "not shown whole:\n" + faults);
    } else if (step.command == "expect-no-text") {
        expect(!textWasDrawn(arg), step, "it is still drawn");
    } else if (step.command == "expect-window") {
        const std::vector<int> want = numbers(arg);
        const ScreenRect r = backend.placement().normal;
        char seen[96];
        std::snprintf(seen, sizeof seen, "window is at %d %d size %lld %lld", r.left, r.top, r.width(), r.height());
        expect(r.left == want.at(0) && r.top == want.at(1) && r.width() == want.at(2) && r.height() == want.at(3),
               step, seen);
    } else if (step.command == "expect-projects") {
        expect(app.projects.size() == static_cast<size_t>(std::stoi(arg)), step,
               std::to_string(app.projects.size()) + " projects");
    } else if (step.command == "expect-icon") {
        const std::vector<int> want = numbers(arg);
        const auto size = windowIconSize(shownWindow());
        expect(size && size->first == want.at(0) && size->second == want.at(1), step,
               size ? "the icon is " + std::to_string(size->first) + " x " + std::to_string(size->second)
                    : "the window has no icon");
    } else if (step.command == "expect-idle-frames") {
        const std::vector<int> range = numbers(arg);
        expect(idleFrames_ >= range.at(0) && idleFrames_ <= range.at(1), step,
               std::to_string(idleFrames_) + " frames drawn while idle");
    } else if (step.command == "expect-glyph") {
        const auto codePoint = static_cast<ImWchar>(std::stoul(arg, nullptr, 16));
        expect(ImGui::GetFont()->FindGlyphNoFallback(codePoint) != nullptr, step, "the font has no such glyph");
    }
    return true;
}

void ScriptPlayer::beforeEvents(App& app, Backend& backend) {
    if (++framesPlayed_ > kMostFrames) {
        std::fprintf(stderr, "script still running after %d frames\n", kMostFrames);
        failed_ = true;
        quit();
    }
    if (quitting_) {
        stopRunningJobsWhenAsked();
        return;
    }
    if (next_ >= steps_.size()) {
        quit();
        return;
    }
    if (run(steps_[next_], app, backend)) {
        ++next_;
        stepFrame_ = 0;
    } else {
        ++stepFrame_;
    }
}

void ScriptPlayer::afterRender(App&, Backend&) {
    finishProbeFrame();
    if (!drivesFrames()) ++idleFrames_;
    if (pendingScreenshot_.empty()) return;
    if (!saveScreenshot(pendingScreenshot_)) {
        std::fprintf(stderr, "could not save the screenshot %s\n", pendingScreenshot_.c_str());
        failed_ = true;
    }
    pendingScreenshot_.clear();
}

}  // namespace rallinox::guitest
