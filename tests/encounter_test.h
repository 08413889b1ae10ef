// A plug-in in a simulated host with a level started the way a player starts one, and the
// few steps the encounter's tests take.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "encounter/level_start.h"
#include "menu/menu.h"
#include "plugin_test.h"
#include "runtime/random.h"
#include "runtime/script.h"
#include "seam.h"
#include "settings/settings.h"
#include "virtual_keys.h"

// The host's hashes, as the host documents them.
const uint64_t kCreateVehicle = sim::nativeHash("createVehicle");
const uint64_t kSetEntityCoords = sim::nativeHash("setEntityCoords");
const uint64_t kSetEntityCoordsNoOffset = sim::nativeHash("setEntityCoordsNoOffset");
const uint64_t kSetEntityHeading = sim::nativeHash("setEntityHeading");
const uint64_t kSetVehicleForwardSpeed = sim::nativeHash("setVehicleForwardSpeed");
const uint64_t kGetEntityVelocity = sim::nativeHash("getEntityVelocity");
const uint64_t kGetEntityCoords = sim::nativeHash("getEntityCoords");
const uint64_t kGetEntitySpeed = sim::nativeHash("getEntitySpeed");
const uint64_t kHelicopterSetup = sim::nativeHash("helicopterSetup");
const uint64_t kTaskHeliMission = sim::nativeHash("taskHeliMission");
const uint64_t kRequestModel = sim::nativeHash("requestModel");
const uint64_t kHasModelLoaded = sim::nativeHash("hasModelLoaded");
const uint64_t kGetDistanceBetweenCoords = sim::nativeHash("getDistanceBetweenCoords");
const uint64_t kShootSingleBulletBetweenCoords = sim::nativeHash("shootSingleBulletBetweenCoords");
const uint64_t kDrawMarker = sim::nativeHash("drawMarker");
const uint64_t kApplyForceToEntity = sim::nativeHash("applyForceToEntity");
const uint64_t kGetOffsetFromEntityInWorldCoords = sim::nativeHash("getOffsetFromEntityInWorldCoords");
const uint64_t kGetModelDimensions = sim::nativeHash("getModelDimensions");
const uint64_t kRequestWeaponAsset = sim::nativeHash("requestWeaponAsset");
const uint64_t kHasWeaponAssetLoaded = sim::nativeHash("hasWeaponAssetLoaded");
const uint64_t kIsEntityDead = sim::nativeHash("isEntityDead");
const uint64_t kIsPlayerBeingArrested = sim::nativeHash("isPlayerBeingArrested");
const uint64_t kIsPlayerControlOn = sim::nativeHash("isPlayerControlOn");
const uint64_t kSetCameraHeading = sim::nativeHash("setGameplayCamRelativeHeading");
const uint64_t kSetCameraPitch = sim::nativeHash("setGameplayCamRelativePitch");
const uint64_t kSetEntityInvincible = sim::nativeHash("setEntityInvincible");
const uint64_t kExplodeVehicle = sim::nativeHash("explodeVehicle");
const uint64_t kSetGameplayCoordHint = sim::nativeHash("setGameplayCoordHint");
const uint64_t kSetGameplayHintFov = sim::nativeHash("setGameplayHintFov");
const uint64_t kSetTimeScale = sim::nativeHash("setTimeScale");

constexpr int32_t kCuesStopped = 0;

// Level starts that the menu cannot ask for (an index past the last level) run on a script
// of the test's own: the plug-in's start, with the level set before the level start.
inline int32_t scriptedLevel = 0;
inline void scriptStartingLevel() {
    seedRandom(tickCount());
    loadSettings();
    mod.currentLevel = scriptedLevel;
    startLevel();
    loadMenuSettings();
    runFrameLoop();
}

class EncounterTest : public PluginTest {
protected:
    // Every native call of the frames run through runFrame, kept while recording.
    std::vector<sim::LoggedCall> history;
    bool recording = false;

    void runFrame() {
        host.runFrame();
        if (recording) history.insert(history.end(), host.calls().begin(), host.calls().end());
    }
    void runFrames(int count) {
        for (int frame = 0; frame < count; ++frame) runFrame();
    }
    // Runs frames until done() holds, at most maxFrames; says whether it came.
    bool runUntil(const std::function<bool()>& done, int maxFrames = 5000) {
        for (int frame = 0; frame < maxFrames; ++frame) {
            if (done()) return true;
            runFrame();
        }
        return done();
    }

    // Selects the menu's row with the player in a vehicle (Level 3 and above with the
    // weapon tier they need) and runs until the level start has returned. The first frame
    // of the encounter has run then. Records the calls made meanwhile.
    // beforeSelect runs with the menu open, just before the row is selected.
    void startLevelFromMenu(int32_t row = 0, const std::function<void()>& beforeSelect = {}) {
        if (host.world().entities().vehicleOf(host.world().entities().playerPed()) == 0) host.world().entities().putPlayerInVehicle();
        host.pressFor1Frame(vk::F9);
        mod.menuCursor = row;
        if (row >= 2) mod.upgradeLevels[kWeaponUpgrade] = 2;
        host.runFrames(sim::kKeyLockoutFrames);
        if (beforeSelect) beforeSelect();
        history.clear();
        recording = true;
        host.setKey(vk::Numpad5, true);
        runFrame();
        host.setKey(vk::Numpad5, false);
        finishLevelStart();
    }

