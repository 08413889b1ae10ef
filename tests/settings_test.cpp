// The settings and progress file through the seam: what a load makes of the file, what the
// store operations write, and what survives a failed write.
#include <array>
#include <optional>
#include <string>

#include "added_rows.h"
#include "plugin_test.h"
#include "profile_file.h"
#include "runtime/keys.h"
#include "menu/menu.h"
#include "settings/settings.h"
#include "virtual_keys.h"

namespace {

constexpr int32_t kUntouched = 7;  // a row flag the loader must leave as it was

using SettingsTest = PluginTest;

TEST_F(SettingsTest, LoadTakesDefaultsAndReplacesBadValues) {
    const std::string allOpen = "open_levels=" + std::to_string(kLevelCount);
    const std::string pastTheLast = "open_levels=" + std::to_string(kLevelCount + 1);
    const struct {
        std::optional<std::string> keys;  // the section's lines; none: no file at all
        int32_t menuKey, attackKey, checkpoint, highestLevel, armor, weapon, points;
        std::array<int32_t, 11> rows;  // today's rows; those the tables add follow from the rest
    } cases[] = {
        {std::nullopt, 120, 105, 1, 0, 1, 1, 0, {1, 0, 0, 0, 0, 0, 7, 0, 0, 7, 7}},
        {"", 120, 105, 1, 0, 1, 1, 0, {1, 0, 0, 0, 0, 0, 7, 0, 0, 7, 7}},
        {"open_menu_key=-5\nattack_key=0x61\ncheck_point_enabled=0", -5, 97, 0, 0, 1, 1, 0, {1, 0, 0, 0, 0, 0, 7, 0, 0, 7, 7}},
        // A count out of range opens the listed levels; the count of every level opens the hidden one too.
        {"open_levels=0", 120, 105, 1, kLastListedLevel, 1, 1, 0, {1, 1, 1, 1, 1, 0, 7, 0, 0, 7, 7}},
        {pastTheLast, 120, 105, 1, kLastListedLevel, 1, 1, 0, {1, 1, 1, 1, 1, 0, 7, 0, 0, 7, 7}},
        {"open_levels=-1", 120, 105, 1, kLastListedLevel, 1, 1, 0, {1, 1, 1, 1, 1, 0, 7, 0, 0, 7, 7}},
        {"open_levels=three", 120, 105, 1, kLastListedLevel, 1, 1, 0, {1, 1, 1, 1, 1, 0, 7, 0, 0, 7, 7}},
        {"open_levels=3", 120, 105, 1, 2, 1, 1, 0, {1, 1, 1, 0, 0, 0, 7, 0, 0, 7, 7}},
        {allOpen, 120, 105, 1, kLastLevel, 1, 1, 0, {1, 1, 1, 1, 1, 1, 7, 0, 0, 7, 7}},
        {"upgrade_points=29", 120, 105, 1, 0, 1, 1, 1, {1, 0, 0, 0, 0, 0, 7, 0, 0, 7, 7}},
        {"upgrade_points=-1", 120, 105, 1, 0, 1, 1, 1, {1, 0, 0, 0, 0, 0, 7, 0, 0, 7, 7}},
        {"upgrade_points=many", 120, 105, 1, 0, 1, 1, 0, {1, 0, 0, 0, 0, 0, 7, 0, 0, 7, 7}},
        {"upgrade_points=28", 120, 105, 1, 0, 1, 1, 28, {1, 0, 0, 0, 0, 0, 7, 1, 1, 7, 7}},
        {"armor=5\nweapon=0", 120, 105, 1, 0, 1, 1, 0, {1, 0, 0, 0, 0, 0, 7, 0, 0, 7, 7}},
        {"armor=4\nupgrade_points=28", 120, 105, 1, 0, 4, 1, 28, {1, 0, 0, 0, 0, 0, 7, 0, 1, 7, 7}},
        {"upgrade_points=4", 120, 105, 1, 0, 1, 1, 4, {1, 0, 0, 0, 0, 0, 7, 1, 1, 7, 7}},
        {"upgrade_points=3", 120, 105, 1, 0, 1, 1, 3, {1, 0, 0, 0, 0, 0, 7, 0, 1, 7, 7}},
        {"upgrade_points=3\nweapon=4", 120, 105, 1, 0, 1, 4, 3, {1, 0, 0, 0, 0, 0, 7, 0, 0, 7, 7}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys.value_or("no file"));
        std::remove(gameFolder.file("Rotorstrike.ini").c_str());
        if (c.keys) writeSettings("[Rotorstrike]\n" + *c.keys + "\n");
        for (int32_t& row : mod.menuItemEnabled) row = kUntouched;
        loadMenuSettings();
        EXPECT_EQ(mod.openMenuKey, c.menuKey);
        EXPECT_EQ(mod.attackKey, c.attackKey);
        EXPECT_EQ(mod.checkpointEnabled, c.checkpoint);
        EXPECT_EQ(mod.highestOpenLevel, c.highestLevel);
        EXPECT_EQ(mod.upgradeLevels[kArmorUpgrade], c.armor);
        EXPECT_EQ(mod.upgradeLevels[kWeaponUpgrade], c.weapon);
        EXPECT_EQ(mod.upgradePoints, c.points);
        // An added level's row is open up to the highest open level; an added upgrade's (at its
        // first tier) is for sale when the points pay for it.
        std::vector<int32_t> expected(c.rows.begin(), c.rows.begin() + 5);
        for (int32_t level = kFirstAddedLevel; level < kListedLevels; ++level) expected.push_back(level <= c.highestLevel ? 1 : 0);
        expected.insert(expected.end(), c.rows.begin() + 5, c.rows.begin() + 9);
        for (int32_t upgrade = kFirstAddedUpgrade; upgrade < kUpgrades; ++upgrade) {
            expected.push_back(c.points >= upgradeTable[upgrade].price ? 1 : 0);
        }
        expected.insert(expected.end(), c.rows.begin() + 9, c.rows.end());
        EXPECT_EQ(std::vector<int32_t>(std::begin(mod.menuItemEnabled), std::end(mod.menuItemEnabled)), expected);
    }
}

// The range rules a load applies, which the campaign tool and the soak read the file by too.
TEST(SettingsRanges, OutOfRangeValuesAreReplaced) {
    // Open levels count 1 to every level, the hidden one too; any other count opens the listed ones.
    constexpr uint32_t kAll = kLevelCount;
    const struct {
        uint32_t value;
        int32_t openLevels, tier, points;
    } cases[] = {
        {0, kListedLevels, 1, 0},   {1, 1, 1, 1},  {4, 4, 4, 4},  {5, 5, 1, 5},
        {kAll, kLevelCount, 1, kAll}, {kAll + 1, kListedLevels, 1, kAll + 1},
        {28, kListedLevels, 1, 28}, {29, kListedLevels, 1, 1}, {0xFFFFFFFFu, kListedLevels, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(openLevelCountOf(c.value), c.openLevels);
        EXPECT_EQ(tierOf(c.value), c.tier);
        EXPECT_EQ(upgradePointsOf(c.value), c.points);
    }
}

// A binding's text is taken for a name only when it fits its buffer with room to spare: a
// value cut to fit is never a key.
TEST(SettingsRanges, ABindingsTextIsANameOnlyWhenItFits) {
    const struct {
        const char* text;
        int32_t code;
    } cases[] = {{"F10", 0x79}, {"num9", 0x69}, {"F10           ", 0}, {"ABCDEFGHIJKLMN", 0}, {"", 0}};
    for (const auto& c : cases) EXPECT_EQ(keyCodeOfBindingText(c.text), c.code) << '"' << c.text << '"';
    int textReads = 0;
    const auto text = [&] {
        ++textReads;
        return std::string("F10");
    };
    EXPECT_EQ(readBindingWith([] { return 120u; }, text), 120u);
    EXPECT_EQ(textReads, 0);
    EXPECT_EQ(readBindingWith([] { return 0u; }, text), 0x79u);
    EXPECT_EQ(textReads, 1);
}

// A binding may name its key; the text is read only when the number reads 0, within the
// load's hold of the file (o: the open, i: a number read, t: a text read, c: the close):
// each key in the order a load reads them.
TEST_F(SettingsTest, AKeyNameReadsAsItsCode) {
    const auto load = [](bool byName) {
        std::string calls = "o";
        for (const SettingsKeyRule& rule : kSettingsKeyRules) calls += byName && rule.binding ? "it" : "i";
        return calls + "c";
    };
    const std::string kByName = load(true), kByNumber = load(false);
    const struct {
        const char* value;  // both bindings'
        int32_t code;
        std::string calls;
    } cases[] = {
        {"F10", 0x79, kByName},      {"f1", 0x70, kByName},       {"F24", 0x87, kByName},
        {"a", 0x41, kByName},        {"Z", 0x5A, kByName},        {"num0", 0x60, kByName},
        {"Num9", 0x69, kByName},     {"space", 0x20, kByName},    {"ENTER", 0x0D, kByName},
        {"TAB", 0x09, kByName},      {"BackSpace", 0x08, kByName}, {"INSERT", 0x2D, kByName},
        {"DELETE", 0x2E, kByName},   {"HOME", 0x24, kByName},     {"END", 0x23, kByName},
        {"PAGEUP", 0x21, kByName},   {"PAGEDOWN", 0x22, kByName}, {"LEFT", 0x25, kByName},
        {"UP", 0x26, kByName},       {"RIGHT", 0x27, kByName},    {"DOWN", 0x28, kByName},
        {"SHIFT", 0x10, kByName},    {"CONTROL", 0x11, kByName},  {"ALT", 0x12, kByName},
        {" \"f10\" ", 0x79, kByName},
        // Not names: they stay 0, as any text does.
        {"F25", 0, kByName},         {"F0", 0, kByName},          {"F01", 0, kByName},
        {"NUM10", 0, kByName},       {"AA", 0, kByName},          {"F 10", 0, kByName},
        {"F10 ; mine", 0, kByName},  {"\" F10\"", 0, kByName},    {"0", 0, kByName},
        {"PAGEDOWNPAGEDOWN", 0, kByName},
        // A number is read as ever, with no text read; an empty value is the default.
        {"121", 121, kByNumber},     {"0x79", 121, kByNumber},    {"9", 9, kByNumber},
        {"", 120, kByNumber},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        writeSettings(std::string("[Rotorstrike]\r\nopen_menu_key=") + c.value + "\r\nattack_key=" + c.value + "\r\n");
        const std::size_t before = host.profileCalls().size();
        loadSettings();
        EXPECT_EQ(mod.openMenuKey, c.code);
        EXPECT_EQ(mod.attackKey, std::string_view(c.value).empty() ? vk::Numpad9 : c.code);
        std::string calls;
        for (std::size_t index = before; index < host.profileCalls().size(); ++index) {
            calls += "iwoct"[static_cast<int>(host.profileCalls()[index].kind)];
        }
        EXPECT_EQ(calls, c.calls);
    }
}

struct Progress {
    int32_t points, armor, weapon;
    bool operator==(const Progress&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Progress& p) {
    return out << p.points << " points, armor " << p.armor << ", weapon " << p.weapon;
}

Progress progressInMemory() { return {mod.upgradePoints, mod.upgradeLevels[kArmorUpgrade], mod.upgradeLevels[kWeaponUpgrade]}; }

// Awards and purchases, with writes failing at the seam: memory keeps the change until
// the next load, and the file holds a whole purchase or none of it.
TEST_F(SettingsTest, UpgradesAreStoredWholeOrNotAtAll) {
    const struct {
        const char* what;
        Progress before;
        int32_t pointsDelta, armorDelta, weaponDelta;
        int failAfter, failCount;  // seam writes: after failAfter succeed, failCount fail
        Progress inMemory, inFile;
        int writes;
    } cases[] = {
        {"an award from 21", {21, 1, 1}, 7, 0, 0, 0, 0, {28, 1, 1}, {28, 1, 1}, 3},
        {"no award from 22", {22, 1, 1}, 7, 0, 0, 0, 0, {22, 1, 1}, {22, 1, 1}, 3},
        {"the sixth level's award is capped", {21, 1, 1}, 8, 0, 0, 0, 0, {28, 1, 1}, {28, 1, 1}, 3},
        {"an armor tier", {4, 1, 1}, -4, 1, 0, 0, 0, {0, 2, 1}, {0, 2, 1}, 3},
        {"a weapon tier", {3, 1, 3}, -3, 0, 1, 0, 0, {0, 1, 4}, {0, 1, 4}, 3},
        {"armor at tier 4 takes the points only", {10, 4, 1}, -4, 1, 0, 0, 0, {6, 4, 1}, {6, 4, 1}, 3},
        {"the points fail: the tier is put back", {8, 1, 1}, -4, 1, 0, 0, 1, {4, 2, 1}, {8, 1, 1}, 4},
        {"the tier fails: the points are put back", {8, 1, 1}, -4, 1, 0, 1, 1, {4, 2, 1}, {8, 1, 1}, 4},
        {"the weapon tier fails", {8, 1, 1}, -3, 0, 1, 2, 1, {5, 1, 2}, {8, 1, 1}, 4},
        {"an unchanged tier fails: the purchase stands", {8, 1, 1}, -4, 1, 0, 2, 1, {4, 2, 1}, {4, 2, 1}, 3},
        {"an award stands when a tier write fails", {10, 1, 1}, 5, 0, 0, 1, 1, {15, 1, 1}, {15, 1, 1}, 3},
        {"every write fails", {10, 2, 3}, 5, 0, 0, 0, 1 + kUpgrades, {15, 2, 3}, {10, 2, 3}, 3},
    };
    // The points and each tier are written: an added upgrade's tier (unchanged) too.
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeSettings("[Rotorstrike]\r\nupgrade_points=" + std::to_string(c.before.points) + "\r\narmor=" +
                      std::to_string(c.before.armor) + "\r\nweapon=" + std::to_string(c.before.weapon) + "\r\n");
        loadSettings();
        sim::GameFolder& folder = host.gameFolder();
        const int writesBefore = folder.writes();
        folder.failNextWrites(c.failCount, c.failAfter);
        saveUpgrades(c.pointsDelta, {c.armorDelta, c.weaponDelta});
        folder.failNextWrites(0);
        EXPECT_EQ(folder.writes() - writesBefore, c.writes + kAddedUpgrades);
        EXPECT_EQ(progressInMemory(), c.inMemory);
        loadSettings();
        EXPECT_EQ(progressInMemory(), c.inFile);
    }
}

// Another program holds the file locked (the profile functions then answer defaults): a load
// keeps what was last read or written, and nothing is written over a file never read.
TEST_F(SettingsTest, ALockedFileNeitherLosesNorOverwritesProgress) {
    const std::string progress = "[Rotorstrike]\r\nopen_menu_key=F10\r\nopen_levels=5\r\nupgrade_points=20\r\narmor=4\r\nweapon=4\r\n";
    const struct {
        const char* what;
        bool readFirst;
        int32_t menuKey, highestLevel, points, armor;
        int readsWhileLocked;
    } cases[] = {
        {"read, then locked", true, 121, 4, 23, 4, 0},
        {"locked since the module loaded", false, 120, 0, 0, 1, kSettingsKeys},
    };
    sim::GameFolder& folder = host.gameFolder();
    // Another program can hold only a file that is there.
    EXPECT_FALSE(folder.lock());
    // As Windows' sharing rules refuse an exclusive open of a file held open, no lock begins
    // while a load holds the file.
    writeSettings(progress);
    ASSERT_EQ(openProfileFile(".\\Rotorstrike.ini"), ProfileFileState::Readable);
    EXPECT_FALSE(folder.lock());
    closeProfileFile();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeSettings(progress);
        host.load();
        if (c.readFirst) {
            loadSettings();
            ASSERT_TRUE(saveUpgrades(3, {0, 0}));  // what was written counts as stored
        }
        ASSERT_TRUE(folder.lock());
        const int reads = folder.reads();
        const int writes = folder.writes();
        loadSettings();
        EXPECT_EQ(folder.reads() - reads, c.readsWhileLocked);
        EXPECT_EQ(host.profileCalls()[host.profileCalls().size() - 1 - c.readsWhileLocked].result,
                  static_cast<uint32_t>(ProfileFileState::Unreadable));
        EXPECT_EQ((Progress{mod.upgradePoints, mod.upgradeLevels[kArmorUpgrade], mod.upgradeLevels[kWeaponUpgrade]}), (Progress{c.points, c.armor, c.armor}));
        EXPECT_EQ(mod.openMenuKey, c.menuKey);
        EXPECT_EQ(mod.highestOpenLevel, c.highestLevel);
        // Progress is not stored: refused by the lock after a read, withheld before one.
        EXPECT_FALSE(saveUpgrades(-4, {1, 0}));
        EXPECT_FALSE(saveOpenLevels(1));
        mod.currentLevel = 0;
        mod.score = 1.0f;
        EXPECT_FALSE(saveHighScore());
        EXPECT_EQ(folder.writes() - writes, c.readFirst ? 5 + kAddedUpgrades : 0);
        folder.unlock();
        loadSettings();
        EXPECT_EQ(progressInMemory(), (Progress{c.readFirst ? 23 : 20, 4, 4}));
    }
}

TEST_F(SettingsTest, HighScoreIsTheTruncatedScoreUnderTheLevelsKey) {
    const struct {
        int32_t level;
        float score;
        const char* written;  // the new line; null: nothing written
    } cases[] = {
        {0, 1234.9f, "high_score_0=1234"},
        {4, 500.0f, "high_score_4=500"},
        {2, -3.7f, "high_score_2=-3"},
        {1, 3e10f, "high_score_1=2147483647"},
        {3, -3e10f, "high_score_3=-2147483648"},
        {kLastLevel, 700.0f, nullptr},
        {-1, 700.0f, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level);
        writeSettings("[Rotorstrike]\r\n");
        loadSettings();
        mod.currentLevel = c.level;
        mod.score = c.score;
        saveHighScore();
        EXPECT_EQ(settings(), std::string("[Rotorstrike]\r\n") + (c.written ? std::string(c.written) + "\r\n" : ""));
    }
}

TEST_F(SettingsTest, HighScoreIsReadOnlyForTheListedLevels) {
    writeSettings("[Rotorstrike]\r\nhigh_score_0=500\r\nhigh_score_1=-1\r\nhigh_score_4=3000000000\r\n");
    const struct {
        int32_t level;
        std::optional<uint32_t> expected;
    } cases[] = {{0, 500u}, {1, 4294967295u}, {2, 0u}, {4, 3000000000u}, {kLastLevel, std::nullopt}, {-1, std::nullopt}};
    for (const auto& c : cases) {
        const int readsBefore = host.gameFolder().reads();
        EXPECT_EQ(loadHighScore(c.level), c.expected) << c.level;
        EXPECT_EQ(host.gameFolder().reads() - readsBefore, c.expected ? 1 : 0) << c.level;
    }
}

TEST_F(SettingsTest, OpenLevelsCountsTheLevelsUpToTheIndex) {
    const struct {
        int32_t levelIndex;
        const char* stored;  // what open_levels holds afterwards
        int32_t highestAfterLoad;
    } cases[] = {{0, "1", 0}, {1, "2", 1}, {2, "3", 2}, {4, "5", 4}, {kLastLevel, "2", 1}, {-1, "2", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.levelIndex);
        writeSettings("[Rotorstrike]\r\nopen_levels=2\r\n");
        loadSettings();
        saveOpenLevels(c.levelIndex);
        EXPECT_EQ(settings(), std::string("[Rotorstrike]\r\nopen_levels=") + c.stored + "\r\n");
        loadSettings();
        EXPECT_EQ(mod.highestOpenLevel, c.highestAfterLoad);
    }
}

// A file edited by hand keeps its form through a level won and a purchase: comments,
// blank lines, spacing, other sections, LF line ends, the missing final line end.
TEST_F(SettingsTest, AHandEditedFileKeepsItsForm) {
    writeSettings("; Rotorstrike settings, edited by hand\n\n[Display]\n  width = 1920   ; my monitor\n\n"
                  "[ rotorstrike ]\nOpen_Menu_Key = 121\n  upgrade_points =  21\n\tarmor\t=\t1\n"
                  "; weapons below\nweapon=1\n\n[Audio]\nvolume=7");
    loadSettings();
    saveUpgrades(7, {0, 0});
    mod.currentLevel = 0;
    mod.score = 1234.9f;
    saveHighScore();
    saveOpenLevels(1);
    saveUpgrades(-4, {1, 0});
    EXPECT_EQ(settings(),
              "; Rotorstrike settings, edited by hand\n\n[Display]\n  width = 1920   ; my monitor\n\n"
              "[ rotorstrike ]\nOpen_Menu_Key = 121\n  upgrade_points=24\n\tarmor=2\n"
              "; weapons below\nweapon=1\n" + addedTierLines() + "high_score_0=1234\r\nopen_levels=2\r\n\n[Audio]\nvolume=7");
    loadSettings();
    EXPECT_EQ(progressInMemory(), (Progress{24, 2, 1}));
    EXPECT_EQ(mod.openMenuKey, vk::F10);
    EXPECT_EQ(mod.highestOpenLevel, 1);
}

// The script loads the file before its first frame and again on the menu key.
TEST_F(SettingsTest, TheScriptLoadsTheFileAtStartAndOnTheMenuKey) {
    writeSettings("[Rotorstrike]\r\nopen_menu_key=121\r\n");
    host.runFrame();
    host.pressFor1Frame(vk::F9);
    EXPECT_EQ(mod.menuOpen, 0);
    host.pressFor1Frame(vk::F10);
    EXPECT_EQ(mod.menuOpen, 1);

    // Edited while the game runs: the next press of the menu key reads it.
    writeSettings("[Rotorstrike]\r\nopen_menu_key=121\r\nopen_levels=4\r\narmor=3\r\n");
    host.runFrames(20);
    host.pressFor1Frame(vk::F10);
    EXPECT_EQ(mod.menuOpen, 0);
    EXPECT_EQ(mod.upgradeLevels[kArmorUpgrade], 3);
    EXPECT_EQ(mod.highestOpenLevel, 3);
}

TEST_F(SettingsTest, AReadThatFindsNoFileGivesTheDefaultsUntilTheNextLoad) {
    writeSettings("[Rotorstrike]\r\nopen_menu_key=121\r\n");
    host.gameFolder().missNextReads(7);
    host.runFrame();
    EXPECT_EQ(mod.openMenuKey, vk::F9);
    // F9 works now; the press reloads the file, which brings F10 back.
    host.pressFor1Frame(vk::F9);
    EXPECT_EQ(mod.menuOpen, 1);
    EXPECT_EQ(mod.openMenuKey, vk::F10);
}

// Not even root can create a file below a regular file: every write fails for real.
TEST_F(SettingsTest, AGameFolderBelowARegularFileFailsEveryWrite) {
    gameFolder.write("regular", "x");
    host.setGameDirectory(gameFolder.file("regular") + "/game");
    host.runFrame();
    EXPECT_EQ(mod.openMenuKey, vk::F9);
    saveUpgrades(5, {0, 0});
    saveOpenLevels(2);
    EXPECT_EQ(mod.upgradePoints, 5);
    EXPECT_EQ(host.gameFolder().failedWrites(), 4 + kAddedUpgrades);
    EXPECT_NE(host.gameFolder().lastWriteError().find("Not a directory"), std::string::npos);
    loadSettings();
    EXPECT_EQ(progressInMemory(), (Progress{0, 1, 1}));
    EXPECT_EQ(gameFolder.names(), std::vector<std::string>{"regular"});
}

// A load reads an unchanged file, once settled, from the copy kept of it: the menu's cursor
// moves load twice each. A hand edit is still seen at the next load.
TEST_F(SettingsTest, AnUnchangedFileIsReadOnceAndAHandEditSeenAtTheNextLoad) {
    struct Restored {
        ~Restored() {
            profile::setTimestampSlack(std::chrono::seconds(2));
            profile::setFileFaults({});
        }
    } restored;
    profile::setTimestampSlack(-std::chrono::hours(1));  // every file has settled
    writeSettings("[Rotorstrike]\r\nupgrade_points=3\r\n");
    profile::setFileFaults({});  // counts the opens from here
    for (int load = 0; load < 4; ++load) loadSettings();
    EXPECT_EQ(mod.upgradePoints, 3);
    EXPECT_EQ(profile::fileOperations().opens, 1);

    writeSettings("[Rotorstrike]\r\nupgrade_points=12\r\n");
    loadSettings();
    EXPECT_EQ(mod.upgradePoints, 12);
    EXPECT_EQ(profile::fileOperations().opens, 2);
}

}  // namespace
