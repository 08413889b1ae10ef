#include "encounter/levels.h"

#include "runtime/mod_state.h"

const LevelParams levelTable[kLevelCount] = {
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

const LevelStartPoint levelStartPoints[kLevelCount] = {
    {2168.954f, -555.323f, 94.05f, 312.94f},
    {-2042.4344f, 4471.1064f, 56.907f, 314.779f},
    {713.056f, -1176.0537f, 44.14f, 91.99f},
    {1484.3746f, 6460.339f, 21.339f, 76.831f},
    {2302.969f, 3861.948f, 34.396f, 121.55f},
    {2302.969f, 3861.948f, 34.396f, 121.55f},
};

namespace {

int32_t currentRow() {
    if (mod.currentLevel < 0) return 0;
    return mod.currentLevel > kLastLevel ? kLastLevel : mod.currentLevel;
}

}  // namespace

const LevelParams& currentLevelParams() { return levelTable[currentRow()]; }

const LevelStartPoint& currentStartPoint() { return levelStartPoints[currentRow()]; }
