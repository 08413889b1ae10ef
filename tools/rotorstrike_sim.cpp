// rotorstrike-sim: plays the real plug-in in the simulated host with the autopilot at the
// keys, in simulated time, and leaves a timeline, screenshots and a map of the chase.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "chase.h"
#include "game.h"
#include "runtime/mod_state.h"
#include "scene_pictures.h"
#include "screenshot.h"
#include "temporary_folder.h"
#include "timeline.h"

namespace fs = std::filesystem;

namespace {

// Exit statuses.
constexpr int kWon = 0;
constexpr int kLost = 1;
constexpr int kUsage = 2;
constexpr int kRefused = 3;
constexpr int kOutOfFrames = 4;
constexpr int kFault = 5;

constexpr const char* kUsageText =
    "usage: rotorstrike-sim [options]\n"
    "Plays a level of the plug-in in the simulated host with the autopilot, and writes a\n"
    "timeline, screenshots and a map of the chase.\n"
    "  --level N        the level to play, 1 to 5 (6: the sixth, with open_levels 6); default 1\n"
    "  --seed S         the seed of the game (the host's clock and the autopilot); default 1\n"
    "  --game-dir DIR   the game's folder: its Rotorstrike.ini is kept and reused\n"
    "                   (default: a fresh temporary folder, removed afterwards)\n"
    "  --max-frames N   stop after N frames (default 200000, about 55 minutes of game)\n"
    "  --out DIR        where the timeline and the pictures go (default sim-out)\n"
    "  --shot N         a screenshot of frame N as well (again for more)\n"
    "  --quiet          print only the result and where the files went\n"
    "  --trace          print every native call of every frame with its arguments\n"
    "  --win-rate N     play seeds S to S+N-1 from fresh settings files, each to its end, and\n"
    "                   print each outcome and the share won (no files written)\n"
    "Exit status: 0 the level was won; 1 lost; 2 a wrong command line; 3 the level could not\n"
    "be started; 4 out of frames; 5 a fault (the plug-in asked something no host answers, or\n"
    "a file could not be written).\n";

struct Options {
    int level = 1;
    uint32_t seed = 1;
    std::string gameDir;
    int64_t maxFrames = 200000;
    std::string out = "sim-out";
    std::set<int64_t> shots;
    bool quiet = false;
    bool trace = false;
    int winRate = 0;
};

bool wholeNumber(const char* text, long long low, long long high, long long& value) {
    char* end = nullptr;
    value = std::strtoll(text, &end, 10);
    return end != text && *end == '\0' && value >= low && value <= high;
}

std::optional<Options> parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help") {
            std::fputs(kUsageText, stdout);
            std::exit(kWon);
        }
        if (arg == "--quiet" || arg == "--trace") {
            (arg == "--quiet" ? options.quiet : options.trace) = true;
            continue;
        }
        const struct {
            const char* name;
            long long low, high;
        } numbers[] = {{"--level", 1, 6}, {"--seed", 0, 4294967295LL}, {"--max-frames", 1, 1000000000LL},
                       {"--shot", 0, 1000000000LL}, {"--win-rate", 1, 100000}};
        const bool named = arg == "--game-dir" || arg == "--out" ||
                           std::any_of(std::begin(numbers), std::end(numbers), [&](const auto& n) { return arg == n.name; });
        if (!named) {
            std::fprintf(stderr, "rotorstrike-sim: no option %s\n%s", arg.c_str(), kUsageText);
            return std::nullopt;
        }
        if (i + 1 == argc) {
            std::fprintf(stderr, "rotorstrike-sim: %s wants a value\n", arg.c_str());
            return std::nullopt;
        }
        const char* value = argv[++i];
        if (arg == "--game-dir" || arg == "--out") {
            (arg == "--out" ? options.out : options.gameDir) = value;
            continue;
        }
        for (const auto& n : numbers) {
            long long number = 0;
            if (arg != n.name) continue;
            if (!wholeNumber(value, n.low, n.high, number)) {
                std::fprintf(stderr, "rotorstrike-sim: %s %s: wants a whole number from %lld to %lld\n", n.name, value, n.low, n.high);
                return std::nullopt;
            }
            if (arg == "--level") options.level = static_cast<int>(number);
            if (arg == "--seed") options.seed = static_cast<uint32_t>(number);
            if (arg == "--max-frames") options.maxFrames = number;
            if (arg == "--shot") options.shots.insert(number);
            if (arg == "--win-rate") options.winRate = static_cast<int>(number);
        }
    }
    return options;
}

