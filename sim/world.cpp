#include "world.h"

namespace sim {

World::World() = default;

}  // namespace sim
