// The real Rotorstrike.asi before any level: its load, its first frame and the settings it
// reads, the menu it draws and its keys, a purchase written with the system's own profile
// functions, and a level refused on foot.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "../added_rows.h"
#include "game.h"
#include "menu/menu_rows.h"
#include "virtual_keys.h"

namespace {

using e2e::Game;
using Lines = std::vector<std::string>;

// What an idle frame calls: only the pad's attack control is read.
const Lines kIdleFrame = {"getControlValue(2, 73)"};

// One element of the menu, in drawing order: a rectangle, or a text of the menu's style.
struct Drawn {
    std::string what;  // a text, or "" for a rectangle
    std::string rect;  // drawRect's arguments
    float x = 0.0f, y = 0.0f;
    bool grey = false;
};

Drawn text(std::string what, float x, float y, bool grey = false) { return {std::move(what), {}, x, y, grey}; }
Drawn rect(std::string arguments) { return {{}, std::move(arguments), 0.0f, 0.0f, false}; }

std::string number(float value) {
    char printed[32];
    std::snprintf(printed, sizeof printed, "%g", static_cast<double>(value));
    return printed;
}

// The native calls that draw these elements, as the host's trace prints them.
Lines drawCalls(const std::vector<Drawn>& elements) {
    Lines calls;
    for (const Drawn& element : elements) {
        if (element.what.empty()) {
            calls.push_back("drawRect(" + element.rect + ", 0)");
            continue;
        }
        const std::string shade = element.grey ? "150" : "255";
        calls.insert(calls.end(), {"setTextFont(0)", "setTextScale(0.23, 0.23)",
                                   "setTextColour(" + shade + ", " + shade + ", " + shade + ", 255)",
                                   "setTextWrap(0, 1)", "setTextCentre(1)", "setTextDropShadow(0, 0, 0, 0, 0)",
                                   "setTextEdge(1, 0, 0, 0, 205)", "beginTextCommandDisplayText(\"STRING\")",
                                   "addTextComponentSubstringPlayerName(\"" + element.what + "\")",
                                   "endTextCommandDisplayText(" + number(element.x) + ", " + number(element.y) + ", 0)"});
    }
    return calls;
}

// The row under the highlight bar, the menu's second rectangle; -1 without a menu.
int cursorRow(const Game& game) {
    if (game.host.screen().rects.size() < 2) return -1;
    return static_cast<int>(std::lround((game.host.screen().rects[1].y - 0.192f) / 0.03f));
}

}  // namespace

SCENARIO(registers_once_and_reads_the_defaults_without_a_file) {
    Game game(options, "registers_once");
    game.host.load();
    REQUIRE(game.standIn.module() != nullptr);
    CHECK_EQ(game.standIn.registerCalls(), 1);
    CHECK_EQ(game.host.registrations(), 1);
    CHECK(game.host.calls().empty());  // nothing but the registration runs at load
    CHECK(!game.settingsExist());

    game.host.runFrame();
    Lines reads = {
        "open .\\Rotorstrike.ini -> 0",
        "read [Rotorstrike] open_menu_key default 120 in .\\Rotorstrike.ini -> 120",
        "read [Rotorstrike] attack_key default 105 in .\\Rotorstrike.ini -> 105",
        "read [Rotorstrike] check_point_enabled default 1 in .\\Rotorstrike.ini -> 1",
        "read [Rotorstrike] open_levels default 1 in .\\Rotorstrike.ini -> 1",
        "read [Rotorstrike] armor default 1 in .\\Rotorstrike.ini -> 1",
        "read [Rotorstrike] weapon default 1 in .\\Rotorstrike.ini -> 1",
    };
    for (int32_t upgrade = kFirstAddedUpgrade; upgrade < kUpgrades; ++upgrade) {
        reads.push_back(std::string("read [Rotorstrike] ") + upgradeTable[upgrade].settingsKey + " default 1 in .\\Rotorstrike.ini -> 1");
    }
    reads.push_back("read [Rotorstrike] upgrade_points default 0 in .\\Rotorstrike.ini -> 0");
    CHECK_EQ(game.profileCalls(), reads);
    CHECK_EQ(game.calls(), kIdleFrame);
    CHECK(!game.settingsExist());  // reading never makes the file

    // The defaults at work: F9 opens the menu, with only Level 1 open and no points.
    game.host.tapKey(vk::F9);
    CHECK_EQ(game.texts(), withAddedRows({"Rotorstrike Menu", "Level 1 - Normal", "grey Level 2", "grey Level 3",
                                          "grey Level 4", "grey Level 5", "UPoints: 0", "grey ARMOR I (UP:4)",
                                          "grey WEAPON I (UP:3)", "Instructions", "BY ORVEN (v1.0)"},
                                         0));
    game.host.runFrames(100);
    CHECK_EQ(game.standIn.registerCalls(), 1);
    CHECK(!game.settingsExist());
}

