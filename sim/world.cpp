#include "world.h"

namespace sim {

World::World() = default;

void World::reload(Vec3 position, bool inVehicle) {
    entities_.removeAllButPlayer();
    combat_.clearForLoad();
    Entity& player = entities_.player();
    player.position = position;
    player.velocity = {};
    if (inVehicle) entities_.putPlayerInVehicle();
}

}  // namespace sim
