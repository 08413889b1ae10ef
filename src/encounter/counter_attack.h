// The player's counter-attack and the missile sequences (salvos and counter-attacks).
#pragma once

// Launches the counter-attack when it is ready, or says what is missing.
void launchCounterAttack();
// One frame of the running missile sequence.
void stepMissileSequence();
// Ends the running sequence: the sight count starts again, a salvo run to its end counts
// as survived, and the armor shield drops. The sequence's frame stays where it stopped.
void endMissileSequence();
