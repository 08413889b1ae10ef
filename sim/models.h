// The models the simulated host knows, in one table a modder extends: each model's name, kind,
// size (its corners in its own frame, units) and the top speed its pilot flies it at (units a
// second; 0: no limit). Every model the level table names, the pilot's and the player's car
// must be here: to give a level another helicopter the host game has, add its row here.
#pragma once

#include <string_view>

#include "vec3.h"

namespace sim {

enum class EntityKind { Ped, Vehicle };

struct ModelRow {
    std::string_view name;
    EntityKind kind;
    Vec3 minimum, maximum;
    float topSpeed;
};

inline constexpr std::string_view kModelTableFile = "sim/models.h";
inline constexpr std::string_view kPlayerModel = "SIM_PLAYER";
inline constexpr std::string_view kCarModel = "SIM_CAR";

inline constexpr ModelRow kModelTable[] = {
    // The mission's helicopters, flown at their own top speeds whatever a mission asks.
    {"BUZZARD", EntityKind::Vehicle, {-1.6f, -6.5f, -1.8f}, {1.6f, 6.5f, 1.8f}, 45.0f},
    {"ANNIHILATOR", EntityKind::Vehicle, {-2.2f, -8.2f, -2.3f}, {2.2f, 8.2f, 2.3f}, 48.0f},
    {"VALKYRIE", EntityKind::Vehicle, {-2.4f, -9.1f, -2.5f}, {2.4f, 9.1f, 2.5f}, 46.0f},
    {"SAVAGE", EntityKind::Vehicle, {-2.6f, -9.8f, -2.6f}, {2.6f, 9.8f, 2.6f}, 52.0f},
    // Their pilot.
    {"s_m_y_swat_01", EntityKind::Ped, {-0.4f, -0.3f, -1.0f}, {0.4f, 0.3f, 1.0f}, 0.0f},
    // The player and the player's car.
    {kCarModel, EntityKind::Vehicle, {-1.0f, -2.3f, -0.7f}, {1.0f, 2.3f, 0.7f}, 0.0f},
    {kPlayerModel, EntityKind::Ped, {-0.4f, -0.3f, -1.0f}, {0.4f, 0.3f, 1.0f}, 0.0f},
};

// The row of a model, or null when the table lacks it. The host hashes a name in any case.
constexpr const ModelRow* findModelRow(std::string_view name) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (const ModelRow& row : kModelTable) {
        if (row.name.size() != name.size()) continue;
        bool same = true;
        for (std::size_t index = 0; index < name.size() && same; ++index) same = lower(row.name[index]) == lower(name[index]);
        if (same) return &row;
    }
    return nullptr;
}

}  // namespace sim
