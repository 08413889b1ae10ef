#include "encounter/encounter_update.h"

// Placeholder until the encounter update is built.
void updateEncounter() {}
