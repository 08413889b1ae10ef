#include "runtime/mod_state.h"

ModState mod;

void resetModState() { mod = ModState{}; }
