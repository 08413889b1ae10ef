// rotorstrike-sim as a person runs it: what it prints, what it leaves, how it ends.
#include <gtest/gtest.h>

#include <gif_lib.h>

#include <filesystem>
#include <regex>
#include <string>

#include "added_rows.h"
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
    EXPECT_NE(run.output.find("settings file: open_levels=2 upgrade_points=3 armor=1 weapon=1 " + addedTierLines(kFirstTier, " ") +
                              "high_score_0=" + score[1].str()),
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
    TempFolder game, fresh;
    game.write("Rotorstrike.ini", "[Rotorstrike]\r\nopen_levels=3\r\n");
    fresh.write("Rotorstrike.ini", "[Rotorstrike]\r\n");
    TempFolder out;
    const std::string where = " --out '" + out.path() + "'";
    const std::string pastTheLast = std::to_string(kLevelCount + 1);
    const struct {
        std::string arguments;
        int status;
        std::string said;
    } cases[] = {
        {"--quiet --level 3 --game-dir '" + game.path() + "'" + where, 3,
         "refused: You must upgrade your weapon in the menu before starting this level!"},
        {"--quiet --level 2 --game-dir '" + fresh.path() + "'" + where, 3, "refused: Level 2 is locked"},
        {"--quiet --max-frames 500" + where, 4, "out of frames after 500"},
        {"--level " + pastTheLast, 2, "--level " + pastTheLast + ": wants a whole number from 1 to " + std::to_string(kLevelCount)},
        {"--fast", 2, "no option --fast"},
        {"--win-rate 3 --trace", 2, "--trace cannot go with --win-rate"},
        {"--game-dir '" + game.file("Rotorstrike.ini") + "/game'", 2, "cannot make this folder (Not a directory)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const ToolRun run = runSim(c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.output.find(c.said), std::string::npos) << run.output;
    }
}

// The campaign of seed 1 ends, each level's files in a folder of its own and of that level
// alone: its timeline from its own start, the result picture showing its own score, the chase
// drawn on its own map. A win rate of Level 3 starts every game with the weapon tier the level
// needs.
TEST(RotorstrikeSim, TheCampaignEndsAndEveryLevelCanBeMeasured) {
    TempFolder out;
    const ToolRun campaign = runSim("--campaign --seed 1 --out '" + out.path() + "'");
    EXPECT_EQ(campaign.status, 0) << campaign.output;
    EXPECT_NE(campaign.output.find("all levels complete"), std::string::npos) << campaign.output;
    const std::regex wonLine(R"((\d\d)  Level (\d)  won, score (\d+))");
    int levels = 0;
    for (std::sregex_iterator won(campaign.output.begin(), campaign.output.end(), wonLine), end; won != end; ++won, ++levels) {
        const std::string folder = (*won)[1].str() + "-level-" + (*won)[2].str(), score = (*won)[3].str();
        SCOPED_TRACE(folder);
        const std::string timeline = out.read(folder + "/timeline.txt");
        const std::size_t started = timeline.find("level " + (*won)[2].str() + " started");
        ASSERT_NE(started, std::string::npos) << timeline;
        EXPECT_GT(timeline.find("missile "), started);
        EXPECT_GT(timeline.find("strike "), started);
        std::smatch map;
        ASSERT_TRUE(std::regex_search(timeline.begin() + static_cast<std::ptrdiff_t>(started), timeline.end(), map,
                                      std::regex(R"(map laid around [^\n]+)")));
        EXPECT_NE(timeline.find("chase-map.png drawn on the " + map.str()), std::string::npos) << timeline;
        EXPECT_TRUE(std::regex_search(timeline, std::regex("picture result.png, the message on screen: Success! -- "
                                                           "(NEW HIGH SCORE|Score): " + score + " ")))
            << timeline;
    }
    EXPECT_EQ(levels, kListedLevels);
    const ToolRun rate = runSim("--win-rate 2 --level 3 --out '" + out.path() + "'");
    EXPECT_EQ(rate.status, 0) << rate.output;
    EXPECT_NE(rate.output.find("Level 3, armor 1, weapon 2: won 2 of 2 started"), std::string::npos) << rate.output;
    EXPECT_TRUE(std::filesystem::exists(out.file("win-rate.png")));
}

// The replay decodes through giflib, a picture every sixth frame; an earlier run's pictures
// that this one does not make are gone, and nothing else is touched.
TEST(RotorstrikeSim, TheReplayIsAGifAndOldPicturesGo) {
    TempFolder out;
    out.write("result.png", "an earlier run's");
    out.write("notes.txt", "mine");
    const ToolRun run = runSim("--quiet --replay --max-frames 600 --shot 5000 --out '" + out.path() + "'");
    EXPECT_EQ(run.status, 4) << run.output;
    EXPECT_NE(run.output.find("--shot 5000: the level ran frames 0 to 599; no picture"), std::string::npos) << run.output;
    EXPECT_FALSE(std::filesystem::exists(out.file("result.png")));
    EXPECT_EQ(out.read("notes.txt"), "mine");
    int error = 0;
    GifFileType* gif = DGifOpenFileName(out.file("replay.gif").c_str(), &error);
    ASSERT_NE(gif, nullptr) << GifErrorString(error);
    ASSERT_EQ(DGifSlurp(gif), GIF_OK);
    EXPECT_EQ(gif->ImageCount, 100);
    EXPECT_EQ(gif->SWidth, 480);
    EXPECT_EQ(gif->SHeight, 270);
    DGifCloseFile(gif, &error);
}

// Every tool answers -h, --help and --version alike, and names what was wrong.
TEST(Tools, BehaveAlike) {
    for (const char* tool : {ROTORSTRIKE_SIM, ROTORSTRIKE_SOAK, ROTORSTRIKE_INI}) {
        SCOPED_TRACE(tool);
        for (const char* help : {"-h", "--help"}) {
            const ToolRun run = runProgram(tool, std::string(help) + " 2>/dev/null");
            EXPECT_EQ(run.status, 0);
            EXPECT_EQ(run.output.rfind("usage: ", 0), 0u) << run.output;
            EXPECT_NE(run.output.find("Exit status: 0"), std::string::npos);
        }
        const ToolRun version = runProgram(tool, "--version");
        EXPECT_EQ(version.status, 0);
        EXPECT_NE(version.output.find(" " ROTORSTRIKE_VERSION "\n"), std::string::npos) << version.output;
        const ToolRun wrong = runProgram(tool, "--frobnicate 3");
        EXPECT_EQ(wrong.status, 2);
        EXPECT_NE(wrong.output.find("--frobnicate"), std::string::npos) << wrong.output;
        EXPECT_NE(wrong.output.find("--help' for the options"), std::string::npos) << wrong.output;
    }
}

// An output no one can write (a path through a regular file) is refused before any work, with
// the reason, and the same status by every tool.
TEST(Tools, RefuseAnOutputTheyCannotWriteAtOnce) {
    TempFolder folder;
    folder.write("regular", "x");
    const std::string blocked = "'" + folder.file("regular") + "/out'";
    const struct {
        const char* tool;
        std::string arguments, said;
    } cases[] = {
        {ROTORSTRIKE_SIM, "--out " + blocked, "cannot make this folder (Not a directory)"},
        {ROTORSTRIKE_SIM, "--campaign --out " + blocked, "cannot make this folder (Not a directory)"},
        {ROTORSTRIKE_SIM, "--win-rate 50 --out " + blocked, "cannot make this folder (Not a directory)"},
        {ROTORSTRIKE_SOAK, "--levels 50 --record " + blocked, "cannot write this file (Not a directory)"},
        {ROTORSTRIKE_INI, "set " + blocked + " Rotorstrike armor 3", "cannot set armor"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const ToolRun run = runProgram(c.tool, c.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.output.find(c.said), std::string::npos) << run.output;
    }
}

}  // namespace
