// The per-level tables: the helicopter and its difficulty, and where the player starts.
// Six rows, indexed by `currentLevel`; the sixth is reached only through a hand-edited
// unlock count.
#pragma once

#include <cstdint>

constexpr int32_t kLevelCount = 6;
constexpr int32_t kLastLevel = kLevelCount - 1;

struct LevelParams {
    int32_t shotSpeedJitter;  // a salvo missile's speed is cut by 0 to this - 1 per cent
    float shotLeadMin;        // smallest aim lead, in hundredths of a second of the player's velocity
    int32_t shotLeadSpread;   // 0 to this - 1 is added to the lead
    float heliSpeedBonus;     // added to the helicopter's speed whenever it is put near the player
    float attackInterval;     // a salvo comes once the sight count exceeds twice this
    float maxHealth;          // the helicopter's starting health and the health bar's full width
    const char* heliModel;
};

struct LevelStartPoint {
    float x, y, z;
    float heading;  // degrees
};

extern const LevelParams levelTable[kLevelCount];
extern const LevelStartPoint levelStartPoints[kLevelCount];

// The rows of the level being played. `currentLevel` lies in 0 to 5 whenever an encounter
// runs (the level start clamps it); an index outside is held to the nearest row rather
// than read past the tables.
const LevelParams& currentLevelParams();
const LevelStartPoint& currentStartPoint();
