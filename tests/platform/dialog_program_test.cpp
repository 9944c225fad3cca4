// The dialog programs run as real child processes; stand-in programs on the
// PATH answer the way zenity does.
#include "platform/command_file_dialog.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace rallinox {
namespace {

namespace fs = std::filesystem;

class DialogProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("rallinox-dialog-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
        savedPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("PATH", (folder_.string() + ":/usr/bin:/bin").c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", savedPath_.c_str(), 1);
        fs::remove_all(folder_);
    }

    void installZenity(const std::string& body) {
        const fs::path program = folder_ / "zenity";
        std::ofstream(program) << "#!/bin/sh\n" << body << "\n";
        fs::permissions(program, fs::perms::owner_all);
    }

    FileDialogRequest request_{FileDialogMode::OpenFile, "Choose a match video", {{"Videos", {"*.mp4"}}}, "", "", ""};
    fs::path folder_;
    std::string savedPath_;
};

TEST_F(DialogProgramTest, ChosenPathIsReturnedWithoutTheLineEnd) {
    installZenity("echo '/videos/Final match.mp4'");
    const DialogAnswer answer = runCommandFileDialog(request_, std::stop_token());
    EXPECT_EQ(answer.outcome, DialogOutcome::Chosen);
    EXPECT_EQ(answer.path, "/videos/Final match.mp4");
}

TEST_F(DialogProgramTest, ExitCodeOneIsACancel) {
    installZenity("exit 1");
    EXPECT_EQ(runCommandFileDialog(request_, std::stop_token()).outcome, DialogOutcome::Cancelled);
}

TEST_F(DialogProgramTest, CrashingProgramMeansNoDialog) {
    installZenity("exit 5");
    EXPECT_EQ(runCommandFileDialog(request_, std::stop_token()).outcome, DialogOutcome::Unavailable);
}

TEST_F(DialogProgramTest, NoProgramInstalledMeansNoDialog) {
    setenv("PATH", folder_.c_str(), 1);
    EXPECT_EQ(runCommandFileDialog(request_, std::stop_token()).outcome, DialogOutcome::Unavailable);
}

TEST_F(DialogProgramTest, StopRequestEndsAnOpenDialog) {
    installZenity("exec sleep 600");
    std::stop_source stop;
    DialogAnswer answer;
    std::thread dialog([&] { answer = runCommandFileDialog(request_, stop.get_token()); });
    stop.request_stop();
    dialog.join();
    EXPECT_EQ(answer.outcome, DialogOutcome::Cancelled);
}

}  // namespace
}  // namespace rallinox
