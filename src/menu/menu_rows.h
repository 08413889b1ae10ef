// The menu's rows, top to bottom, as one table: the drawing, the keys, the row flags
// (which rows the cursor may stop on) and the autopilot all follow it. One row per level
// (encounter/levels.h gives their names), then the balance, the two upgrades, a gap and the
// instructions. Row r stands at y = 0.18 + 0.03 r.
#pragma once

#include <array>
#include <cstdint>

#include "encounter/levels.h"
#include "rules.h"

enum class MenuRowKind : int32_t {
    Level,         // chooses its level (the hidden one's row shows nothing)
    Balance,       // "UPoints: n", never selectable
    Armor,         // buys an armor tier
    Weapon,        // buys a weapon tier
    Gap,           // nothing shown, never selectable
    Instructions,  // shows the instructions panel; always selectable
};

struct MenuRow {
    MenuRowKind kind;
    int32_t level;  // a level row's level
    int32_t price;  // an upgrade row's price in points
};

constexpr int kMenuRows = kLevelCount + 5;

constexpr std::array<MenuRow, kMenuRows> kMenuTable = [] {
    std::array<MenuRow, kMenuRows> rows{};
    int row = 0;
    for (int32_t level = 0; level < kLevelCount; ++level) rows[row++] = {MenuRowKind::Level, level, 0};
    rows[row++] = {MenuRowKind::Balance, 0, 0};
    rows[row++] = {MenuRowKind::Armor, 0, kArmorPrice};
    rows[row++] = {MenuRowKind::Weapon, 0, kWeaponPrice};
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
constexpr int32_t kArmorRow = menuRowOf(MenuRowKind::Armor);
constexpr int32_t kWeaponRow = menuRowOf(MenuRowKind::Weapon);
constexpr int32_t kInstructionsRow = menuRowOf(MenuRowKind::Instructions);

// The highlight bar's centre: a little below its row's text, 0.192 + 0.03 x row.
constexpr float kHighlightFirstY = 0.192f;
constexpr float kMenuRowSpacing = 0.03f;

// A row's text height: from hundredths, so that each is the float its decimal names.
constexpr float menuRowY(int32_t row) { return static_cast<float>((18 + 3 * row) / 100.0); }
static_assert(menuRowY(1) == 0.21f && menuRowY(8) == 0.42f, "rows fall on the hundredths");
// A bar behind a row, where the highlight stands on it: 0.012 below the row's text.
constexpr float menuRowBarY(int32_t row) { return static_cast<float>((192 + 30 * row) / 1000.0); }

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
