// The menu's rows, top to bottom, as one table: the drawing, the keys, the row flags
// (which rows the cursor may stop on) and the autopilot all follow it. One row per level
// (encounter/levels.h gives their names), then the balance, one row per upgrade
// (encounter/upgrades.h), a gap and the instructions. Row r stands at y = 0.18 + 0.03 r.
#pragma once

#include <array>
#include <cstdint>

#include "encounter/levels.h"
#include "encounter/upgrades.h"

enum class MenuRowKind : int32_t {
    Level,         // chooses its level (the hidden one's row shows nothing)
    Balance,       // "UPoints: n", never selectable
    Upgrade,       // buys a tier of its upgrade
    Gap,           // nothing shown, never selectable
    Instructions,  // shows the instructions panel; always selectable
};

struct MenuRow {
    MenuRowKind kind;
    int32_t level;    // a level row's level
    int32_t upgrade;  // an upgrade row's upgrade
};

constexpr int kMenuRows = kLevelCount + kUpgrades + 3;

constexpr std::array<MenuRow, kMenuRows> kMenuTable = [] {
    std::array<MenuRow, kMenuRows> rows{};
    int row = 0;
    for (int32_t level = 0; level < kLevelCount; ++level) rows[row++] = {MenuRowKind::Level, level, 0};
    rows[row++] = {MenuRowKind::Balance, 0, 0};
    for (int32_t upgrade = 0; upgrade < kUpgrades; ++upgrade) rows[row++] = {MenuRowKind::Upgrade, 0, upgrade};
    rows[row++] = {MenuRowKind::Gap, 0, 0};
    rows[row++] = {MenuRowKind::Instructions, 0, 0};
    return rows;
}();

// The first row of a kind.
constexpr int32_t menuRowOf(MenuRowKind kind) {
    for (int32_t row = 0; row < kMenuRows; ++row) {
        if (kMenuTable[row].kind == kind) return row;
    }
    return -1;
}
constexpr int32_t kInstructionsRow = menuRowOf(MenuRowKind::Instructions);
// An upgrade's row.
constexpr int32_t upgradeRow(int32_t upgrade) { return menuRowOf(MenuRowKind::Upgrade) + upgrade; }
constexpr int32_t kArmorRow = upgradeRow(kArmorUpgrade);
constexpr int32_t kWeaponRow = upgradeRow(kWeaponUpgrade);

// The highlight bar's centre: a little below its row's text, 0.192 + 0.03 x row.
constexpr float kHighlightFirstY = 0.192f;
constexpr float kMenuRowSpacing = 0.03f;

// A row's text height: from hundredths, so that each is the float its decimal names.
constexpr float menuRowY(int32_t row) { return static_cast<float>((18 + 3 * row) / 100.0); }
static_assert(menuRowY(1) == 0.21f && menuRowY(8) == 0.42f, "rows fall on the hundredths");
// A bar behind a row, where the highlight stands on it: 0.012 below the row's text.
constexpr float menuRowBarY(int32_t row) { return static_cast<float>((192 + 30 * row) / 1000.0); }

// The menu's black panel, in thousandths: from 0.005 above the title (at 0.15) to 0.035
// below the credit line, the row under the last; it grows with the rows.
constexpr int32_t kMenuPanelTop = 145;
constexpr int32_t kMenuPanelBottom = 180 + 30 * kMenuRows + 35;
constexpr float kMenuPanelY = static_cast<float>((kMenuPanelTop + kMenuPanelBottom) / 2000.0);
constexpr float kMenuPanelHeight = static_cast<float>((kMenuPanelBottom - kMenuPanelTop) / 1000.0);
static_assert(kMenuRows != 11 || (kMenuPanelY == 0.345f && kMenuPanelHeight == 0.4f),
              "five listed levels and two upgrades: the panel stands at 0.345, 0.4 high");

// The flags of a freshly loaded module: the first level and the instructions.
constexpr std::array<int32_t, kMenuRows> kInitialMenuRowFlags = [] {
    std::array<int32_t, kMenuRows> flags{};
    for (int32_t row = 0; row < kMenuRows; ++row) {
        const MenuRow& entry = kMenuTable[row];
        const bool always = entry.kind == MenuRowKind::Instructions || (entry.kind == MenuRowKind::Level && entry.level == 0);
        flags[row] = always ? 1 : 0;
    }
    return flags;
}();
