#include "fault_plan.h"

#include <iterator>

namespace soak {

namespace {

constexpr const char* kFaultNames[] = {
    "vehicle vanishes", "helicopter deleted", "pilot deleted", "helicopter wrecked", "model streaming stalls",
    "missile asset stalls", "player dies", "late revival or control", "player arrested", "sight flaps",
    "bad answers", "keys mashed", "file edited", "file corrupted", "file truncated", "file deleted",
    "writes refused", "disk write fails", "folder removed", "file locked by another program",
    "bought twice on one row", "vehicle changed in a shielded salvo", "the game reloads",
    "another program has the focus", "the module is unloaded and loaded again"};
static_assert(std::size(kFaultNames) == kFaultKinds, "a name for each kind of fault");

}  // namespace

const char* faultName(Fault fault) { return kFaultNames[static_cast<std::size_t>(fault)]; }

}  // namespace soak
