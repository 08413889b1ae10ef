// How hard each level is: games of many seeds, each from a fresh settings file that holds
// the progress the level needs (the level open, the tiers asked for or the least it allows).
#pragma once

#include "sim_options.h"

namespace tools {

// The seeds' games of one level: a line each, the share won and the means; with --out a
// summary file and a plot. Exit status 0, or 3 when no game could start.
int playWinRate(const SimOptions& options);

// The balance table: every playable pair of level (1 to 6) and weapon tier (1 to 4), at armor
// tiers I and IV, over the seeds; printed as a Markdown table, and plotted under --out.
int playBalance(const SimOptions& options);

}  // namespace tools
