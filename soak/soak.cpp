#include "soak.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>

#include "game.h"
#include "temporary_folder.h"
#include "runtime/mod_state.h"

namespace soak {

namespace {

namespace fs = std::filesystem;

constexpr int64_t kSettleFrames = 1500;      // a revival's 600 frames and more
constexpr int64_t kFramesBetweenPresses = 15;  // the plug-in takes a key once in 200 ms
constexpr int32_t kDefaultMenuKey = 120;
constexpr int kLongestGame = 20;  // levels played in one host before it restarts

Progress storedProgress(const std::string& settingsFile) {
    std::ifstream in(settingsFile, std::ios::binary);
    FileBytes bytes;
    if (in) bytes = std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return progressOf(bytes);
}

// A level to play: mostly one that is open and that the weapon allows (the third level on
// needs the second tier), now and then any.
int chooseLevel(Random& random, const Progress& progress) {
    const int64_t playable = std::min<int64_t>(progress[OpenLevels], progress[Weapon] >= 2 ? 5 : 2);
    return static_cast<int>(random.percent(95) ? random.between(1, playable) : random.between(1, 6));
}

}  // namespace

bool Report::ok() const {
    return problem.empty() && std::all_of(fired.begin(), fired.end(), [](int64_t count) { return count > 0; });
}

std::string replayCommand(const Options& options, int levels) {
    std::string command = options.program + " --seed " + std::to_string(options.seed) + " --levels " + std::to_string(levels);
    if (options.levelFrames != Options{}.levelFrames) command += " --level-frames " + std::to_string(options.levelFrames);
    return command;
}

Report runSoak(const Options& options) {
    Report report;
    player::TemporaryFolder folder("rotorstrike-soak");
    const std::string settingsFile = folder.path() + "/Rotorstrike.ini";
    Faults faults(folder.path(), settingsFile);
    Checks checks(settingsFile);
    std::unique_ptr<player::Game> game;
    int gameLevelsLeft = 0;

    for (int level = 0; level < options.levels && checks.problem().empty(); ++level) {
        Random random = Random::forPart(options.seed, static_cast<uint64_t>(level));
        const Progress progress = storedProgress(settingsFile);
        const int chosen = chooseLevel(random, progress);
        if (!game || gameLevelsLeft-- <= 0) {
            game.reset();
            player::GameOptions gameOptions;
            gameOptions.level = chosen;
            gameOptions.seed = static_cast<uint32_t>(random.next());
            gameOptions.maxFrames = INT64_MAX / 2;
            gameOptions.gameDirectory = folder.path();
            gameOptions.showInstructions = random.percent(20);
            game = std::make_unique<player::Game>(gameOptions);
            sim::Host& host = game->host();
            host.setProfileLogEnabled(false);
            faults.attach(host);
            checks.attach(host);
            game->setInterference([&](sim::Host& h) {
                faults.beforeFrame(h, faults.lastDispatchFrame() != h.frame());
                if (faults.fileChangedByHand()) checks.fileChangedByHand();
            });
            gameLevelsLeft = static_cast<int>(random.between(0, kLongestGame - 1));
            ++report.games;
        } else {
            game->autopilot().playLevel(chosen);
        }
        // With points to spend, the player often buys an upgrade first.
        if (progress[Points] >= 3 && random.percent(50)) {
            game->autopilot().buyFirst(random.percent(50) ? player::Upgrade::Armor : player::Upgrade::Weapon);
        }
        faults.planLevel(random);
        sim::Host& host = game->host();

        // The level, until it ends or runs too long.
        try {
            int64_t frames = 0;
            bool playing = true;
            while (playing && frames < options.levelFrames && checks.problem().empty()) {
                playing = game->step();
                ++frames;
                checks.afterFrame(host, faults);
            }
            report.frames += frames;
            switch (game->autopilot().outcome()) {
            case player::Outcome::Won: ++report.won; break;
            case player::Outcome::Lost: ++report.lost; break;
            case player::Outcome::Refused: ++report.refused; break;
            case player::Outcome::Playing: ++report.outOfFrames; break;
            }

            // The wind-down: every fault cleared, the encounter abandoned with the menu key;
            // the plug-in must come back to its loop with no encounter and the player alive.
            faults.calm(host);
            if (faults.fileChangedByHand()) checks.fileChangedByHand();
            int64_t lastPress = -kFramesBetweenPresses;
            const int32_t menuKey = mod.openMenuKey >= 1 && mod.openMenuKey <= 254 ? mod.openMenuKey : kDefaultMenuKey;
            bool settled = false;
            for (int64_t frame = 0; frame < kSettleFrames && !settled && checks.problem().empty(); ++frame) {
                game->autopilot().beforeFrame(host);
                const bool press = mod.encounterActive && frame - lastPress >= kFramesBetweenPresses;
                host.setKey(menuKey, press);
                if (press) lastPress = frame;
                host.runFrame();
                checks.afterFrame(host, faults);
                settled = faults.lastDispatchFrame() == host.frame() && !mod.encounterActive && !host.world().player().dead;
            }
            host.setKey(menuKey, false);
            checks.settled(settled, mod.encounterActive ? "the encounter still runs" : "the player is still dead or the script is still waiting");
        } catch (const std::exception& error) {
            checks.settled(false, std::string("the host stopped: ") + error.what());
        }
        if (!checks.problem().empty()) {
            report.problem = "level " + std::to_string(level + 1) + " (Level " + std::to_string(chosen) + "), frame " +
                             std::to_string(host.frame()) + ": " + checks.problem();
            report.failedLevel = level;
            break;
        }
        ++report.levels;

        // Between levels the host tidies up what the plug-in handed back, and the player
        // gets into a car, as a person would (now and then not).
        sim::World& world = host.world();
        for (const sim::OwnershipEvent& event : world.ownership()) {
            if (event.kind == sim::OwnershipEvent::HandedBack && world.find(event.handle) != nullptr) world.remove(event.handle);
        }
        if (world.vehicleOf(world.playerPed()) == 0 && random.percent(90)) world.putPlayerInVehicle();
        // A refusal may come from keys the file no longer binds: the next level starts a game.
        if (game->autopilot().outcome() == player::Outcome::Refused) gameLevelsLeft = 0;
        if (options.progress != nullptr && (level + 1) % 100 == 0) {
            *options.progress << "soak: " << level + 1 << " levels, " << report.won << " won, " << report.frames << " frames" << std::endl;
        }
    }
    report.fired = faults.fired();
    report.deaths = faults.deaths();
    report.menuKeys = faults.menuKeys();
    report.checks = checks.counts();
    return report;
}

void printReport(std::ostream& out, const Options& options, const Report& report) {
    out << "soak: " << report.levels << " levels played (" << report.won << " won, " << report.lost << " lost, "
        << report.refused << " refused, " << report.outOfFrames << " still running after " << options.levelFrames
        << " frames), " << report.frames << " frames, " << report.games << " games\n";
    out << "faults fired:\n";
    for (int kind = 0; kind < kFaultKinds; ++kind) {
        out << "  " << faultName(static_cast<Fault>(kind)) << ": " << report.fired[static_cast<std::size_t>(kind)]
            << (report.fired[static_cast<std::size_t>(kind)] == 0 ? "  NEVER FIRED" : "") << "\n";
    }
    out << "player deaths and menu-key presses, by situation:\n";
    for (int situation = 0; situation < kSituations; ++situation) {
        out << "  " << situationName(static_cast<Situation>(situation)) << ": "
            << report.deaths[static_cast<std::size_t>(situation)] << " deaths, "
            << report.menuKeys[static_cast<std::size_t>(situation)] << " menu keys\n";
    }
    out << "checks run:\n";
    for (int check = 0; check < kCheckKinds; ++check) {
        out << "  " << checkName(static_cast<Check>(check)) << ": " << report.checks[static_cast<std::size_t>(check)] << "\n";
    }
    if (!report.problem.empty()) {
        out << "FAILED with seed " << options.seed << ": " << report.problem << "\n"
            << "replay: " << replayCommand(options, report.failedLevel + 1) << "\n";
    } else if (!report.ok()) {
        out << "FAILED with seed " << options.seed << ": a kind of fault never fired\n"
            << "replay: " << replayCommand(options, options.levels) << "\n";
    } else {
        out << "clean\n";
    }
}

}  // namespace soak
