// Pictures of the simulated world with cairo: the scene from above, as the backdrop behind
// the HUD in a screenshot, and the map of a whole chase with a legend and a scale.
#pragma once

#include <string>

#include "chase.h"
#include "screenshot.h"

namespace render {

// The scene around the player's car (or where the player lies), seen from above with north
// up: the map, the road, the car, the helicopter, missiles in the air, the markers on their
// aim points and fresh blasts.
Backdrop sceneFromAbove(const sim::World& world, int32_t helicopter);

// The chase map: one PNG, the whole record over the map; false when it cannot be written.
bool writeChaseMap(const autopilot::ChaseRecord& record, const std::string& title, const std::string& pngPath);

}  // namespace render
