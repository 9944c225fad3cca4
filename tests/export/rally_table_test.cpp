// The rally list as a spreadsheet reads it.
#include "export/rally_table.h"

#include <gtest/gtest.h>

#include "tests/support/rally_builders.h"

namespace rallinox {
namespace {

TEST(RallyTable, OneRowPerChosenRallyWithTimesBreaksAndTheRunningScore) {
    Project project;
    project.rallies = test::scriptedRallies("ha|h", 12.5);
    project.match.homeName = "Lions";
    project.match.awayName = "Bears";
    project.rallies[0].startSec = 3725.25;  // 1:02:05.25
    project.rallies[0].endSec = 3730.0;
    const std::vector<Rally> chosen = {project.rallies[0], project.rallies[2]};
    EXPECT_EQ(rallyTableCsv(project, chosen),
              "\xEF\xBB\xBFNumber,Name,Start,End,Length,Break before,Winner,Set,Score after\r\n"
              "1,Rally 1,1:02:05.25,1:02:10.00,4.75,,Lions,1,1 - 0\r\n"
              "2,Rally 3,0:03:20.00,0:03:32.50,12.50,87.50,Lions,2,1 - 0\r\n");
}

TEST(RallyTable, NamesAreQuotedAsSpreadsheetsExpectAndNeverRunAsFormulas) {
    Project project;
    project.rallies = test::scriptedRallies("..", 5);
    project.rallies[0].name = "Block, then \"ace\"\nlong";
    project.rallies[1].name = "=HYPERLINK(\"x\")";
    const std::string table = rallyTableCsv(project, project.rallies);
    EXPECT_NE(table.find("1,\"Block, then \"\"ace\"\"\nlong\",0:00:00.00,0:00:05.00,5.00,,,,\r\n"), std::string::npos)
        << table;
    EXPECT_NE(table.find("2,\"'=HYPERLINK(\"\"x\"\")\",0:01:40.00"), std::string::npos)
        << "unscored: no winner, set or score";
}

}  // namespace
}  // namespace rallinox
