#include "encounter/level_start.h"

#include "runtime/mod_state.h"

// Placeholder until the level start is built: forgets the helicopter and its pilot without
// handing them back to the host.
void releaseEncounter() {
    mod.heliPilot = 0;
    mod.heliVehicle = 0;
    mod.encounterActive = false;
}

// Placeholder until the level start is built: no level starts.
void startLevel() {}
