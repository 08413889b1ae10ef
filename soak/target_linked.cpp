// The Linux soak: the plug-in linked into the simulated host, its state in view, every fault
// made through our profile code's fault points.
#include "target.h"

#include "runtime/mod_view.h"

namespace soak {

const Target& target() {
    static const Target linked = {
        .name = "the plug-in linked into the simulated host",
        .pluginState = &modView(),
        .systemProfileFunctions = false,
        .lockedWriteError = "is held by another program",
        .gameFolderIsCurrent = false,
        .options = "",
        .takeOption = [](std::string_view, const char*) { return false; },
        .start = [] { return true; },
    };
    return linked;
}

}  // namespace soak
