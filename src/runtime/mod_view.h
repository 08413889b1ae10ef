// The mod state as what observes the plug-in from outside reads it (the simulated host's
// reports, the soak's checks): read-only.
#pragma once

#include "runtime/mod_state.h"

inline const ModState& modView() { return mod; }