SCENARIO(f9_opens_the_menu_and_its_frame_draws_exactly_the_menu) {
    Game game(options, "f9_opens_the_menu");
    // Levels 1 to 3 open with the weapon still at tier 1: the red hint behind the weapon row.
    game.start("[Rotorstrike]\r\nopen_levels=3\r\nupgrade_points=3\r\n");
    game.host.tapKey(vk::F9);
    Lines expected = kIdleFrame;
    // Rows the tables add go between (locked levels after Level 5, upgrades after the weapon),
    // each a row (0.03) further down, and move the rows below them down.
    const float levelsAdded = 0.03f * kAddedListedLevels, rowsAdded = 0.03f * kAddedMenuRows;
    std::vector<Drawn> drawn = {
        rect(menuPanel() + ", 0, 0, 0, 200"),
        rect("0, 0.252, 0.145, 0.02, 150, 150, 150, 200"),  // the bar on row 2, Level 3
        text("Rotorstrike Menu", 0.0378f, 0.15f),
        text("Level 1 - Normal", 0.04f, 0.18f),
        text("Level 2 - Expert", 0.04f, 0.21f),
        text("Level 3 - Pro", 0.04f, 0.24f),
        text("Level 4", 0.04f, 0.27f, true),
        text("Level 5", 0.04f, 0.30f, true),
    };
    for (int32_t level = kFirstAddedLevel; level < kListedLevels; ++level) {
        drawn.push_back(text(levelTable[level].lockedName, 0.04f, 0.30f + 0.03f * static_cast<float>(level - 4), true));
    }
    drawn.insert(drawn.end(), {
        text("UPoints: 3", 0.04f, 0.36f + levelsAdded),
        text("ARMOR I (UP:4)", 0.04f, 0.39f + levelsAdded, true),
        rect("0, " + number(0.432f + levelsAdded) + ", 0.14, 0.02, 255, 100, 100, 150"),
        text("WEAPON I (UP:3)", 0.04f, 0.42f + levelsAdded),
    });
    for (int32_t upgrade = kFirstAddedUpgrade; upgrade < kUpgrades; ++upgrade) {
        const UpgradeParams& added = upgradeTable[upgrade];
        drawn.push_back(text(added.tierNames[0], 0.04f, 0.42f + levelsAdded + 0.03f * static_cast<float>(upgrade - 1), added.price > 3));
    }
    drawn.insert(drawn.end(), {text("Instructions", 0.04f, 0.48f + rowsAdded), text("BY ORVEN (v1.0)", 0.04f, 0.51f + rowsAdded)});
    const Lines menu = drawCalls(drawn);
    expected.insert(expected.end(), menu.begin(), menu.end());
    CHECK_EQ(game.calls(), expected);

    // The menu is drawn again every frame, and F9 closes it.
    game.host.runFrame();
    CHECK_EQ(game.calls(), expected);
    game.host.tapKey(vk::F9);
    CHECK_EQ(game.calls(), kIdleFrame);
    CHECK(game.host.screen().rects.empty());
}

SCENARIO(numpad_keys_navigate_the_menu) {
    Game game(options, "numpad_keys_navigate");
    game.start("[Rotorstrike]\r\nopen_levels=5\r\nupgrade_points=4\r\n" + addedTierLines(kTopTier));  // any added upgrade at its top
    game.host.tapKey(vk::F9);
    CHECK_EQ(cursorRow(game), 4);  // the menu opens on the highest open level

    // Down skips the locked and the unlabelled rows and the balance; each press plays the
    // navigation sound.
    const struct {
        int32_t key;
        int row;
    } walk[] = {{vk::Numpad2, kArmorRow},  {vk::Numpad2, kWeaponRow}, {vk::Numpad2, kInstructionsRow},
                {vk::Numpad2, kInstructionsRow}, {vk::Numpad8, kWeaponRow}, {vk::Numpad8, kArmorRow},
                {vk::Numpad8, 4}, {vk::Numpad8, 3}};
    for (const auto& step : walk) {
        const std::size_t sounds = game.host.frontendSounds().size();
        game.host.tapKey(step.key);
        game.host.runFrame();  // the bar is drawn before the keys are read
        CHECK_EQ(cursorRow(game), step.row);
        CHECK_EQ(game.host.frontendSounds().size(), sounds + 1);
    }
    REQUIRE(!game.host.frontendSounds().empty());
    CHECK_EQ(game.host.frontendSounds().back().name, std::string("NAV_UP_DOWN"));
    CHECK_EQ(game.host.frontendSounds().back().soundSet, std::string("HUD_FRONTEND_DEFAULT_SOUNDSET"));

    // Numpad 5 on Instructions shows the panel; numpad 0 hides it, then closes the menu.
    for (int press = 0; press < 4; ++press) game.host.tapKey(vk::Numpad2);  // Level 5, armor, weapon, instructions
    game.host.runFrame();
    CHECK_EQ(cursorRow(game), kInstructionsRow);
    game.host.tapKey(vk::Numpad5);
    game.host.runFrame();
    CHECK(game.host.screen().findText("PLEASE REMOVE ANY INVINCIBILITY") != nullptr);
    game.host.tapKey(vk::Numpad0);
    game.host.runFrame();
    CHECK(game.host.screen().findText("PLEASE REMOVE ANY INVINCIBILITY") == nullptr);
    CHECK_EQ(cursorRow(game), kInstructionsRow);
    game.host.tapKey(vk::Numpad0);
    game.host.runFrame();
    CHECK_EQ(game.calls(), kIdleFrame);
}

