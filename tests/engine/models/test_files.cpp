#include "test_files.h"

#include <fstream>
#include <iterator>

namespace rallinox::test {

std::vector<std::uint8_t> readSourceFile(const std::string& relativePath) {
    std::ifstream in(std::string(RALLINOX_SOURCE_DIR) + "/" + relativePath, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace rallinox::test
