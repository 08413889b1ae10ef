// rotorstrike-sim: plays the real plug-in in the simulated host with the autopilot at the
// keys, in simulated time: one level with its timeline, screenshots, chase map and, when
// asked, an animated replay; the whole campaign; or the win rates of many seeds.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "campaign.h"
#include "command_line.h"
#include "game.h"
#include "encounter/levels.h"
#include "level_run.h"
#include "models.h"
#include "rules.h"
#include "settings/settings_file.h"
#include "sim_options.h"
#include "temporary_folder.h"
#include "win_rate.h"

namespace fs = std::filesystem;
using tools::SimOptions;

namespace {

// Small numbers as the help text writes them.
std::string cardinal(int number) {
    static const char* const kWords[] = {"no", "one", "two", "three", "four", "five", "six", "seven", "eight", "nine", "ten"};
    return number >= 0 && number < static_cast<int>(std::size(kWords)) ? kWords[number] : std::to_string(number);
}
std::string ordinal(int number) {
    static const char* const kWords[] = {"", "first", "second", "third", "fourth", "fifth", "sixth", "seventh", "eighth",
                                         "ninth", "tenth", "eleventh"};
    return number > 0 && number < static_cast<int>(std::size(kWords)) ? kWords[number] : std::to_string(number) + "th";
}

// The upgrades' names, "armor, weapon": the campaign buys by them.
const std::string kUpgradeNames = [] {
    std::string names;
    for (const UpgradeParams& upgrade : upgradeTable) names += (names.empty() ? "" : ", ") + std::string(upgrade.settingsKey);
    return names;
}();

// The help text: the levels and tiers it names follow the level table and the rules.
const std::string kUsage = [] {
    const std::string levels = std::to_string(kLevelCount), tiers = std::to_string(kTopTier);
    return "usage: rotorstrike-sim [options]\n"
           "Plays the plug-in in the simulated host with the autopilot: a level (and writes its\n"
           "timeline, screenshots and a map of the chase), the whole campaign, or many seeds' games.\n"
           "  --level N        the level to play, 1 to " + levels + " (" + levels + ": the " + ordinal(kLevelCount) +
           ", which the menu lists once all\n"
           "                   " + cardinal(kListedLevels) + " are won); default 1. Without a settings file of the game's folder,\n"
           "                   the level is played with the levels below it open and the weapon tier\n"
           "                   it needs\n"
           "  --seed S         the seed of the game (the host's clock and the autopilot); default 1\n"
           "  --game-dir DIR   the game's folder: its " + kSettingsFileName + ", when there is one, is played\n"
           "                   as it stands and kept (default: a fresh temporary folder, removed\n"
           "                   afterwards)\n"
           "  --max-frames N   stop a level after N frames (default 200000, about 55 minutes of game)\n"
           "  --out DIR        where the timeline and the pictures go (default sim-out); the files a\n"
           "                   run writes by name are removed from it first, nothing else\n"
           "  --shot N         a screenshot of frame N as well (again for more)\n"
           "  --replay         the level as an animated GIF too (replay.gif)\n"
           "  --quiet          print only the result and where the files went\n"
           "  --trace          print every native call of every frame with its arguments\n"
           "  --campaign       play from the settings file to the end of Level " + std::to_string(kListedLevels) +
           ": the highest open\n"
           "                   level each time, a won level again when the next needs a weapon tier\n"
           "                   the points cannot buy, upgrades bought in the menu; each level's files\n"
           "                   under --out in a folder of its own\n"
           "  --buy P          the campaign's purchases beyond the weapon tier a level needs:\n"
           "                   balanced (default: one tier of the lower upgrade), " + kUpgradeNames + ", none\n"
           "  --win-rate N     play seeds S to S+N-1 of the level, each from a fresh settings file\n"
           "                   that opens it with the tiers below; with --out, a summary and a plot\n"
           "  --armor T        a win rate's armor tier, 1 to " + tiers + " (default 1)\n"
           "  --weapon T       a win rate's weapon tier, 1 to " + tiers + " (default the least the level allows:\n"
           "                   1, or " + std::to_string(kWeaponTierForHardLevels) + " from Level " +
           std::to_string(kFirstLevelNeedingWeapon + 1) + " on)\n"
           "  --balance N      the balance table: N seeds of every level and weapon tier, at armor I\n"
           "                   and IV, as a Markdown table, and its plot under --out\n"
           "  -h, --help       this text; --version: the version\n"
           "Exit status: 0 the level was won (the campaign ended; a win rate's games started); 1 lost\n"
           "(the campaign did not end); 2 a wrong command line; 3 the level could not be started (no\n"
           "game of a win rate could); 4 out of frames; 5 a fault (the plug-in asked something no host\n"
           "answers, or a file could not be written).\n";
}();
const cli::Tool kTool = {"rotorstrike-sim", kUsage.c_str()};

bool wholeNumber(const char* text, long long low, long long high, long long& value) {
    char* end = nullptr;
    value = std::strtoll(text, &end, 10);
    return end != text && *end == '\0' && value >= low && value <= high;
}

SimOptions parse(int argc, char** argv) {
    SimOptions options;
    options.program = argv[0];
    // --level=2 is --level 2.
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        const std::size_t equals = argument.find('=');
        if (argument.starts_with("--") && equals != std::string_view::npos) {
            arguments.emplace_back(argument.substr(0, equals));
            arguments.emplace_back(argument.substr(equals + 1));
        } else {
            arguments.emplace_back(argument);
        }
    }
    const std::size_t count = arguments.size();
    std::set<std::string> given;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string arg = arguments[i];
        if (cli::standardOption(kTool, arg)) continue;
        given.insert(arg);
        if (arg == "--quiet" || arg == "--trace" || arg == "--replay" || arg == "--campaign") {
            (arg == "--quiet" ? options.quiet : arg == "--trace" ? options.trace : arg == "--replay" ? options.replay : options.campaign) = true;
            continue;
        }
        const struct {
            const char* name;
            long long low, high;
        } numbers[] = {{"--level", 1, kLevelCount},      {"--seed", 0, 4294967295LL}, {"--max-frames", 1, 1000000000LL},
                       {"--shot", 0, 1000000000LL}, {"--win-rate", 1, 100000}, {"--balance", 1, 100000},
                       {"--armor", kFirstTier, kTopTier}, {"--weapon", kFirstTier, kTopTier}};
        const bool named = arg == "--game-dir" || arg == "--out" || arg == "--buy" ||
                           std::any_of(std::begin(numbers), std::end(numbers), [&](const auto& n) { return arg == n.name; });
        if (!named) cli::usageError(kTool, "no option " + arg);
        if (i + 1 == count) cli::usageError(kTool, arg + " wants a value");
        const std::string value = arguments[++i];
        if (arg == "--game-dir" || arg == "--out") {
            if (value.empty()) cli::usageError(kTool, arg + " wants a folder");
            (arg == "--out" ? options.out : options.gameDir) = value;
            continue;
        }
        if (arg == "--buy") {
            // balanced, an upgrade's name (its settings key), or none.
            std::vector<std::pair<std::string, tools::Purchases>> policies = {{"balanced", {tools::Purchases::Balanced}}};
            for (int32_t upgrade = 0; upgrade < kUpgrades; ++upgrade) {
                policies.push_back({upgradeTable[upgrade].settingsKey, {tools::Purchases::Only, upgrade}});
            }
            policies.push_back({"none", {tools::Purchases::None}});
            const auto policy = std::find_if(policies.begin(), policies.end(), [&](const auto& p) { return value == p.first; });
            if (policy == policies.end()) cli::usageError(kTool, "--buy " + value + ": wants balanced, " + kUpgradeNames + " or none");
            options.buy = policy->second;
            continue;
        }
        for (const auto& n : numbers) {
            long long number = 0;
            if (arg != n.name) continue;
            if (!wholeNumber(value.c_str(), n.low, n.high, number)) {
                cli::usageError(kTool, arg + " " + value + ": wants a whole number from " + std::to_string(n.low) + " to " +
                                           std::to_string(n.high));
            }
            if (arg == "--level") options.level = static_cast<int>(number);
            if (arg == "--seed") options.seed = static_cast<uint32_t>(number);
            if (arg == "--max-frames") options.maxFrames = number;
            if (arg == "--shot") options.shots.insert(number);
            if (arg == "--win-rate") options.winRate = static_cast<int>(number);
            if (arg == "--balance") options.balance = static_cast<int>(number);
            if (arg == "--armor") options.armor = static_cast<int>(number);
            if (arg == "--weapon") options.weapon = static_cast<int>(number);
        }
    }
    // Options that a mode cannot honour are refused rather than ignored.
    const auto refuse = [&](const char* mode, bool on, std::initializer_list<const char*> refused, const char* why) {
        if (!on) return;
        for (const char* option : refused) {
            if (given.count(option) != 0) cli::usageError(kTool, std::string(option) + " cannot go with " + mode + ": " + why);
        }
    };
    const int modes = (options.campaign ? 1 : 0) + (options.winRate > 0 ? 1 : 0) + (options.balance > 0 ? 1 : 0);
    if (modes > 1) cli::usageError(kTool, "--campaign, --win-rate and --balance are modes of their own: choose one");
    refuse("--win-rate", options.winRate > 0, {"--game-dir", "--trace", "--shot", "--replay", "--buy"},
           "each seed plays from a fresh settings file, without pictures");
    refuse("--balance", options.balance > 0, {"--game-dir", "--trace", "--shot", "--replay", "--buy", "--level", "--armor", "--weapon"},
           "it plays every level and tier from fresh settings files");
    refuse("--campaign", options.campaign, {"--level", "--shot", "--armor", "--weapon"}, "it chooses each level itself");
    refuse("one level", modes == 0, {"--buy", "--armor", "--weapon"}, "these belong to --campaign and --win-rate");
    // The folders named must be usable before anything is played.
    for (const auto& [option, folder] : {std::pair<const char*, std::string>{"--game-dir", options.gameDir}, {"--out", options.out}}) {
        const std::string problem = folder.empty() ? std::string() : cli::folderProblem(folder);
        if (!problem.empty()) cli::usageError(kTool, std::string(option) + " " + folder + ": " + problem + "; give another");
    }
    if (options.winRate > 0 && options.weapon != 0 && options.weapon < tools::leastWeapon(options.level)) {
        cli::usageError(kTool, "--weapon " + std::to_string(options.weapon) + ": Level " + std::to_string(options.level) +
                                   " needs weapon tier " + std::to_string(kWeaponTierForHardLevels) + " or more");
    }
    return options;
}

