#include "checks.h"

#include <algorithm>
#include <iterator>

#include "autopilot.h"
#include "profile_format.h"
#include "settings/settings_file.h"
#include "target.h"

namespace soak {

namespace {

constexpr const char* kCheckNames[] = {"mod state invariants", "natives known", "no stray helicopter held",
                                       "handed back at the end", "shield down at a drop and the end",
                                       "file whole after a write",
                                       "progress never back", "none lost untold", "waits end",
                                       "settled after the level", "probes seen as run",
                                       "clean after a restart", "no handle from before a reload",
                                       "a win cut short credited once", "keys without the focus do nothing",
                                       "unregistered at an unload"};
static_assert(std::size(kCheckNames) == kCheckKinds, "a name for each check");

int progressKeyOf(const std::string& key) {
    for (std::size_t index = 0; index < kProgressKeys; ++index) {
        if (key == kProgressKeyNames[index]) return static_cast<int>(index);
    }
    return -1;
}

// What a write of this value gives the key, as the plug-in reads it back.
int64_t valueWritten(std::size_t key, const std::string& value) {
    return progressOf("[" + std::string(kSettingsSection) + "]\r\n" + kProgressKeyNames[key] + "=" + value + "\r\n")[key];
}

bool isHelicopter(const sim::World& world, const sim::Entity& entity) {
    const sim::Model* model = world.entities().findModel(entity.model);
    return model != nullptr && model->topSpeed > 0.0f;
}

// Where a file means otherwise than the file ours would have written: the first entry that
// differs. Empty when they mean the same.
std::string meaningProblem(const std::string& file, const std::string& ours) {
    const std::vector<std::string> theirs = profile::meaningOf(file), expected = profile::meaningOf(ours);
    if (theirs == expected) return {};
    std::size_t at = 0;
    while (at < theirs.size() && at < expected.size() && theirs[at] == expected[at]) ++at;
    const auto entry = [&](const std::vector<std::string>& entries) {
        return at < entries.size() ? "\"" + entries[at].substr(0, 60) + "\"" : std::string("nothing");
    };
    return "the file does not mean what the write should have made of it: entry " + std::to_string(at + 1) + " is " +
           entry(theirs) + " where ours would be " + entry(expected);
}

}  // namespace

const char* checkName(Check check) { return kCheckNames[static_cast<std::size_t>(check)]; }

void Checks::attach(sim::Host& host) {
    folder_ = &host.gameFolder();
    owed_ = {};
    host.setProfileObserver([this](const sim::ProfileCall& call) { watchProfileCall(call); });
    nativeCalls_ = host.nativeCalls();
    wasActive_ = wasShielded_ = false;
    reloadsSeen_ = host.reloads();
    lastRow_ = -1;
    probes_.attach();
    fileChangedByHand();
}

// What a write of key=value into section makes of the file, by our profile code.
FileBytes Checks::writtenByUs(const FileBytes& before, const sim::ProfileCall& call) {
    profile::Edit edit = profile::writeString(before.value_or(""), call.section, call.key, call.value);
    return edit.changed ? FileBytes(std::move(edit.bytes)) : before;
}

// While another program holds the file, no one else can read it, nor change it.
FileBytes Checks::fileNow() const { return folder_ != nullptr && folder_->locked() ? file_ : readFileBytes(settingsFile_); }

void Checks::fail(const std::string& what) {
    if (problem_.empty()) problem_ = what;
}

void Checks::fileChangedByHand() {
    file_ = fileNow();
    // A file made afresh is made by the plug-in's writes alone, until a hand touches it.
    madeByWrites_ = file_ ? std::nullopt : std::optional<std::string>("");
    const Progress now = progressOf(file_);
    for (std::size_t key = 0; key < kProgressKeys; ++key) editedByHand_[key] = editedByHand_[key] || now[key] != progress_[key];
    progress_ = now;
}

void Checks::watchProfileCall(const sim::ProfileCall& call) {
    probes_.profileCall(call);
    const int key = progressKeyOf(call.key);
    if (call.kind == sim::ProfileCall::Kind::Read) {
        // A read of a locked file gives the default, not what the file holds.
        if (key >= 0 && !folder_->locked()) readThisFrame_[static_cast<std::size_t>(key)] = true;
        return;
    }
    if (!call.write()) return;
    FileBytes after = fileNow();
    const bool written = call.result != 0;
    // The system's functions write the whole file anew: it must mean what ours would have
    // made of it; ours change the key's line and no other.
    const std::string problem = !target().systemProfileFunctions ? wholeFileProblem(file_, after, call.section, call.key, call.value, written)
                                : !written                       ? (file_ == after ? "" : "a failed write changed the file")
                                : !after                         ? "a write reported success, but there is no file"
                                : meaningProblem(*after, writtenByUs(file_, call).value_or(""));
    ran(Check::FileWhole);
    if (!problem.empty()) fail("the write of " + call.key + "=" + call.value + ": " + problem);
    // A write the lock refused fails as the system refuses a file another program holds.
    const std::string& error = folder_->lastWriteError();
    if (!written && folder_->locked() && error != sim::GameFolder::kRefusedOnPurpose &&
        error.find(target().lockedWriteError) == std::string::npos) {
        fail("the write of " + call.key + "=" + call.value + " to the locked file failed otherwise: " + error);
    }
    // A file made by writes alone is the same byte for byte, whichever functions wrote it.
    if (madeByWrites_ && written) {
        madeByWrites_ = writtenByUs(madeByWrites_, call).value_or("");
        if (after != madeByWrites_) fail("the write of " + call.key + "=" + call.value + " made another file than ours would");
    }
    file_ = std::move(after);
    written_ = true;
    if (key < 0) return;
    const auto index = static_cast<std::size_t>(key);
    const int64_t value = valueWritten(index, call.value);
    // What a rollback owes is written before any other progress.
    if (owed_[index] && value == *owed_[index]) {
        if (call.result != 0) {
            // Written back: what follows in this frame is judged from there.
            progress_[index] = *owed_[index];
            owed_[index].reset();
        }
        return;
    }
    if (std::any_of(owed_.begin(), owed_.end(), [](const auto& owed) { return owed.has_value(); })) {
        fail("progress written before what a rollback owes: " + call.key + "=" + call.value);
    }
    if (!meant_[index] && value != progress_[index]) meant_[index] = value;
}

void Checks::afterFrame(const sim::Host& host, const Faults& faults) {
    if (host.nativeCalls() > nativeCalls_) ran(Check::NativesKnown);
    nativeCalls_ = host.nativeCalls();
    const ModState* state = target().pluginState;
    if (state != nullptr) checkModState(*state);

    // The frame just run was a restarted script's first.
    const bool restarted = host.reloads() != reloadsSeen_;
    reloadsSeen_ = host.reloads();
    checkLifecycle(host, faults, restarted);
    probes_.afterFrame(host, restarted);
    checkProgress();
    // A key the plug-in read is in step with the file again (once this frame's writes are judged).
    for (std::size_t key = 0; key < kProgressKeys; ++key) {
        if (readThisFrame_[key]) editedByHand_[key] = false;
    }
    readThisFrame_ = {};

    const bool ended = state != nullptr && wasActive_ && !state->encounterActive;
    wasActive_ = state != nullptr && state->encounterActive;
    checkHeld(host.world(), state, ended);

    ran(Check::WaitsEnd);
    // The respawn follows once the host has revived the player and given control back.
    const sim::World& world = host.world();
    const bool respawnDue = state != nullptr && state->encounterActive && state->playerDown != 0 && state->checkpointSaved != 0 &&
                            !world.entities().player().dead && world.combat().playerControl();
    respawnDueFrames_ = respawnDue ? respawnDueFrames_ + 1 : 0;
    if (respawnDueFrames_ > kLongestWait) {
        fail("the player has been alive and in control for " + std::to_string(respawnDueFrames_) +
             " frames, and the respawn has not come");
    }
    const int64_t waited = host.frame() - faults.lastDispatchFrame();
    if (waited > kLongestWait && faults.framesSinceStall(host) > kLongestWait) {
        fail("the plug-in has waited inside a frame for " + std::to_string(waited) + " frames, " +
             std::to_string(faults.framesSinceStall(host)) + " of them after the last stall");
    }
}

void Checks::checkLifecycle(const sim::Host& host, const Faults& faults, bool restarted) {
    const sim::Records& records = host.world().records();
    const sim::Screen& screen = host.screen();
    if (restarted) {
        ran(Check::RestartClean);
        const bool hintNormal = records.hintFovs().empty() || records.hintFovs().back().value == 1.0f;
        const bool fadedIn = records.fades().empty() || records.fades().back().fadeIn;
        if (records.timeScale() != 1.0f || !hintNormal || !fadedIn) {
            fail("the restarted script's first frame left the time scale at " + std::to_string(records.timeScale()) +
                 (hintNormal ? "" : ", the hint's field of view changed") + (fadedIn ? "" : ", the screen faded out"));
        }
    }
    if (host.reloads() > 0) {
        ran(Check::FreshHandles);
        if (!host.staleHandles().empty()) fail("after a reload the plug-in passed a handle from before it: " + host.staleHandles().front());
    }
    // A result shows once for each level played: a restart credits a win cut short at once.
    const bool result = screen.findText(kResult) != nullptr;
    if (restarted && faults.winCutShort()) {
        ran(Check::WinCredited);
        if (!result) fail("a win cut short by a reload was not credited in the restart's first frame");
    }
    if (result && !resultShown_) {
        if (!encounterSinceResult_) fail("a result shown again with no level played since the last");
        encounterSinceResult_ = false;
    }
    resultShown_ = result;
    encounterSinceResult_ = encounterSinceResult_ || encounterRuns(host);
    // Without the focus no key acts: the menu stays as it was (between two frames of the loop:
    // a level chosen before keeps the script, and the menu off the screen, in its waits), no
    // level starts, none is left (its message shows from the frame after the key's), and only
    // the pad (the host's) strikes.
    const int row = autopilot::highlightedRow(screen);
    const bool dispatched = faults.lastDispatchFrame() == host.frame();
    const bool leaving = screen.findText("The insurgent seems to be leaving...") != nullptr;
    const bool away = host.focus() != sim::Host::Focus::Game && !restarted;
    // Keys read while the game still had the focus (it went only after the script's turn)
    // may act: a level starts in their frame, the highlight moves and a leaving shows in the
    // frame after.
    const bool granted = host.focusGrantedFrame() == host.frame();
    if (away || awayBefore_) {
        ran(Check::KeysNeedFocus);
        const bool started = !records.fades().empty() && records.fades().back().frame == host.frame() &&
                             !records.fades().back().fadeIn && records.fades().back().durationMs == 200;
        bool struck = false;
        for (const sim::CueEvent& cue : host.cues()) struck = struck || (cue.frame == host.frame() && cue.cue == 0);
        const char* acted = awayBefore_ && !grantedBefore_ && leaving && !leavingShown_ ? "a level was left"
                            : !away                                  ? nullptr
                            : row != lastRow_ && dispatched && dispatchedBefore_ && !grantedBefore_ ? "the menu's highlight moved, or the menu opened or closed"
                            : started && !granted                               ? "a level started"
                            : struck && host.padControl() != kPadFullyPressed        ? "a strike came without the pad"
                                                                                : nullptr;
        if (acted != nullptr) fail(std::string("while another program had the focus, ") + acted);
    }
    awayBefore_ = away;
    grantedBefore_ = granted;
    lastRow_ = row;
    leavingShown_ = leaving;
    dispatchedBefore_ = dispatched;
}

void Checks::unloaded(const sim::Host& host) {
    ran(Check::Unregistered);
    if (host.registrations() != 0) fail("the module was freed with its script still registered");
}

void Checks::checkProgress() {
    // The player was told in this frame that progress could not be saved.
    const bool told = probes_.toldUnsaved();
    if (written_) {
        written_ = false;
        const Progress now = progressOf(file_);
        ran(Check::NoGoingBack);
        // Points spent without the tier, or a tier without its points, the player told: a
        // rollback that could not be written, owed until it is.
        Progress judged = now;
        bool byHand = editedByHand_[kPointsAt], tiersKept = true, noTierLost = true;
        for (int32_t upgrade = 0; upgrade < kUpgrades; ++upgrade) {
            const std::size_t tier = tierAt(upgrade);
            byHand = byHand || editedByHand_[tier];
            tiersKept = tiersKept && now[tier] == progress_[tier];
            noTierLost = noTierLost && now[tier] >= progress_[tier];
        }
        const bool tierGained = !tiersKept && noTierLost;
        if (told && !byHand &&
            ((now[kPointsAt] < progress_[kPointsAt] && tiersKept) || (now[kPointsAt] == progress_[kPointsAt] && tierGained))) {
            const auto owe = [&](std::size_t key) {
                if (now[key] == progress_[key]) return;
                owed_[key] = progress_[key];
                judged[key] = progress_[key];
            };
            owe(kPointsAt);
            for (int32_t upgrade = 0; upgrade < kUpgrades; ++upgrade) owe(tierAt(upgrade));
        }
        const std::string problem = backwardsProblem(progress_, judged, editedByHand_);
        if (!problem.empty()) fail("progress: " + problem);
        ran(Check::NoneLostUntold);
        for (std::size_t key = 0; key < kProgressKeys; ++key) {
            if (!meant_[key] || editedByHand_[key] || now[key] == *meant_[key] || told) continue;
            fail(std::string("the file did not get ") + kProgressKeyNames[key] + "=" + std::to_string(*meant_[key]) +
                 ", and the player was not told");
        }
        progress_ = now;
    }
    meant_ = {};
}

void Checks::checkModState(const ModState& state) {
    ran(Check::ModState);
    if (state.heliPilot != 0 && state.heliVehicle == 0) fail("a pilot is held without its helicopter");
    if (!state.encounterActive && (state.heliVehicle != 0 || state.heliPilot != 0)) fail("handles are held with no encounter running");
    if (state.missileSequenceActive != 0 && (state.missileSequenceFrame < -50 || state.missileSequenceFrame > 101)) {
        fail("the missile sequence is at frame " + std::to_string(state.missileSequenceFrame));
    }
    if (state.missileSequenceActive != 0 && (state.missilesLaunched < 0 || state.missilesLaunched > kSalvoMissiles)) {
        fail(std::to_string(state.missilesLaunched) + " missiles launched in one sequence");
    }
    for (int32_t upgrade = 0; upgrade < kUpgrades; ++upgrade) {
        const int32_t tier = state.upgradeLevels[upgrade];
        if (tier < kFirstTier || tier > kTopTier) fail(std::string(upgradeTable[upgrade].settingsKey) + " tier out of range: " + std::to_string(tier));
    }
    if (state.upgradePoints < 0 || state.upgradePoints > kMaxUpgradePoints) fail("upgrade points out of range: " + std::to_string(state.upgradePoints));
    if (state.highestOpenLevel < 0 || state.highestOpenLevel > kLastLevel) fail("open levels out of range: " + std::to_string(state.highestOpenLevel));
}

// The script holds its helicopter and its pilot, the ones its state names (where it is in
// view), and no other; when an encounter has ended, nothing.
void Checks::checkHeld(const sim::World& world, const ModState* state, bool encounterEnded) {
    ran(Check::HelicoptersHeld);
    int helicopters = 0, pilots = 0;
    for (const int32_t handle : world.entities().heldByScript()) {
        const sim::Entity& entity = *world.entities().find(handle);
        const bool helicopter = isHelicopter(world, entity);
        const bool pilot = entity.kind == sim::EntityKind::Ped;
        helicopters += helicopter ? 1 : 0;
        pilots += pilot ? 1 : 0;
        if (state != nullptr && ((helicopter && handle != state->heliVehicle) || (pilot && handle != state->heliPilot))) {
            fail("a " + std::string(pilot ? "pilot" : "helicopter") + " the plug-in no longer names is still held");
        }
    }
    if (helicopters > 1 || pilots > 1) {
        fail("the script holds " + std::to_string(helicopters) + " helicopters and " + std::to_string(pilots) + " pilots");
    }
    // Only the shield makes a vehicle other than the helicopter invincible: once it drops, and
    // when the encounter ends, none may be left so, whichever vehicle the player uses now.
    const bool dropped = state != nullptr && wasShielded_ && state->armorShieldActive == 0;
    wasShielded_ = state != nullptr && state->armorShieldActive != 0;
    if (encounterEnded) {
        if (state->armorShieldActive != 0) fail("the encounter ended with the shield flag set");
        checkEnded(world, "the encounter ended");
    } else if (dropped) {
        checkShieldDown(world, "the shield dropped");
    }
}

void Checks::checkEnded(const sim::World& world, const std::string& when) {
    ran(Check::HandedBack);
    for (const int32_t handle : world.entities().heldByScript()) fail(when + " with entity " + std::to_string(handle) + " still held");
    checkShieldDown(world, when);
}

void Checks::checkShieldDown(const sim::World& world, const std::string& when) {
    ran(Check::ShieldDown);
    for (const auto& [handle, entity] : world.entities().all()) {
        if (entity.kind == sim::EntityKind::Vehicle && !isHelicopter(world, entity) && entity.invincible) {
            fail(when + " with vehicle " + std::to_string(handle) +
                 (handle == world.entities().vehicleOf(world.entities().playerPed()) ? " (the player's)" : "") + " still invincible");
        }
    }
}

void Checks::probesAgree(const ProbeCounts& seen, const ProbeCounts& plugin) {
    ran(Check::ProbesSeen);
    for (int probe = 0; probe < kSettingsProbes; ++probe) {
        const auto index = static_cast<std::size_t>(probe);
        if (!probeSeen(probe) || (seen[index] > 0) == (plugin[index] > 0)) continue;
        fail(std::string("the host saw \"") + probeName(probe) + "\" " + std::to_string(seen[index]) +
             " times in the level, and the plug-in ran it " + std::to_string(plugin[index]) + " times");
    }
}

void Checks::settled(const sim::Host& host, bool yes, const std::string& how) {
    ran(Check::Settled);
    if (!yes) fail("the plug-in did not settle after the level: " + how);
    if (yes) checkEnded(host.world(), "the level settled");
}

}  // namespace soak
