#include "soak.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "checks.h"
#include "command_line.h"
#include "faults.h"
#include "game.h"
#include "plugin_host.h"
#include "record.h"
#include "settings/settings_file.h"
#include "target.h"
#include "temporary_folder.h"

namespace soak {

namespace {

constexpr int64_t kSettleFrames = 1500;      // a revival's 600 frames and more
// The plug-in takes a key once in 200 ms; the soak waits two frames longer between presses.
constexpr int64_t kPressMarginFrames = 2;
constexpr int64_t kFramesBetweenPresses = sim::kKeyLockoutFrames + kPressMarginFrames;
constexpr int kLongestGame = 20;  // levels played in one host before it restarts

// A level to play: mostly one that is open and that the weapon allows (the levels from
// kFirstLevelNeedingWeapon on need its tier kWeaponTierForHardLevels), now and then any.
int chooseLevel(Random& random, const Progress& progress) {
    const int32_t allowed = progress[tierAt(kWeaponUpgrade)] >= kWeaponTierForHardLevels ? kListedLevels : kFirstLevelNeedingWeapon;
    const int64_t playable = std::min<int64_t>(progress[kOpenLevelsAt], allowed);
    return static_cast<int>(random.percent(95) ? random.between(1, playable) : random.between(1, kLevelCount));
}

// The upgrades the points pay for, in the table's order.
std::vector<int32_t> upgradesAffordable(const Progress& progress) {
    std::vector<int32_t> affordable;
    for (int32_t upgrade = 0; upgrade < kUpgrades; ++upgrade) {
        if (progress[kPointsAt] >= upgradeTable[upgrade].price) affordable.push_back(upgrade);
    }
    return affordable;
}

// One of them: each in turn, with an even chance against those after it.
int32_t chooseUpgrade(Random& random, const std::vector<int32_t>& upgrades) {
    std::size_t chosen = 0;
    while (chosen + 1 < upgrades.size() && !random.percent(100 / static_cast<int64_t>(upgrades.size() - chosen))) ++chosen;
    return upgrades[chosen];
}

}  // namespace

FaultKinds faultsMade(const Options& options) {
    FaultKinds made{};
    for (int kind = 0; kind < kFaultKinds; ++kind) {
        const Fault fault = static_cast<Fault>(kind);
        made[static_cast<std::size_t>(kind)] = needsOurProfileCode(fault) ? !target().systemProfileFunctions && !options.onlyFaultsBothMake
                                                                          : !options.onlyFaultsBothMake || !changesBytesAtRandom(fault);
    }
    return made;
}

namespace {

// One run: the game folder, the faults and the checks, and the game being played.
class Run {
public:
    // The game's folder lies in a folder of its own, which a fault makes unusable where the
    // game's folder itself cannot be (see Target).
    explicit Run(const Options& options)
        : options_(options), folder_("rotorstrike-soak"), games_(folder_.path() + "/games"),
          gameFolder_(games_ + "/game"), settingsFile_(gameFolder_ + "/" + kSettingsFileName),
          faults_(target().gameFolderIsCurrent ? games_ : gameFolder_, settingsFile_, faultsMade(options)),
          checks_(settingsFile_) {
        std::filesystem::create_directories(gameFolder_);
        if (target().gameFolderIsCurrent) std::filesystem::current_path(gameFolder_);
        report_.made = faultsMade(options);
        report_.probesFromPlugin = target().pluginState != nullptr;
    }
    ~Run() {
        if (target().gameFolderIsCurrent) std::filesystem::current_path(startedIn_);
    }

