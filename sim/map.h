// The map of the simulated world: what stands on the ground around the place where a level
// is played. Buildings, a tunnel and hills block the line of sight and stop missiles; cars
// cannot drive through them (a car enters a tunnel only by its ends). A closed loop of road
// runs past all of them.
//
// A map is laid in its own frame: an origin on the ground and a heading (the road's first leg
// runs along it). In that frame x runs to the right of the heading and y along it; every
// obstacle is a box or a dome upright in that frame, so each test is a few comparisons.
#pragma once

#include <vector>

#include "vec3.h"

namespace sim {

// A box of the map's frame, from the ground up to its height.
struct Block {
    float minX = 0.0f, minY = 0.0f, maxX = 0.0f, maxY = 0.0f;
    float height = 0.0f;
};

// A covered passage along the map's x or y axis: its walls and roof block sight and stop
// missiles; a car drives through from end to end.
struct Tunnel {
    Block shell;       // the whole tunnel, walls and roof
    bool alongY = true;  // the passage runs along y (else along x)
    float wall = 1.0f;   // the walls' thickness
};

// A dome of rock: the ground rises to the height at the centre and falls to it at the radius.
struct Hill {
    float x = 0.0f, y = 0.0f;
    float radius = 0.0f, height = 0.0f;
};

class Map {
public:
    Map() = default;
    Map(Vec3 origin, float heading);

    Vec3 origin() const { return origin_; }
    float heading() const { return heading_; }

    // Points between the map's frame (x right, y ahead, z above the ground) and the world.
    Vec3 toMap(Vec3 world) const;
    Vec3 toWorld(Vec3 local) const;

    std::vector<Block> buildings;
    std::vector<Tunnel> tunnels;
    std::vector<Hill> hills;
    // The road: a closed loop of points in the map's frame, and its half width.
    std::vector<Vec3> road;
    float roadHalfWidth = 8.0f;

    bool empty() const { return buildings.empty() && tunnels.empty() && hills.empty(); }

    // Whether something of the map stands between two points of the world.
    bool blocksSight(Vec3 from, Vec3 to) const;
    // How far along the segment (0 to 1) it first meets something of the map; above 1 when
    // it meets nothing. Missiles explode there.
    float firstObstacle(Vec3 from, Vec3 to) const;
    // Whether a car of this radius standing at this point of the world overlaps a building,
    // a tunnel's wall or a hill.
    bool blocksCar(Vec3 at, float radius) const;
    // Whether the point lies under a tunnel's roof.
    bool underRoof(Vec3 at) const;
    // Laid at the same place and heading as the other: the same map.
    bool samePlace(const Map& other) const {
        return origin_.x == other.origin_.x && origin_.y == other.origin_.y && origin_.z == other.origin_.z &&
               heading_ == other.heading_;
    }

private:
    Vec3 origin_;
    float heading_ = 0.0f;
    float cos_ = 1.0f, sin_ = 0.0f;  // of the heading
};

// The map the simulated host lays around a level: a loop of road 2,000 units long that
// starts at the origin along the heading, past a town of tall buildings, open country with
// hills, a tunnel, and a yard of low sheds. The same origin and heading give the same map.
Map fairMap(Vec3 origin, float heading);

}  // namespace sim
