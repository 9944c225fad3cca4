// rallinox-gui-test SCRIPT [--reopen] [VIDEO]: runs the real application with the
// in-app file dialogs and plays the script against it. Exit code 0 when
// every step passed, 1 when the application could not start, 2 when a
// step failed.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "app/shell/run_application.h"
#include "tests/gui/gui_script.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SCRIPT [VIDEO]\n", argv[0]);
        return 2;
    }
    const std::filesystem::path scriptFile = std::filesystem::absolute(argv[1]);
    std::ifstream in(scriptFile);
    std::stringstream text;
    text << in.rdbuf();
    std::vector<rallinox::guitest::ScriptStep> steps;
    try {
        steps = rallinox::guitest::parseScript(text.str());
    } catch (const std::runtime_error& error) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.what());
        return 2;
    }
    rallinox::guitest::ScriptPlayer player(std::move(steps), scriptFile.parent_path());
    rallinox::RunOptions options = rallinox::runOptionsFromArguments({argv + 2, argv + argc});
    options.dialogs = rallinox::ui::FileDialogs::Backends::InAppOnly;
    options.observer = &player;
    const int code = rallinox::runApplication(options);
    if (code != 0) return code;
    return player.failed() ? 2 : 0;
}
