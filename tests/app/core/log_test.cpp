#include <gtest/gtest.h>

#include <cctype>
#include <sstream>
#include <thread>
#include <vector>

#include "app/core/log.h"
#include "tests/support/temp_dir.h"

namespace rallinox {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

// "YYYY-MM-DD HH:MM:SS" followed by a blank.
bool startsWithTimestamp(const std::string& line) {
    const std::string pattern = "dddd-dd-dd dd:dd:dd ";
    if (line.size() < pattern.size()) return false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const bool ok = pattern[i] == 'd' ? std::isdigit(static_cast<unsigned char>(line[i])) != 0 : line[i] == pattern[i];
        if (!ok) return false;
    }
    return true;
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
    EXPECT_TRUE(startsWithTimestamp(written[0])) << written[0];
    EXPECT_TRUE(startsWithTimestamp(written[1])) << written[1];
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
    // Odd threads log errors, even ones information, each its own long message.
    const auto expected = [](int t) {
        return std::string(t % 2 ? "[error]" : "[info]") + " thread " + std::to_string(t) + " " +
               std::string(200, static_cast<char>('a' + t));
    };
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
    std::vector<int> perThread(kThreads);
    for (const std::string& line : written) {
        ASSERT_TRUE(startsWithTimestamp(line)) << line;
        const std::string rest = line.substr(20);
        int t = -1;
        for (int candidate = 0; candidate < kThreads; ++candidate) {
            if (rest == expected(candidate)) t = candidate;
        }
        ASSERT_NE(t, -1) << line;
        ++perThread[t];
    }
    EXPECT_EQ(perThread, std::vector<int>(kThreads, kLines));
}

}  // namespace
}  // namespace rallinox