SCENARIO(an_armor_purchase_ends_up_in_the_file) {
    Game game(options, "an_armor_purchase");
    game.start("; kept by hand\r\n[Rotorstrike]\r\nopen_levels=2\r\nupgrade_points=8\r\narmor=1\r\n");
    game.host.tapKey(vk::F9);
    CHECK_EQ(cursorRow(game), 1);
    game.host.tapKey(vk::Numpad2);
    game.host.runFrame();
    CHECK_EQ(cursorRow(game), kArmorRow);

    const std::size_t before = game.host.profileCalls().size();
    game.host.tapKey(vk::Numpad5);
    Lines writes;
    for (const std::string& call : game.profileCalls(before)) {
        if (call.rfind("write", 0) == 0) writes.push_back(call);
    }
    Lines expected = {"write [Rotorstrike] upgrade_points=4 in .\\Rotorstrike.ini -> 1",
                      "write [Rotorstrike] armor=2 in .\\Rotorstrike.ini -> 1",
                      "write [Rotorstrike] weapon=1 in .\\Rotorstrike.ini -> 1"};
    for (const std::string& tier : addedTiers()) expected.push_back("write [Rotorstrike] " + tier + " in .\\Rotorstrike.ini -> 1");
    CHECK_EQ(writes, expected);
    // Read back as the game reads it.
    CHECK_EQ(game.setting("upgrade_points", -1), 4u);
    CHECK_EQ(game.setting("armor", -1), 2u);
    CHECK_EQ(game.setting("weapon", -1), 1u);
    CHECK_EQ(game.setting("open_levels", -1), 2u);
    game.host.runFrame();
    CHECK_EQ(cursorRow(game), kArmorRow);  // 4 points still pay for the next tier
    CHECK(game.host.screen().findText("UPoints: 4") != nullptr);
    CHECK(game.host.screen().findText("ARMOR II (UP:4") != nullptr);

    // The second tier spends the rest; the cursor moves up to the highest open level.
    game.host.tapKey(vk::Numpad5);
    CHECK_EQ(game.setting("upgrade_points", -1), 0u);
    CHECK_EQ(game.setting("armor", -1), 3u);
    game.host.runFrame();
    CHECK_EQ(cursorRow(game), 1);
    CHECK(game.host.screen().findText("UPoints: 0") != nullptr);
}

SCENARIO(a_level_on_foot_is_refused) {
    Game game(options, "a_level_on_foot");
    game.start();
    game.host.tapKey(vk::F9);
    game.host.tapKey(vk::Numpad5);  // Level 1, with the player on foot
    // The menu asks the host for the player's vehicle, and whether it exists.
    Lines asked;
    for (const sim::LoggedCall& call : game.host.calls()) {
        const std::string name = call.spec->name;
        if (name == "playerPedId" || name == "getVehiclePedIsUsing" || name == "doesEntityExist") asked.push_back(name);
    }
    CHECK_EQ(asked, (Lines{"playerPedId", "getVehiclePedIsUsing", "doesEntityExist"}));
    game.host.runFrame();
    const sim::ScreenText* refusal = game.host.screen().findText("You need a vehicle!");
    REQUIRE(refusal != nullptr);
    CHECK_EQ(refusal->style.colour.a, 0);  // a rising message starts unseen
    CHECK_EQ(cursorRow(game), 0);          // the menu stays open
}
