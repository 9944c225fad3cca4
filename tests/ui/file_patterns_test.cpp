#include "ui/kit/file_patterns.h"

#include <gtest/gtest.h>

namespace rallinox::ui {
namespace {

TEST(FilePatterns, ExtensionPatternsIgnoreLetterCase) {
    EXPECT_TRUE(matchesPattern("final.MP4", "*.mp4"));
    EXPECT_TRUE(matchesPattern("final.mp4", "*.MP4"));
    EXPECT_FALSE(matchesPattern("final.mp4.part", "*.mp4"));
    EXPECT_FALSE(matchesPattern(".mp4", "*.mp4")) << "a bare extension is not a video name";
    EXPECT_TRUE(matchesPattern("anything", "*"));
    EXPECT_TRUE(matchesPattern("notes", "*.*"));
}

TEST(FilePatterns, SplitsTheDialogPatternList) {
    EXPECT_EQ(splitPatterns("*.mp4;*.mov;*.m4v"), (std::vector<std::string>{"*.mp4", "*.mov", "*.m4v"}));
    EXPECT_EQ(splitPatterns("*.edl"), (std::vector<std::string>{"*.edl"}));
    EXPECT_EQ(splitPatterns(";*.mp4;;"), (std::vector<std::string>{"*.mp4"}));
    EXPECT_TRUE(splitPatterns("").empty());
}

TEST(FilePatterns, DefaultExtensionOnlyWhenNoneWasTyped) {
    EXPECT_EQ(withDefaultExtension("/videos/final", "mp4"), "/videos/final.mp4");
    EXPECT_EQ(withDefaultExtension("/videos/final.mov", "mp4"), "/videos/final.mov");
    EXPECT_EQ(withDefaultExtension("/videos.d/final", "mp4"), "/videos.d/final.mp4");
    EXPECT_EQ(withDefaultExtension("/videos/final", ""), "/videos/final");
}

}  // namespace
}  // namespace rallinox::ui
