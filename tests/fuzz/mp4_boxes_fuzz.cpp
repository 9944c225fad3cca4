// libFuzzer harness for the MP4 box reader: any bytes, as a whole file and
// as the payload of a movie box, must give a finite start >= 0.
#include "video/mp4_boxes.h"

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream file(std::string(reinterpret_cast<const char*>(data), size));
    const double fromFile = rallinox::mp4VideoStartOffset(file);
    const double fromMovie = rallinox::mp4MovieVideoStartOffset({data, size});
    if (!std::isfinite(fromFile) || fromFile < 0.0 || !std::isfinite(fromMovie) || fromMovie < 0.0) std::abort();
    return 0;
}
