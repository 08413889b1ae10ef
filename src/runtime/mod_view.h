// The mod state as seen from outside the plug-in: read-only. The reports that need the
// plug-in's own figures (the timeline, the screenshots' triggers) and the soak's invariant
// checks read it here; everything else outside src/ observes the game through the host.
#pragma once

#include "runtime/mod_state.h"

inline const ModState& modView() { return mod; }
