#include "platform/command_file_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace rallinox {
namespace {

using Args = std::vector<std::string>;

FileDialogRequest videoRequest(const std::string& startFolder) {
    FileDialogRequest request;
    request.title = "Choose a match video";
    request.filters = {{"Videos", {"*.mp4", "*.mov"}}, {"All files", {"*"}}};
    request.startFolder = startFolder;
    return request;
}

TEST(DialogProgramArguments, ZenityOpensWithFiltersInOrder) {
    const std::string tmp = std::filesystem::temp_directory_path().string();
    EXPECT_EQ(dialogProgramArguments(DialogProgram::Zenity, videoRequest(tmp)),
              (Args{"zenity", "--file-selection", "--title=Choose a match video", "--filename=" + tmp + "/",
                    "--file-filter=Videos | *.mp4 *.mov", "--file-filter=All files | *"}));
}

TEST(DialogProgramArguments, ZenitySaveProposesTheNameInTheFolder) {
    FileDialogRequest request;
    request.mode = FileDialogMode::SaveFile;
    request.title = "Save as";
    request.filters = {{"MP4 video", {"*.mp4"}}};
    request.startFolder = std::filesystem::temp_directory_path().string();
    request.fileName = "Final - rallies.mp4";
    const Args args = dialogProgramArguments(DialogProgram::Zenity, request);
    EXPECT_EQ(args[3], "--save");
    EXPECT_EQ(args[4], "--confirm-overwrite");
    EXPECT_EQ(args[5], "--filename=" + (std::filesystem::path(request.startFolder) / request.fileName).string());
}

TEST(DialogProgramArguments, MissingStartFolderIsLeftOut) {
    const Args args = dialogProgramArguments(DialogProgram::Zenity, videoRequest("/no/such/folder"));
    for (const std::string& arg : args) EXPECT_EQ(arg.rfind("--filename", 0), std::string::npos) << arg;
    const Args kde = dialogProgramArguments(DialogProgram::Kdialog, videoRequest("/no/such/folder"));
    EXPECT_EQ(kde[4], ".");
}

TEST(DialogProgramArguments, KdialogPicksFoldersWithoutFilters) {
    FileDialogRequest request;
    request.mode = FileDialogMode::PickFolder;
    request.title = "Choose a folder";
    request.startFolder = "/";
    EXPECT_EQ(dialogProgramArguments(DialogProgram::Kdialog, request),
              (Args{"kdialog", "--title", "Choose a folder", "--getexistingdirectory", "/"}));
}

TEST(DialogProgramArguments, KdialogFilterListUsesItsOwnSyntax) {
    const Args args = dialogProgramArguments(DialogProgram::Kdialog, videoRequest("/"));
    EXPECT_EQ(args[3], "--getopenfilename");
    EXPECT_EQ(args.back(), "*.mp4 *.mov|Videos\n*|All files");
}

}  // namespace
}  // namespace rallinox
