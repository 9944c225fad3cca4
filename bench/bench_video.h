// The benchmarks' stand-in match videos, made once with FFmpeg and kept in
// the temporary folder, so later runs time the very same file.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace bench {

// `ffmpegArgs` are the inputs and encoder options; the output file is added.
// Written under a partial name first, so an interrupted run leaves no
// truncated file to be taken for a finished one. Empty when FFmpeg fails.
inline std::string generatedOnce(const std::string& fileName, const std::string& description,
                                 const std::string& ffmpegArgs) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / fileName;
    if (std::filesystem::exists(path)) return path.string();
    std::printf("generating %s (once)...\n", description.c_str());
    const std::string partial = path.string() + ".part.mp4";
    const std::string command = "ffmpeg -nostdin -v error -y " + ffmpegArgs + " \"" + partial + '"';
    if (std::system(command.c_str()) != 0) return {};
    std::filesystem::rename(partial, path);
    return path.string();
}

}  // namespace bench
