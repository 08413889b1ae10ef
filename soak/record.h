// The record two runs of a seed are compared by (--record): a line for each frame, of the
// plug-in's native calls and settings calls so far (reads, writes, failed writes), where the
// player is (the bits of each coordinate) and how many texts are drawn; and a line for each
// level's end, of its outcome and the progress the file holds.
#pragma once

#include <iosfwd>

#include "autopilot.h"
#include "host.h"
#include "settings_checks.h"

namespace soak {

void recordFrame(std::ostream& out, sim::Host& host);
// level: the run's, from 0; chosen: the level played, from 1.
void recordLevel(std::ostream& out, int level, int chosen, autopilot::Outcome outcome, const Progress& progress);

}  // namespace soak
