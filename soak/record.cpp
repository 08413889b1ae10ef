#include "record.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <ostream>

namespace soak {

namespace {

// A float's bits; one for every NaN, whose sign and payload the two builds' arithmetic
// may set otherwise.
uint32_t bitsOf(float value) { return std::isnan(value) ? 0x7fc00000u : std::bit_cast<uint32_t>(value); }

}  // namespace

void recordFrame(std::ostream& out, sim::Host& host) {
    const sim::Vec3 at = host.world().entities().player().position;
    const sim::GameFolder& folder = host.gameFolder();
    char line[128];
    std::snprintf(line, sizeof line, "%lld %lld %d %d %d %08x %08x %08x %zu\n", static_cast<long long>(host.frame()),
                  static_cast<long long>(host.nativeCalls()), folder.reads(), folder.writes(), folder.failedWrites(),
                  bitsOf(at.x), bitsOf(at.y), bitsOf(at.z), host.screen().texts.size());
    out << line;
}

void recordLevel(std::ostream& out, int level, int chosen, autopilot::Outcome outcome, const Progress& progress) {
    out << "level " << level + 1 << " (Level " << chosen << "): " << autopilot::outcomeName(outcome) << "; file:";
    for (std::size_t key = 0; key < kProgressKeys; ++key) out << " " << kProgressKeyNames[key] << "=" << progress[key];
    out << "\n";
}

}  // namespace soak
