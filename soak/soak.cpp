#include "soak.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>

#include "command_line.h"
#include "game.h"
#include "plugin_host.h"
#include "target.h"
#include "temporary_folder.h"

namespace soak {

namespace {

constexpr int64_t kSettleFrames = 1500;      // a revival's 600 frames and more
// The plug-in takes a key once in 200 ms; the soak waits two frames longer between presses.
constexpr int64_t kPressMarginFrames = 2;
constexpr int64_t kFramesBetweenPresses = sim::kKeyLockoutFrames + kPressMarginFrames;
constexpr int kLongestGame = 20;  // levels played in one host before it restarts

// A level to play: mostly one that is open and that the weapon allows (the third level on
// needs the second tier), now and then any.
int chooseLevel(Random& random, const Progress& progress) {
    const int64_t playable = std::min<int64_t>(progress[OpenLevels], progress[Weapon] >= 2 ? 5 : 2);
    return static_cast<int>(random.percent(95) ? random.between(1, playable) : random.between(1, 6));
}

}  // namespace

namespace {

bool allFired(const auto& counts) {
    return std::all_of(counts.begin(), counts.end(), [](int64_t count) { return count > 0; });
}

}  // namespace

bool Report::complete() const {
    for (int kind = 0; kind < kFaultKinds; ++kind) {
        if (made[static_cast<std::size_t>(kind)] && fired[static_cast<std::size_t>(kind)] == 0) return false;
    }
    for (int probe = 0; probe < kSettingsProbes; ++probe) {
        if ((probesFromPlugin || probeSeen(probe)) && probes[static_cast<std::size_t>(probe)] == 0) return false;
    }
    for (int check = 0; check < kCheckKinds; ++check) {
        if (checksLifecycle(static_cast<Check>(check)) && checks[static_cast<std::size_t>(check)] == 0) return false;
    }
    return allFired(writePositions);
}

FaultKinds faultsMade(const Options& options) {
    FaultKinds made{};
    for (int kind = 0; kind < kFaultKinds; ++kind) {
        const Fault fault = static_cast<Fault>(kind);
        made[static_cast<std::size_t>(kind)] = needsOurProfileCode(fault) ? !target().systemProfileFunctions && !options.onlyFaultsBothMake
                                                                          : !options.onlyFaultsBothMake || !changesBytesAtRandom(fault);
    }
    return made;
}

std::string replayCommand(const Options& options, int levels) {
    std::string command = cli::shellQuoted(options.program) + (options.strict ? " --strict" : "") +
                          (options.onlyFaultsBothMake ? " --faults-both-make" : "") + " --seed " +
                          std::to_string(options.seed) + " --levels " + std::to_string(levels);
    if (options.levelFrames != Options{}.levelFrames) command += " --level-frames " + std::to_string(options.levelFrames);
    return command;
}

namespace {

// One run: the game folder, the faults and the checks, and the game being played.
class Run {
public:
    // The game's folder lies in a folder of its own, which a fault makes unusable where the
    // game's folder itself cannot be (see Target).
    explicit Run(const Options& options)
        : options_(options), folder_("rotorstrike-soak"), games_(folder_.path() + "/games"),
          gameFolder_(games_ + "/game"), settingsFile_(gameFolder_ + "/Rotorstrike.ini"),
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
            recordLevel(level, chosen);
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
        if (progress[Points] >= 3 && (random.percent(50) || faults_.buyTwice() || withheld || arranged.rollbackFails)) {
            const bool armor = progress[Points] >= 4 && random.percent(50);
            game_->autopilot().buyFirst(armor ? kArmorUpgrade : kWeaponUpgrade, faults_.buyTwice() ? 2 : 1);
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
            recordFrame(host);
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
            const bool press = Faults::encounterRuns(host) && frame - lastPress >= kFramesBetweenPresses;
            host.setKey(menuKey, press);
            if (press) lastPress = frame;
            host.runFrame();
            checks_.afterFrame(host, faults_);
            recordFrame(host);
            settled = faults_.lastDispatchFrame() == host.frame() && !Faults::encounterRuns(host) && !host.world().entities().player().dead;
        }
        host.setKey(menuKey, false);
        checks_.settled(host, settled, Faults::encounterRuns(host) ? "the encounter still runs" : "the player is still dead or the script is still waiting");
    }

    // What two runs are compared by: in each frame, the plug-in's native calls and settings
    // calls so far (reads, writes, failed writes), where the player is (the bits of each
    // coordinate) and how many texts are drawn; at each level's end, its outcome and the
    // progress the file holds.
    void recordFrame(const sim::Host& host) {
        if (options_.record == nullptr) return;
        const sim::Vec3 at = host.world().entities().player().position;
        const sim::GameFolder& folder = game_->host().gameFolder();
        char line[128];
        std::snprintf(line, sizeof line, "%lld %lld %d %d %d %08x %08x %08x %zu\n", static_cast<long long>(host.frame()),
                      static_cast<long long>(host.nativeCalls()), folder.reads(), folder.writes(), folder.failedWrites(),
                      bitsOf(at.x), bitsOf(at.y), bitsOf(at.z),
                      host.screen().texts.size());
        *options_.record << line;
    }