int statusOf(const player::Game& game, player::Outcome outcome) {
    switch (outcome) {
    case player::Outcome::Won: return kWon;
    case player::Outcome::Lost: return kLost;
    case player::Outcome::Refused: return kRefused;
    case player::Outcome::Playing: break;
    }
    return game.outOfFrames() ? kOutOfFrames : kFault;
}

std::string replayCommand(const Options& options) {
    std::string command = "rotorstrike-sim --level " + std::to_string(options.level) + " --seed " + std::to_string(options.seed);
    if (!options.gameDir.empty()) command += " --game-dir " + options.gameDir + " (as the folder was before)";
    if (options.maxFrames != Options{}.maxFrames) command += " --max-frames " + std::to_string(options.maxFrames);
    return command;
}

// The key frames worth a picture, each taken once, and the frames asked for.
class Screenshots {
public:
    Screenshots(const Options& options, player::Game& game) : options_(options), game_(game) {}

    void afterFrame() {
        const sim::Host& host = game_.host();
        const sim::Screen& screen = host.screen();
        // The host's feed keeps a notification on screen for a while after it is posted.
        for (const sim::Notification& note : screen.notifications) feed_.push_back({host.frame(), note});
        while (!feed_.empty() && host.frame() - feed_.front().frame > kFeedFrames) feed_.erase(feed_.begin());
        menuFrames_ = mod.menuOpen && !mod.instructionsShown ? menuFrames_ + 1 : 0;
        instructionFrames_ = mod.instructionsShown ? instructionFrames_ + 1 : 0;
        take("menu", menuFrames_ == 20);
        take("instructions", instructionFrames_ == 40);
        // The pursuit: the first salvo's five missiles in the air over the HUD.
        salvoFrames_ = mod.missileSequenceActive && !mod.counterAttackSequence && mod.missilesLaunched == 5 ? salvoFrames_ + 1 : 0;
        take("pursuit", salvoFrames_ == 20);
        const sim::ScreenText* prompt = screen.findText("ATTACK READY!");
        take("attack-ready", prompt != nullptr && mod.attackPower >= 35.0f);
        const bool ended = screen.findText("Success!") != nullptr || screen.findText("You have lost") != nullptr;
        resultFrames_ = ended ? resultFrames_ + 1 : 0;
        take("result", resultFrames_ == 30);
        if (options_.shots.count(host.frame()) != 0) write("frame-" + std::to_string(host.frame()));
    }
    const std::vector<std::string>& written() const { return written_; }

private:
    void take(const std::string& name, bool now) {
        if (!now || taken_.count(name) != 0) return;
        taken_.insert(name);
        write(name);
    }
    void write(const std::string& name) {
        const std::string path = (fs::path(options_.out) / (name + ".png")).string();
        const sim::World& world = game_.host().world();
        sim::Screen screen = game_.host().screen();
        screen.notifications.clear();
        for (const Posted& posted : feed_) screen.notifications.add() = posted.note;
        if (!render::writeScreenshot(screen, path, render::sceneFromAbove(world, mod.heliVehicle))) {
            throw std::runtime_error("cannot write " + path);
        }
        written_.push_back(path);
    }

    struct Posted {
        int64_t frame;
        sim::Notification note;
    };
    static constexpr int64_t kFeedFrames = 300;

    const Options& options_;
    player::Game& game_;
    std::vector<Posted> feed_;
    std::set<std::string> taken_;
    std::vector<std::string> written_;
    int menuFrames_ = 0, instructionFrames_ = 0, salvoFrames_ = 0, resultFrames_ = 0;
};

