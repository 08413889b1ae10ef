// The player's counter-attack and the missile sequences (salvos and counter-attacks).
#pragma once

// Launches the counter-attack when it is ready, or says what is missing.
void launchCounterAttack();
// One frame of the running missile sequence.
void stepMissileSequence();