    // A float's bits; one for every NaN, whose sign and payload the two builds' arithmetic
    // may set otherwise.
    static uint32_t bitsOf(float value) { return std::isnan(value) ? 0x7fc00000u : std::bit_cast<uint32_t>(value); }

    void recordLevel(int level, int chosen) {
        if (options_.record == nullptr) return;
        *options_.record << "level " << level + 1 << " (Level " << chosen << "): "
                         << autopilot::outcomeName(game_->autopilot().outcome()) << "; file:";
        const Progress progress = progressOf(readFileBytes(settingsFile_));
        for (std::size_t key = 0; key < kProgressKeys; ++key) *options_.record << " " << kProgressKeyNames[key] << "=" << progress[key];
        *options_.record << "\n";
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

void printReport(std::ostream& out, std::ostream& failures, const Options& options, const Report& report) {
    out << "soak: " << cli::counted(report.levels, "level") << " played (" << report.won << " won, " << report.lost << " lost, "
        << report.refused << " refused, " << report.outOfFrames << " still running after " << options.levelFrames
        << " frames), " << report.frames << " frames, " << report.games << " games\n";
    std::string missing;
    const auto list = [&](const char* heading, const auto& counts, const auto& name, const auto& made, const char* notMade) {
        out << heading << "\n";
        for (std::size_t index = 0; index < counts.size(); ++index) {
            if (!made(index)) {
                out << "  " << name(index) << ": " << notMade << "\n";
                continue;
            }
            out << "  " << name(index) << ": " << counts[index] << (counts[index] == 0 ? "  NEVER FIRED" : "") << "\n";
            if (counts[index] == 0) missing += std::string(missing.empty() ? "" : ", ") + name(index);
        }
    };
    const auto always = [](std::size_t) { return true; };
    list("faults fired:", report.fired, [](std::size_t kind) { return std::string(faultName(static_cast<Fault>(kind))); },
         [&](std::size_t kind) { return report.made[kind]; }, "not made here");
    list("write faults by the write they hit in their step:", report.writePositions,
         [](std::size_t position) { return "write " + std::to_string(position + 1); }, always, "");
    list(report.probesFromPlugin ? "rare paths of the settings code (probes):"
                                 : "rare paths of the settings code (probes), as the host saw them:",
         report.probes, [](std::size_t probe) { return std::string(probeName(static_cast<int>(probe))); },
         [&](std::size_t probe) { return report.probesFromPlugin || probeSeen(static_cast<int>(probe)); },
         "not seen from outside the module");
    out << "player deaths, menu-key presses and game reloads, by situation:\n";
    for (int situation = 0; situation < kSituations; ++situation) {
        const auto index = static_cast<std::size_t>(situation);
        out << "  " << situationName(static_cast<Situation>(situation)) << ": " << cli::counted(report.deaths[index], "death")
            << ", " << cli::counted(report.menuKeys[index], "menu key") << ", " << cli::counted(report.reloads[index], "reload")
            << "\n";
    }
    out << "checks run:\n";
    for (int check = 0; check < kCheckKinds; ++check) {
        const auto index = static_cast<std::size_t>(check);
        const bool ofState = check == static_cast<int>(Check::ModState) || check == static_cast<int>(Check::ProbesSeen);
        out << "  " << checkName(static_cast<Check>(check)) << ": ";
        if (ofState && !report.probesFromPlugin) {
            out << "not run, the plug-in's state is out of view\n";
        } else {
            out << report.checks[index]
                << (checksLifecycle(static_cast<Check>(check)) && report.checks[index] == 0 ? "  NEVER RAN" : "") << "\n";
            if (checksLifecycle(static_cast<Check>(check)) && report.checks[index] == 0) {
                missing += std::string(missing.empty() ? "" : ", ") + "the check \"" + checkName(static_cast<Check>(check)) + "\"";
            }
        }
    }
    out.flush();
    if (!report.problem.empty()) {
        failures << "FAILED with seed " << options.seed << ": " << report.problem << "\n"
                 << "replay: " << replayCommand(options, report.failedLevel + 1) << "\n";
    } else if (!report.complete() && options.strict) {
        failures << "FAILED with seed " << options.seed << ": never fired: " << missing << "\n"
                 << "replay: " << replayCommand(options, options.levels) << "\n";
    } else if (!report.complete()) {
        out << "clean; too short a run to fire " << missing << "\n";
    } else {
        out << "clean\n";
    }
}

}  // namespace soak
