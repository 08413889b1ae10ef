#include "menu/menu.h"
#include "runtime/messages.h"
#include "runtime/mod_state.h"
#include "runtime/natives.h"
#include "runtime/text.h"

const char* const armorTierNames[4] = {"ARMOR I (UP:4)", "ARMOR II (UP:4", "ARMOR III (UP:4)", "ARMOR IV (max)"};
const char* const weaponTierNames[4] = {"WEAPON I (UP:3)", "WEAPON II (UP:3)", "WEAPON III (UP:3)", "WEAPON IV (max)"};

namespace {

constexpr float kTextX = 0.04f;

// The level rows, 0.03 apart; a locked level shows its short name in grey.
struct LevelRow {
    float y;
    const char* unlocked;
    const char* locked;
};
constexpr LevelRow kLevelRows[] = {
    {0.18f, "Level 1 - Normal", "Level 1"}, {0.21f, "Level 2 - Expert", "Level 2"},
    {0.24f, "Level 3 - Pro", "Level 3"},    {0.27f, "Level 4 - Master", "Level 4"},
    {0.30f, "Level 5 - Impossible", "Level 5"},
};

int32_t styleFor(bool available) { return available ? kMenuTextWhite : kMenuTextGrey; }

// A tier label, guarded against a tier outside 1 to 4 (the loader never leaves one).
const char* tierName(const char* const names[4], int32_t tier) {
    return tier >= 1 && tier <= 4 ? names[tier - 1] : "";
}

}  // namespace

void drawMenuText(float x, float y, const char* text, int32_t style) {
    setTextStyle(0.23f, style == kMenuTextGrey ? 150 : 255, 255, 0);
    drawStyledText(text, x, y);
}

void drawMenu() {
    drawRect(0.0f, 0.345f, 0.15f, 0.4f, 0, 0, 0, 200);
    drawRect(0.0f, 0.192f + 0.03f * static_cast<float>(mod.menuCursor), 0.145f, 0.02f, 150, 150, 150, 200);
    drawMenuText(0.0378f, 0.15f, "Rotorstrike Menu", kMenuTextWhite);

    for (int32_t level = 0; level < 5; ++level) {
        const bool unlocked = level == 0 || mod.highestOpenLevel >= level;
        const LevelRow& row = kLevelRows[level];
        drawMenuText(kTextX, row.y, unlocked ? row.unlocked : row.locked, styleFor(unlocked));
    }

    TextBuffer balance;
    appendText(balance, "UPoints: ");
    appendNumber(balance, mod.upgradePoints);
    drawMenuText(kTextX, 0.36f, balance.chars, kMenuTextWhite);

    drawMenuText(kTextX, 0.39f, tierName(armorTierNames, mod.armorLevel),
                 styleFor(mod.upgradePoints > 3 && mod.armorLevel != 4));
    // The red hint behind the weapon row: Level 3 is open but refused for want of a weapon tier.
    if (mod.highestOpenLevel == 2 && mod.weaponLevel == 1) drawRect(0.0f, 0.432f, 0.14f, 0.02f, 255, 100, 100, 150);
    drawMenuText(kTextX, 0.42f, tierName(weaponTierNames, mod.weaponLevel),
                 styleFor(mod.upgradePoints > 2 && mod.weaponLevel != 4));

    drawMenuText(kTextX, 0.48f, "Instructions", kMenuTextWhite);
    drawMenuText(kTextX, 0.51f, "BY ORVEN (v1.0)", kMenuTextWhite);
}
