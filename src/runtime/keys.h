// The hot keys and the menu keys share one 200 ms lockout: a key counts only while it is
// down, the game's window has the focus (a key typed in another program is that program's),
// and more than 200 ms have passed since the last accepted press. A bound key may be
// named in the settings file (runtime/key_names.h).
#pragma once

#include <cstdint>

#include "runtime/key_names.h"

// The lockout has passed (elapsed time, so the tick count's wrap does not lock keys out)
// and the key is down with the game in the foreground. Reads the tick count afresh.
bool keyAccepted(int32_t virtualKey);
// Records an accepted press at the current tick count.
void stampKeyTime();
