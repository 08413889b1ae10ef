// The whole campaign as a player plays it, from a fresh settings file (or the game folder
// given) to "(All levels complete!)": the highest open level each time, a won level replayed
// for points when the next one needs a weapon tier the points cannot buy yet, and tiers
// bought through the menu before a level.
//
// The purchase policy: before a level, the weapon tier the level requires (tier II from
// Level 3 on) comes first; then `Balanced` buys one tier of whichever upgrade is lower (armor
// when they are level), `Armor` or `Weapon` as many tiers of that one as the points pay for,
// `None` nothing more.
#pragma once

#include "sim_options.h"

namespace tools {

// Exit status 0 when the campaign ended, 1 when it did not within its levels, 5 a fault.
int playCampaign(const SimOptions& options);

}  // namespace tools
