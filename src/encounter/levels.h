// The levels, in one place: how many there are and, for each, the helicopter and its
// difficulty, the menu's names for it, the notices of its win, and where the player starts.
// The menu's level rows, the settings file's keys for levels (a best score for each level
// the menu lists, the count of open levels) and the last level's index all follow from here.
//
// Adding a level: one row in levelTable (before the hidden last one, to keep that one last)
// and its start point in levelStartPoints, with kLevelCount one higher.
#pragma once

#include <cstdint>

constexpr int32_t kLevelCount = 6;
constexpr int32_t kLastLevel = kLevelCount - 1;
// The last level is hidden: the menu shows no name for it, it keeps no best score, a win
// never opens it, and only a hand-edited unlock count (open_levels=6) reaches it. The
// others are listed.
constexpr int32_t kListedLevels = kLevelCount - 1;
constexpr int32_t kLastListedLevel = kListedLevels - 1;

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

extern const LevelParams levelTable[kLevelCount];
extern const LevelStartPoint levelStartPoints[kLevelCount];

// The rows of the level being played. `currentLevel` lies in 0 to kLastLevel whenever an
// encounter runs (the level start clamps it); an index outside is held to the nearest row
// rather than read past the tables.
const LevelParams& currentLevelParams();
const LevelStartPoint& currentStartPoint();
