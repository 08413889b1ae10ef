// The menu as the player meets it: what it draws, where the cursor stops, what each row does,
// and what the settings file holds afterwards.
#include <algorithm>
#include <string>
#include <vector>

#include "added_rows.h"
#include "menu/menu.h"
#include "plugin_test.h"
#include "seam.h"
#include "virtual_keys.h"

namespace {


class MenuTest : public PluginTest {
protected:
    // Starts the script with this settings file in the game's folder (none when empty).
    void startWith(const std::string& settings) {
        if (!settings.empty()) writeSettings("[Rotorstrike]\r\n" + settings);
        host.runFrame();
    }

    void openMenu(const std::string& settings, int32_t menuKey = vk::F9) {
        startWith(settings);
        host.pressFor1Frame(menuKey);
        ASSERT_EQ(mod.menuOpen, 1);
    }

    // Runs the frames the level start waits through (fade, spawn, intro).
    void finishLevelStart() {
        for (int frame = 0; frame < 1000 && mod.menuOpen; ++frame) host.runFrame();
    }

    // The rows' texts this frame, in drawing order, with "grey " before a grey one.
    std::vector<std::string> drawnLines() const {
        std::vector<std::string> lines;
        for (const sim::ScreenText& text : host.screen().texts) {
            lines.push_back((text.style.colour == sim::Rgba{150, 150, 150, 255} ? "grey " : "") + text.text);
        }
        return lines;
    }

    // A key of the settings file as the profile functions read it (-1 when absent).
    static int32_t storedValue(const char* key) {
        return static_cast<int32_t>(readProfileInt("Rotorstrike", key, -1, ".\\Rotorstrike.ini"));
    }
};

// The menu's rows as a player knows them, and where each row's text stands.
TEST(MenuRows, TheRowsStandWhereThePlayerKnowsThem) {
    using Kind = MenuRowKind;
    struct Row {
        Kind kind;
        int32_t index;  // a level row's level, an upgrade row's upgrade
    };
    // Levels added to the table come after Level 5, upgrades after the weapon.
    std::vector<Row> rows = {{Kind::Level, 0}, {Kind::Level, 1}, {Kind::Level, 2}, {Kind::Level, 3}, {Kind::Level, 4}};
    for (int32_t level = kFirstAddedLevel; level < kListedLevels; ++level) rows.push_back({Kind::Level, level});
    rows.insert(rows.end(), {{Kind::Level, kLastLevel}, {Kind::Balance, 0}, {Kind::Upgrade, 0}, {Kind::Upgrade, 1}});
    for (int32_t upgrade = kFirstAddedUpgrade; upgrade < kUpgrades; ++upgrade) rows.push_back({Kind::Upgrade, upgrade});
    rows.insert(rows.end(), {{Kind::Gap, 0}, {Kind::Instructions, 0}});
    // Each row's text, and the credit line under the last; a row added goes 0.03 further down.
    std::vector<float> heights = {0.18f, 0.21f, 0.24f, 0.27f, 0.30f, 0.33f, 0.36f, 0.39f, 0.42f, 0.45f, 0.48f, 0.51f};
    while (heights.size() <= static_cast<std::size_t>(kMenuRows)) {
        heights.push_back(static_cast<float>((18 + 3 * static_cast<int>(heights.size())) / 100.0));
    }
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kMenuRows));
    for (int32_t row = 0; row < kMenuRows; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(kMenuTable[row].kind, rows[row].kind);
        EXPECT_EQ(rows[row].kind == Kind::Upgrade ? kMenuTable[row].upgrade : kMenuTable[row].level, rows[row].index);
        EXPECT_EQ(menuRowY(row), heights[row]);
    }
    EXPECT_EQ(upgradeTable[kMenuTable[kArmorRow].upgrade].price, 4);
    EXPECT_EQ(upgradeTable[kMenuTable[kWeaponRow].upgrade].price, 3);
    EXPECT_EQ(menuRowY(kMenuRows), heights[kMenuRows]);  // the credit line
}

