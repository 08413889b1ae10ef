// rotorstrike-sim as a person runs it: what it prints, what it leaves, how it ends.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "temp_folder.h"
#include "tool_run.h"

namespace {

ToolRun runSim(const std::string& arguments) { return runProgram(ROTORSTRIKE_SIM, arguments); }

// A won level: status 0, the score printed, the file's values printed, and the timeline,
// the key screenshots and the chase map left where it says.
TEST(RotorstrikeSim, PlaysLevelOneAndLeavesItsFiles) {
    TempFolder out;
    const ToolRun run = runSim("--quiet --seed 1 --out '" + out.path() + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    std::smatch score;
    ASSERT_TRUE(std::regex_search(run.output, score, std::regex("won Level 1: score (\\d+), high score (\\d+)"))) << run.output;
    EXPECT_EQ(score[1], score[2]);
    EXPECT_NE(run.output.find("settings file: open_levels=2 upgrade_points=3 armor=1 weapon=1 high_score_0=" + score[1].str()),
              std::string::npos)
        << run.output;
    for (const char* name : {"timeline.txt", "menu.png", "instructions.png", "pursuit.png", "attack-ready.png", "result.png",
                             "chase-map.png"}) {
        SCOPED_TRACE(name);
        EXPECT_NE(run.output.find(out.file(name)), std::string::npos);
        EXPECT_GT(std::filesystem::file_size(out.file(name)), 1000u);
    }
    const std::string timeline = out.read("timeline.txt");
    for (const char* line : {"menu opened", "level 1 started", "salvo 1: warning", "strike 2: damage", "level won: score"}) {
        EXPECT_NE(timeline.find(line), std::string::npos) << line;
    }
}

// The ends that are not a win, each with its status and its reason.
TEST(RotorstrikeSim, RefusalsAndMistakesHaveTheirStatus) {
    TempFolder game;
    game.write("Rotorstrike.ini", "[Rotorstrike]\r\nopen_levels=3\r\n");
    TempFolder out;
    const std::string where = " --out '" + out.path() + "'";
    const struct {
        std::string arguments;
        int status;
        std::string said;
    } cases[] = {
        {"--quiet --level 3 --game-dir '" + game.path() + "'" + where, 3,
         "refused: You must upgrade your weapon in the menu before starting this level!"},
        {"--quiet --level 2" + where, 3, "refused: Level 2 is locked"},
        {"--quiet --max-frames 500" + where, 4, "out of frames after 500"},
        {"--level 9", 2, "--level 9: wants a whole number from 1 to 6"},
        {"--fast", 2, "no option --fast"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const ToolRun run = runSim(c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.output.find(c.said), std::string::npos) << run.output;
    }
}

}  // namespace