    Report play() {
        std::optional<cli::ProgressLine> shown;
        if (options_.progress) shown.emplace("rotorstrike-soak", options_.levels, "levels");
        for (int level = 0; level < options_.levels; ++level) {
            Random random = Random::forPart(options_.seed, static_cast<uint64_t>(level));
            const Progress progress = progressOf(readFileBytes(settingsFile_));
            const int chosen = chooseLevel(random, progress);
            startLevel(random, progress, chosen);
            const ProbeCounts pluginBefore = probesSoFar(), seenBefore = checks_.probesSeen();
            try {
                playLevel();
                windDown();
                if (report_.probesFromPlugin) checks_.probesAgree(minus(checks_.probesSeen(), seenBefore), minus(probesSoFar(), pluginBefore));
            } catch (const std::exception& error) {
                checks_.settled(game_->host(), false, std::string("the host stopped: ") + error.what());
            }
            if (!checks_.problem().empty()) {
                report_.problem = "level " + std::to_string(level + 1) + " (Level " + std::to_string(chosen) + "), frame " +
                                  std::to_string(game_->host().frame()) + ": " + checks_.problem();
                report_.failedLevel = level;
                break;
            }
            ++report_.levels;
            if (options_.record != nullptr) {
                recordLevel(*options_.record, level, chosen, game_->autopilot().outcome(), progressOf(readFileBytes(settingsFile_)));
            }
            tidyUp(random);
            if (shown) shown->update(level + 1);
        }
        countProbes();
        report_.fired = faults_.fired();
        report_.writePositions = faults_.writePositions();
        report_.deaths = faults_.deaths();
        report_.menuKeys = faults_.menuKeys();
        report_.reloads = faults_.reloads();
        report_.checks = checks_.counts();
        return report_;
    }

private:
    // The level chosen, in the game going on or in a new one (the plug-in loaded afresh),
    // an upgrade bought first now and then, and the level's faults planned.
    void startLevel(Random& random, const Progress& progress, int level) {
        // The settings code's rare paths are arranged for now and then, often while they have
        // not run yet, and still later in the run, when the file holds more to lose.
        const ProbeCounts probes = probesSoFar();
        const auto arrange = [&](SettingsProbe probe) { return random.percent(probes[probe] == 0 ? 25 : 4); };
        const bool withheld = arrange(ProbeWithheldBeforeRead);
        // A new game whose loads all find the file locked, until the lock ends before the win.
        const bool lockedStart = arrange(ProbeWinLoadAfterLockedStart);
        Arrangement arranged;
        arranged.lockFromStart = withheld || lockedStart || arrange(ProbeBestReadAgain);
        // Withheld at a win: the win's own load finds the file locked again.
        arranged.lockAtWin = withheld || (arranged.lockFromStart && arrange(ProbeResultUncompared));
        arranged.rollbackFails = arrange(ProbeRollbackWrittenLater);
        faults_.planLevel(random, arranged);
        // Progress is withheld, and a win loads the file again, only before a new game's first
        // read of the file.
        if (withheld || lockedStart) gameLevelsLeft_ = 0;
        if (!game_ || gameLevelsLeft_-- <= 0) {
            countProbes();
            game_.reset();
            autopilot::GameOptions gameOptions;
            gameOptions.level = level;
            gameOptions.seed = static_cast<uint32_t>(random.next());
            gameOptions.maxFrames = INT64_MAX / 2;
            if (!target().gameFolderIsCurrent) gameOptions.gameDirectory = gameFolder_;
            gameOptions.showInstructions = random.percent(20);
            game_ = std::make_unique<autopilot::Game>(gameOptions);
            sim::Host& host = game_->host();
            host.setProfileLogEnabled(false);
            faults_.attach(host);
            checks_.attach(host);
            game_->setInterference([this](sim::Host& h) {
                faults_.beforeFrame(h, faults_.lastDispatchFrame() != h.frame());
                if (faults_.fileChangedByHand()) checks_.fileChangedByHand();
                if (faults_.moduleReloadDue()) reloadModule(h);
            });
            gameLevelsLeft_ = static_cast<int>(random.between(0, kLongestGame - 1));
            repeatedPurchases_ = 0;
            ++report_.games;
        } else {
            game_->autopilot().playLevel(level);
        }
        const std::vector<int32_t> affordable = upgradesAffordable(progress);
        if (!affordable.empty() && (random.percent(50) || faults_.buyTwice() || withheld || arranged.rollbackFails)) {
            game_->autopilot().buyFirst(chooseUpgrade(random, affordable), faults_.buyTwice() ? 2 : 1);
        }
    }