TEST_F(MenuTest, OnlyLevel1OpenStopsOnItsRowAndTheInstructions) {
    openMenu("");
    EXPECT_EQ(mod.menuCursor, 0);
    EXPECT_EQ(drawnLines(), withAddedRows({"Rotorstrike Menu", "Level 1 - Normal", "grey Level 2", "grey Level 3",
                                           "grey Level 4", "grey Level 5", "UPoints: 0", "grey ARMOR I (UP:4)",
                                           "grey WEAPON I (UP:3)", "Instructions", "BY ORVEN (v1.0)"},
                                          0));
    ASSERT_EQ(host.screen().rects.size(), 2u);
    EXPECT_FLOAT_EQ(host.screen().rects[1].y, 0.192f);

    const struct {
        int32_t key;
        int32_t row;
    } walk[] = {{vk::Numpad2, kInstructionsRow}, {vk::Numpad2, kInstructionsRow}, {vk::Numpad8, 0}, {vk::Numpad8, 0},
                {vk::Numpad2, kInstructionsRow}};
    for (const auto& step : walk) {
        const std::size_t soundsBefore = host.frontendSounds().size();
        host.tapKey(step.key);
        EXPECT_EQ(mod.menuCursor, step.row);
        // Every move plays the navigation sound, even against an end.
        ASSERT_EQ(host.frontendSounds().size(), soundsBefore + 1);
        EXPECT_EQ(host.frontendSounds().back().name, "NAV_UP_DOWN");
        EXPECT_EQ(host.frontendSounds().back().soundSet, "HUD_FRONTEND_DEFAULT_SOUNDSET");
        EXPECT_EQ(host.frontendSounds().back().soundId, -1);
    }
    host.runFrame();
    EXPECT_NEAR(host.screen().rects[1].y, 0.492f + 0.03f * kAddedMenuRows, 1e-6f);  // the bar under "Instructions"
}

TEST_F(MenuTest, CursorSkipsRowsThatCannotBeSelected) {
    openMenu("open_levels=5\r\nupgrade_points=4\r\n" + addedTierLines(kTopTier));  // any added upgrade at its top
    EXPECT_EQ(mod.menuCursor, 4);
    host.tapKey(vk::Numpad2);
    EXPECT_EQ(mod.menuCursor, kArmorRow);  // past the locked and the unlabelled rows and the balance
    host.tapKey(vk::Numpad2);
    EXPECT_EQ(mod.menuCursor, kWeaponRow);
    host.tapKey(vk::Numpad2);
    EXPECT_EQ(mod.menuCursor, kInstructionsRow);
    host.tapKey(vk::Numpad8);
    host.tapKey(vk::Numpad8);
    host.tapKey(vk::Numpad8);
    EXPECT_EQ(mod.menuCursor, 4);

    // Keys held together: only the first in the order up, down, select, back acts.
    host.runFrames(sim::kKeyLockoutFrames);
    for (const int32_t key : {vk::Numpad8, vk::Numpad2, vk::Numpad5, vk::Numpad0}) host.setKey(key, true);
    const std::size_t soundsBefore = host.frontendSounds().size();
    host.runFrame();
    EXPECT_EQ(mod.menuCursor, 3);
    EXPECT_EQ(mod.menuOpen, 1);
    EXPECT_EQ(host.frontendSounds().size(), soundsBefore + 1);
}

TEST_F(MenuTest, MenuOpensOnTheHighestOpenLevel) {
    // Every level open: the hidden last one; a count out of range: the listed ones.
    for (const auto& [openLevels, row] : {std::pair{3, 2}, std::pair{kLevelCount, kLastLevel}, std::pair{1, 0},
                                          std::pair{0, kLastListedLevel}}) {
        writeSettings("[Rotorstrike]\r\nopen_levels=" + std::to_string(openLevels) + "\r\n");
        host.load();
        host.runFrame();
        host.pressFor1Frame(vk::F9);
        EXPECT_EQ(mod.menuCursor, row) << "open_levels=" << openLevels;
    }
}

