// The dialog programs run as real child processes; stand-in programs on the
// PATH answer the way zenity does.
#include "platform/command_file_dialog.h"

#include <thread>

#include "tests/platform/stand_in_programs.h"

namespace rallinox {
namespace {

class DialogProgramTest : public StandInPrograms {
protected:
    void installZenity(const std::string& body) { installProgram("zenity", body); }

    FileDialogRequest request_{FileDialogMode::OpenFile, "Choose a match video", {{"Videos", {"*.mp4"}}}, "", "", ""};
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
