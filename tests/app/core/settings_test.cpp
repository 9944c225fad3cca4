#include <gtest/gtest.h>

#include "app/core/json.h"
#include "app/core/log.h"
#include "app/core/settings.h"
#include "tests/support/temp_dir.h"

namespace rallinox {
namespace {

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override { openLog(dir / "rallinox.log"); }
    void TearDown() override { closeLog(); }

    Settings loadText(const std::string& text) {
        test::writeFile(file, text);
        Settings settings;
        settings.load(file);
        return settings;
    }
    std::string log() const { return test::readFile(dir / "rallinox.log"); }

    test::TempDir dir;
    std::filesystem::path file = dir / "settings.json";
};

TEST_F(SettingsFile, MissingFileKeepsDefaultsSilently) {
    Settings settings;
    settings.load(file);
    EXPECT_EQ(settings.startPaddingSec, 1.5);
    EXPECT_EQ(settings.endPaddingSec, 3.0);
    EXPECT_EQ(settings.minRallySec, 1.5);
    EXPECT_EQ(settings.exportDir, "");
    EXPECT_FALSE(settings.writeEdl);
    EXPECT_TRUE(settings.includeAudio);
    EXPECT_TRUE(settings.boardEnabled);
    EXPECT_EQ(settings.boardStyle, BoardStyle::TwoRows);
    EXPECT_EQ(settings.boardPosition, BoardPosition::TopLeft);
    EXPECT_EQ(settings.boardTiming, BoardTiming::WholeRally);
    EXPECT_FALSE(settings.decideByNextServe);
    EXPECT_EQ(log(), "");
}

TEST_F(SettingsFile, ChoicesAreTruncatedAndClamped) {
    EXPECT_EQ(loadText("{\"boardPosition\": 7}").boardPosition, BoardPosition::BottomLeft);
    EXPECT_EQ(loadText("{\"boardStyle\": -3}").boardStyle, BoardStyle::TwoRows);
    EXPECT_EQ(loadText("{\"boardTiming\": 1.9}").boardTiming, BoardTiming::StartAndEnd);
    EXPECT_EQ(loadText("{\"boardPosition\": 1e300}").boardPosition, BoardPosition::BottomLeft);
    EXPECT_EQ(loadText("{\"boardStyle\": \"1\"}").boardStyle, BoardStyle::TwoRows);
}

TEST_F(SettingsFile, MistypedValuesTakeTheirDefaults) {
    const Settings settings = loadText(
        "{\"includeAudio\": 0, \"writeEdl\": \"yes\", \"exportDir\": 5, \"startPaddingSec\": \"2\","
        " \"boardEnabled\": null}");
    EXPECT_TRUE(settings.includeAudio);
    EXPECT_FALSE(settings.writeEdl);
    EXPECT_EQ(settings.exportDir, "");
    EXPECT_EQ(settings.startPaddingSec, 1.5);
    EXPECT_TRUE(settings.boardEnabled);
}

TEST_F(SettingsFile, OutOfRangePaddingsAreUsedAsStored) {
    const Settings settings = loadText("{\"startPaddingSec\": 9, \"minRallySec\": -1}");
    EXPECT_EQ(settings.startPaddingSec, 9);
    EXPECT_EQ(settings.minRallySec, -1);
}

TEST_F(SettingsFile, UnparseableFileLogsAndKeepsDefaults) {
    const Settings settings = loadText("not json");
    EXPECT_EQ(settings, Settings{});
    EXPECT_NE(log().find("[error] settings unreadable, using defaults: JSON unexpected character at offset 0\n"),
              std::string::npos)
        << log();
}

TEST_F(SettingsFile, SaveWritesAllElevenKeysAndLoadsBackEqual) {
    Settings settings;
    settings.endPaddingSec = 2;
    ASSERT_TRUE(settings.save(file));
    const std::string text = test::readFile(file);
    EXPECT_EQ(text,
              "{\n"
              "  \"boardEnabled\": true,\n"
              "  \"boardPosition\": 0,\n"
              "  \"boardStyle\": 0,\n"
              "  \"boardTiming\": 0,\n"
              "  \"decideByNextServe\": false,\n"
              "  \"endPaddingSec\": 2,\n"
              "  \"exportDir\": \"\",\n"
              "  \"includeAudio\": true,\n"
              "  \"minRallySec\": 1.5,\n"
              "  \"startPaddingSec\": 1.5,\n"
              "  \"writeEdl\": false\n"
              "}");

    Settings changed;
    changed.startPaddingSec = 1.2f;
    changed.exportDir = "/home/\xd0\x9c/Videos";
    changed.writeEdl = true;
    changed.includeAudio = false;
    changed.boardEnabled = false;
    changed.boardStyle = BoardStyle::OneBar;
    changed.boardPosition = BoardPosition::BottomLeft;
    changed.boardTiming = BoardTiming::StartAndEnd;
    changed.decideByNextServe = true;
    ASSERT_TRUE(changed.save(file));
    Settings reread;
    reread.load(file);
    EXPECT_EQ(reread, changed);
}

TEST_F(SettingsFile, SaveReplacesADamagedFile) {
    test::writeFile(file, "{{{{ damaged and longer than the new content would be otherwise ...............");
    Settings settings;
    settings.load(file);
    ASSERT_TRUE(settings.save(file));
    EXPECT_NO_THROW(JsonValue::parse(test::readFile(file)));
}

TEST_F(SettingsFile, FailedSaveKeepsTheOldFileWhole) {
    Settings before;
    before.writeEdl = true;
    ASSERT_TRUE(before.save(file));
    const std::string oldText = test::readFile(file);
    const std::filesystem::path temp = std::filesystem::path(file) += ".tmp";
    std::filesystem::create_symlink("/dev/full", temp);  // every write there fails as on a full disk
    Settings changed = before;
    changed.exportDir = "/media/usb";
    EXPECT_FALSE(changed.save(file));
    EXPECT_EQ(test::readFile(file), oldText);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(temp))) << "nothing is left behind";
}

TEST_F(SettingsFile, SaveIntoMissingFolderFails) {
    EXPECT_FALSE(Settings{}.save(dir / "missing" / "settings.json"));
}

}  // namespace
}  // namespace rallinox
