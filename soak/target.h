// What the soak plays, chosen when it is linked: the plug-in linked into the simulated host
// (target_linked.cpp, the Linux soak), or Rotorstrike.asi loaded by the stand-in ScriptHookV
// under Wine (soak/wine/). The soak's code is the same for both; these are the differences.
#pragma once

#include <string_view>

#include "runtime/mod_state.h"

namespace soak {

struct Target {
    const char* name;
    // The plug-in's own state, when the soak can read it: the plug-in linked in. The .asi
    // keeps its state inside the module: none then, and the checks of that state and the
    // probes' counts are left out.
    const ModState* pluginState;
    // The plug-in's settings calls go to the system's profile functions (Wine's), not to our
    // profile code: they have none of its fault points, and they write the whole file anew
    // on each write, so a write is judged by what the file means. Ours change only the line
    // written, and a write is judged line by line.
    bool systemProfileFunctions;
    // How a write the lock refuses fails: part of the game folder's last write error.
    const char* lockedWriteError;
    // A Windows game's relative settings path is taken in its current directory, which the
    // system will not let anyone remove: the game's folder is made current, and the folder
    // a fault makes unusable is its parent.
    bool gameFolderIsCurrent;
    // The target's own options, each with a value, as the usage text lists them, and their
    // reading: true when the option is the target's (value null: only asked whether it is).
    const char* options;
    bool (*takeOption)(std::string_view name, const char* value);
    // Before the run, once the options are read: false, having said why on standard error,
    // when the target cannot play.
    bool (*start)();
};

const Target& target();

}  // namespace soak