void printTrace(const sim::Host& host) {
    if (host.calls().empty()) return;
    std::printf("frame %lld:\n", static_cast<long long>(host.frame()));
    for (const sim::LoggedCall& call : host.calls()) {
        // The call, and what the host answered.
        std::printf("  %s", call.describe().c_str());
        switch (call.spec->result) {
        case '-': break;
        case 'f': std::printf(" -> %g", static_cast<double>(call.floatResult())); break;
        case 'v':
            std::printf(" -> (%g, %g, %g)", static_cast<double>(call.floatResult(0)), static_cast<double>(call.floatResult(1)),
                        static_cast<double>(call.floatResult(2)));
            break;
        case 'u': std::printf(" -> 0x%08X", static_cast<uint32_t>(call.result[0])); break;
        default: std::printf(" -> %d", call.intResult()); break;
        }
        std::printf("\n");
    }
}

// The keys of the settings file that a level changes; "-" for a key it does not hold.
std::string settingsLine(player::Game& game, const std::string& gameDir) {
    if (!fs::exists(fs::path(gameDir) / "Rotorstrike.ini")) return "settings file: none written";
    std::string line = "settings file:";
    for (const char* key : {"open_levels", "upgrade_points", "armor", "weapon", "high_score_0", "high_score_1", "high_score_2",
                            "high_score_3", "high_score_4"}) {
        const uint32_t value = game.stored(key, -1);
        line += std::string(" ") + key + "=" + (value == 0xFFFFFFFFu ? "-" : std::to_string(value));
    }
    return line;
}

int playOne(const Options& options) {
    std::optional<player::TemporaryFolder> temporary;
    std::string gameDir = options.gameDir;
    if (gameDir.empty()) {
        temporary.emplace("rotorstrike-sim");
        gameDir = temporary->path();
    }
    fs::create_directories(gameDir);
    fs::create_directories(options.out);

    player::GameOptions gameOptions;
    gameOptions.level = options.level;
    gameOptions.seed = options.seed;
    gameOptions.maxFrames = options.maxFrames;
    gameOptions.gameDirectory = gameDir;
    gameOptions.callLog = options.trace;
    player::Game game(gameOptions);
    player::Timeline timeline(game.startTick());
    player::ChaseRecorder chase;
    Screenshots shots(options, game);
    if (!options.quiet) {
        std::printf("rotorstrike-sim: Level %d, seed %u, game folder %s\n", options.level, options.seed, gameDir.c_str());
        timeline.onEvent = [](const player::Event& event) { std::printf("%s\n", player::formatEvent(event).c_str()); };
    }

    const bool progress = !options.quiet;
    auto lastProgress = std::chrono::steady_clock::now();
    while (game.step()) {
        timeline.observe(game.host());
        chase.observe(game.host());
        shots.afterFrame();
        if (options.trace) printTrace(game.host());
        if (progress && (game.framesPlayed() & 1023) == 0 && std::chrono::steady_clock::now() - lastProgress > std::chrono::seconds(1)) {
            lastProgress = std::chrono::steady_clock::now();
            std::fprintf(stderr, "rotorstrike-sim: frame %lld (%lld s of game), %d salvos, %d strikes, %d deaths\n",
                         static_cast<long long>(game.host().frame()), static_cast<long long>(game.host().frame() / 60),
                         timeline.salvos(), timeline.strikes(), timeline.deaths());
        }
    }
    // The last frame, and a few more so that the result's pictures and the file settle.
    timeline.observe(game.host());
    chase.observe(game.host());
    shots.afterFrame();
    for (int frame = 0; frame < 60 && game.autopilot().outcome() != player::Outcome::Playing; ++frame) {
        game.host().runFrame();
        timeline.observe(game.host());
        shots.afterFrame();
    }

    const player::Outcome outcome = game.autopilot().outcome();
    const int status = statusOf(game, outcome);
    std::string result;
    if (outcome == player::Outcome::Won) {
        result = "won Level " + std::to_string(options.level) + ": score " + std::to_string(timeline.wonScore()) + ", high score " +
                 std::to_string(timeline.wonHighScore());
    } else if (status == kOutOfFrames) {
        result = "out of frames after " + std::to_string(game.framesPlayed()) + " (--max-frames)";
    } else {
        result = std::string(player::outcomeName(outcome)) + ": " + game.autopilot().reason();
    }
    timeline.add(game.host(), result);
    timeline.add(game.host(), settingsLine(game, gameDir));
    timeline.add(game.host(), "entities still held by the plug-in: " + std::to_string(game.host().world().heldByScript().size()));

    const fs::path timelinePath = fs::path(options.out) / "timeline.txt";
    std::ofstream file(timelinePath);
    for (const player::Event& event : timeline.events()) file << player::formatEvent(event) << '\n';
    file.close();
    if (!file) throw std::runtime_error("cannot write " + timelinePath.string());
    // A map of the chase, when there was one.
    const fs::path mapPath = fs::path(options.out) / "chase-map.png";
    const bool chased = !chase.record().playerRoute.empty();
    const std::string title = "Level " + std::to_string(options.level) + ", seed " + std::to_string(options.seed) + ": " +
                              (status == kWon ? "won" : status == kOutOfFrames ? "out of frames" : player::outcomeName(outcome));
    if (chased && !render::writeChaseMap(chase.record(), title, mapPath.string())) {
        throw std::runtime_error("cannot write " + mapPath.string());
    }

    if (options.quiet) std::printf("%s\n%s\n", result.c_str(), settingsLine(game, gameDir).c_str());
    std::printf("timeline: %s\n", timelinePath.c_str());
    for (const std::string& path : shots.written()) std::printf("screenshot: %s\n", path.c_str());
    if (chased) std::printf("chase map: %s\n", mapPath.c_str());
    if (status != kWon) std::fprintf(stderr, "rotorstrike-sim: %s (replay: %s)\n", result.c_str(), replayCommand(options).c_str());
    return status;
}

