#include "campaign.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <optional>
#include <utility>

#include "command_line.h"
#include "level_run.h"
#include "profile_file.h"
#include "settings/settings.h"
#include "temporary_folder.h"

namespace fs = std::filesystem;

namespace tools {

namespace {

constexpr int kMostLevels = 60;  // a campaign still going after these is reported unfinished
// The autopilot numbers levels from 1: the last listed level, and the first that needs a weapon tier.
constexpr int kLastPlayedLevel = kListedLevels;
constexpr int kFirstPlayedLevelNeedingWeapon = kFirstLevelNeedingWeapon + 1;

// The progress the settings file holds, as the plug-in reads it.
struct Progress {
    int openLevels = 1, points = 0;
    Tiers tiers{};
};

Progress progressIn(const std::string& gameDir) {
    const std::string file = profile::resolvePath(gameDir, kSettingsPath);
    const auto read = [&](SettingsKey key) {
        const SettingsKeyRule& rule = kSettingsKeyRules[key];
        return profile::readFileInt(file, kSettingsSection, rule.name, rule.defaultValue);
    };
    Progress progress{openLevelCountOf(read(OpenLevels)), upgradePointsOf(read(UpgradePoints))};
    for (int32_t upgrade = 0; upgrade < kUpgrades; ++upgrade) progress.tiers[upgrade] = tierOf(read(upgradeKey(upgrade)));
    return progress;
}

bool forSale(const Progress& progress, int32_t upgrade) {
    return progress.tiers[upgrade] < kTopTier && progress.points >= upgradeTable[upgrade].price;
}

// The level to play: the highest open one, unless it needs a weapon tier the points cannot
// buy yet; then the one below it, for points.
int nextLevel(const Progress& progress) {
    const int open = std::min(progress.openLevels, kLastPlayedLevel);
    const bool stuck = open >= kFirstPlayedLevelNeedingWeapon && progress.tiers[kWeaponUpgrade] < kWeaponTierForHardLevels &&
                       progress.points < upgradeTable[kWeaponUpgrade].price;
    return stuck ? open - 1 : open;
}

// What to buy before the level (a row of the upgrade table, or none), and how many tiers of it.
constexpr int32_t kNothing = -1;
std::pair<int32_t, int> purchaseFor(Purchases policy, const Progress& progress, int level) {
    if (level >= kFirstPlayedLevelNeedingWeapon && progress.tiers[kWeaponUpgrade] < kWeaponTierForHardLevels) {
        return {forSale(progress, kWeaponUpgrade) ? kWeaponUpgrade : kNothing, 1};
    }
    switch (policy.kind) {
    case Purchases::None: break;
    case Purchases::Only:
        if (forSale(progress, policy.upgrade)) {
            return {policy.upgrade, std::min(progress.points / upgradeTable[policy.upgrade].price,
                                             kTopTier - progress.tiers[policy.upgrade])};
        }
        break;
    case Purchases::Balanced: {
        // The lowest tier for sale; of equal ones, the first in the table.
        int32_t lowest = kNothing;
        for (int32_t upgrade = 0; upgrade < kUpgrades; ++upgrade) {
            if (forSale(progress, upgrade) && (lowest == kNothing || progress.tiers[upgrade] < progress.tiers[lowest])) {
                lowest = upgrade;
            }
        }
        if (lowest != kNothing) return {lowest, 1};
        break;
    }
    }
    return {kNothing, 0};
}

std::string minutes(int64_t frames) {
    const int64_t seconds = frames / 60;
    return std::to_string(seconds / 60) + " min " + std::to_string(seconds % 60) + " s";
}

}  // namespace

int playCampaign(const SimOptions& options) {
    std::optional<sim::TemporaryFolder> temporary;
    std::string gameDir = options.gameDir;
    if (gameDir.empty()) gameDir = temporary.emplace("rotorstrike-sim").path();
    fs::create_directories(gameDir);
    const std::clock_t processorStart = std::clock();

    autopilot::GameOptions gameOptions;
    gameOptions.level = nextLevel(progressIn(gameDir));
    gameOptions.seed = options.seed;
    gameOptions.maxFrames = options.maxFrames;
    gameOptions.gameDirectory = gameDir;
    autopilot::Game game(gameOptions);
    std::printf("campaign of seed %u in %s\n", options.seed, gameDir.c_str());

    int played = 0, won = 0, lost = 0, refused = 0;
    int64_t frames = 0;
    bool complete = false;
    while (!complete && played < kMostLevels) {
        const Progress before = progressIn(gameDir);
        const int level = nextLevel(before);
        if (played > 0) {
            // Between levels the host takes back what the plug-in let go, and the player
            // takes a car again.
            game.removeHandedBack();
            sim::World& world = game.host().world();
            if (world.entities().vehicleOf(world.entities().playerPed()) == 0) world.entities().putPlayerInVehicle();
            game.nextLevel(level);
        }
        const auto [upgrade, tiers] = purchaseFor(options.buy, before, level);
        if (upgrade != kNothing) game.autopilot().buyFirst(upgrade, tiers);
        ++played;
        char folder[32];
        std::snprintf(folder, sizeof folder, "%02d-level-%d", played, level);
        LevelRunOptions run;
        run.folder = (fs::path(options.out) / folder).string();
        run.replay = options.replay;
        const LevelReport report = runLevel(game, level, run);
        if (report.status == kFault) throw std::runtime_error("Level " + std::to_string(level) + ": " + report.result);
        frames += report.frames;
        won += report.status == kWon ? 1 : 0;
        refused += report.status == kRefused ? 1 : 0;
        lost += report.status == kLost || report.status == kOutOfFrames ? 1 : 0;
        complete = report.status == kWon && level == kLastPlayedLevel;
        const Progress after = progressIn(gameDir);
        const std::string outcome = report.status == kWon ? "won, score " + std::to_string(report.score)
                                                          : report.result.substr(0, report.result.find(':'));
        std::string tiersAfter;
        for (int32_t row = 0; row < kUpgrades; ++row) {
            tiersAfter += std::string(", ") + upgradeTable[row].settingsKey + " " + std::to_string(after.tiers[row]);
        }
        std::printf("%02d  Level %d  %-18s %-10s %9s after%s\n", played, level, outcome.c_str(),
                    (cli::counted(report.deaths, "death") + ",").c_str(), cli::counted(after.points, "point").c_str(),
                    tiersAfter.c_str());
        for (const std::string& failed : report.failedWrites) std::printf("    the plug-in could not write %s\n", failed.c_str());
    }
    const double processor = static_cast<double>(std::clock() - processorStart) / CLOCKS_PER_SEC;
    std::printf("campaign: %s played, %d won, %d lost, %d refused; %s of game, %.1f s of processor time; %s\n",
                cli::counted(played, "level").c_str(), won, lost, refused, minutes(frames).c_str(), processor,
                complete ? "all levels complete" : "it did not end");
    std::printf("timelines and pictures: %s\n", options.out.c_str());
    return complete ? kWon : kLost;
}

}  // namespace tools
