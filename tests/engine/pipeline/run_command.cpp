#include "run_command.h"

#include <array>
#include <cstdio>

namespace rallinox::test {

CommandOutput runCommand(const std::string& command) {
    CommandOutput result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    std::array<char, 4096> buffer;
    size_t read;
    while ((read = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) result.out.append(buffer.data(), read);
    result.status = pclose(pipe);
    return result;
}

std::string quoted(const std::string& text) {
    std::string result = "'";
    for (const char c : text) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

}  // namespace rallinox::test
