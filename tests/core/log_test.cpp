#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <thread>
#include <vector>

#include "app/log.h"
#include "tests/core/temp_dir.h"

namespace rallinox {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

class Log : public ::testing::Test {
protected:
    void TearDown() override { closeLog(); }

    test::TempDir dir;
    fs::path file = dir / "data" / "rallinox.log";
    fs::path old = dir / "data" / "rallinox.log.old";
};

TEST_F(Log, LinesHaveTimestampLevelAndMessage) {
    openLog(file);
    logStartLine();
    logError("project p1 could not be read");
    const std::vector<std::string> written = lines(test::readFile(file));
    ASSERT_EQ(written.size(), 2u);
    const std::regex stamp(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d )");
    EXPECT_TRUE(std::regex_search(written[0], stamp));
    EXPECT_EQ(written[0].substr(20), "[info] Rallinox 0.1.0 started");
    EXPECT_EQ(written[1].substr(20), "[error] project p1 could not be read");
    EXPECT_EQ(test::readFile(file).back(), '\n');
}

TEST_F(Log, EachStartKeepsOnlyThePreviousRunAsOld) {
    openLog(file);
    logInfo("first run");
    openLog(file);
    logInfo("second run");
    EXPECT_NE(test::readFile(old).find("first run"), std::string::npos);
    EXPECT_EQ(test::readFile(file).find("first run"), std::string::npos);
    EXPECT_NE(test::readFile(file).find("second run"), std::string::npos);

    openLog(file);
    logStartLine();
    EXPECT_EQ(test::readFile(old).find("first run"), std::string::npos);
    EXPECT_NE(test::readFile(old).find("second run"), std::string::npos);
    EXPECT_NE(lines(test::readFile(file)).at(0).find("[info] Rallinox 0.1.0 started"), std::string::npos);
    EXPECT_EQ(lines(test::readFile(file)).size(), 1u);
}

TEST_F(Log, LinesBeforeOpeningOrAfterClosingAreDropped) {
    logInfo("nowhere");
    openLog(file);
    closeLog();
    logInfo("dropped too");
    EXPECT_EQ(test::readFile(file), "");
}

TEST_F(Log, UnopenableLogIsSilentlyOff) {
    fs::create_directories(dir / "blocked");
    test::writeFile(dir / "blocked" / "file", "");
    openLog(dir / "blocked" / "file" / "rallinox.log");  // parent is a file
    logError("goes nowhere");
    SUCCEED();
}

TEST_F(Log, MessagesAreWrittenUnchanged) {
    openLog(file);
    logInfo("new project \xd0\x9c\xd0\xb0\xd1\x82\xd1\x87");
    logInfo("two\nlines");
    const std::string text = test::readFile(file);
    EXPECT_NE(text.find("] new project \xd0\x9c\xd0\xb0\xd1\x82\xd1\x87\n"), std::string::npos);
    EXPECT_NE(text.find("] two\nlines\n"), std::string::npos);
}

TEST_F(Log, LinesFromSeveralThreadsNeverInterleave) {
    openLog(file);
    constexpr int kThreads = 4;
    constexpr int kLines = 500;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            const std::string message = "thread " + std::to_string(t) + " " + std::string(200, static_cast<char>('a' + t));
            for (int i = 0; i < kLines; ++i) (t % 2 ? logError : logInfo)(message);
        });
    }
    for (std::thread& thread : threads) thread.join();
    const std::vector<std::string> written = lines(test::readFile(file));
    ASSERT_EQ(written.size(), static_cast<size_t>(kThreads * kLines));
    const std::regex whole(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d \[(info|error)\] thread (\d) ([a-d]{200}))");
    for (const std::string& line : written) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(line, match, whole)) << line;
        const int t = std::stoi(match[2]);
        EXPECT_EQ(match[1], t % 2 ? "error" : "info");
        EXPECT_EQ(match[3], std::string(200, static_cast<char>('a' + t)));
    }
}

}  // namespace
}  // namespace rallinox
