// One frame of a running encounter: HUD, sight, score, pursuit, outcome.
#pragma once

void updateEncounter();
