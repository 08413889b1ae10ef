#include "faults.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <limits>

#include "autopilot.h"
#include "game.h"
#include "profile_file.h"
#include "profile_format.h"
#include "settings_checks.h"
#include "virtual_keys.h"

namespace soak {

namespace {

namespace fs = std::filesystem;

// The native the plug-in calls first in each frame's dispatch: the pad's attack control.
const uint64_t kPadControlNative = sim::nativeHash("getControlValue");
// The native by which the script sends its helicopter after the player: it does so in every
// frame of the chase, and in none while a salvo or a strike runs.
const uint64_t kHeliMissionNative = sim::nativeHash("taskHeliMission");
// The won sequence's wait before the wreck, the only wait of 100 ms.
constexpr uint32_t kBeforeWreckMs = 100;

constexpr const char* kNames[kFaultKinds] = {
    "vehicle vanishes", "helicopter deleted", "pilot deleted", "helicopter wrecked", "model streaming stalls",
    "missile asset stalls", "player dies", "late revival or control", "player arrested", "sight flaps",
    "bad answers", "keys mashed", "file edited", "file corrupted", "file truncated", "file deleted",
    "writes refused", "disk write fails", "folder removed", "file locked by another program",
    "bought twice on one row", "vehicle changed in a shielded salvo", "the game reloads",
    "another program has the focus", "the module is unloaded and loaded again"};
constexpr const char* kSituationNames[kSituations] = {"idle", "menu", "chase", "salvo", "player down",
                                                      "level start or respawn wait", "intro", "won sequence",
                                                      "respawn shot"};

constexpr const char* kEditedKeys[] = {"open_levels", "armor", "weapon", "upgrade_points", "check_point_enabled",
                                       "high_score_0", "high_score_1", "high_score_2", "high_score_3", "high_score_4"};
constexpr const char* kOddValues[] = {"-3", "99", "abc", "0x10", "", " 7 ", "4294967295", "2147483648"};

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A person's edit comes well after the game's last write: it is dated a second past the
// file's last change, so that a reader that keeps the file it last read while its time
// stamp is unchanged (Wine's profile functions do) sees it. Made at once, it could share the
// file system clock's tick with that write, and such a reader would miss it.
void editByHand(const std::string& path, const std::string& bytes) {
    std::error_code missing;
    const fs::file_time_type before = fs::last_write_time(path, missing);
    writeFile(path, bytes);
    const fs::file_time_type now = fs::file_time_type::clock::now();
    fs::last_write_time(path, (missing ? now : std::max(before, now)) + std::chrono::seconds(1), missing);
}

int64_t stalledAnswers(const sim::World& world, bool models) {
    int64_t answers = 0;
    if (models) {
        for (const auto& [hash, model] : world.entities().models()) answers += model.stalledAnswers;
    } else {
        for (const auto& [hash, asset] : world.combat().weaponAssets()) answers += asset.stalledAnswers;
    }
    return answers;
}

// What the script holds of an encounter: its helicopter (the oldest vehicle it holds, other
// than one the player sits in) and its pilot.
int32_t heldHelicopter(const sim::Entities& entities) {
    return entities.oldestHeld(sim::EntityKind::Vehicle, entities.vehicleOf(entities.playerPed()));
}
int32_t heldPilot(const sim::Entities& entities) { return entities.oldestHeld(sim::EntityKind::Ped); }

// The player lies dead, and died before the last frame's script ran (not in the world's step
// after it), or the screen was faded out in the last frame: the respawn's black screen while
// the script waits for the host to give control back.
bool playerDownSeen(const sim::Host& host) {
    const sim::World& world = host.world();
    if (world.entities().player().dead) {
        const auto& events = world.combat().lifeEvents();
        for (auto event = events.rbegin(); event != events.rend(); ++event) {
            if (event->kind == sim::LifeEvent::Died) return event->frame < host.frame();
        }
        return true;
    }
    const auto& fades = world.records().fades();
    return !fades.empty() && fades.back().frame == host.frame() && !fades.back().fadeIn;
}

bool warningHeard(const sim::Host& host) {
    const auto& cues = host.cues();
    for (auto cue = cues.rbegin(); cue != cues.rend() && cue->frame == host.frame(); ++cue) {
        if (cue->cue == kSalvoWarningCue) return true;
    }
    return false;
}

// The plug-in's keyboard keys, as a person at the keyboard presses them: the menu key and the
// attack key as the settings file binds them, then the menu's numeric keypad 0, 2, 5 and 8.
std::array<int32_t, 6> keyboardKeys(sim::Host& host) {
    return {boundMenuKey(host), autopilot::boundKey(host.gameFolder(), AttackKey),
            vk::Numpad0, vk::Numpad2, vk::Numpad5, vk::Numpad8};
}

bool invincible(const sim::World& world, int32_t vehicle) {
    const sim::Entity* entity = world.entities().find(vehicle);
    return entity != nullptr && entity->invincible;
}

}  // namespace

int32_t boundMenuKey(sim::Host& host) { return autopilot::boundKey(host.gameFolder(), OpenMenuKey); }

const char* faultName(Fault fault) { return kNames[static_cast<std::size_t>(fault)]; }
const char* situationName(Situation situation) { return kSituationNames[static_cast<std::size_t>(situation)]; }

// The encounter runs while the script holds its helicopter or the helicopter's pilot: one
// removed while the player lies dead is replaced only once the player is back.
bool Faults::encounterRuns(const sim::Host& host) {
    const sim::Entities& entities = host.world().entities();
    return heldHelicopter(entities) != 0 || heldPilot(entities) != 0;
}

Situation Faults::situationOf(const sim::Host& host, bool inFrame) const {
    if (inFrame) {
        // A wait in normal time is one of the steps of a level's start or a respawn. A slowed
        // one is a shot: the wreck's when the script blew a vehicle up just before it, the
        // respawn's when it had moved entities in the turn before (the helicopter brought
        // back), else the level's intro.
        const sim::Host::ScriptWait& wait = host.currentWait();
        if (wait.timeScale == sim::kNormalTimeScale) return Situation::StartWait;
        if (wait.blewUpVehicle) return Situation::WonSequence;
        if (host.waitBefore().movedEntity) return Situation::RespawnShot;
        return Situation::Intro;
    }
    // The encounter runs while the script holds its helicopter. A salvo's or a strike's
    // sequence runs while the script no longer sends the helicopter after the player, from
    // the frame its warning sounds.
    if (encounterRuns(host)) {
        if (playerDownSeen(host)) return Situation::PlayerDown;
        if (lastOrderFrame_ != host.frame() || warningHeard(host)) return Situation::Salvo;
        return Situation::Chase;
    }
    return autopilot::highlightedRow(host.screen()) >= 0 ? Situation::Menu : Situation::Idle;
}

void Faults::planLevel(Random& random, const Arrangement& arranged) {
    random_ = Random(random.next());
    plans_ = {};
    arranged_ = arranged;
    levelBegun_ = false;
    refuseTiers_ = false;
    // Some levels are played without faults, so that levels are also won.
    if (random_.percent(30)) return;
    for (std::size_t kind = 0; kind < kFaultKinds; ++kind) {
        Plan& chosen = plans_[kind];
        chosen.on = random_.percent(fired_[kind] == 0 ? 75 : 25) && made_[kind];
        constexpr int64_t kRates[] = {15, 150, 1500};
        chosen.oneIn = kRates[random_.below(3)];
        chosen.when = static_cast<Situation>(random_.below(kSituations));
        chosen.anywhere = random_.percent(40);
    }
    // The settings file is disturbed more rarely: a person's hand, not every frame.
    for (Fault kind : {Fault::FileEdited, Fault::FileCorrupted, Fault::FileTruncated, Fault::FileDeleted, Fault::FolderRemoved}) {
        plan(kind).oneIn *= 4;
    }
    // The vehicle vanishes during one of the waits inside a frame.
    Plan& vanish = plan(Fault::VehicleVanishes);
    vanish.anywhere = false;
    constexpr Situation kWaits[] = {Situation::StartWait, Situation::Intro, Situation::WonSequence, Situation::RespawnShot};
    vanish.when = kWaits[random_.below(4)];
    vanish.oneIn = std::min<int64_t>(vanish.oneIn, 30);
    // A reload anywhere comes rarely, or no level would last; in one situation (the waits
    // inside a frame among them), often. While no win has been cut short, half the levels
    // aim at the won sequence. A module reload ends the level the menu was choosing: rarer.
    Plan& reload = plan(Fault::GameReloads);
    if (reload.anywhere) reload.oneIn *= 20;
    if (made_[static_cast<std::size_t>(Fault::GameReloads)] && reloads_[static_cast<std::size_t>(Situation::WonSequence)] == 0 &&
        random_.percent(50)) {
        reload = {true, 15, Situation::WonSequence, false};
    }
    plan(Fault::ModuleReloaded).oneIn *= 10;
    // The vehicle changes while the shield is up, in whatever situation that is.
    Plan& swap = plan(Fault::VehicleSwapped);
    swap.anywhere = true;
    swap.oneIn = std::min<int64_t>(swap.oneIn, 30);
    // A player who buys twice on one row, now and then with every tier write refused (and
    // the one after it), so that the second purchase follows a first one that failed.
    refuseTiers_ = plan(Fault::BoughtTwice).on && random_.percent(50);
    lateRevival_ = static_cast<int32_t>(random_.between(sim::kRevivalFrames + 1, 4 * sim::kRevivalFrames));
    lateControl_ = static_cast<int32_t>(random_.between(sim::kControlFrames + 1, 30 * sim::kControlFrames));
}

void Faults::attach(sim::Host& host) {
    host_ = &host;
    host.setNativeHook([this](sim::NativeCall& call) { answer(call); });
    // A new host counts its frames from the start.
    modelStallUntil_ = assetStallUntil_ = lastStallFrame_ = sightFlapsUntil_ = badAnswersUntil_ = mashUntil_ = -1;
    lastDispatchFrame_ = lastOrderFrame_ = -1;
    swappedFrom_ = 0;
    lifeEventsSeen_ = 0;
    armedPosition_ = 0;
    lockUntil_ = -1;
    focusBackAt_ = -1;
}

bool Faults::due(Fault fault, Situation now) {
    const Plan& chosen = plan(fault);
    return chosen.on && (chosen.anywhere || chosen.when == now) && random_.oneIn(chosen.oneIn);
}

void Faults::beforeFrame(sim::Host& host, bool inFrame) {
    fileChanged_ = false;
    const Situation now = situationOf(host, inFrame);
    const int64_t frame = host.frame() + 1;  // the frame about to run
    sim::World& world = host.world();
    const int32_t me = world.entities().playerPed();

    if (due(Fault::VehicleVanishes, now)) {
        if (const int32_t vehicle = world.entities().vehicleOf(me)) {
            world.entities().remove(vehicle);
            count(Fault::VehicleVanishes);
        }
    }
    // The armor shield is up while the player's vehicle cannot be destroyed, or the one the
    // player was last moved out of still cannot: the shield lasts its salvo.
    const int32_t vehicle = world.entities().vehicleOf(me);
    if ((invincible(world, vehicle) || invincible(world, swappedFrom_)) && due(Fault::VehicleSwapped, now)) {
        if (invincible(world, vehicle)) swappedFrom_ = vehicle;
        if (vehicle != 0 && random_.percent(50)) {
            world.entities().leaveVehicle(me);
        } else {
            world.entities().putPlayerInVehicle();
        }
        count(Fault::VehicleSwapped);
    }
    if (due(Fault::HelicopterDeleted, now)) {
        if (const int32_t helicopter = heldHelicopter(world.entities())) {
            world.entities().remove(helicopter);
            count(Fault::HelicopterDeleted);
        }
    }
    if (due(Fault::PilotDeleted, now)) {
        if (const int32_t pilot = heldPilot(world.entities())) {
            world.entities().remove(pilot);
            count(Fault::PilotDeleted);
        }
    }
    if (due(Fault::HelicopterWrecked, now)) {
        sim::Entity* helicopter = world.entities().find(heldHelicopter(world.entities()));
        if (helicopter != nullptr && !helicopter->wrecked) {
            world.entities().wreck(helicopter->handle);
            count(Fault::HelicopterWrecked);
        }
    }

    // Streaming stalls for long stretches; each stretch counts once it kept something waiting.
    stallStep(host, true, frame, due(Fault::ModelStall, now));
    stallStep(host, false, frame, due(Fault::AssetStall, now));

    if (due(Fault::PlayerDies, now) && !world.entities().player().dead) {
        world.combat().kill(me);
        if (world.entities().player().dead) {
            count(Fault::PlayerDies);
            ++deaths_[static_cast<std::size_t>(now)];
        }
    }
    // An arrest counts where the plug-in can meet it: while its encounter runs.
    if (due(Fault::PlayerArrested, now) && world.combat().arrest(static_cast<int32_t>(random_.between(60, 300))) &&
        encounterRuns(host)) {
        count(Fault::PlayerArrested);
    }
    const bool late = plan(Fault::LateRevival).on;
    world.combat().setRevivalDelay(late ? lateRevival_ : sim::kRevivalFrames);
    world.combat().setControlDelay(late ? lateControl_ : sim::kControlFrames);
    for (; lifeEventsSeen_ < world.combat().lifeEvents().size(); ++lifeEventsSeen_) {
        if (late && world.combat().lifeEvents()[lifeEventsSeen_].kind == sim::LifeEvent::Died) count(Fault::LateRevival);
    }

    if (due(Fault::SightFlaps, now) && frame >= sightFlapsUntil_) {
        sightFlapsUntil_ = frame + random_.between(60, 900);
        if (encounterRuns(host)) count(Fault::SightFlaps);
    }
    if (frame < sightFlapsUntil_) {
        world.entities().setSight(frame % 2 == 0 ? sim::Sight::AlwaysClear : sim::Sight::AlwaysBlocked);
    } else if (sightFlapsUntil_ >= 0) {
        world.entities().setSight(sim::Sight::ByDistance);
        sightFlapsUntil_ = -1;
    }

    if (due(Fault::BadAnswers, now) && frame >= badAnswersUntil_) {
        constexpr float kBad[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                                  -std::numeric_limits<float>::infinity(), std::numeric_limits<float>::max(),
                                  -std::numeric_limits<float>::max(), 1e30f, -1e9f};
        badValue_ = kBad[random_.below(7)];
        badAnswersUntil_ = frame + random_.between(1, 90);
        badAnswered_ = false;
    }

    mashKeys(host, now, frame);
    disturbFile(host, frame, now);
    disturbLifecycle(host, frame, now, inFrame);
}

// The host's lifecycle: another program takes the focus for a stretch; the game reloads
// (wherever the script is, inside a frame's wait included), the player put on the map's road
// elsewhere, in a new car or on foot; the module is freed and loaded again out of a level.
void Faults::disturbLifecycle(sim::Host& host, int64_t frame, Situation now, bool inFrame) {
    if (focusBackAt_ >= 0 && frame >= focusBackAt_) {
        host.setFocus(sim::Host::Focus::Game);
        focusBackAt_ = -1;
    }
    if (focusBackAt_ < 0 && due(Fault::FocusElsewhere, now)) {
        focusBackAt_ = frame + random_.between(30, 300);
        focusFired_ = false;
        host.setFocus(random_.percent(50) ? sim::Host::Focus::OtherProgram : sim::Host::Focus::NoWindow);
    }
    if (focusBackAt_ >= 0 && !focusFired_) {
        focusFired_ = std::ranges::any_of(keyboardKeys(host), [&](int32_t key) { return host.keyDown(key); });
        if (focusFired_) count(Fault::FocusElsewhere);
    }

    winCutShort_ = false;
    if (due(Fault::GameReloads, now)) {
        winCutShort_ = inFrame && (now == Situation::WonSequence || host.currentWait().milliseconds == kBeforeWreckMs);
        const sim::Map& map = host.world().map();
        const sim::Entity& player = host.world().entities().player();
        const sim::Vec3 at = map.road.empty() ? player.position + sim::Vec3{300.0f, 0.0f, 0.0f}
                                              : map.toWorld(map.road[static_cast<std::size_t>(random_.below(static_cast<int64_t>(map.road.size())))]);
        host.reloadGame(at, random_.percent(80));
        ++reloads_[static_cast<std::size_t>(now)];
        count(Fault::GameReloads);
    }
    moduleReloadDue_ = (now == Situation::Idle || now == Situation::Menu) && !encounterRuns(host) && due(Fault::ModuleReloaded, now);
    if (moduleReloadDue_) count(Fault::ModuleReloaded);
}

void Faults::stallStep(sim::Host& host, bool models, int64_t frame, bool start) {
    int64_t& until = models ? modelStallUntil_ : assetStallUntil_;
    bool& fired = models ? modelStallFired_ : assetStallFired_;
    int64_t& answersSeen = models ? modelAnswersSeen_ : assetAnswersSeen_;
    if (until >= 0 && !fired && stalledAnswers(host.world(), models) > answersSeen) {
        fired = true;
        count(models ? Fault::ModelStall : Fault::AssetStall);
    }
    if (start && until < 0) {
        until = frame + random_.between(30, 1500);
        fired = false;
        answersSeen = stalledAnswers(host.world(), models);
        setStalled(host.world(), models, true);
    }
    if (until >= 0 && frame >= until) {
        until = -1;
        setStalled(host.world(), models, false);
    }
    if (until >= 0) lastStallFrame_ = frame;
}

void Faults::setStalled(sim::World& world, bool models, bool stalled) {
    if (models) {
        for (const auto& [hash, model] : world.entities().models()) world.entities().findModel(hash)->stalled = stalled;
    } else {
        for (const auto& [hash, asset] : world.combat().weaponAssets()) world.combat().weaponAsset(asset.name).stalled = stalled;
    }
}

int64_t Faults::framesSinceStall(const sim::Host& host) const {
    return lastStallFrame_ < 0 ? std::numeric_limits<int64_t>::max() : host.frame() - lastStallFrame_;
}

void Faults::answer(sim::NativeCall& call) {
    if (call.spec->hash == kPadControlNative) lastDispatchFrame_ = host_->frame();
    if (call.spec->hash == kHeliMissionNative) lastOrderFrame_ = host_->frame();
    if (host_->frame() >= badAnswersUntil_ || (call.spec->result != 'f' && call.spec->result != 'v')) return;
    if (!badAnswered_) {
        badAnswered_ = true;
        count(Fault::BadAnswers);
    }
    if (call.spec->result == 'f') {
        call.returnFloat(badValue_);
    } else {
        call.returnVector({badValue_, random_.percent(50) ? badValue_ : 0.0f, badValue_});
    }
}

void Faults::mashKeys(sim::Host& host, Situation now, int64_t frame) {
    if (mashUntil_ >= 0 && frame >= mashUntil_) {
        holdMashedKey(host, false);
        mashUntil_ = -1;
    }
    if (mashUntil_ < 0 && due(Fault::KeyMash, now)) {
        const std::array<int32_t, 6> keys = keyboardKeys(host);
        const int32_t menuKey = keys[0];
        const int32_t others[] = {keys[1], keys[2], keys[3], keys[4], keys[5], kPadFullyPressed};
        mashedKey_ = random_.percent(40) ? menuKey : others[random_.below(6)];
        mashUntil_ = frame + random_.between(1, 40);
        count(Fault::KeyMash);
        if (mashedKey_ == menuKey) ++menuKeys_[static_cast<std::size_t>(now)];
    }
    if (mashUntil_ >= 0) holdMashedKey(host, true);
}

// A mashed key is a keyboard key or the pad's attack control.
void Faults::holdMashedKey(sim::Host& host, bool down) {
    if (mashedKey_ == kPadFullyPressed) {
        host.setPadControl(down ? kPadFullyPressed : 0);
    } else {
        host.setKey(mashedKey_, down);
    }
}

void Faults::disturbFile(sim::Host& host, int64_t frame, Situation now) {
    if (folderBackAt_ >= 0 && frame >= folderBackAt_) restoreFolder();
    // Nobody opens the file, nor moves its folder, while another program holds it locked.
    const bool folderThere = folderBackAt_ < 0 && !host.gameFolder().locked();
    const bool fileThere = folderThere && fs::exists(settingsFile_);

    if (due(Fault::FileEdited, now) && folderThere) {
        std::string bytes = readFileBytes(settingsFile_).value_or("");
        if (random_.percent(70)) {
            const char* key = kEditedKeys[random_.below(std::size(kEditedKeys))];
            const std::string value = random_.percent(70) ? std::to_string(random_.between(0, 30))
                                                          : kOddValues[random_.below(std::size(kOddValues))];
            const profile::Edit edit = profile::writeString(bytes, "Rotorstrike", key, value);
            if (edit.changed) bytes = edit.bytes;
        } else {
            // The last two are lines the system's functions write back otherwise (Wine drops a
            // blank line and ends every line with CRLF): left out where runs are compared.
            constexpr const char* kLines[] = {"; edited by hand\r\n", "[Other]\r\nanswer=42\r\n", "\r\n", "junk without equals\n"};
            bytes += kLines[random_.below(made_[static_cast<std::size_t>(Fault::FileCorrupted)] ? 4 : 2)];
        }
        editByHand(settingsFile_, bytes);
        changed(Fault::FileEdited);
    }
    if (due(Fault::FileCorrupted, now) && fileThere) {
        std::string bytes = readFileBytes(settingsFile_).value_or("");
        for (int64_t mutations = random_.between(1, 4); mutations > 0 && !bytes.empty(); --mutations) {
            const auto at = static_cast<std::size_t>(random_.below(static_cast<int64_t>(bytes.size())));
            // Never a byte-order mark: the file stays a file of single bytes.
            const auto byte = static_cast<char>(at < 3 ? random_.between(0, 0xEE) : random_.below(256));
            switch (random_.below(3)) {
            case 0: bytes[at] = byte; break;
            case 1: bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), byte); break;
            default: bytes.erase(at, 1); break;
            }
        }
        editByHand(settingsFile_, bytes);
        changed(Fault::FileCorrupted);
    }
    if (due(Fault::FileTruncated, now) && fileThere) {
        std::string bytes = readFileBytes(settingsFile_).value_or("");
        bytes.resize(static_cast<std::size_t>(random_.below(static_cast<int64_t>(bytes.size()) + 1)));
        editByHand(settingsFile_, bytes);
        changed(Fault::FileTruncated);
    }
    if (due(Fault::FileDeleted, now) && fileThere) {
        fs::remove(settingsFile_);
        changed(Fault::FileDeleted);
    }
    if (due(Fault::FolderRemoved, now) && folderThere) {
        // The folder goes with the file in it, moved aside to come back empty; now and then a
        // regular file takes its place: a path that no one can write through.
        fs::rename(folder_, awayFolder());
        fs::remove(awayFolder() + settingsFile_.substr(folder_.size()));
        if (random_.percent(50)) writeFile(folder_, "not a folder");
        folderBackAt_ = frame + random_.between(30, 900);
        changed(Fault::FolderRemoved);
    }

    faultWrites(host, frame, now);
}