TEST_F(MenuTest, HoldingNumpad2WalksOneRowEvery200Milliseconds) {
    // Every level open, from five rows above the last level's on (the first row's, today).
    openMenu("open_levels=" + std::to_string(kLevelCount) + "\r\nupgrade_points=10\r\n");
    mod.menuCursor = kLastLevel - 5;
    host.runFrames(sim::kKeyLockoutFrames);
    host.setKey(vk::Numpad2, true);
    std::vector<int64_t> moves;
    std::vector<int32_t> rows;
    int32_t row = mod.menuCursor;
    for (int frame = 0; frame < 80; ++frame) {
        host.runFrame();
        if (mod.menuCursor != row) {
            moves.push_back(host.frame());
            rows.push_back(mod.menuCursor);
        }
        row = mod.menuCursor;
    }
    EXPECT_EQ(rows, (std::vector<int32_t>{kLastLevel - 4, kLastLevel - 3, kLastLevel - 2, kLastLevel - 1, kLastLevel,
                                          kArmorRow, kWeaponRow}));
    for (std::size_t i = 1; i < moves.size(); ++i) EXPECT_EQ(moves[i] - moves[i - 1], 13);
}

// Each purchase ends in the file; the cursor stays while another tier is affordable there.
TEST_F(MenuTest, PurchasesAreWrittenAndMoveTheCursorWhenSpent) {
    const struct {
        const char* name;
        const char* settings;
        int32_t row;
        int32_t points, armor, weapon, cursor;
    } cases[] = {
        {"armor from 8", "armor=1\r\nupgrade_points=8\r\n", kArmorRow, 4, 2, 1, kArmorRow},
        {"armor from 7", "armor=1\r\nupgrade_points=7\r\n", kArmorRow, 3, 2, 1, 0},
        {"armor to the top", "armor=3\r\nupgrade_points=10\r\n", kArmorRow, 6, 4, 1, 0},
        {"weapon from 3", "weapon=1\r\nupgrade_points=3\r\n", kWeaponRow, 0, 1, 2, 0},
        {"weapon from 5", "weapon=1\r\nupgrade_points=5\r\n", kWeaponRow, 2, 1, 2, 0},
        {"weapon from 7", "weapon=2\r\nupgrade_points=7\r\n", kWeaponRow, 4, 1, 3, kWeaponRow},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeSettings(std::string("[Rotorstrike]\r\n") + c.settings);
        host.load();
        host.runFrame();
        host.pressFor1Frame(vk::F9);
        host.runFrames(sim::kKeyLockoutFrames);
        mod.menuCursor = c.row;
        host.tapKey(vk::Numpad5);
        EXPECT_EQ(mod.upgradePoints, c.points);
        EXPECT_EQ(mod.upgradeLevels[kArmorUpgrade], c.armor);
        EXPECT_EQ(mod.upgradeLevels[kWeaponUpgrade], c.weapon);
        EXPECT_EQ(mod.menuCursor, c.cursor);
        EXPECT_EQ(storedValue("upgrade_points"), c.points);
        EXPECT_EQ(storedValue("armor"), c.armor);
        EXPECT_EQ(storedValue("weapon"), c.weapon);
        if (c.cursor != c.row) {
            EXPECT_EQ(mod.menuItemEnabled[c.row], 0);
        }
    }
}

