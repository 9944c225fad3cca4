#include "ui/dialogs/export_choice.h"

#include <gtest/gtest.h>

#include "tests/support/rally_builders.h"

namespace rallinox::ui {
namespace {

Project finalMatch() {
    Project project = test::makeProject({{10, 18}, {30, 42.5}, {60, 65}, {80, 79}}, 5530);
    project.name = "Final";
    project.rallies[1].selected = false;
    project.rallies[1].name = "Long one";
    return project;
}

std::vector<int64_t> ids(const std::vector<Rally>& rallies) {
    std::vector<int64_t> found;
    for (const Rally& rally : rallies) found.push_back(rally.id);
    return found;
}

TEST(ExportChoice, ScopesChooseTickedAllOrTheHighlightedRallyInListOrder) {
    Project project = finalMatch();
    EXPECT_EQ(ids(chosenRallies(project, ExportScope::Ticked, 2)), (std::vector<int64_t>{1, 3, 4}));
    EXPECT_EQ(ids(chosenRallies(project, ExportScope::All, 0)), (std::vector<int64_t>{1, 2, 3, 4}));
    EXPECT_EQ(ids(chosenRallies(project, ExportScope::OnlyHighlighted, 2)), (std::vector<int64_t>{2}));
    for (Rally& each : project.rallies) each.selected = false;
    EXPECT_EQ(chosenRallies(project, ExportScope::All, 0).size(), 4u) << "all means all, ticked or not";
    EXPECT_TRUE(chosenRallies(project, ExportScope::Ticked, 0).empty());
}

TEST(ExportChoice, SummaryCountsTheChosenLengthWithBackwardsRalliesAsNothing) {
    const Project project = finalMatch();
    EXPECT_EQ(exportSummary(project, chosenRallies(project, ExportScope::Ticked, 0)),
              "The video will be 0:13 long (3 rallies), cut from 1:32:10.");
    EXPECT_EQ(exportSummary(project, chosenRallies(project, ExportScope::OnlyHighlighted, 2)),
              "The video will be 0:13 long (1 rally), cut from 1:32:10.");
    EXPECT_EQ(exportSummary(project, chosenRallies(project, ExportScope::Ticked, 0), true),
              "3 videos, one per rally, 0:13 in all, cut from 1:32:10.");
    EXPECT_EQ(exportSummary(project, chosenRallies(project, ExportScope::OnlyHighlighted, 2), true),
              "1 video, one per rally, 0:13 in all, cut from 1:32:10.");
    EXPECT_EQ(exportSummary(project, {}), "Nothing to export: tick at least one rally.");
}

TEST(ExportChoice, OnlyScopeWithoutAHighlightedRallyHasNothingToExport) {
    const Project project = finalMatch();
    EXPECT_EQ(onlyRallyLabel(project, 0), "Only the highlighted rally (none)");
    EXPECT_EQ(onlyRallyLabel(project, 3), "Only Rally 3");
    EXPECT_EQ(onlyRallyLabel(project, 2), "Only Long one");
    EXPECT_TRUE(chosenRallies(project, ExportScope::OnlyHighlighted, 0).empty());
    EXPECT_EQ(exportSummary(project, chosenRallies(project, ExportScope::OnlyHighlighted, 0)),
              "Nothing to export: tick at least one rally.");
}

TEST(ExportChoice, ProposedNameJoinsProjectAndWhatIsExported) {
    Project project = finalMatch();
    EXPECT_EQ(proposedFileName(project, ExportScope::Ticked, 3), "Final - rallies.mp4");
    EXPECT_EQ(proposedFileName(project, ExportScope::All, 3), "Final - rallies.mp4");
    EXPECT_EQ(proposedFileName(project, ExportScope::OnlyHighlighted, 3), "Final - Rally 3.mp4");
    EXPECT_EQ(proposedFileName(project, ExportScope::OnlyHighlighted, 2), "Final - Long one.mp4");
    project.name = "Cup 1/2";
    EXPECT_EQ(proposedFileName(project, ExportScope::Ticked, 0), "Cup 1-2 - rallies.mp4") << "a name, not a path";
}

}  // namespace
}  // namespace rallinox::ui
