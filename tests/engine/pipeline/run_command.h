// Runs a shell command line and keeps what it printed on standard output.
#pragma once

#include <string>

namespace rallinox::test {

struct CommandOutput {
    int status = -1;  // as the shell reports it: 0 for success
    std::string out;
};

CommandOutput runCommand(const std::string& command);

// `text` in single quotes for the shell.
std::string quoted(const std::string& text);

}  // namespace rallinox::test
