// The plug-in's one mod state: every field with its initial value at module load.
// Only the script fibre touches it.
#pragma once

#include <array>
#include <cstdint>

#include "menu/menu_rows.h"
#include "rules.h"
#include "settings/settings_file.h"

// A host 3-vector: three floats, each in its own 8-byte slot, as the host returns them.
struct Vector3 {
    alignas(8) float x = 0.0f;
    alignas(8) float y = 0.0f;
    alignas(8) float z = 0.0f;
};
static_assert(sizeof(Vector3) == 24, "a 3-vector keeps the host's 24-byte layout");

using HostHandle = int32_t;  // 0: none
using HostHash = uint32_t;   // a model or weapon hash

// Room for the longest text the plug-in shows; longer texts are cut, never overflowed.
constexpr int kTextCapacity = 256;
// The most vehicles the armor shield remembers between two drops (a shield is raised once a
// salvo; a salvo cut short by a death raises it on the next one without a drop between).
constexpr int kShieldedVehiclesMax = 8;

// The settings code's rare paths, each counted when it runs, so that a soak can prove it ran.
enum SettingsProbe {
    ProbeUnreadableLoad,        // a load kept the values last stored
    ProbeWithheldBeforeRead,    // progress not written: the file was never read
    ProbeRollbackWrittenLater,  // a pending rollback written at last
    ProbeBestReadAgain,         // a best unknown at the level's start read at its end
    ProbeResultUncompared,      // a result shown without a best to compare with
    ProbePurchaseReloaded,      // a purchase not stored, undone by a load
    ProbeUnsavedReported,       // the player told that progress could not be saved
    ProbeWinLoadAfterLockedStart,  // a won level loads the file that no load could read before
    kSettingsProbes
};

// What the plug-in last asked of the host's time, screen and sound. The host keeps all three
// across a game reload, which cuts short whatever sequence asked for them: the restarted
// script undoes what was left (runtime/restart.h). Kept by the wrappers that ask.
struct HostEffects {
    bool timeScaleChanged = false;  // the last time-scale call set a scale other than 1.0
    bool screenFadedOut = false;    // the last fade was a fade-out
    bool cueStarted = false;        // the last cue call started a cue (rather than stopping them)...
    uint32_t cueStartTick = 0;      // ...at this tick count
};

struct ModState {
    // The script function has started since the module loaded: a start after it is a restart
    // (the game reloaded), which begins clean.
    bool scriptStarted = false;
    HostEffects hostEffects;

    // Settings and progress, loaded from the settings file.
    int32_t openMenuKey = 0;        // the key that opens the menu, or leaves an encounter
    int32_t attackKey = 0;          // the key that strikes back
    int32_t checkpointEnabled = 0;  // nonzero: a start and each strike save a checkpoint
    int32_t highestOpenLevel = 0;   // the highest level open, 0 to kLastLevel
    // Each upgrade's tier, kFirstTier to kTopTier, by the upgrade table's rows: the armor's
    // (armorLevel) and the weapon's (weaponLevel).
    std::array<int32_t, kUpgrades> upgradeLevels = [] {
        std::array<int32_t, kUpgrades> tiers{};
        tiers.fill(kFirstTier);
        return tiers;
    }();
    int32_t upgradePoints = 0;      // the balance to spend, 0 to kMaxUpgradePoints
    // What the settings file holds as far as the plug-in knows: each loaded key's value as it
    // was last read from the file or written to it. A load that cannot read the file takes
    // these instead of the defaults. Meaningful once settingsRead is set.
    uint32_t storedSettings[kSettingsKeys] = {};
    // A load has read the file, or found it missing, since the module loaded. Until then no
    // progress is written: the values in memory may be defaults, not the player's.
    bool settingsRead = false;
    // A purchase's rollback that could not be written: the key's stored value is what the
    // file must get back. It is written before any other progress and before a load's reads.
    bool rollbackPending[kSettingsKeys] = {};
    // How often each rare path of the settings code ran.
    uint32_t settingsProbes[kSettingsProbes] = {};