// A purchase the file did not get is undone by a load and reported, and the cursor stays on
// its row; a rollback that could not be written waits, and is written at the next load.
TEST_F(MenuTest, APurchaseNotStoredIsUndoneAndReported) {
    const struct {
        const char* what;
        int purchases;
        int failAfter;  // writes refused from the purchase's this many on; -1: a lock after the first
        int32_t pointsInFile;  // right after the purchases
    } cases[] = {
        {"the tier refused", 1, 1, 8},
        {"the tier refused twice on the same row", 2, 1, 8},
        {"the points refused", 1, 0, 8},
        {"a lock after the points: the rollback waits", 1, -1, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        openMenu("armor=1\r\nupgrade_points=8\r\n");
        host.runFrames(sim::kKeyLockoutFrames);
        mod.menuCursor = kArmorRow;
        int notices = 0;
        for (int purchase = 0; purchase < c.purchases; ++purchase) {
            if (c.failAfter >= 0) host.gameFolder().failNextWrites(1, c.failAfter);
            if (c.failAfter < 0) host.gameFolder().armWriteFault(1, sim::GameFolder::WriteFault::LockAfter);
            host.tapKey(vk::Numpad5);
            host.gameFolder().failNextWrites(0);
            for (const sim::Notification& notice : host.screen().notifications) notices += notice.text == kUnsaved ? 1 : 0;
        }
        EXPECT_EQ(notices, c.purchases);
        EXPECT_EQ(mod.upgradePoints, 8);
        EXPECT_EQ(mod.upgradeLevels[kArmorUpgrade], 1);
        EXPECT_EQ(mod.menuCursor, kArmorRow);
        host.gameFolder().unlock();
        EXPECT_EQ(storedValue("upgrade_points"), c.pointsInFile);
        EXPECT_EQ(storedValue("armor"), 1);
        host.tapKey(vk::Numpad8);
        EXPECT_EQ(storedValue("upgrade_points"), 8);
        host.load();
    }
}

TEST_F(MenuTest, LevelRowsAskForAVehicleThenForAWeapon) {
    openMenu("open_levels=3\r\n");
    ASSERT_EQ(mod.menuCursor, 2);
    host.tapKey(vk::Numpad5);  // on foot: the vehicle comes first
    host.runFrame();
    EXPECT_NE(host.screen().findText("You need a vehicle!"), nullptr);
    EXPECT_EQ(mod.messageTotalFrames, 140);
    EXPECT_TRUE(mod.messageRising);

    host.world().entities().putPlayerInVehicle();
    host.tapKey(vk::Numpad5);
    host.runFrame();
    EXPECT_NE(host.screen().findText("You must upgrade your weapon in the menu before starting this level!"), nullptr);
    EXPECT_EQ(mod.messageTotalFrames, 150);
    EXPECT_EQ(mod.menuOpen, 1);
    EXPECT_EQ(mod.menuCursor, 2);

    host.tapKey(vk::Numpad8);  // Level 2 needs no weapon upgrade
    mod.instructionsShown = 1;
    host.tapKey(vk::Numpad5);
    EXPECT_EQ(mod.currentLevel, 1);
    // The menu and the panel close once the level start returns.
    EXPECT_EQ(mod.menuOpen, 1);
    finishLevelStart();
    EXPECT_EQ(mod.menuOpen, 0);
    EXPECT_EQ(mod.instructionsShown, 0);
    EXPECT_TRUE(mod.encounterActive);
}

TEST_F(MenuTest, TheHiddenLevelsRowStartsTheHiddenLevel) {
    openMenu("open_levels=" + std::to_string(kLevelCount) + "\r\nweapon=2\r\n");
    host.world().entities().putPlayerInVehicle();
    host.tapKey(vk::Numpad5);
    EXPECT_EQ(mod.currentLevel, kLastLevel);
    finishLevelStart();
    EXPECT_EQ(mod.menuOpen, 0);
    EXPECT_TRUE(mod.encounterActive);
}

TEST_F(MenuTest, UpgradeLinesAreGreyWhenTheyCannotBeBought) {
    const struct {
        const char* settings;
        const char* armorLine;
        const char* weaponLine;
    } cases[] = {
        {"upgrade_points=0\r\n", "grey ARMOR I (UP:4)", "grey WEAPON I (UP:3)"},
        {"upgrade_points=3\r\n", "grey ARMOR I (UP:4)", "WEAPON I (UP:3)"},
        {"upgrade_points=20\r\narmor=4\r\nweapon=3\r\n", "grey ARMOR IV (max)", "WEAPON III (UP:3)"},
        {"upgrade_points=20\r\narmor=2\r\nweapon=4\r\n", "ARMOR II (UP:4", "grey WEAPON IV (max)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings);
        writeSettings(std::string("[Rotorstrike]\r\nopen_levels=5\r\n") + c.settings);
        host.load();
        host.runFrame();
        host.pressFor1Frame(vk::F9);
        const std::vector<std::string> lines = drawnLines();
        ASSERT_EQ(lines.size(), 11u + kAddedMenuRows);
        EXPECT_EQ(lines[7 + kAddedListedLevels], c.armorLine);
        EXPECT_EQ(lines[8 + kAddedListedLevels], c.weaponLine);
    }
}

TEST_F(MenuTest, WeaponHintShowsOnlyWithLevels1To3OpenAndTheFirstWeaponTier) {
    const struct {
        const char* settings;
        bool hint;
    } cases[] = {{"open_levels=3\r\n", true}, {"open_levels=4\r\n", false}, {"open_levels=3\r\nweapon=2\r\n", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings);
        writeSettings(std::string("[Rotorstrike]\r\n") + c.settings);
        host.load();
        host.runFrame();
        host.pressFor1Frame(vk::F9);
        EXPECT_EQ(host.screen().texts.size(), 11u + kAddedMenuRows);
        ASSERT_EQ(host.screen().rects.size(), c.hint ? 3u : 2u);
        if (c.hint) {
            const sim::ScreenRect& hint = host.screen().rects[2];
            EXPECT_FLOAT_EQ(hint.y, 0.432f + 0.03f * kAddedListedLevels);
            EXPECT_EQ(hint.colour, (sim::Rgba{255, 100, 100, 150}));
        }
    }
}

TEST_F(MenuTest, InstructionsPanelStaysUntilNumpad0AndNamesTheDefaultKeys) {
    openMenu("open_menu_key=121\r\n", vk::F10);  // F10 opens this menu; the panel still says F9
    mod.menuCursor = kInstructionsRow;
    host.tapKey(vk::Numpad5);
    host.tapKey(vk::Numpad5);
    EXPECT_EQ(mod.instructionsShown, 1);
    host.runFrame();
    const std::size_t menuTexts = 11u + kAddedMenuRows;  // the panel's come after the menu's
    ASSERT_EQ(host.screen().texts.size(), menuTexts + 10);
    ASSERT_EQ(host.screen().rects.size(), 3u);
    const sim::ScreenText& exitLine = host.screen().texts[menuTexts + 5];
    EXPECT_EQ(exitLine.text, "Press F9 again at anytime to exit the mod");
    EXPECT_FLOAT_EQ(exitLine.y, 0.12f);
    EXPECT_FLOAT_EQ(exitLine.x, 0.5f);
    EXPECT_EQ(host.screen().texts[menuTexts + 6].text, "");
    EXPECT_FLOAT_EQ(host.screen().texts[menuTexts + 9].y, 0.20f);

    host.tapKey(vk::Numpad0);
    EXPECT_EQ(mod.instructionsShown, 0);
    EXPECT_EQ(mod.menuOpen, 1);
    host.tapKey(vk::Numpad0);
    EXPECT_EQ(mod.menuOpen, 0);
}

TEST_F(MenuTest, MenuTextUsesOneStyle) {
    openMenu("");
    host.runFrame();
    std::vector<std::string> calls = describeCalls();
    // The frame: the pad, the panel, the bar, then the title through the menu's style.
    ASSERT_GE(calls.size(), 13u);
    const std::vector<std::string> title(calls.begin() + 3, calls.begin() + 13);
    EXPECT_EQ(title, (std::vector<std::string>{"setTextFont(0)", "setTextScale(0.23, 0.23)",
                                               "setTextColour(255, 255, 255, 255)", "setTextWrap(0, 1)",
                                               "setTextCentre(1)", "setTextDropShadow(0, 0, 0, 0, 0)",
                                               "setTextEdge(1, 0, 0, 0, 205)", "beginTextCommandDisplayText(\"STRING\")",
                                               "addTextComponentSubstringPlayerName(\"Rotorstrike Menu\")",
                                               "endTextCommandDisplayText(0.0378, 0.15, 0)"}));
    EXPECT_EQ(calls[1], "drawRect(" + menuPanel() + ", 0, 0, 0, 200, 0)");
    EXPECT_EQ(calls[2], "drawRect(0, 0.192, 0.145, 0.02, 150, 150, 150, 200, 0)");
}

}  // namespace