// Each seed's game to its end from a fresh file, and the share won.
int winRate(const Options& options) {
    int won = 0;
    for (int index = 0; index < options.winRate; ++index) {
        const uint32_t seed = options.seed + static_cast<uint32_t>(index);
        player::TemporaryFolder folder("rotorstrike-sim");
        player::GameOptions gameOptions;
        gameOptions.level = options.level;
        gameOptions.seed = seed;
        gameOptions.maxFrames = options.maxFrames;
        gameOptions.gameDirectory = folder.path();
        player::Game game(gameOptions);
        player::Timeline timeline(game.startTick());
        while (game.step()) timeline.observe(game.host());
        timeline.observe(game.host());
        const player::Outcome outcome = game.autopilot().outcome();
        won += outcome == player::Outcome::Won ? 1 : 0;
        std::printf("seed %u: %s%s%s after %lld frames, %d salvos, %d strikes, %d deaths\n", seed,
                    game.outOfFrames() && outcome == player::Outcome::Playing ? "out of frames" : player::outcomeName(outcome),
                    game.autopilot().reason().empty() || outcome == player::Outcome::Won ? "" : ": ",
                    outcome == player::Outcome::Won ? "" : game.autopilot().reason().c_str(),
                    static_cast<long long>(game.framesPlayed()), timeline.salvos(), timeline.strikes(), timeline.deaths());
    }
    std::printf("won %d of %d (%.0f %%)\n", won, options.winRate, 100.0 * won / options.winRate);
    return kWon;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = parse(argc, argv);
    if (!options) return kUsage;
    try {
        return options->winRate > 0 ? winRate(*options) : playOne(*options);
    } catch (const sim::HostError& error) {
        std::fprintf(stderr, "rotorstrike-sim: the plug-in met a fault in the host: %s (replay: %s)\n", error.what(),
                     replayCommand(*options).c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "rotorstrike-sim: %s\n", error.what());
    }
    return kFault;
}
