// rotorstrike-ini as a player runs it: what it prints, what it writes, how it fails.
#include <gtest/gtest.h>

#include <string>

#include "temp_folder.h"
#include "tool_run.h"

namespace {

ToolRun runTool(const std::string& arguments) { return runProgram(ROTORSTRIKE_INI, arguments); }

TEST(RotorstrikeIni, GetsAndSetsAsTheGameDoes) {
    TempFolder folder;
    folder.write("regular", "x");
    const std::string file = "'" + folder.file("Rotorstrike.ini") + "'";
    const struct {
        std::string arguments;
        int status;
        std::string output;  // the output starts with this
    } steps[] = {
        {"get " + file + " Rotorstrike armor -1", 0, "4294967295\n"},
        {"set " + file + " Rotorstrike armor 3", 0, ""},
        {"set " + file + " rotorstrike weapon 0x10", 0, ""},
        {"get " + file + " ROTORSTRIKE Armor 1", 0, "3\n"},
        {"get " + file + " Rotorstrike weapon 1", 0, "16\n"},
        {"get " + file + " Other armor 4294967295", 0, "4294967295\n"},
        {"set " + file + " Rotorstrike open_menu_key F10", 0, ""},
        {"get-text " + file + " Rotorstrike open_menu_key F9", 0, "F10\n"},
        {"get-text " + file + " Rotorstrike attack_key NUM9", 0, "NUM9\n"},
        {"set '" + folder.file("regular") + "/x.ini' Rotorstrike armor 3", 2, "rotorstrike-ini: cannot set armor"},
        // Lines that would not read back as the entry written.
        {"set " + file + " Rotorstrike 'a=b' 3", 2, "rotorstrike-ini: cannot write 'a=b=3' in [Rotorstrike]: the key would end"},
        {"set " + file + " Rotorstrike '[x' ']'", 2, "rotorstrike-ini: cannot write '[x=]' in [Rotorstrike]: a line that starts"},
        {"set " + file + " Rotorstrike armor ' 3'", 2, "rotorstrike-ini: cannot write 'armor= 3' in [Rotorstrike]: blanks around"},
        {"set " + file + " Rotorstrike armor '\"3\"'", 2, "rotorstrike-ini: cannot write 'armor=\"3\"' in [Rotorstrike]: the matching"},
        {"set " + file + " 'a]b' armor 3", 2, "rotorstrike-ini: cannot write 'armor=3' in [a]b]: the section's name would end"},
        {"get " + file + " Rotorstrike armor many", 2, "rotorstrike-ini: DEFAULT must be"},
        {"get " + file + " Rotorstrike armor 4294967296", 2, "rotorstrike-ini: DEFAULT must be"},
        {"put " + file + " Rotorstrike armor 3", 2, "rotorstrike-ini: no command put"},
        {"get " + file, 2, "rotorstrike-ini: wants a command"},
        {"-h", 0, "usage: rotorstrike-ini get"},
    };
    for (const auto& step : steps) {
        const ToolRun run = runTool(step.arguments);
        EXPECT_EQ(run.status, step.status) << step.arguments;
        EXPECT_EQ(run.output.substr(0, step.output.size()), step.output) << step.arguments << "\n" << run.output;
    }
    EXPECT_EQ(folder.read("Rotorstrike.ini"), "[Rotorstrike]\r\narmor=3\r\nweapon=0x10\r\nopen_menu_key=F10\r\n");
}

}  // namespace