// The faults on the plug-in's writes, each armed on the write at a position within its step
// (the first to the fifth), and the file locked by another program, from between two frames
// or from right after a write.
void Faults::faultWrites(sim::Host& host, int64_t frame, Situation now) {
    using Kind = sim::GameFolder::WriteFault;
    sim::GameFolder& folder = host.gameFolder();
    if (armedPosition_ > 0 && !folder.writeFaultArmed()) {
        ++writePositions_[static_cast<std::size_t>(armedPosition_ - 1)];
        count(armedKind_);
        armedPosition_ = 0;
    }
    // The lock lasts its stretch, however it began.
    if (folder.locked() && lockUntil_ < 0) lockUntil_ = frame + random_.between(30, 900);
    if (lockUntil_ >= 0 && frame >= lockUntil_) {
        folder.unlock();
        lockUntil_ = -1;
    }
    // Not in the step that changed the file by hand: the checks read the file after the step,
    // and nobody can read a locked one.
    const auto lockFor = [&](int64_t low, int64_t high) {
        if (!fileChanged_ && !folder.locked() && folder.lock()) {
            lockUntil_ = frame + random_.between(low, high);
            count(Fault::FileLocked);
        }
    };
    // One write fault at a time, on the write at its position in a step.
    const auto arm = [&](int position, Fault kind, Kind how, int count, const profile::FileFaults& disk = {}) {
        if (armedPosition_ > 0) return;
        armedPosition_ = position;
        armedKind_ = kind;
        folder.armWriteFault(position, how, count, disk);
    };
    // A position no fault has hit yet while there is one, the lowest first: an armed fault
    // waits for a step that reaches its position (the fifth, for a won level's new best), and
    // no other is armed meanwhile. Then any.
    const auto drawnPosition = [&] {
        const auto position = static_cast<int>(random_.between(1, kWritePositions));
        for (int unhit = 1; unhit <= kWritePositions; ++unhit) {
            if (writePositions_[static_cast<std::size_t>(unhit - 1)] == 0) return unhit;
        }
        return position;
    };

    if (!levelBegun_ && arranged_.lockFromStart) lockFor(300, 900);
    if (arranged_.lockAtWin && now == Situation::WonSequence) lockFor(30, 900);
    // A purchase's tier write refused, with the weapon's and the rollback's after it.
    if (!levelBegun_ && arranged_.rollbackFails) arm(2, Fault::WritesRefused, Kind::Refused, 3);
    // Every tier write refused, with the weapon's after it: the rollback goes through.
    if (refuseTiers_) arm(2, Fault::WritesRefused, Kind::Refused, 2);
    // Only a win reaches a step's fourth and fifth writes: while one has not been hit, every
    // win's wreck shot arms it.
    if (made_[static_cast<std::size_t>(Fault::WritesRefused)] && now == Situation::WonSequence) {
        for (int position = 4; position <= kWritePositions; ++position) {
            if (writePositions_[static_cast<std::size_t>(position - 1)] > 0) continue;
            arm(position, Fault::WritesRefused, Kind::Refused, 1);
            break;
        }
    }
    levelBegun_ = true;

    if (due(Fault::FileLocked, now) && !folder.locked()) {
        if (random_.percent(50)) {
            lockFor(30, 900);
        } else {
            arm(drawnPosition(), Fault::FileLocked, Kind::LockAfter, 1);
        }
    }
    if (due(Fault::WritesRefused, now)) {
        arm(drawnPosition(), Fault::WritesRefused, Kind::Refused, static_cast<int>(random_.between(1, 6)));
    }
    if (due(Fault::FileWriteFails, now)) {
        // A write, a flush or the replace fails on the disk, or a write comes up short.
        profile::FileFaults disk;
        switch (random_.below(4)) {
        case 0: disk.failWrite = 1; break;
        case 1: disk.failFlush = 1; break;
        case 2: disk.failRename = 1; break;
        default: disk.shortWrite = 1; break;
        }
        arm(drawnPosition(), Fault::FileWriteFails, Kind::Disk, 1, disk);
    }
}

