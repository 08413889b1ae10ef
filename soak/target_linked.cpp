// The Linux soak: the plug-in linked into the simulated host, its state in view, every fault
// made through our profile code's fault points.
#include "target.h"

#include "runtime/mod_view.h"

namespace soak {

const Target& target() {
    static const Target linked = {"the plug-in linked into the simulated host",
                                  &modView(),
                                  false,
                                  "is held by another program",
                                  false,
                                  "",
                                  [](std::string_view, const char*) { return false; },
                                  [] { return true; }};
    return linked;
}

}  // namespace soak
