// A test fixture whose own folder comes first on the PATH, so that shell
// scripts stand in for desktop programs (zenity, xdg-open).
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace rallinox {

class StandInPrograms : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() / ("rallinox-programs-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        savedPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("PATH", (folder_.string() + ":/usr/bin:/bin").c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", savedPath_.c_str(), 1);
        std::filesystem::remove_all(folder_);
    }

    void installProgram(const std::string& name, const std::string& shellBody) {
        const std::filesystem::path program = folder_ / name;
        std::ofstream(program) << "#!/bin/sh\n" << shellBody << "\n";
        std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    }

    std::filesystem::path folder_;

private:
    std::string savedPath_;
};

}  // namespace rallinox
