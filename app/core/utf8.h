// UTF-8 encoding of single code points.
#pragma once

#include <cstdint>
#include <string>

namespace rallinox {

// Appends the code point as one to four bytes (values up to 0x1FFFFF).
void appendUtf8(std::string& out, uint32_t codePoint);

}  // namespace rallinox