// The one command that plays this level again, as a shell takes it.
std::string replayCommand(const SimOptions& options) {
    std::string command = cli::shellQuoted(options.program) + " --level " + std::to_string(options.level) + " --seed " +
                          std::to_string(options.seed);
    if (options.maxFrames != SimOptions{}.maxFrames) command += " --max-frames " + std::to_string(options.maxFrames);
    if (!options.gameDir.empty()) command += " --game-dir " + cli::shellQuoted(options.gameDir) + "  # with its Rotorstrike.ini as it was before this run";
    return command;
}

int playOne(const SimOptions& options) {
    std::optional<sim::TemporaryFolder> temporary;
    std::string gameDir = options.gameDir;
    if (gameDir.empty()) gameDir = temporary.emplace("rotorstrike-sim").path();
    fs::create_directories(gameDir);
    // A level past the first is played with what it needs (the levels below it open, the
    // weapon tier it asks for), unless the game's folder holds a settings file of its own.
    if (options.level > 1 && !fs::exists(fs::path(gameDir) / kSettingsFileName)) {
        tools::writeSettingsOpening(gameDir, options.level, tools::leastTiers(options.level));
    }

    autopilot::GameOptions gameOptions;
    gameOptions.level = options.level;
    gameOptions.seed = options.seed;
    gameOptions.maxFrames = options.maxFrames;
    gameOptions.gameDirectory = gameDir;
    gameOptions.callLog = options.trace;
    autopilot::Game game(gameOptions);
    tools::LevelRunOptions run;
    run.folder = options.out;
    run.shots = options.shots;
    run.replay = options.replay;
    run.trace = options.trace;
    if (!options.quiet) {
        std::printf("rotorstrike-sim: Level %d, seed %u, game folder %s\n", options.level, options.seed, gameDir.c_str());
        run.onEvent = [](const autopilot::Event& event) { std::printf("%s\n", autopilot::formatEvent(event).c_str()); };
        auto lastProgress = std::chrono::steady_clock::now();
        run.progress = [&game, lastProgress]() mutable {
            if (std::chrono::steady_clock::now() - lastProgress < std::chrono::seconds(1)) return;
            lastProgress = std::chrono::steady_clock::now();
            std::fprintf(stderr, "rotorstrike-sim: frame %lld (%lld s of game)\n", static_cast<long long>(game.host().frame()),
                         static_cast<long long>(game.host().frame() / 60));
        };
    }
    const tools::LevelReport report = tools::runLevel(game, options.level, run);

    if (options.quiet) std::printf("%s\n%s\n", report.result.c_str(), tools::settingsLine(game).c_str());
    for (const std::string& path : report.files) {
        const std::string name = fs::path(path).filename().string();
        const char* what = name == "timeline.txt" ? "timeline" : name == "chase-map.png" ? "chase map" : name == "replay.gif" ? "replay" : "screenshot";
        std::printf("%s: %s\n", what, path.c_str());
    }
    for (const std::string& failed : report.failedWrites) {
        std::fprintf(stderr, "rotorstrike-sim: the plug-in could not write %s\n", failed.c_str());
    }
    for (const int64_t shot : report.missedShots) {
        std::fprintf(stderr, "rotorstrike-sim: --shot %lld: the level ran frames %lld to %lld; no picture\n",
                     static_cast<long long>(shot), static_cast<long long>(report.firstFrame),
                     static_cast<long long>(report.lastFrame));
    }
    if (report.status != tools::kWon) {
        std::fprintf(stderr, "rotorstrike-sim: %s\nreplay: %s\n", report.result.c_str(), replayCommand(options).c_str());
    }
    return report.status;
}

}  // namespace

