// The chaos soak's own checks: that they catch what they are there to catch, and that a
// run is decided by its seed.
#include <gtest/gtest.h>

#include <sstream>

#include "checks.h"
#include "encounter_test.h"
#include "settings_checks.h"
#include "soak.h"
#include "virtual_keys.h"

namespace {

using soak::FileBytes;

constexpr const char* kFile = "[Rotorstrike]\r\narmor=1\r\nweapon=2\r\n\r\n[Other]\r\nanswer=42\r\n";

TEST(SoakSettingsChecks, AWriteLeavesTheOldOrTheNewFileAndNothingElse) {
    struct Case {
        const char* name;
        FileBytes before, after;
        const char* key;
        const char* value;
        bool written;
        const char* problem;  // a part of the problem found; "" for none
    };
    const std::string file = kFile;
    const auto edited = [&](const std::string& from, const std::string& to) {
        std::string bytes = file;
        bytes.replace(bytes.find(from), from.size(), to);
        return bytes;
    };
    const Case cases[] = {
        {"a value replaced", file, edited("armor=1", "armor=2"), "armor", "2", true, ""},
        {"its own spelling kept", edited("armor=1", "  ARMOR = 1"), edited("armor=1", "  ARMOR=3"), "armor", "3", true, ""},
        {"a key without a value given one", edited("armor=1", "armor"), file, "armor", "1", true, ""},
        {"a new key after the last line", file, edited("weapon=2\r\n", "weapon=2\r\npoints=5\r\n"), "points", "5", true, ""},
        {"a new file", std::nullopt, std::string("[Rotorstrike]\r\narmor=2\r\n"), "armor", "2", true, ""},
        {"the same value again", file, file, "armor", "1", true, ""},
        {"a failed write, nothing changed", file, file, "armor", "2", false, ""},
        {"a failed write, no file", std::nullopt, std::nullopt, "armor", "2", false, ""},
        {"a failed write that changed the file", file, edited("armor=1", "armor=2"), "armor", "2", false, "failed write changed"},
        {"success without a file", file, std::nullopt, "armor", "2", true, "no file"},
        {"a line it did not concern lost", file, edited("weapon=2\r\n", "").replace(file.find("armor=1"), 7, "armor=2"), "armor", "2", true, "did not concern"},
        {"half of the new file", file, std::string("[Rotorstrike]\r\narmor=2\r\nwea"), "armor", "2", true, "did not concern"},
        {"another key replaced", file, edited("weapon=2", "armor=2"), "armor", "2", true, "did not concern"},
        {"the key's line dropped", file, edited("armor=1\r\n", ""), "armor", "2", true, "no single line"},
        {"the value in a section no one reads", file, edited("answer=42", "answer=42\r\narmor=2"), "armor", "2", true, "does not read back"},
    };
    for (const Case& c : cases) {
        const std::string problem = soak::wholeFileProblem(c.before, c.after, "Rotorstrike", c.key, c.value, c.written);
        if (std::string(c.problem).empty()) {
            EXPECT_EQ(problem, "") << c.name;
        } else {
            EXPECT_NE(problem.find(c.problem), std::string::npos) << c.name << ": " << problem;
        }
    }
}

// A progress by its keys, any further upgrade at its first tier and any further best at 0.
soak::Progress progressWith(int64_t openLevels, int64_t armor, int64_t weapon, int64_t points,
                            std::initializer_list<int64_t> bests = {}) {
    soak::Progress progress{};
    progress[soak::kOpenLevelsAt] = openLevels;
    for (int32_t upgrade = 0; upgrade < kUpgrades; ++upgrade) progress[soak::tierAt(upgrade)] = kFirstTier;
    progress[soak::tierAt(kArmorUpgrade)] = armor;
    progress[soak::tierAt(kWeaponUpgrade)] = weapon;
    progress[soak::kPointsAt] = points;
    int32_t level = 0;
    for (const int64_t best : bests) progress[soak::bestAt(level++)] = best;
    return progress;
}

TEST(SoakSettingsChecks, ProgressIsReadAsThePlugInReadsIt) {
    EXPECT_EQ(soak::progressOf(std::nullopt), progressWith(1, 1, 1, 0));
    const soak::Progress odd = soak::progressOf(std::string(
        "[Rotorstrike]\nopen_levels=0\narmor=5\nweapon=-1\nupgrade_points=29\nhigh_score_2=-7\n"));
    // A bad count of open levels opens the listed ones.
    EXPECT_EQ(odd, progressWith(kListedLevels, 1, 1, 1, {0, 0, -7}));
}

TEST(SoakSettingsChecks, ProgressGoesBackOnlyByTheRules) {
    using soak::Progress;
    const Progress start = progressWith(2, 1, 1, 10, {500});
    const auto with = [&](std::size_t key, int64_t value) {
        Progress changed = start;
        changed[key] = value;
        return changed;
    };
    Progress armorBought = with(soak::tierAt(kArmorUpgrade), 2);
    armorBought[soak::kPointsAt] = 6;
    Progress weaponBought = with(soak::tierAt(kWeaponUpgrade), 2);
    weaponBought[soak::kPointsAt] = 7;
    struct Case {
        const char* name;
        Progress after;
        int exempt;  // a key edited by hand since the plug-in read it; -1 none
        bool back;
    };
    const Case cases[] = {
        {"unchanged", start, -1, false},
        {"a level opened", with(soak::kOpenLevelsAt, 3), -1, false},
        {"points awarded", with(soak::kPointsAt, 15), -1, false},
        {"armor bought for 4", armorBought, -1, false},
        {"the weapon bought for 3", weaponBought, -1, false},
        {"a level closed", with(soak::kOpenLevelsAt, 1), -1, true},
        {"a level closed after a hand edit", with(soak::kOpenLevelsAt, 1), soak::kOpenLevelsAt, false},
        {"a tier lost", with(soak::tierAt(kWeaponUpgrade), 0), -1, true},
        {"a high score lowered", with(soak::bestAt(0), 499), -1, true},
        {"points spent on nothing", with(soak::kPointsAt, 6), -1, true},
        {"a tier for free", with(soak::tierAt(kArmorUpgrade), 2), -1, true},
    };
    for (const Case& c : cases) {
        std::array<bool, soak::kProgressKeys> exempt{};
        if (c.exempt >= 0) exempt[static_cast<std::size_t>(c.exempt)] = true;
        EXPECT_EQ(!soak::backwardsProblem(start, c.after, exempt).empty(), c.back) << c.name;
    }
}

class SoakChecksTest : public EncounterTest {
protected:
    SoakChecksTest() {
        faults.attach(host);
        checks.attach(host);
    }
    void runChecked(int frames) {
        for (int frame = 0; frame < frames && checks.problem().empty(); ++frame) {
            host.runFrame();
            checks.afterFrame(host, faults);
        }
    }
    void expectCaught(const std::function<void()>& fault, const char* problem);

