#include "map.h"

#include <algorithm>

namespace sim {

namespace {

constexpr float kNothing = 2.0f;  // "meets nothing": any fraction above 1

// Where a segment (in the map's frame) first enters the box, 0 when it starts inside it;
// kNothing when it misses. The slab test, one axis at a time.
float entersBox(Vec3 from, Vec3 to, const Block& box) {
    const float low[3] = {box.minX, box.minY, 0.0f};
    const float high[3] = {box.maxX, box.maxY, box.height};
    const float start[3] = {from.x, from.y, from.z};
    const float delta[3] = {to.x - from.x, to.y - from.y, to.z - from.z};
    float enter = 0.0f;
    float leave = 1.0f;
    for (int axis = 0; axis < 3; ++axis) {
        if (delta[axis] == 0.0f) {
            if (start[axis] < low[axis] || start[axis] > high[axis]) return kNothing;
            continue;
        }
        float t0 = (low[axis] - start[axis]) / delta[axis];
        float t1 = (high[axis] - start[axis]) / delta[axis];
        if (t0 > t1) std::swap(t0, t1);
        enter = std::max(enter, t0);
        leave = std::min(leave, t1);
        if (enter > leave) return kNothing;
    }
    return enter;
}

// Where a segment first goes below a hill's surface, height × (1 - r² / radius²) above the
// ground at a distance r from its centre. Below the surface that height minus the segment's
// own is positive: a quadratic in the fraction along the segment, opening downwards.
// Points below the ground are not the map's business: the segments tested start and end on
// or above it.
float entersHill(Vec3 from, Vec3 to, const Hill& hill) {
    const float k = hill.height / (hill.radius * hill.radius);
    const float ax = from.x - hill.x, ay = from.y - hill.y;
    const float dx = to.x - from.x, dy = to.y - from.y, dz = to.z - from.z;
    const float a = -k * (dx * dx + dy * dy);
    const float b = -2.0f * k * (ax * dx + ay * dy) - dz;
    const float c = hill.height - k * (ax * ax + ay * ay) - from.z;
    if (c > 0.0f) return 0.0f;
    if (a == 0.0f) {
        if (b <= 0.0f) return kNothing;
        const float t = -c / b;
        return t <= 1.0f ? t : kNothing;
    }
    const float discriminant = b * b - 4.0f * a * c;
    if (discriminant < 0.0f) return kNothing;
    // The curve opens downwards: the segment is below the surface between the two roots.
    const float root = std::sqrt(discriminant);
    const float t1 = (-b + root) / (2.0f * a);
    const float t2 = (-b - root) / (2.0f * a);
    const float first = std::min(t1, t2);
    const float last = std::max(t1, t2);
    if (last < 0.0f || first > 1.0f) return kNothing;
    return std::max(first, 0.0f);
}

// Whether a circle overlaps a box's footprint.
bool circleOnBox(float x, float y, float radius, float minX, float minY, float maxX, float maxY) {
    const float nearX = std::clamp(x, minX, maxX);
    const float nearY = std::clamp(y, minY, maxY);
    return (x - nearX) * (x - nearX) + (y - nearY) * (y - nearY) < radius * radius;
}

}  // namespace

Map::Map(Vec3 origin, float heading) : origin_(origin), heading_(heading) {
    const Vec3 forward = forwardOf(heading);
    cos_ = forward.y;   // cos(heading)
    sin_ = -forward.x;  // sin(heading)
}

// The map's x axis is the heading's right, (cos, sin); its y axis the heading's forward,
// (-sin, cos).
Vec3 Map::toMap(Vec3 world) const {
    const Vec3 d = world - origin_;
    return {d.x * cos_ + d.y * sin_, -d.x * sin_ + d.y * cos_, d.z};
}

Vec3 Map::toWorld(Vec3 local) const {
    return origin_ + Vec3{local.x * cos_ - local.y * sin_, local.x * sin_ + local.y * cos_, local.z};
}

float Map::firstObstacle(Vec3 from, Vec3 to) const {
    if (empty()) return kNothing;
    const Vec3 a = toMap(from);
    const Vec3 b = toMap(to);
    float first = kNothing;
    for (const Block& building : buildings) first = std::min(first, entersBox(a, b, building));
    for (const Tunnel& tunnel : tunnels) first = std::min(first, entersBox(a, b, tunnel.shell));
    for (const Hill& hill : hills) first = std::min(first, entersHill(a, b, hill));
    return first;
}

bool Map::blocksSight(Vec3 from, Vec3 to) const { return firstObstacle(from, to) <= 1.0f; }

bool Map::blocksCar(Vec3 at, float radius) const {
    const Vec3 p = toMap(at);
    for (const Block& b : buildings) {
        if (circleOnBox(p.x, p.y, radius, b.minX, b.minY, b.maxX, b.maxY)) return true;
    }
    for (const Tunnel& tunnel : tunnels) {
        const Block& s = tunnel.shell;
        const bool hitsWall =
            tunnel.alongY ? circleOnBox(p.x, p.y, radius, s.minX, s.minY, s.minX + tunnel.wall, s.maxY) ||
                                circleOnBox(p.x, p.y, radius, s.maxX - tunnel.wall, s.minY, s.maxX, s.maxY)
                          : circleOnBox(p.x, p.y, radius, s.minX, s.minY, s.maxX, s.minY + tunnel.wall) ||
                                circleOnBox(p.x, p.y, radius, s.minX, s.maxY - tunnel.wall, s.maxX, s.maxY);
        if (hitsWall) return true;
    }
    for (const Hill& hill : hills) {
        const float dx = p.x - hill.x, dy = p.y - hill.y;
        if (dx * dx + dy * dy < (hill.radius + radius) * (hill.radius + radius)) return true;
    }
    return false;
}

bool Map::underRoof(Vec3 at) const {
    const Vec3 p = toMap(at);
    for (const Tunnel& tunnel : tunnels) {
        const Block& s = tunnel.shell;
        if (p.x >= s.minX && p.x <= s.maxX && p.y >= s.minY && p.y <= s.maxY && p.z < s.height) return true;
    }
    return false;
}

Map fairMap(Vec3 origin, float heading) {
    Map map(origin, heading);
    // The loop: north through the town, east across the hills, south through the tunnel,
    // west past the sheds, and north again.
    map.road = {{0.0f, -60.0f, 0.0f}, {0.0f, 520.0f, 0.0f}, {420.0f, 520.0f, 0.0f}, {420.0f, -60.0f, 0.0f}};
    // The town: five blocks on each side of the first leg, tall enough to hide a helicopter
    // that strays off the street.
    const float townHeights[2][5] = {{34.0f, 22.0f, 45.0f, 28.0f, 38.0f}, {26.0f, 40.0f, 24.0f, 42.0f, 30.0f}};
    for (int block = 0; block < 5; ++block) {
        const float y = 60.0f + 80.0f * static_cast<float>(block);
        map.buildings.push_back({-60.0f, y, -16.0f, y + 60.0f, townHeights[0][block]});
        map.buildings.push_back({16.0f, y, 60.0f, y + 60.0f, townHeights[1][block]});
    }
    // Two towers by the third leg, and the sheds of the yard by the fourth.
    map.buildings.push_back({440.0f, 60.0f, 480.0f, 110.0f, 50.0f});
    map.buildings.push_back({440.0f, 150.0f, 475.0f, 200.0f, 36.0f});
    map.buildings.push_back({300.0f, -110.0f, 360.0f, -76.0f, 12.0f});
    map.buildings.push_back({200.0f, -110.0f, 260.0f, -76.0f, 14.0f});
    map.buildings.push_back({80.0f, -110.0f, 140.0f, -76.0f, 10.0f});
    map.buildings.push_back({250.0f, -44.0f, 300.0f, -20.0f, 12.0f});
    // The tunnel on the third leg, between two hills.
    map.tunnels.push_back({{406.0f, 300.0f, 434.0f, 380.0f, 8.0f}, true, 2.0f});
    map.hills = {{120.0f, 470.0f, 28.0f, 22.0f}, {240.0f, 585.0f, 40.0f, 35.0f}, {340.0f, 472.0f, 25.0f, 18.0f},
                 {372.0f, 340.0f, 30.0f, 25.0f}, {468.0f, 340.0f, 36.0f, 30.0f}};
    return map;
}

}  // namespace sim