void Faults::changed(Fault fault) {
    count(fault);
    fileChanged_ = true;
}

std::string Faults::awayFolder() const { return folder_ + ".away"; }

void Faults::restoreFolder() {
    if (fs::is_regular_file(folder_)) fs::remove(folder_);
    fs::rename(awayFolder(), folder_);
    folderBackAt_ = -1;
    fileChanged_ = true;
}

void Faults::calm(sim::Host& host) {
    plans_ = {};
    sim::World& world = host.world();
    for (bool models : {true, false}) setStalled(world, models, false);
    modelStallUntil_ = assetStallUntil_ = -1;
    world.entities().setSight(sim::Sight::ByDistance);
    sightFlapsUntil_ = badAnswersUntil_ = -1;
    world.combat().setRevivalDelay(sim::kRevivalFrames);
    world.combat().setControlDelay(sim::kControlFrames);
    if (mashUntil_ >= 0) {
        holdMashedKey(host, false);
        mashUntil_ = -1;
    }
    sim::GameFolder& folder = host.gameFolder();
    folder.failNextWrites(0);
    folder.disarmWriteFault();
    folder.unlock();
    armedPosition_ = 0;
    lockUntil_ = -1;
    profile::setFileFaults({});
    fileChanged_ = false;
    host.setFocus(sim::Host::Focus::Game);
    focusBackAt_ = -1;
    winCutShort_ = moduleReloadDue_ = false;
    if (folderBackAt_ >= 0) restoreFolder();
}

}  // namespace soak
