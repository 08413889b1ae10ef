// The player's counter-attack and the missile sequences (salvos and counter-attacks).
#pragma once

// Launches the counter-attack when it is ready (during a salvo's warning, with three salvos
// survived, in a vehicle), or says that the helicopter must be in sight.
void launchCounterAttack();
// One frame of the running missile sequence: missiles on frames 0, 20, 30, 35 and 40, a
// salvo's aim markers, a counter-attack's hit on frame 50, the end at 101.
void stepMissileSequence();
// Launches the sequence's next missile: a salvo's at the player, a counter-attack's at the
// helicopter. Waits frame by frame for the weapon's asset.
void launchMissile();
// Ends the running sequence: the sight count starts again, a salvo run to its end counts
// as survived, and the armor shield drops. The sequence's frame stays where it stopped.
void endMissileSequence();
