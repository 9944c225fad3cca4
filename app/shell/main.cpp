// Rallinox: cuts a volleyball match video down to its rallies.
// The only command-line argument is an optional video to open as a new project.
#include "app/shell/run_application.h"

int main(int argc, char** argv) {
    rallinox::RunOptions options;
    if (argc > 1) options.videoPath = argv[1];
    return rallinox::runApplication(options);
}
