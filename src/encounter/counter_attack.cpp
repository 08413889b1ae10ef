#include "encounter/counter_attack.h"

// Placeholders until the missile sequences are built: no attack is ever ready and no
// sequence runs.
void launchCounterAttack() {}
void stepMissileSequence() {}
