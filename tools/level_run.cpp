#include "level_run.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>

#include "chase.h"
#include "encounter/levels.h"
#include "replay_gif.h"
#include "runtime/mod_view.h"
#include "rules.h"
#include "scene_pictures.h"
#include "screenshot.h"
#include "settings/settings_file.h"

namespace fs = std::filesystem;

namespace tools {

namespace {

constexpr const char* kKeyPictures[] = {"menu", "instructions", "pursuit", "attack-ready", "result"};

// The key frames worth a picture, each taken once, and the frames asked for.
class Screenshots {
public:
    Screenshots(const LevelRunOptions& options, autopilot::Game& game) : options_(options), game_(game) {}

    void afterFrame() {
        const sim::Host& host = game_.host();
        const sim::Screen& screen = host.screen();
        // The host's feed keeps a notification on screen for a while after it is posted.
        for (const sim::Notification& note : screen.notifications) feed_.push_back({host.frame(), note});
        while (!feed_.empty() && host.frame() - feed_.front().frame > kFeedFrames) feed_.erase(feed_.begin());
        if (options_.shots.count(host.frame()) != 0) write("frame-" + std::to_string(host.frame()));
        if (!options_.pictures) return;
        menuFrames_ = modView().menuOpen && !modView().instructionsShown ? menuFrames_ + 1 : 0;
        instructionFrames_ = modView().instructionsShown ? instructionFrames_ + 1 : 0;
        take("menu", menuFrames_ == 20);
        take("instructions", instructionFrames_ == 40);
        // The pursuit: the first salvo's five missiles in the air over the HUD.
        salvoFrames_ = modView().missileSequenceActive && !modView().counterAttackSequence && modView().missilesLaunched == 5 ? salvoFrames_ + 1 : 0;
        take("pursuit", salvoFrames_ == 20);
        const sim::ScreenText* prompt = screen.findText("ATTACK READY!");
        take("attack-ready", prompt != nullptr && modView().attackPower >= 35.0f);
        // This level's end, won or lost, once the autopilot has seen it: never the result of
        // an earlier level still on the screen as this one begins.
        const autopilot::Outcome outcome = game_.autopilot().outcome();
        const bool ended = outcome == autopilot::Outcome::Won || outcome == autopilot::Outcome::Lost;
        resultFrames_ = ended ? resultFrames_ + 1 : 0;
        take("result", resultFrames_ == 30);
    }
    // The screen with the feed's notifications still showing.
    sim::Screen withFeed() const {
        sim::Screen screen = game_.host().screen();
        screen.notifications.clear();
        for (const Posted& posted : feed_) screen.notifications.add() = posted.note;
        return screen;
    }
    const std::vector<std::string>& written() const { return written_; }

private:
    void take(const std::string& name, bool now) {
        if (!now || taken_.count(name) != 0) return;
        taken_.insert(name);
        write(name);
    }
    void write(const std::string& name) {
        const std::string path = (fs::path(options_.folder) / (name + ".png")).string();
        if (!render::writeScreenshot(withFeed(), path, render::sceneFromAbove(game_.host().world(), modView().heliVehicle))) {
            throw std::runtime_error("cannot write " + path);
        }
        written_.push_back(path);
    }

    struct Posted {
        int64_t frame;
        sim::Notification note;
    };
    static constexpr int64_t kFeedFrames = 300;

