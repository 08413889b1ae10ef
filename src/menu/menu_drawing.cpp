#include <array>

#include "encounter/levels.h"
#include "menu/menu.h"
#include "runtime/messages.h"
#include "runtime/mod_state.h"
#include "runtime/natives.h"
#include "runtime/text.h"

namespace {

constexpr float kTextX = 0.04f;

// Each row's height, and the credit line's under the last, worked out once at compile time.
constexpr std::array<float, kMenuRows + 1> kRowY = [] {
    std::array<float, kMenuRows + 1> heights{};
    for (int32_t row = 0; row <= kMenuRows; ++row) heights[row] = menuRowY(row);
    return heights;
}();

int32_t styleFor(bool available) { return available ? kMenuTextWhite : kMenuTextGrey; }

// A tier label, guarded against a tier outside 1 to 4 (the loader never leaves one).
const char* tierName(const UpgradeParams& upgrade, int32_t tier) {
    return tier >= kFirstTier && tier <= kTopTier ? upgrade.tierNames[tier - 1] : "";
}

// One row of the table; a locked level shows its short name in grey, the hidden one nothing.
void drawRow(int32_t row) {
    const MenuRow& entry = kMenuTable[row];
    const float y = kRowY[row];
    switch (entry.kind) {
    case MenuRowKind::Level: {
        const LevelParams& level = levelTable[entry.level];
        if (level.menuName == nullptr) return;
        const bool unlocked = entry.level == 0 || mod.highestOpenLevel >= entry.level;
        drawMenuText(kTextX, y, unlocked ? level.menuName : level.lockedName, styleFor(unlocked));
        return;
    }
    case MenuRowKind::Balance: {
        TextBuffer balance;
        appendText(balance, "UPoints: ");
        appendNumber(balance, mod.upgradePoints);
        drawMenuText(kTextX, y, balance.chars, kMenuTextWhite);
        return;
    }
    case MenuRowKind::Upgrade:
        // The red hint behind the weapon row: Level 3 is open but refused for want of a weapon tier.
        if (entry.upgrade == kWeaponUpgrade && mod.highestOpenLevel == kFirstLevelNeedingWeapon &&
            weaponLevel() == kFirstTier) {
            drawRect(0.0f, menuRowBarY(row), 0.14f, 0.02f, 255, 100, 100, 150);
        }
        drawMenuText(kTextX, y, tierName(upgradeTable[entry.upgrade], upgradeTier(row)), styleFor(upgradeForSale(row)));
        return;
    case MenuRowKind::Gap: return;
    case MenuRowKind::Instructions: drawMenuText(kTextX, y, "Instructions", kMenuTextWhite); return;
    }
}

}  // namespace

void drawMenuText(float x, float y, const char* text, int32_t style) {
    setTextStyle(0.23f, style == kMenuTextGrey ? 150 : 255, 255, 0);
    drawStyledText(text, x, y);
}

void drawMenu() {
    drawRect(0.0f, kMenuPanelY, 0.15f, kMenuPanelHeight, 0, 0, 0, 200);
    drawRect(0.0f, kHighlightFirstY + kMenuRowSpacing * static_cast<float>(mod.menuCursor), 0.145f, 0.02f, 150, 150,
             150, 200);
    drawMenuText(0.0378f, 0.15f, "Rotorstrike Menu", kMenuTextWhite);
    for (int32_t row = 0; row < kMenuRows; ++row) drawRow(row);
    // The credit line under the last row.
    drawMenuText(kTextX, kRowY[kMenuRows], "BY ORVEN (v1.0)", kMenuTextWhite);
}