    soak::Faults faults{gameFolder.path(), gameFolder.file("Rotorstrike.ini"), soak::faultsMade({})};
    soak::Checks checks{gameFolder.file("Rotorstrike.ini")};
};

TEST_F(SoakChecksTest, AWaitThatNeverEndsIsCaught) {
    // A pilot's model that never streams in, with no fault to blame.
    host.world().entities().model("s_m_y_swat_01").loadFrames = sim::kNeverLoads;
    host.world().entities().putPlayerInVehicle();
    host.pressFor1Frame(vk::F9);
    host.runFrames(sim::kKeyLockoutFrames);
    host.setKey(vk::Numpad5, true);
    runChecked(soak::kLongestWait + 60);
    EXPECT_NE(checks.problem().find("waited inside a frame"), std::string::npos) << checks.problem();
}

// A plug-in fault, made by hand in a running encounter, and what the checks say of it.
void SoakChecksTest::expectCaught(const std::function<void()>& fault, const char* problem) {
    startLevelFromMenu();
    runChecked(2);
    ASSERT_EQ(checks.problem(), "");
    fault();
    checks.afterFrame(host, faults);
    EXPECT_NE(checks.problem().find(problem), std::string::npos) << checks.problem();
}

TEST_F(SoakChecksTest, AnEncounterEndingWithItsHelicopterHeldIsCaught) {
    expectCaught(
        [] {
            mod.heliVehicle = mod.heliPilot = 0;
            mod.encounterActive = false;
        },
        "still held");
}

TEST_F(SoakChecksTest, AnEncounterEndingWithTheShieldUpIsCaught) {
    expectCaught(
        [] {
            endEncounter();
            mod.armorShieldActive = 1;
        },
        "shield flag");
}

TEST_F(SoakChecksTest, AnEncounterEndingWithThePlayersVehicleInvincibleIsCaught) {
    expectCaught(
        [this] {
            endEncounter();
            host.world().entities().find(host.world().entities().vehicleOf(host.world().entities().playerPed()))->invincible = true;
        },
        "invincible");
}

TEST_F(SoakChecksTest, APilotHeldWithoutItsHelicopterIsCaught) {
    expectCaught([] { mod.heliVehicle = 0; }, "pilot is held without");
}

TEST_F(SoakChecksTest, ARespawnThatNeverComesOnceThePlayerIsBackIsCaught) {
    startLevelFromMenu();
    // Down, with a checkpoint, while the host has the player alive and under control: the
    // plug-in's respawn should follow within a few frames; here nothing runs it.
    mod.playerDown = 1;
    mod.checkpointSaved = 1;
    for (int64_t frame = 0; frame <= soak::kLongestWait; ++frame) checks.afterFrame(host, faults);
    EXPECT_NE(checks.problem().find("respawn has not come"), std::string::npos) << checks.problem();
}

TEST(Soak, TheSeedDecidesTheRunAndAFaultThatNeverFiredFailsIt) {
    soak::Options options;
    options.seed = 11;
    options.levels = 3;
    const soak::Report first = soak::runSoak(options);
    const soak::Report again = soak::runSoak(options);
    EXPECT_EQ(first.problem, "");
    EXPECT_EQ(first.levels, 3);
    EXPECT_EQ(first.frames, again.frames);
    EXPECT_EQ(first.fired, again.fired);
    EXPECT_EQ(first.checks, again.checks);
    soak::Options other = options;
    other.seed = 12;
    EXPECT_NE(soak::runSoak(other).frames, first.frames);

    // Three levels cannot fire every kind of fault: the run names them, and fails only when
    // strict, saying how to replay it.
    EXPECT_TRUE(first.ok(false));
    EXPECT_FALSE(first.ok(true));
    options.strict = true;
    std::ostringstream printed;
    soak::printReport(printed, printed, options, first);
    EXPECT_NE(printed.str().find("NEVER FIRED"), std::string::npos);
    EXPECT_NE(printed.str().find("replay: rotorstrike-soak --strict --seed 11 --levels 3"), std::string::npos);
}

}  // namespace
