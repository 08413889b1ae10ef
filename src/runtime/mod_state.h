// The plug-in's one mod state: every field with its initial value at module load.
// Only the script fibre touches it.
#pragma once

#include <cstdint>

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
constexpr int kMenuRows = 11;
constexpr int kSalvoMissiles = 5;
// The most vehicles the armor shield remembers between two drops (a shield is raised once a
// salvo; a salvo cut short by a death raises it on the next one without a drop between).
constexpr int kShieldedVehiclesMax = 8;
// The keys a settings load reads (settings/settings.cpp names them).
constexpr int kSettingsKeys = 7;

// The settings code's rare paths, each counted when it runs, so that a soak can prove it ran.
enum SettingsProbe {
    ProbeUnreadableLoad,        // a load kept the values last stored
    ProbeWithheldBeforeRead,    // progress not written: the file was never read
    ProbeRollbackWrittenLater,  // a pending rollback written at last
    ProbeBestReadAgain,         // a best unknown at the level's start read at its end
    ProbeResultUncompared,      // a result shown without a best to compare with
    ProbePurchaseReloaded,      // a purchase not stored, undone by a load
    ProbeUnsavedReported,       // the player told that progress could not be saved
    kSettingsProbes
};

struct ModState {
    // Settings and progress, loaded from the settings file.
    int32_t openMenuKey = 0;
    int32_t attackKey = 0;
    int32_t checkpointEnabled = 0;
    int32_t highestOpenLevel = 0;
    int32_t weaponLevel = 1;
    int32_t armorLevel = 1;
    int32_t upgradePoints = 0;
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
    int32_t menuOpen = 0;
    int32_t instructionsShown = 0;
    int32_t menuCursor = 0;
    int32_t menuItemEnabled[kMenuRows] = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    uint32_t lastKeyTime = 0;

    // Floating message.
    char messageText[kTextCapacity] = {};
    float messageX = 0.0f;
    float messageY = 0.0f;
    int32_t messageAlpha = 0;
    int32_t messageFramesLeft = 0;
    int32_t messageTotalFrames = 0;
    bool messageRising = false;
    float messageRiseSpeed = 0.0f;

    // The encounter's view of the world.
    bool encounterActive = false;
    int32_t currentLevel = 0;
    HostHandle playerPed = 0;
    Vector3 playerPosition;
    float playerSpeed = 0.0f;
    Vector3 targetVelocity;
    HostHandle heliVehicle = 0;
    HostHandle heliPilot = 0;
    Vector3 heliPosition;
    float heliDistance = 0.0f;
    HostHash missileWeapon = 0;

    // Encounter progress.
    float heliHealth = 0.0f;
    float score = 0.0f;
    float levelHighScore = 0.0f;
    // The level's best could be read at its start (the sixth level keeps none): only then is
    // the score compared with it, and a new best stored.
    bool levelHighScoreKnown = false;
    int32_t outOfSightFrames = 0;
    int32_t heliSightFrames = 0;
    int32_t playerDown = 0;

    // Missile sequence and counter-attack.
    int32_t missileSequenceActive = 0;
    int32_t missileSequenceFrame = 0;
    int32_t counterAttackSequence = 0;
    int32_t missilesLaunched = 0;
    Vector3 missileTargets[kSalvoMissiles];
    int32_t attacksSurvived = 0;
    float attackPower = 0.0f;
    float lastStrikeDamage = 0.0f;
    int32_t armorShieldActive = 0;
    // Every vehicle the shield made invincible since its last drop: one the player left during
    // the salvo, or died in, must be made vulnerable at the drop too.
    HostHandle shieldedVehicles[kShieldedVehiclesMax] = {};
    int32_t shieldedVehicleCount = 0;

    // Checkpoint.
    int32_t checkpointSaved = 0;
    HostHash checkpointVehicleModel = 0;
    Vector3 checkpointPosition;
    float checkpointHeading = 0.0f;
    float checkpointSpeed = 0.0f;

    // The one random generator's state (seeded with the tick count at script start).
    uint32_t randomState = 0;
};

extern ModState mod;
