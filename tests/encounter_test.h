// A plug-in in a simulated host with a level started the way a player starts one, and the
// few steps the encounter's tests take.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "encounter/level_start.h"
#include "plugin_test.h"
#include "runtime/random.h"
#include "runtime/script.h"
#include "seam.h"
#include "settings/settings.h"

constexpr int32_t kNumpad5 = 0x65;
constexpr int32_t kKeyLockoutFrames = 13;  // a little over 200 ms at 60 frames a second

// The host's hashes, as the host documents them.
constexpr uint64_t kCreateVehicle = 0xAF35D0D2583051B0;
constexpr uint64_t kSetEntityCoords = 0x06843DA7060A026B;
constexpr uint64_t kSetEntityCoordsNoOffset = 0x239A3351AC1DA385;
constexpr uint64_t kSetEntityHeading = 0x8E2530AA8ADA980E;
constexpr uint64_t kSetVehicleForwardSpeed = 0xAB54A438726D25D5;
constexpr uint64_t kGetEntityVelocity = 0x4805D2B1D8CF94A9;
constexpr uint64_t kGetEntityCoords = 0x3FEF770D40960D5A;
constexpr uint64_t kGetEntitySpeed = 0xD5037BA82E12416F;
constexpr uint64_t kHelicopterSetup = 0x1C99BB7B6E96D16F;
constexpr uint64_t kTaskHeliMission = 0xDAD029E187A2BEB4;
constexpr uint64_t kRequestModel = 0x963D27A58DF860AC;
constexpr uint64_t kHasModelLoaded = 0x98A4EB5D89A0C952;
constexpr uint64_t kGetDistanceBetweenCoords = 0xF1B760881820C952;
constexpr uint64_t kShootSingleBulletBetweenCoords = 0x867654CBC7606F2C;
constexpr uint64_t kDrawMarker = 0x28477EC23D892089;
constexpr uint64_t kApplyForceToEntity = 0xC5F68BE9613E2D18;
constexpr uint64_t kGetOffsetFromEntityInWorldCoords = 0x1899F328B0E12848;
constexpr uint64_t kGetModelDimensions = 0x03E8D3D5F549087A;
constexpr uint64_t kRequestWeaponAsset = 0x5443438F033E29C3;
constexpr uint64_t kHasWeaponAssetLoaded = 0x36E353271F0E90EE;
constexpr uint64_t kIsEntityDead = 0x5F9532F3B5CC2551;
constexpr uint64_t kPedSecondStateTest = 0x388A47C51ABDAC8E;
constexpr uint64_t kIsPlayerControlOn = 0x8A876A65283DD7D7;
constexpr uint64_t kRespawnFixedCallOne = 0xB4EC2312F4E5B1F1;
constexpr uint64_t kRespawnFixedCallTwo = 0x6D0858B8EDFD2B7D;
constexpr uint64_t kSetEntityInvincible = 0x3882114BDE571AD4;
constexpr uint64_t kExplodeVehicle = 0xBA71116ADF5B514C;
constexpr uint64_t kSetGameplayCoordHint = 0xD51ADCD2D8BC0FB3;
constexpr uint64_t kSetGameplayHintFov = 0x513403FB9C56211F;
constexpr uint64_t kSetTimeScale = 0x1D408577D440E81E;

constexpr int32_t kWarningCue = 101;
constexpr int32_t kHitCue = 102;
constexpr int32_t kCuesStopped = 0;
constexpr int32_t kPadPressed = 254;

// Level starts that the menu cannot ask for (an index above 5) run on a script of the test's
// own: the plug-in's start, with the level set before the level start.
inline int32_t scriptedLevel = 0;
inline void scriptStartingLevel() {
    seedRandom(tickCount());
    loadSettings();
    mod.currentLevel = scriptedLevel;
    startLevel();
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
        pressFor1Frame(kF9);
        mod.menuCursor = row;
        if (row >= 2) mod.weaponLevel = 2;
        host.runFrames(kKeyLockoutFrames);
        if (beforeSelect) beforeSelect();
        history.clear();
        recording = true;
        host.setKey(kNumpad5, true);
        runFrame();
        host.setKey(kNumpad5, false);
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
        host.runFrames(kKeyLockoutFrames);
        pressFor1Frame(kF9);
        host.runFrames(kKeyLockoutFrames);
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
            host.runFrames(kKeyLockoutFrames);
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
        host.setPadControl(kPadPressed);
        runFrame();
        host.setPadControl(0);
    }
    // The attack key held through one frame.
    void pressAttackKey() {
        host.setKey(kNumpad9, true);
        runFrame();
        host.setKey(kNumpad9, false);
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
        mod.armorLevel = 1;
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
