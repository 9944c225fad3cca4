// Files of the source tree that the model tests read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rallinox::test {

// Bytes of a file given relative to the source tree; empty when unreadable.
std::vector<std::uint8_t> readSourceFile(const std::string& relativePath);

}  // namespace rallinox::test
