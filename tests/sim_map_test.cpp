// The fair world: what stands on the map blocks sight and missiles and stops cars, the
// player's car answers its controls, and a player who stands still in the mission dies.
#include <gtest/gtest.h>

#include <cmath>

#include "encounter_test.h"
#include "host.h"
#include "map.h"

namespace {

constexpr float kFrameSeconds = 1.0f / 60.0f;

// A map turned like Level 1's, with one of each thing, at a height of 94 units: a building
// on the right of the road, a tunnel ahead, a hill on the left.
sim::Map testMap() {
    sim::Map map({2000.0f, -500.0f, 94.0f}, 312.94f);
    map.buildings.push_back({20.0f, 40.0f, 50.0f, 80.0f, 30.0f});
    map.tunnels.push_back({{-10.0f, 200.0f, 10.0f, 260.0f, 8.0f}, true, 2.0f});
    map.hills.push_back({-60.0f, 60.0f, 25.0f, 20.0f});
    map.road = {{0.0f, -50.0f, 0.0f}, {0.0f, 400.0f, 0.0f}, {200.0f, 400.0f, 0.0f}, {200.0f, -50.0f, 0.0f}};
    return map;
}

TEST(SimMap, SightIsLostBehindWhatStandsOnTheMap) {
    const sim::Map map = testMap();
    // Points given in the map's frame: x to the right, y ahead, z above the ground.
    const struct {
        const char* what;
        sim::Vec3 from, to;
        bool blocked;
    } cases[] = {
        {"open ground", {0.0f, 0.0f, 0.0f}, {0.0f, 100.0f, 30.0f}, false},
        {"a building between", {0.0f, 60.0f, 0.0f}, {80.0f, 60.0f, 10.0f}, true},
        {"over the building's roof", {0.0f, 60.0f, 31.0f}, {80.0f, 60.0f, 40.0f}, false},
        {"from inside the tunnel to the sky", {0.0f, 230.0f, 0.0f}, {0.0f, 260.0f, 30.0f}, true},
        {"past the tunnel's end", {0.0f, 190.0f, 0.0f}, {0.0f, 150.0f, 30.0f}, false},
        {"a hill between", {0.0f, 60.0f, 0.0f}, {-120.0f, 60.0f, 5.0f}, true},
        {"over the hill's top", {0.0f, 60.0f, 0.0f}, {-120.0f, 60.0f, 45.0f}, false},
        {"beside the hill", {0.0f, 0.0f, 0.0f}, {-120.0f, 0.0f, 5.0f}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const sim::Vec3 from = map.toWorld(c.from);
        const sim::Vec3 to = map.toWorld(c.to);
        EXPECT_EQ(map.blocksSight(from, to), c.blocked);
        EXPECT_NEAR(map.toMap(to).x, c.to.x, 1e-2f);
        EXPECT_NEAR(map.toMap(to).y, c.to.y, 1e-2f);

        // The world's sight of a helicopter there, from the player's car.
        sim::World world;
        world.setMap(map);
        sim::Entity& car = world.entities().putPlayerInVehicle();
        world.entities().place(car, from);
        const int32_t heli = world.entities().spawn(sim::EntityKind::Vehicle, to, sim::hashOfName("BUZZARD")).handle;
        EXPECT_EQ(world.entities().lineOfSight(world.entities().playerPed(), heli), !c.blocked);
    }
    // What a missile meets first: the building's near face.
    const float along = map.firstObstacle(map.toWorld({0.0f, 60.0f, 5.0f}), map.toWorld({40.0f, 60.0f, 5.0f}));
    EXPECT_NEAR(along, 0.5f, 1e-3f);
    EXPECT_GT(map.firstObstacle(map.toWorld({0.0f, 0.0f, 5.0f}), map.toWorld({0.0f, 30.0f, 5.0f})), 1.0f);
}

// A missile whose path meets a building explodes on it: the car behind is spared.
TEST(SimMap, MissilesExplodeOnWhatStandsInTheirWay) {
    sim::World world;
    const sim::Map map = testMap();
    world.setMap(map);
    const uint32_t rocket = sim::hashOfName("WEAPON_VEHICLE_ROCKET");
    world.combat().requestWeaponAsset(rocket, 31, 0);
    world.setFrame(5);
    sim::Entity& car = world.entities().putPlayerInVehicle();
    world.entities().place(car, map.toWorld({70.0f, 60.0f, 0.0f}));  // behind the building
    world.combat().fireMissile(map.toWorld({0.0f, 60.0f, 10.0f}), map.toWorld({70.0f, 60.0f, 1.0f}), 250, rocket, 0, true, false, 820.0f);
    for (int frame = 0; frame < 120 && world.combat().projectiles()[0].flying; ++frame) world.step(kFrameSeconds);
    const sim::Projectile& missile = world.combat().projectiles()[0];
    EXPECT_FALSE(missile.flying);
    EXPECT_NEAR(map.toMap(missile.position).x, 20.0f, 2.0f);
    EXPECT_FALSE(car.wrecked);
    EXPECT_FALSE(world.entities().player().dead);
}

// Engaged, the controls bring the car to the wanted speed at its acceleration and braking
// and turn it (right: clockwise), in reverse the other way; a wall stops it with a crash.
// Released, the car keeps its velocity.
TEST(SimWorld, ThePlayersCarAnswersItsControls) {
    sim::World world;
    sim::Entity& car = world.entities().putPlayerInVehicle();
    world.entities().setForwardSpeed(car, 10.0f);
    world.driving().setDriverInput({true, 0.0f, 30.0f});
    for (int frame = 0; frame < 60; ++frame) world.step(kFrameSeconds);
    EXPECT_NEAR(sim::length(car.velocity), 10.0f + sim::kCarHandling.acceleration, 0.05f);
    world.driving().setDriverInput({true, 0.0f, 0.0f});
    for (int frame = 0; frame < 30; ++frame) world.step(kFrameSeconds);
    EXPECT_NEAR(sim::length(car.velocity), 18.0f - sim::kCarHandling.braking * 0.5f, 0.05f);

    struct Turn {
        float speed, steer;
        bool headingGrows;
    };
    for (const Turn turn : {Turn{20.0f, 1.0f, false}, Turn{20.0f, -1.0f, true}, Turn{-8.0f, 1.0f, true}}) {
        sim::World turning;
        sim::Entity& turner = turning.entities().putPlayerInVehicle();
        turning.entities().setHeading(turner, 100.0f);
        turning.driving().setDriverInput({true, turn.steer, turn.speed});
        for (int frame = 0; frame < 60; ++frame) turning.step(kFrameSeconds);
        EXPECT_EQ(turner.heading > 100.0f, turn.headingGrows) << turn.speed << " " << turn.steer;
        EXPECT_EQ(turning.entities().player().position.x, turner.position.x);  // the driver rides along
    }

    sim::World walled;
    walled.setMap(testMap());
    sim::Entity& runner = walled.entities().putPlayerInVehicle();
    walled.entities().place(runner, walled.map().toWorld({10.0f, 60.0f, 0.0f}));
    walled.entities().setHeading(runner, walled.map().heading() - 90.0f);  // toward the building's face
    walled.driving().setDriverInput({true, 0.0f, 20.0f});
    for (int frame = 0; frame < 180; ++frame) walled.step(kFrameSeconds);
    EXPECT_NEAR(walled.map().toMap(runner.position).x, 20.0f - sim::kCarHandling.radius, 0.6f);
    ASSERT_EQ(walled.driving().crashes().size(), 1u);
    EXPECT_EQ(walled.driving().crashes()[0].vehicle, runner.handle);

    walled.driving().setDriverInput({});
    walled.entities().setHeading(runner, 0.0f);
    walled.entities().setForwardSpeed(runner, 5.0f);
    walled.entities().place(runner, {});
    walled.setMap({});
    for (int frame = 0; frame < 60; ++frame) walled.step(kFrameSeconds);
    EXPECT_NEAR(runner.position.y, 5.0f, 1e-3f);
}

class FairWorldTest : public EncounterTest, public ::testing::WithParamInterface<uint32_t> {};

// A player who stops and stands still in the fair world is killed by the first salvos: the
// missiles aim where a still car is and explode on it. (Each generator state in a host of its
// own: a helicopter handed back hovers on where it was left.)
TEST_P(FairWorldTest, APlayerWhoStandsStillDies) {
    startLevelOne();
    host.world().entities().setSight(sim::Sight::ByDistance);
    const sim::Entity& car = playerVehicle();
    host.world().setMap(sim::fairMap(car.position, car.heading));
    host.world().driving().setDriverInput({true, 0.0f, 0.0f});
    mod.randomState = GetParam();
    EXPECT_TRUE(runUntil([&] { return host.world().entities().player().dead; }, 3000));
    EXPECT_LE(mod.attacksSurvived, 2);
}

INSTANTIATE_TEST_SUITE_P(GeneratorStates, FairWorldTest, ::testing::Values(1u, 2024u, 777777u));

}  // namespace