    const LevelRunOptions& options_;
    autopilot::Game& game_;
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

// The files of an earlier run that this one writes by name.
void removeEarlierFiles(const LevelRunOptions& options) {
    std::vector<std::string> names = {"timeline.txt", "chase-map.png", "replay.gif"};
    for (const char* picture : kKeyPictures) names.push_back(std::string(picture) + ".png");
    for (const int64_t shot : options.shots) names.push_back("frame-" + std::to_string(shot) + ".png");
    for (const std::string& name : names) fs::remove(fs::path(options.folder) / name);
}

}  // namespace

int statusOf(const autopilot::Game& game) {
    switch (game.autopilot().outcome()) {
    case autopilot::Outcome::Won: return kWon;
    case autopilot::Outcome::Lost: return kLost;
    case autopilot::Outcome::Refused: return kRefused;
    case autopilot::Outcome::Playing: break;
    }
    return game.outOfFrames() ? kOutOfFrames : kFault;
}

std::string settingsLine(autopilot::Game& game) {
    if (!fs::exists(fs::path(game.options().gameDirectory) / kSettingsFileName)) return "settings file: none written";
    // The progress the plug-in writes: the open levels, the points, each tier, each best.
    std::vector<const char*> keys = {kSettingsKeyRules[OpenLevels].name, kSettingsKeyRules[UpgradePoints].name};
    for (int32_t upgrade = 0; upgrade < kUpgrades; ++upgrade) keys.push_back(kSettingsKeyRules[upgradeKey(upgrade)].name);
    for (int32_t level = 0; level < kBestScores; ++level) keys.push_back(bestScoreKey(level));
    std::string line = "settings file:";
    for (const char* key : keys) {
        const uint32_t value = game.stored(key, -1);
        line += std::string(" ") + key + "=" + (value == 0xFFFFFFFFu ? "-" : std::to_string(value));
    }
    return line;
}

int leastWeapon(int level) { return level > kFirstLevelNeedingWeapon ? kWeaponTierForHardLevels : kFirstTier; }

Tiers leastTiers(int level) {
    Tiers tiers;
    tiers.fill(kFirstTier);
    tiers[kWeaponUpgrade] = leastWeapon(level);
    return tiers;
}

void writeSettingsOpening(const std::string& gameDir, int level, const Tiers& tiers) {
    const fs::path path = fs::path(gameDir) / kSettingsFileName;
    std::ofstream file(path, std::ios::binary);
    file << "[" << kSettingsSection << "]\r\n" << kSettingsKeyRules[OpenLevels].name << "=" << level << "\r\n";
    for (int32_t upgrade = 0; upgrade < kUpgrades; ++upgrade) {
        file << kSettingsKeyRules[upgradeKey(upgrade)].name << "=" << tiers[upgrade] << "\r\n";
    }
    file.close();
    if (!file) throw std::runtime_error("cannot write " + path.string());
}

LevelReport runLevel(autopilot::Game& game, int level, const LevelRunOptions& options) {
    fs::create_directories(options.folder);
    removeEarlierFiles(options);
    sim::Host& host = game.host();
    LevelReport report;
    // The plug-in's failed writes, with the host's reason, as they happen.
    host.setProfileObserver([&](const sim::ProfileCall& call) {
        if (call.write() && call.result == 0) {
            report.failedWrites.push_back(call.key + "=" + call.value + ": " + host.gameFolder().lastWriteError());
        }
    });
    autopilot::Timeline timeline(host);
    timeline.onEvent = options.onEvent;
    autopilot::ChaseRecorder chase;
    Screenshots shots(options, game);
    std::unique_ptr<render::GifReplay> replay;
    const fs::path replayPath = fs::path(options.folder) / "replay.gif";
    if (options.replay) replay = std::make_unique<render::GifReplay>(replayPath.string());
    const auto observe = [&] {
        timeline.observe(host);
        chase.observe(host);
        const std::size_t pictures = shots.written().size();
        shots.afterFrame();
        for (std::size_t index = pictures; index < shots.written().size(); ++index) {
            timeline.addPicture(host, fs::path(shots.written()[index]).filename().string());
        }
        // The picture is built only for the frames the replay takes.
        if (replay && replay->takes(host.frame())) {
            replay->picture(shots.withFeed(), render::sceneFromAbove(host.world(), modView().heliVehicle));
        }
        if (options.trace) printTrace(host);
        // A reader gone (--trace | head): stop, so that the temporary folders go too.
        if (std::ferror(stdout)) throw std::runtime_error("standard output was closed; the level was left");
    };
    const int64_t firstFrame = host.frame() + 1;
    while (game.step()) {
        observe();
        if (options.progress && (game.framesPlayed() & 1023) == 0) options.progress();
    }
    // The last frame, and a few more so that the result's pictures and the file settle.
    observe();
    for (int frame = 0; frame < 60 && game.autopilot().outcome() != autopilot::Outcome::Playing; ++frame) {
        host.runFrame();
        observe();
    }
    host.setProfileObserver({});

    report.outcome = game.autopilot().outcome();
    report.frames = game.framesPlayed();
    report.deaths = timeline.deaths();
    report.salvos = timeline.salvos();
    report.strikes = timeline.strikes();
    report.status = statusOf(game);
    if (report.status == kWon) {
        report.score = timeline.wonScore();
        report.result = "won Level " + std::to_string(level) + ": score " + std::to_string(report.score) +
                        (timeline.wonHighScore() < 0 ? ", no high score to compare with"
                                                     : ", high score " + std::to_string(timeline.wonHighScore()));
    } else if (report.status == kOutOfFrames) {
        report.result = "out of frames after " + std::to_string(report.frames) + " (--max-frames)";
    } else if (report.status != kWon) {
        report.result = std::string(autopilot::outcomeName(report.outcome)) + ": " + game.autopilot().reason();
    }
    report.firstFrame = firstFrame;
    report.lastFrame = host.frame();
    for (const int64_t shot : options.shots) {
        if (shot < firstFrame || shot > host.frame()) report.missedShots.push_back(shot);
    }
    timeline.add(host, report.result);
    timeline.add(host, settingsLine(game));
    timeline.add(host, "entities still held by the plug-in: " + std::to_string(host.world().entities().heldByScript().size()));
    for (const std::string& failed : report.failedWrites) timeline.add(host, "the plug-in could not write " + failed);

    // A map of the chase, when there was one.
    const fs::path mapPath = fs::path(options.folder) / "chase-map.png";
    const bool chaseMap = options.pictures && !chase.record().playerRoute.empty();
    if (chaseMap) {
        const std::string title = "Level " + std::to_string(level) + ", seed " + std::to_string(game.options().seed) + ": " +
                                  (report.status == kWon ? "won" : report.status == kOutOfFrames ? "out of frames" : autopilot::outcomeName(report.outcome));
        if (!render::writeChaseMap(chase.record(), title, mapPath.string())) throw std::runtime_error("cannot write " + mapPath.string());
        timeline.add(host, "chase-map.png drawn on the " + autopilot::describeMap(chase.record().map));
    }

    const fs::path timelinePath = fs::path(options.folder) / "timeline.txt";
    std::ofstream file(timelinePath);
    for (const autopilot::Event& event : timeline.events()) file << autopilot::formatEvent(event) << '\n';
    file.close();
    if (!file) throw std::runtime_error("cannot write " + timelinePath.string());
    report.files.push_back(timelinePath.string());
    report.files.insert(report.files.end(), shots.written().begin(), shots.written().end());
    if (chaseMap) report.files.push_back(mapPath.string());
    if (replay) {
        replay->finish();
        report.files.push_back(replayPath.string());
    }
    return report;
}

}  // namespace tools
