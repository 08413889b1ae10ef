// What the soak checks of the settings file, as pure functions of its bytes: that a write
// of the plug-in left the file whole, and the progress the file holds.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/settings_file.h"

namespace soak {

// A file's bytes; none when there is no file (or no folder).
using FileBytes = std::optional<std::string>;
FileBytes readFileBytes(const std::string& path);

// Why a write of key=value into section left the file otherwise than the old content (a
// failed write, or one that changed nothing) or the new content: the old file with the key's
// line written or replaced (and its section's header added when it had none), every other
// line as it was, and the value reading back. Empty when the file is whole.
std::string wholeFileProblem(const FileBytes& before, const FileBytes& after, std::string_view section,
                             std::string_view key, std::string_view value, bool written);

// The progress the file holds, as the plug-in reads it (a value out of range counts as
// what the plug-in makes of it): the open levels, each upgrade's tier in the upgrade table's
// order, the points, and each listed level's best score. Where each stands:
constexpr std::size_t kOpenLevelsAt = 0;
constexpr std::size_t tierAt(int32_t upgrade) { return 1 + static_cast<std::size_t>(upgrade); }
constexpr std::size_t kPointsAt = tierAt(kUpgrades);
constexpr std::size_t bestAt(int32_t level) { return kPointsAt + 1 + static_cast<std::size_t>(level); }
constexpr std::size_t kProgressKeys = bestAt(kBestScores);
// The settings file's key of each.
constexpr std::array<const char*, kProgressKeys> kProgressKeyNames = [] {
    std::array<const char*, kProgressKeys> names{};
    names[kOpenLevelsAt] = kSettingsKeyRules[OpenLevels].name;
    for (int32_t upgrade = 0; upgrade < kUpgrades; ++upgrade) names[tierAt(upgrade)] = kSettingsKeyRules[upgradeKey(upgrade)].name;
    names[kPointsAt] = kSettingsKeyRules[UpgradePoints].name;
    for (int32_t level = 0; level < kBestScores; ++level) names[bestAt(level)] = bestScoreKey(level);
    return names;
}();
using Progress = std::array<int64_t, kProgressKeys>;
Progress progressOf(const FileBytes& bytes);

// Why the plug-in's writes took the file from one progress to the next backwards: levels
// closed, tiers lost, a high score lowered, or points spent otherwise than on the tiers
// bought with them. Keys edited by hand since the plug-in last read them are exempt.
// Empty when it went forward or stayed.
std::string backwardsProblem(const Progress& before, const Progress& after, const std::array<bool, kProgressKeys>& exempt);

}  // namespace soak