    // The probes so far: the plug-in's, its mod state starting afresh with each game; or the
    // host's sightings.
    ProbeCounts probesSoFar() const {
        const ModState* state = target().pluginState;
        if (state == nullptr) return checks_.probesSeen();
        ProbeCounts probes = report_.probes;
        for (int probe = 0; probe < kSettingsProbes && game_; ++probe) probes[probe] += state->settingsProbes[probe];
        return probes;
    }

    void countProbes() { report_.probes = probesSoFar(); }

    // The module freed and loaded again in the game going on: it starts afresh, never having
    // read the file, as in a new game.
    void reloadModule(sim::Host& host) {
        countProbes();
        host.unload();
        checks_.unloaded(host);
        host.load();
        checks_.attach(host);
    }

    static ProbeCounts minus(const ProbeCounts& after, const ProbeCounts& before) {
        ProbeCounts difference{};
        for (std::size_t probe = 0; probe < difference.size(); ++probe) difference[probe] = after[probe] - before[probe];
        return difference;
    }

    // The level, until it ends or runs too long.
    void playLevel() {
        sim::Host& host = game_->host();
        int64_t frames = 0;
        bool playing = true;
        while (playing && frames < options_.levelFrames && checks_.problem().empty()) {
            playing = game_->step();
            ++frames;
            checks_.afterFrame(host, faults_);
            if (options_.record != nullptr) recordFrame(*options_.record, host);
        }
        report_.frames += frames;
        const int repeated = game_->autopilot().repeatedPurchases();
        faults_.record(Fault::BoughtTwice, repeated - repeatedPurchases_);
        repeatedPurchases_ = repeated;
        switch (game_->autopilot().outcome()) {
        case autopilot::Outcome::Won: ++report_.won; break;
        case autopilot::Outcome::Lost: ++report_.lost; break;
        case autopilot::Outcome::Refused: ++report_.refused; break;
        case autopilot::Outcome::Playing: ++report_.outOfFrames; break;
        }
    }

    // Every fault cleared, the encounter abandoned with the menu key: the plug-in must come
    // back to its loop with no encounter and the player alive.
    void windDown() {
        sim::Host& host = game_->host();
        faults_.calm(host);
        if (faults_.fileChangedByHand()) checks_.fileChangedByHand();
        int64_t lastPress = -kFramesBetweenPresses;
        const int32_t menuKey = boundMenuKey(host);
        bool settled = false;
        for (int64_t frame = 0; frame < kSettleFrames && !settled && checks_.problem().empty(); ++frame) {
            game_->autopilot().beforeFrame(host);
            const bool press = encounterRuns(host) && frame - lastPress >= kFramesBetweenPresses;
            host.setKey(menuKey, press);
            if (press) lastPress = frame;
            host.runFrame();
            checks_.afterFrame(host, faults_);
            if (options_.record != nullptr) recordFrame(*options_.record, host);
            settled = faults_.lastDispatchFrame() == host.frame() && !encounterRuns(host) && !host.world().entities().player().dead;
        }
        host.setKey(menuKey, false);
        checks_.settled(host, settled, encounterRuns(host) ? "the encounter still runs" : "the player is still dead or the script is still waiting");
    }

    // Between levels the host tidies up what the plug-in handed back, and the player gets
    // into a car, as a person would (now and then not). A refusal may come from keys the
    // file no longer binds: the next level starts a new game.
    void tidyUp(Random& random) {
        game_->removeHandedBack();
        sim::World& world = game_->host().world();
        if (world.entities().vehicleOf(world.entities().playerPed()) == 0 && random.percent(90)) world.entities().putPlayerInVehicle();
        if (game_->autopilot().outcome() == autopilot::Outcome::Refused) gameLevelsLeft_ = 0;
    }

    const Options& options_;
    const std::filesystem::path startedIn_ = std::filesystem::current_path();
    sim::TemporaryFolder folder_;
    std::string games_, gameFolder_, settingsFile_;
    Faults faults_;
    Checks checks_;
    std::unique_ptr<autopilot::Game> game_;
    int gameLevelsLeft_ = 0;
    int repeatedPurchases_ = 0;  // the autopilot's, in the game going on
    Report report_;
};

}  // namespace

Report runSoak(const Options& options) { return Run(options).play(); }

}  // namespace soak
