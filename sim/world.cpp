#include "world.h"

namespace sim {

World::World() = default;

void World::step(float seconds) {
    const float dt = seconds * records_.timeScale();
    driving_.step(dt);
    combat_.step(dt);
}

}  // namespace sim
