// Version of the program, shown in the log's start line and the about screen.
#pragma once

namespace rallinox {

inline constexpr const char* kAppVersion = "0.1.0";

}  // namespace rallinox
