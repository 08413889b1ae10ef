// The levels, in one place: how many there are and, for each, the helicopter and its
// difficulty, the menu's names for it, the notices of its win, and where the player starts.
// The menu's level rows, the settings file's keys for levels (a best score for each level
// the menu lists, the count of open levels) and the last level's index all follow from here.
//
// Adding a level: one row in levelTable (before the hidden last one, which stays last) and
// its start point at the same place in levelStartPoints.
#pragma once

#include <cstdint>
#include <iterator>

struct LevelParams {
    int32_t shotSpeedJitter;  // a salvo missile's speed is cut by 0 to this - 1 per cent
    float shotLeadMin;        // smallest aim lead, in hundredths of a second of the player's velocity
    int32_t shotLeadSpread;   // 0 to this - 1 is added to the lead
    float heliSpeedBonus;     // added to the helicopter's speed whenever it is put near the player
    float attackInterval;     // a salvo comes once the sight count exceeds twice this
    float maxHealth;          // the helicopter's starting health and the health bar's full width
    const char* heliModel;
    const char* menuName;     // the menu's row once the level is open; null: not shown
    const char* lockedName;   // the menu's grey row while it is locked
    const char* wonNotices[2];  // posted after the points when the level is won; null: none
};

struct LevelStartPoint {
    float x, y, z;
    float heading;  // degrees
};

inline constexpr LevelParams levelTable[] = {
    {10, 30.0f, 450, 10.0f, 150.0f, 80.0f, "BUZZARD", "Level 1 - Normal", "Level 1", {}},
    {10, 50.0f, 350, 20.0f, 120.0f, 140.0f, "ANNIHILATOR", "Level 2 - Expert", "Level 2",
     {"You should upgrade your WEAPON in the menu!", "Next level won't be as easy!"}},
    {7, 80.0f, 250, 15.0f, 90.0f, 300.0f, "VALKYRIE", "Level 3 - Pro", "Level 3", {"Next level won't be as easy!"}},
    {5, 80.0f, 140, 15.0f, 70.0f, 450.0f, "SAVAGE", "Level 4 - Master", "Level 4", {}},
    {1, 97.0f, 102, 15.0f, 40.0f, 700.0f, "SAVAGE", "Level 5 - Impossible", "Level 5",
     {"~g~Good job! You've successfully repelled the attacks!",
      "Oh-oh, looks like HQ is planning to send 2 helo next time."}},
    // The hidden level: no menu name, no notices.
    {1, 95.0f, 105, 15.0f, 40.0f, 700.0f, "SAVAGE", nullptr, nullptr, {}},
};

inline constexpr LevelStartPoint levelStartPoints[] = {
    {2168.954f, -555.323f, 94.05f, 312.94f},
    {-2042.4344f, 4471.1064f, 56.907f, 314.779f},
    {713.056f, -1176.0537f, 44.14f, 91.99f},
    {1484.3746f, 6460.339f, 21.339f, 76.831f},
    {2302.969f, 3861.948f, 34.396f, 121.55f},
    {2302.969f, 3861.948f, 34.396f, 121.55f},
};

constexpr int32_t kLevelCount = static_cast<int32_t>(std::size(levelTable));
constexpr int32_t kLastLevel = kLevelCount - 1;
static_assert(std::size(levelStartPoints) == std::size(levelTable), "a start point for each level");
// The last level is hidden: the menu shows no name for it, it keeps no best score, a win
// never opens it, and only a hand-edited unlock count (open_levels=kLevelCount) reaches it.
// The others are listed.
constexpr int32_t kListedLevels = kLevelCount - 1;
constexpr int32_t kLastListedLevel = kListedLevels - 1;
static_assert(levelTable[kLastLevel].menuName == nullptr, "the hidden level is the last");
