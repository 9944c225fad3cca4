#include "ui/kit/folder_listing.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace rallinox::ui {
namespace {

namespace fs = std::filesystem;

class FolderListingTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("rallinox-listing-" + std::to_string(::getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "Season 2");
        fs::create_directories(root_ / "archive");
        fs::create_directories(root_ / ".cache");
        for (const char* name : {"b-final.MP4", "a-semi.mov", "notes.txt", ".hidden.mp4"}) {
            std::ofstream(root_ / name) << "x";
        }
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path root_;
};

TEST_F(FolderListingTest, FoldersFirstThenMatchingFilesByName) {
    const FolderListing listing = listFolder(root_.string(), {"*.mp4", "*.mov"}, false);
    EXPECT_TRUE(listing.error.empty());
    const std::vector<FolderEntry> expected{
        {"archive", true}, {"Season 2", true}, {"a-semi.mov", false}, {"b-final.MP4", false}};
    EXPECT_EQ(listing.entries, expected);
}

TEST_F(FolderListingTest, FolderPickingShowsOnlyFolders) {
    const FolderListing listing = listFolder(root_.string(), {"*"}, true);
    const std::vector<FolderEntry> expected{{"archive", true}, {"Season 2", true}};
    EXPECT_EQ(listing.entries, expected);
}

TEST_F(FolderListingTest, MissingFolderIsReportedNotThrown) {
    const FolderListing listing = listFolder((root_ / "gone").string(), {"*"}, false);
    EXPECT_TRUE(listing.entries.empty());
    EXPECT_NE(listing.error.find("cannot be read"), std::string::npos);
}

}  // namespace
}  // namespace rallinox::ui
