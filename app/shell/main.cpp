// Rallinox: cuts a volleyball match video down to its rallies.
// The command line: [--reopen] [VIDEO], a video to open as a new project
// (with --reopen, as the project it already has).
#include "app/shell/run_application.h"

int main(int argc, char** argv) {
    return rallinox::runApplication(rallinox::runOptionsFromArguments({argv + 1, argv + argc}));
}
