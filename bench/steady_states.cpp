#include "steady_states.h"

#include <stdexcept>

#include "runtime/mod_state.h"
#include "runtime/script.h"
#include "seam.h"
#include "virtual_keys.h"

namespace bench {

namespace {

constexpr int32_t kMenuKey = kDefaultMenuKey;
constexpr int kMostSetUpFrames = 5000;

// The pinned counters: halfway through a salvo's warning with half the power charged, and a
// salvo's tail with its five missiles out.
constexpr int32_t kWarningFrame = -25;
constexpr float kWarningPower = 24.0f;
constexpr int32_t kTailFrame = 75;
constexpr int32_t kOutOfSightFrames = 100;

// The natives of the pieces of a frame, as the plug-in's rules give them.
constexpr int kPad = 1;        // the pad's attack control, read on every frame without a key
constexpr int kHudText = 10;   // a text: font, scale, colour, wrap, centring, shadow, edge,
                               // entry, component, draw
// The menu's panel and highlight bar, then a text for the title, each listed level, the
// balance, each upgrade, the instructions and the credit line: eleven with today's tables.
constexpr int kMenuTexts = 1 + kListedLevels + 1 + kUpgrades + 1 + 1;
constexpr int kMenu = 2 + kMenuTexts * kHudText;
constexpr int kInstructions = 1 + 10 * kHudText;  // panel, ten lines
constexpr int kRefresh = 5;  // the player's ped, position, speed, velocity; the helicopter's position
constexpr int kHealthBar = 1;
constexpr int kGaugeSight = 1;      // the sight test of the out-of-sight gauge
constexpr int kGauge = 1 + kHudText;  // grey overlay and "Out of sight" line, without sight
constexpr int kPromptTest = 2;      // the player's vehicle and whether it exists
constexpr int kPowerBar = 1;
constexpr int kScoreLine = kHudText;
constexpr int kDistance = 1;
constexpr int kPursuit = 2;          // the helicopter mission, the sight count (no catch-up)
constexpr int kDrivable = 1;
constexpr int kSightCount = 1;
constexpr int kDeathTest = 3;        // dead, then the player's index and the arrest test
constexpr int kMarkers = 5;          // one per missile out
constexpr int kDeadTest = 1;         // the respawn's wait: still dead

struct Piece {
    const char* name;
    int count;
};

ExpectedNatives sum(std::initializer_list<Piece> pieces) {
    ExpectedNatives expected;
    for (const Piece& piece : pieces) {
        if (!expected.breakdown.empty()) expected.breakdown += " + ";
        expected.breakdown += std::string(piece.name) + " " + std::to_string(piece.count);
        expected.count += piece.count;
    }
    return expected;
}

bool menuOpen() { return mod.menuOpen != 0; }
bool instructionsShown() { return mod.instructionsShown != 0; }
bool levelUnderWay() { return mod.encounterActive && mod.menuOpen == 0 && mod.messageFramesLeft == 0; }
bool warningUnderWay() {
    return mod.missileSequenceActive != 0 && mod.counterAttackSequence == 0 && mod.missileSequenceFrame == kWarningFrame;
}
bool salvoTail() {
    return mod.missileSequenceActive != 0 && mod.missileSequenceFrame >= kTailFrame && mod.missilesLaunched == 5 &&
           mod.messageFramesLeft == 0;
}
bool missilesFlying(const sim::World& world) {
    for (const sim::Projectile& missile : world.combat().projectiles()) {
        if (missile.flying) return true;
    }
    return false;
}
bool waitingForRevival() { return mod.playerDown != 0 && mod.messageFramesLeft == 0; }

}  // namespace

const char* nameOf(State state) {
    switch (state) {
    case State::Idle: return "idle";
    case State::Menu: return "menu";
    case State::Instructions: return "menu+instructions";
    case State::PursuitInSight: return "pursuit-in-sight";
    case State::PursuitOutOfSight: return "pursuit-out-of-sight";
    case State::SalvoWarning: return "salvo-warning+prompt";
    case State::MissilesFiring: return "missiles+markers";
    case State::WaitingForRevival: return "waiting-for-revival";
    }
    return "?";
}

ExpectedNatives expectedNatives(State state) {
    const Piece pad{"pad", kPad};
    const Piece refresh{"refresh", kRefresh};
    const Piece bar{"bar", kHealthBar};
    const Piece gaugeSight{"sight", kGaugeSight};
    const Piece score{"score", kScoreLine};
    const Piece distance{"distance", kDistance};
    const Piece checks{"drivable+sight+death", kDrivable + kSightCount + kDeathTest};
    switch (state) {
    case State::Idle: return sum({pad});
    case State::Menu: return sum({pad, {"menu", kMenu}});
    case State::Instructions: return sum({pad, {"menu", kMenu}, {"instructions", kInstructions}});
    case State::PursuitInSight:
        return sum({pad, refresh, bar, gaugeSight, score, distance, {"pursuit", kPursuit}, checks});
    case State::PursuitOutOfSight:
        return sum({pad, refresh, bar, gaugeSight, {"gauge", kGauge}, score, distance, {"pursuit", kPursuit}, checks});
    case State::SalvoWarning:
        return sum({{"prompt", kHudText}, pad, refresh, bar, {"label", kHudText}, gaugeSight,
                    {"vehicle", kPromptTest}, {"power", kPowerBar}, score, distance, checks});
    case State::MissilesFiring:
        return sum({pad, refresh, {"markers", kMarkers}, bar, gaugeSight, score, distance, checks});
    case State::WaitingForRevival: return sum({pad, refresh, {"dead", kDeadTest}});
    }
    return {};
}

Scene::Scene(State state) : state_(state), host_(std::make_unique<sim::PluginHost>(gameFolder_.path())) {
    sim::PluginHost& host = *host_;
    host.load();
    host.world().entities().putPlayerInVehicle();

    switch (state) {
    case State::Idle: break;
    case State::Menu: host.tapKey(kMenuKey); break;
    case State::Instructions:
        host.tapKey(kMenuKey);
        host.tapKey(vk::Numpad2);  // from Level 1 down to the Instructions row
        host.tapKey(vk::Numpad5);
        break;
    case State::PursuitInSight: startLevelOne(); break;
    case State::PursuitOutOfSight:
        startLevelOne();
        host.world().entities().setSight(sim::Sight::AlwaysBlocked);
        break;
    case State::SalvoWarning:
        startLevelOne();
        // Three salvos survived, and the next one due: set in the mod state rather than played.
        mod.attacksSurvived = 3;
        mod.heliSightFrames = 300;
        runUntil(warningUnderWay, kMostSetUpFrames, "the salvo's warning");
        break;
    case State::MissilesFiring:
        startLevelOne();
        mod.heliSightFrames = 300;  // the next salvo due
        runUntil(salvoTail, kMostSetUpFrames, "the salvo's five missiles");
        // The missiles' explosions are the world's events, not the steady frame's: the
        // markers stay while the salvo's tail is pinned.
        for (int frame = 0; frame < kMostSetUpFrames && missilesFlying(host.world()); ++frame) hostFrame();
        if (missilesFlying(host.world())) throw std::runtime_error("the salvo's missiles never came down");
        break;
    case State::WaitingForRevival:
        startLevelOne();
        host.world().combat().setRevivalDelay(sim::kNever);
        host.world().combat().kill(host.world().entities().playerPed());
        runUntil(waitingForRevival, kMostSetUpFrames, "the wait for revival");
        break;
    }
    // Idle and the menu's states stand for a lockout's frames before their steady frames.
    if (state == State::Idle || state == State::Menu || state == State::Instructions) host.runFrames(sim::kKeyLockoutFrames);
    if (state == State::Menu) runUntil(menuOpen, 1, "the menu");
    if (state == State::Instructions) runUntil(instructionsShown, 1, "the instructions panel");

    // One frame more, whose calls the floor replays.
    hostFrame();
    for (const sim::LoggedCall& call : host.calls()) callShape_.emplace_back(call.hash, call.argumentCount);
}

void Scene::pluginFrame() {
    // The full host would log the calls of frames it never started, without end.
    if (!host_->nullMode()) throw std::logic_error("the plug-in's frame alone runs against the null host");
    pin();
    runScriptFrame();
}

void Scene::hostFrame() {
    pin();
    host_->runFrame();
}

void Scene::pin() {
    switch (state_) {
    case State::PursuitInSight: mod.heliSightFrames = 0; break;
    case State::PursuitOutOfSight: mod.outOfSightFrames = kOutOfSightFrames; break;
    case State::SalvoWarning:
        mod.missileSequenceFrame = kWarningFrame;
        mod.attackPower = kWarningPower;
        break;
    case State::MissilesFiring: mod.missileSequenceFrame = kTailFrame; break;
    default: break;
    }
}

void Scene::runUntil(bool (*done)(), int maxFrames, const char* what) {
    for (int frame = 0; frame < maxFrames && !done(); ++frame) host_->runFrame();
    if (!done()) throw std::runtime_error(std::string("the scene never reached ") + what);
}

// Level 1 from the menu with the player in a car, played until its announcement is gone;
// the helicopter stays in sight, and salvo missiles fire at once and harm nothing.
void Scene::startLevelOne() {
    sim::World& world = host_->world();
    world.entities().setSight(sim::Sight::AlwaysClear);
    world.combat().weaponAsset("WEAPON_VEHICLE_ROCKET").loadFrames = 0;
    world.combat().setHarmlessMissiles(true);
    host_->tapKey(kMenuKey);
    host_->tapKey(vk::Numpad5);
    runUntil(levelUnderWay, kMostSetUpFrames, "a running Level 1");
}

void replayCalls(const CallShape& shape) {
    for (const auto& [hash, arguments] : shape) {
        nativeInit(hash);
        for (int argument = 0; argument < arguments; ++argument) nativePush64(0);
        nativeCall();
    }
}

}  // namespace bench
