#include "runtime/script.h"

#include "encounter/counter_attack.h"
#include "encounter/encounter_update.h"
#include "encounter/level_start.h"
#include "encounter/respawn.h"
#include "menu/menu.h"
#include "runtime/keys.h"
#include "runtime/messages.h"
#include "runtime/mod_state.h"
#include "runtime/natives.h"
#include "runtime/random.h"
#include "runtime/restart.h"
#include "seam.h"
#include "settings/settings.h"

namespace {

constexpr uint32_t kProcessDetach = 0;
constexpr uint32_t kProcessAttach = 1;
constexpr int32_t kPadInputGroup = 2;
constexpr int32_t kPadAttackControl = 73;
constexpr int32_t kLeavingRespawnFadeInMs = 1000;

// The attack key within the lockout, or else the pad's attack control, which is read every
// frame outside the lockout: held, it requests the attack every frame.
bool attackRequested() {
    return keyAccepted(mod.attackKey) ||
           padControlValue(kPadInputGroup, kPadAttackControl) == kPadFullyPressed;
}

void refreshWorldView() {
    mod.playerPed = playerPedHandle();
    mod.playerPosition = entityPosition(mod.playerPed);
    mod.playerSpeed = entitySpeed(mod.playerPed);
    mod.targetVelocity = entityVelocity(mod.playerPed);
    mod.heliPosition = entityPosition(mod.heliVehicle);
}

}  // namespace

void moduleEntry(ModuleHandle module, uint32_t reason, bool freed) {
    if (reason == kProcessAttach) {
        // A load starts from the initial values, also when a host loads the module again.
        mod = ModState{};
        scriptRegister(module, scriptMain);
    } else if (reason == kProcessDetach && freed) {
        // Under the loader's lock: nothing but the unregistration.
        scriptUnregister(module);
    }
}

void scriptMain() {
    // Every start after the first is a game reload's: it begins clean, in its first frame.
    LeftBehind left;
    if (mod.scriptStarted) {
        left = resetForRestart();
        undoLeftBehind(left);
    }
    mod.scriptStarted = true;
    seedRandom(tickCount());
    loadMenuSettings();
    creditLeftWin(left);
    runFrameLoop();
}

void runFrameLoop() {
    for (;;) {
        runScriptFrame();
        scriptWait(0);
    }
}

void runScriptFrame() {
    if (mod.messageFramesLeft > 0) stepFloatingMessage();
    dispatchFrame();
}

void dispatchFrame() {
    if (keyAccepted(mod.openMenuKey)) {
        stampKeyTime();
        if (mod.encounterActive) {
            endEncounter();
            // The respawn's wait for control kept the screen black; nothing else fades it in.
            if (mod.playerDown) fadeScreenIn(kLeavingRespawnFadeInMs);
            showFloatingMessage("The insurgent seems to be leaving...", kMessageFrames, true);
        } else {
            loadMenuSettings();
            mod.instructionsShown = 0;
            mod.menuCursor = mod.highestOpenLevel;
            mod.menuOpen = mod.menuOpen ? 0 : 1;
        }
        stampKeyTime();
    }

    if (attackRequested()) {
        stampKeyTime();
        launchCounterAttack();
        stampKeyTime();
    }

    if (mod.menuOpen) runMenuFrame();

    if (mod.encounterActive) {
        refreshWorldView();
        if (mod.playerDown) {
            respawnAtCheckpoint();
            return;
        }
        if (mod.missileSequenceActive) stepMissileSequence();
        updateEncounter();
    }
}