    // The level start with any level index, on the test's own script: loads the plug-in
    // afresh with that script; the start runs from the next frame (finishLevelStart).
    void loadScriptStartingLevel(int32_t level) {
        if (host.world().entities().vehicleOf(host.world().entities().playerPed()) == 0) host.world().entities().putPlayerInVehicle();
        scriptedLevel = level;
        host.load();
        host.loadScript(scriptStartingLevel);
        history.clear();
        recording = true;
    }

    // The menu key during the encounter abandons it, once the lockout of the last press
    // (stamped again when the level start returned) has passed, and passes again.
    void abandonEncounter() {
        host.tapKey(vk::F9);
        host.runFrames(sim::kKeyLockoutFrames);
    }

    // The level start ends its intro by setting the hint's field of view back to 1.0 and
    // returns on the next frame.
    void finishLevelStart() {
        const std::size_t fovs = host.world().records().hintFovs().size();
        ASSERT_TRUE(runUntil([&] { return host.world().records().hintFovs().size() >= fovs + 2; }, 3000));
        runFrame();
        recording = false;
    }

    // The recorded calls of one native, in order.
    std::vector<sim::LoggedCall> callsOf(uint64_t hash) const {
        std::vector<sim::LoggedCall> found;
        for (const sim::LoggedCall& call : history) {
            if (call.hash == hash) found.push_back(call);
        }
        return found;
    }
    // This frame's calls of one native.
    int countThisFrame(uint64_t hash) const {
        int count = 0;
        for (const sim::LoggedCall& call : host.calls()) count += call.hash == hash ? 1 : 0;
        return count;
    }
    const sim::LoggedCall* lastThisFrame(uint64_t hash) const {
        const sim::LoggedCall* last = nullptr;
        for (const sim::LoggedCall& call : host.calls()) {
            if (call.hash == hash) last = &call;
        }
        return last;
    }

    // A fresh Level 1 with the helicopter always in sight.
    void startLevelOne() {
        if (mod.encounterActive) {
            abandonEncounter();
        } else {
            host.runFrames(sim::kKeyLockoutFrames);
        }
        startLevelFromMenu(0);
        host.world().entities().setSight(sim::Sight::AlwaysClear);
    }

    // Missiles that fire at once (their asset already streamed) and harm nothing: for the
    // tests of the sequences rather than of their hits.
    void useReadyHarmlessMissiles() {
        host.world().combat().weaponAsset("WEAPON_VEHICLE_ROCKET").loadFrames = 0;
        host.world().combat().setHarmlessMissiles(true);
    }

    // The pad's attack control pressed through one frame: read every frame, outside the
    // key lockout.
    void pressPadAttack() {
        host.setPadControl(kPadFullyPressed);
        runFrame();
        host.setPadControl(0);
    }
    // The attack key held through one frame.
    void pressAttackKey() {
        host.setKey(vk::Numpad9, true);
        runFrame();
        host.setKey(vk::Numpad9, false);
    }

    // Runs until a salvo's warning stands at this frame: the next frame's press sees it.
    bool runUntilWarningAt(int32_t frame, int maxFrames = 1000) {
        return runUntil([frame] {
            return mod.missileSequenceActive != 0 && mod.counterAttackSequence == 0 && mod.missileSequenceFrame == frame;
        }, maxFrames);
    }
    bool runUntilSequenceEnds(int maxFrames = 400) {
        return runUntil([] { return mod.missileSequenceActive == 0; }, maxFrames);
    }
    // The won sequence and the other ends of an encounter.
    bool runUntilEncounterEnds(int maxFrames = 400) {
        return runUntil([] { return !mod.encounterActive; }, maxFrames);
    }

    // A draw of the plug-in's generator from this state.
    static int32_t drawFrom(uint32_t state) { return static_cast<int32_t>(((state * 214013u + 2531011u) >> 16) & 0x7FFFu); }
    // The first generator state whose next draw leaves this remainder by 40: the armor
    // shield's roll.
    static uint32_t stateDrawing(int32_t remainder) {
        uint32_t state = 0;
        while (drawFrom(state) % 40 != remainder) ++state;
        return state;
    }
    // A salvo starts on the next frame, with the shield up or not.
    void startSalvoNextFrame(bool shielded) {
        mod.heliSightFrames = 300;
        mod.upgradeLevels[kArmorUpgrade] = 1;
        mod.randomState = stateDrawing(shielded ? 0 : 39);
    }

    // A key of the settings file as the plug-in reads it; 4294967295 when absent.
    uint32_t stored(const char* key) const { return readProfileInt("Rotorstrike", key, -1, ".\\Rotorstrike.ini"); }

    sim::Entity& player() { return host.world().entities().player(); }
    sim::Entity& playerVehicle() { return *host.world().entities().find(host.world().entities().vehicleOf(host.world().entities().playerPed())); }
    sim::Entity* helicopter() { return host.world().entities().find(mod.heliVehicle); }
    int cuesThisFrame(int32_t cue) const {
        int count = 0;
        for (const sim::CueEvent& event : host.cues()) count += event.frame == host.frame() && event.cue == cue ? 1 : 0;
        return count;
    }
    // The HUD line that starts with these words this frame, or "".
    std::string hudLine(const std::string& start) const {
        for (const sim::ScreenText& text : host.screen().texts) {
            if (text.text.rfind(start, 0) == 0) return text.text;
        }
        return "";
    }
};