// Each level the run plays flies a helicopter the simulated host knows; a modder who gave one
// another model is told where to add it, before anything is played.
bool modelsKnown(const SimOptions& options) {
    const bool all = options.campaign || options.balance > 0;
    for (int level = 1; level <= kLevelCount; ++level) {
        if (!all && level != options.level) continue;
        const char* model = levelTable[level - 1].heliModel;
        if (sim::findModelRow(model) != nullptr) continue;
        std::fprintf(stderr, "rotorstrike-sim: Level %d: model %s is not in %s: add it there\n", level, model,
                     std::string(sim::kModelTableFile).c_str());
        return false;
    }
    return true;
}

int main(int argc, char** argv) {
    // A closed output is an error of the writes, not a signal that kills the tool before it
    // removes its temporary folder.
    std::signal(SIGPIPE, SIG_IGN);
    const SimOptions options = parse(argc, argv);
    if (!modelsKnown(options)) return tools::kFault;
    try {
        if (options.campaign) return tools::playCampaign(options);
        if (options.winRate > 0) return tools::playWinRate(options);
        if (options.balance > 0) return tools::playBalance(options);
        return playOne(options);
    } catch (const fs::filesystem_error& error) {
        std::fprintf(stderr, "rotorstrike-sim: cannot use %s: %s\n", error.path1().c_str(), error.code().message().c_str());
    } catch (const sim::HostError& error) {
        std::fprintf(stderr, "rotorstrike-sim: the plug-in met a fault in the host: %s\nreplay: %s\n", error.what(),
                     replayCommand(options).c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "rotorstrike-sim: %s\n", error.what());
    }
    return tools::kFault;
}
