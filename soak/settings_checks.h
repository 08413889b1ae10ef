// What the soak checks of the settings file, as pure functions of its bytes: that a write
// of the plug-in left the file whole, and the progress the file holds.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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
// what the plug-in makes of it).
enum ProgressKey { OpenLevels, Armor, Weapon, Points, HighScore0, HighScore1, HighScore2, HighScore3, HighScore4, kProgressKeys };
constexpr std::array<const char*, kProgressKeys> kProgressKeyNames = {
    "open_levels", "armor", "weapon", "upgrade_points", "high_score_0", "high_score_1", "high_score_2", "high_score_3", "high_score_4"};
using Progress = std::array<int64_t, kProgressKeys>;
Progress progressOf(const FileBytes& bytes);

// Why the plug-in's writes took the file from one progress to the next backwards: levels
// closed, tiers lost, a high score lowered, or points spent otherwise than on the tiers
// bought with them. Keys edited by hand since the plug-in last read them are exempt.
// Empty when it went forward or stayed.
std::string backwardsProblem(const Progress& before, const Progress& after, const std::array<bool, kProgressKeys>& exempt);

}  // namespace soak