    // Menu.
    int32_t menuOpen = 0;           // the menu is drawn and takes its keys
    int32_t instructionsShown = 0;  // the instructions panel is drawn beside the menu
    int32_t menuCursor = 0;         // the highlighted row of kMenuTable
    // Per row of kMenuTable, whether the cursor may stop on it (the menu sets them after a load).
    std::array<int32_t, kMenuRows> menuItemEnabled = kInitialMenuRowFlags;
    uint32_t lastKeyTime = 0;       // the tick count of the last accepted press (the keys' lockout)

    // Floating message.
    char messageText[kTextCapacity] = {};  // what it says
    float messageX = 0.0f;                 // where it stands on the screen
    float messageY = 0.0f;
    int32_t messageAlpha = 0;              // its strength, 0 to 255
    int32_t messageFramesLeft = 0;         // frames still to show; 0: none shown
    int32_t messageTotalFrames = 0;        // the frames it was shown for
    bool messageRising = false;            // it pops up, rises and fades (else it stands still)
    float messageRiseSpeed = 0.0f;         // how fast it rises this frame

    // The encounter's view of the world.
    bool encounterActive = false;  // a helicopter hunts the player
    int32_t currentLevel = 0;      // the level played (after a win, the next one)
    HostHandle playerPed = 0;      // the player's ped
    Vector3 playerPosition;        // the player's position, sampled at the start of the frame
    float playerSpeed = 0.0f;      // the player's speed, likewise
    Vector3 targetVelocity;        // the velocity last sampled: the player's, or the helicopter's for a strike
    HostHandle heliVehicle = 0;    // the helicopter the encounter holds
    HostHandle heliPilot = 0;      // its pilot
    Vector3 heliPosition;          // the helicopter's position, sampled at the start of the frame
    float heliDistance = 0.0f;     // from the player to the helicopter, on the ground plane
    HostHash missileWeapon = 0;    // the missiles' weapon

    // Encounter progress.
    float heliHealth = 0.0f;      // the helicopter's health; the level is won at 0
    float score = 0.0f;           // the running score
    float levelHighScore = 0.0f;  // the level's best, as last read
    // The level's best could be read at its start (the sixth level keeps none): only then is
    // the score compared with it, and a new best stored.
    bool levelHighScoreKnown = false;
    int32_t outOfSightFrames = 0;  // net frames out of sight; the helicopter is lost after 400
    int32_t heliSightFrames = 0;   // steps in sight since the last salvo (negative after a respawn)
    int32_t playerDown = 0;        // the player died and waits for the respawn

    // Missile sequence and counter-attack.
    int32_t missileSequenceActive = 0;  // a salvo or a strike is under way
    int32_t missileSequenceFrame = 0;   // its frame: negative in a salvo's warning, 0 at its first missile
    int32_t counterAttackSequence = 0;  // the sequence is the player's strike, not a salvo
    int32_t missilesLaunched = 0;       // missiles fired so far in the sequence
    Vector3 missileTargets[kSalvoMissiles];  // the salvo's aim points, in launch order
    int32_t attacksSurvived = 0;        // salvos survived since the last strike or respawn
    float attackPower = 0.0f;           // the strike's charge, one a frame while it is ready
    float lastStrikeDamage = 0.0f;      // the last strike's damage, shown under the bar
    int32_t armorShieldActive = 0;      // the armor shield is up for this salvo
    // Every vehicle the shield made invincible since its last drop: one the player left during
    // the salvo, or died in, must be made vulnerable at the drop too.
    HostHandle shieldedVehicles[kShieldedVehiclesMax] = {};
    int32_t shieldedVehicleCount = 0;  // how many of shieldedVehicles are in use

    // Checkpoint.
    int32_t checkpointSaved = 0;           // a checkpoint exists for this encounter
    HostHash checkpointVehicleModel = 0;   // the model of the vehicle the player then drove
    Vector3 checkpointPosition;            // where it was
    float checkpointHeading = 0.0f;        // its heading, degrees
    float checkpointSpeed = 0.0f;          // its speed

    // The one random generator's state (seeded with the tick count at script start).
    uint32_t randomState = 0;
};

extern ModState mod;

// The tiers whose effects the encounter reads, by their names: rows kArmorUpgrade and
// kWeaponUpgrade of upgradeLevels (loaded and saved with every other upgrade's, by the table).
inline int32_t armorLevel() { return mod.upgradeLevels[kArmorUpgrade]; }
inline int32_t weaponLevel() { return mod.upgradeLevels[kWeaponUpgrade]; }
