// The simulated world itself: what the plug-in's tests rely on it to do.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "host.h"
#include "runtime/mod_state.h"
#include "seam.h"

namespace {

constexpr float kFrameSeconds = 1.0f / 60.0f;

// A helicopter with a pilot on a mission flies to the point, no faster than its model's top
// speed whatever the mission asks, and settles there, the same way every time; without a
// pilot, or wrecked, it keeps its velocity.
TEST(SimWorld, PilotFliesItsHelicopterToTheMissionPoint) {
    std::vector<sim::Vec3> runs;
    for (int run = 0; run < 2; ++run) {
        sim::World world;
        world.requestModel(sim::hashOfName("BUZZARD"));
        world.requestModel(sim::hashOfName("s_m_y_swat_01"));
        world.setFrame(10);
        const int32_t heli = world.createVehicle(sim::hashOfName("BUZZARD"), {0.0f, 0.0f, 50.0f}, 0.0f);
        const int32_t pilot = world.createPedInVehicle(heli, 26, sim::hashOfName("s_m_y_swat_01"), sim::kDriverSeat);
        ASSERT_NE(pilot, 0);
        world.giveHeliMission(pilot, heli, {300.0f, 400.0f, 80.0f}, 80.0f);
        float lastDistance = 1e9f;
        float distance = 0.0f;
        float fastest = 0.0f;
        for (int frame = 0; frame < 900; ++frame) {
            world.step(kFrameSeconds);
            fastest = std::max(fastest, sim::length(world.find(heli)->velocity));
            distance = sim::length(sim::Vec3{300.0f, 400.0f, 80.0f} - world.find(heli)->position);
            // Closing in second by second until it is near enough to settle.
            if (frame % 60 == 59 && lastDistance > 10.0f) {
                EXPECT_LT(distance, lastDistance);
                lastDistance = distance;
            }
            // The pilot rides along.
            EXPECT_EQ(world.find(pilot)->position.x, world.find(heli)->position.x);
        }
        EXPECT_LT(distance, 1.0f);
        EXPECT_LE(fastest, world.model("BUZZARD").topSpeed + 1e-3f);
        EXPECT_GT(fastest, world.model("BUZZARD").topSpeed - 1.0f);
        runs.push_back(world.find(heli)->position);
    }
    EXPECT_EQ(runs[0].x, runs[1].x);
    EXPECT_EQ(runs[0].y, runs[1].y);

    sim::World world;
    sim::Entity& loose = world.spawn(sim::EntityKind::Vehicle, {});
    world.setHeading(loose, 90.0f);
    world.setForwardSpeed(loose, 10.0f);
    world.setTimeScale(0.5f);
    for (int frame = 0; frame < 60; ++frame) world.step(kFrameSeconds);
    EXPECT_NEAR(loose.position.x, -5.0f, 1e-3f);  // heading 90 faces -x; half speed in slow motion
    EXPECT_NEAR(loose.position.y, 0.0f, 1e-3f);
}

// A model loads the given number of frames after its first request, or never; the host
// creates nothing of a model not loaded, of the wrong kind, or set to fail.
TEST(SimWorld, StreamingAndCreation) {
    sim::World world;
    const uint32_t buzzard = sim::hashOfName("BUZZARD");
    const uint32_t swat = sim::hashOfName("S_M_Y_SWAT_01");  // names hash without case
    world.model("BUZZARD").loadFrames = 3;
    world.setFrame(5);
    EXPECT_FALSE(world.modelLoaded(buzzard));
    EXPECT_EQ(world.createVehicle(buzzard, {}, 0.0f), 0);
    world.requestModel(buzzard);
    world.setFrame(7);
    world.requestModel(buzzard);  // a second request does not restart the clock
    EXPECT_FALSE(world.modelLoaded(buzzard));
    world.setFrame(8);
    EXPECT_TRUE(world.modelLoaded(buzzard));

    world.model("s_m_y_swat_01").loadFrames = sim::kNeverLoads;
    world.requestModel(swat);
    world.setFrame(100000);
    EXPECT_FALSE(world.modelLoaded(swat));
    EXPECT_FALSE(world.modelLoaded(sim::hashOfName("NO_SUCH_MODEL")));

    EXPECT_EQ(world.createVehicle(swat, {}, 0.0f), 0);  // a ped's model
    const int32_t heli = world.createVehicle(buzzard, {1.0f, 2.0f, 3.0f}, 450.0f);
    ASSERT_NE(heli, 0);
    EXPECT_EQ(world.find(heli)->heading, 90.0f);
    EXPECT_EQ(world.createPedInVehicle(heli, 26, swat, sim::kDriverSeat), 0);  // not loaded
    world.model("s_m_y_swat_01").loadFrames = 0;
    const int32_t pilot = world.createPedInVehicle(heli, 26, swat, sim::kDriverSeat);
    ASSERT_NE(pilot, 0);
    EXPECT_EQ(world.createPedInVehicle(heli, 26, swat, sim::kDriverSeat), 0);  // the seat is taken
    world.model("BUZZARD").creationFails = true;
    EXPECT_EQ(world.createVehicle(buzzard, {}, 0.0f), 0);

    // Handed back is recorded; what was never handed back is still held.
    EXPECT_EQ(world.heldByScript(), (std::vector<int32_t>{heli, pilot}));
    world.handBack(pilot);
    EXPECT_EQ(world.heldByScript(), (std::vector<int32_t>{heli}));
    EXPECT_EQ(world.ownership().back().kind, sim::OwnershipEvent::HandedBack);
}

// Sight is clear within a range by default; a test may make it always clear or blocked.
TEST(SimWorld, LineOfSight) {
    sim::World world;
    const int32_t near = world.spawn(sim::EntityKind::Vehicle, {0.0f, 299.0f, 0.0f}).handle;
    const int32_t far = world.spawn(sim::EntityKind::Vehicle, {0.0f, 301.0f, 0.0f}).handle;
    const int32_t player = world.playerPed();
    EXPECT_TRUE(world.lineOfSight(player, near));
    EXPECT_FALSE(world.lineOfSight(player, far));
    EXPECT_FALSE(world.lineOfSight(player, 0));
    world.setSight(sim::Sight::AlwaysClear);
    EXPECT_TRUE(world.lineOfSight(player, far));
    world.setSight(sim::Sight::AlwaysBlocked);
    EXPECT_FALSE(world.lineOfSight(player, near));
}

// A world with the rocket's asset streamed in and a car with the player at its wheel.
struct ArmedWorld {
    sim::World world;
    uint32_t rocket = sim::hashOfName("WEAPON_VEHICLE_ROCKET");
    int32_t car = 0;
    int64_t frame = 0;

    ArmedWorld() {
        world.requestWeaponAsset(rocket, 31, 0);
        advance(2);
        car = world.putPlayerInVehicle().handle;
        world.place(*world.find(car), {0.0f, 100.0f, 0.0f});
    }
    void advance(int frames) {
        for (int count = 0; count < frames; ++count) {
            world.setFrame(++frame);
            world.step(kFrameSeconds);
        }
    }
    // Frames until the missile has exploded (at most 600).
    int flight(int32_t missile) {
        for (int frames = 1; frames <= 600; ++frames) {
            advance(1);
            if (!world.projectiles().at(static_cast<std::size_t>(missile - 1)).flying) return frames;
        }
        return -1;
    }
};

// A missile flies straight at speed / 8.2 units a second of game time and explodes at its
// aim point, or on the first entity in its way; within the blast, vehicles are destroyed
// with their occupants and peds on foot killed, unless invincible.
TEST(SimWorld, MissilesFlyAndExplode) {
    struct Case {
        const char* what;
        sim::Vec3 aim;
        bool invincible;
        bool harmless;
        bool carDestroyed;
        bool struck;
    };
    const Case cases[] = {
        {"at the car", {0.0f, 100.0f, 1.0f}, false, false, true, true},
        {"beside the car, in the blast", {5.0f, 120.0f, 0.0f}, false, false, false, false},
        {"at an invincible car", {0.0f, 100.0f, 1.0f}, true, false, false, true},
        {"harmless", {0.0f, 100.0f, 1.0f}, false, true, false, true},
        {"far off", {50.0f, 50.0f, 0.0f}, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ArmedWorld armed;
        sim::World& world = armed.world;
        world.find(armed.car)->invincible = c.invincible;
        world.setHarmlessMissiles(c.harmless);
        const int32_t missile = world.fireMissile({0.0f, 0.0f, 1.0f}, c.aim, 250, armed.rocket, 0, true, false, 820.0f);
        ASSERT_EQ(missile, 1);
        const int frames = armed.flight(missile);
        const sim::Projectile& flown = world.projectiles()[0];
        EXPECT_EQ(flown.struck != 0, c.struck);
        if (!c.struck) {
            // 100 units a second: the aim is reached on time, where it lies.
            EXPECT_EQ(frames, static_cast<int>(std::ceil(sim::length(c.aim - sim::Vec3{0.0f, 0.0f, 1.0f}) / 100.0f * 60.0f - 1e-3f)));
            EXPECT_EQ(flown.position.x, c.aim.x);
        }
        EXPECT_EQ(world.find(armed.car)->wrecked, c.carDestroyed);
        EXPECT_EQ(world.player().dead, c.carDestroyed);
        EXPECT_EQ(world.playerControl(), !c.carDestroyed);
        EXPECT_EQ(world.explosions().size(), 1u);
    }

    // The owner and its vehicle are never struck; a blast kills a ped on foot within reach.
    ArmedWorld armed;
    sim::World& world = armed.world;
    world.model("BUZZARD").loadFrames = 0;
    world.model("s_m_y_swat_01").loadFrames = 0;
    world.requestModel(sim::hashOfName("BUZZARD"));
    world.requestModel(sim::hashOfName("s_m_y_swat_01"));
    const int32_t heli = world.createVehicle(sim::hashOfName("BUZZARD"), {0.0f, 130.0f, 0.0f}, 0.0f);
    const int32_t pilot = world.createPedInVehicle(heli, 26, sim::hashOfName("s_m_y_swat_01"), sim::kDriverSeat);
    world.find(heli)->invincible = true;
    sim::Entity& near = world.spawn(sim::EntityKind::Ped, {0.0f, 126.0f, 0.0f});
    sim::Entity& far = world.spawn(sim::EntityKind::Ped, {0.0f, 138.5f, 0.0f});
    world.fireMissile({0.0f, 130.0f, 0.0f}, {0.0f, 132.0f, 0.0f}, 250, armed.rocket, pilot, true, false, 820.0f);
    armed.flight(1);
    EXPECT_EQ(world.projectiles()[0].struck, 0);
    EXPECT_FALSE(world.find(heli)->wrecked);
    EXPECT_TRUE(near.dead);
    EXPECT_FALSE(far.dead);
    EXPECT_EQ(world.casualties().back().projectile, 1);

    // Slow motion slows a missile; nothing is fired of a weapon not streamed in.
    world.setTimeScale(0.5f);
    world.fireMissile({0.0f, 0.0f, 500.0f}, {0.0f, 49.0f, 500.0f}, 250, armed.rocket, 0, true, false, 820.0f);
    EXPECT_EQ(armed.flight(2), 59);  // 49 units at 50 a second
    sim::World fresh;
    EXPECT_EQ(fresh.fireMissile({}, {0.0f, 1.0f, 0.0f}, 250, armed.rocket, 0, true, false, 820.0f), 0);
    fresh.weaponAsset("WEAPON_VEHICLE_ROCKET").loadFrames = sim::kNeverLoads;
    fresh.requestWeaponAsset(armed.rocket, 31, 0);
    fresh.setFrame(100000);
    EXPECT_FALSE(fresh.weaponAssetLoaded(armed.rocket));
    EXPECT_TRUE(fresh.projectiles().empty());
}

// The host revives a dead player after its delay, on foot where it lies or at the revival
// point, and gives control back after the control delay; either may never come.
TEST(SimWorld, DeathRevivalAndControl) {
    struct Case {
        int32_t revival;
        int32_t control;
        bool pointSet;
        int64_t revivedAt;  // frames after the death; -1: never
        int64_t controlAt;
    };
    const Case cases[] = {
        {10, 5, false, 10, 15},
        {10, 0, true, 10, 10},
        {sim::kNever, 5, false, -1, -1},
        {3, sim::kNever, false, 3, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.revival);
        ArmedWorld armed;
        sim::World& world = armed.world;
        world.setRevivalDelay(c.revival);
        world.setControlDelay(c.control);
        if (c.pointSet) world.setRevivalPoint({7.0f, 8.0f, 9.0f});
        world.player().dying = true;
        world.destroyVehicle(armed.car);
        const int64_t died = armed.frame;
        ASSERT_TRUE(world.player().dead);
        ASSERT_FALSE(world.playerControl());
        int64_t revived = -1;
        int64_t control = -1;
        for (int frame = 0; frame < 100; ++frame) {
            armed.advance(1);
            if (revived < 0 && !world.player().dead) revived = armed.frame - died;
            if (control < 0 && world.playerControl()) control = armed.frame - died;
        }
        EXPECT_EQ(revived, c.revivedAt);
        EXPECT_EQ(control, c.controlAt);
        if (revived >= 0) {
            EXPECT_EQ(world.vehicleOf(world.playerPed()), 0);
            EXPECT_FALSE(world.player().dying);
            EXPECT_EQ(world.player().position.x, c.pointSet ? 7.0f : 0.0f);
            EXPECT_EQ(world.lifeEvents()[1].kind, sim::LifeEvent::Revived);
        }
    }

    // An invincible ped does not die.
    sim::World world;
    world.player().invincible = true;
    world.kill(world.playerPed());
    EXPECT_FALSE(world.player().dead);
}

// Offsets in an entity's frame, a model's corners through the host in its 3-vector layout,
// forces in the entity's frame, and markers that last one frame.
TEST(SimWorld, OffsetsDimensionsForcesAndMarkers) {
    sim::Host host;
    sim::World& world = host.world();
    sim::Entity& car = world.spawn(sim::EntityKind::Vehicle, {10.0f, 20.0f, 30.0f}, sim::hashOfName("SIM_CAR"));
    world.setHeading(car, 90.0f);  // facing -x: its right is +y
    const sim::Vec3 offset = world.offsetInWorld(car, {1.0f, 2.0f, 3.0f});
    EXPECT_NEAR(offset.x, 8.0f, 1e-5f);
    EXPECT_NEAR(offset.y, 21.0f, 1e-5f);
    EXPECT_NEAR(offset.z, 33.0f, 1e-5f);

    Vector3 minimum;
    Vector3 maximum;
    nativeInit(sim::nativeHash("getModelDimensions"));
    nativePush64(sim::hashOfName("BUZZARD"));
    nativePush64(reinterpret_cast<uintptr_t>(&minimum));
    nativePush64(reinterpret_cast<uintptr_t>(&maximum));
    nativeCall();
    EXPECT_EQ(minimum.y, -6.5f);
    EXPECT_EQ(maximum.x, 1.6f);
    EXPECT_EQ(maximum.y, 6.5f);
    EXPECT_EQ(maximum.z, 1.8f);

    sim::Force force;
    force.force = {15.0f, 0.0f, 20.0f};
    force.flags[1] = 1;
    world.applyForce(car, force);
    EXPECT_NEAR(car.velocity.x, 0.0f, 1e-5f);
    EXPECT_NEAR(car.velocity.y, 15.0f, 1e-5f);
    EXPECT_EQ(car.velocity.z, 20.0f);

    sim::Marker marker;
    marker.type = 2;
    world.drawMarker(marker);
    EXPECT_EQ(world.markers().size(), 1u);
    host.runFrame();
    EXPECT_TRUE(world.markers().empty());
}

// An address argument given a plain number fails loudly instead of being followed.
TEST(SimHost, AddressArgumentsMustBeAddresses) {
    sim::Host host;
    nativeInit(sim::nativeHash("setEntityAsNoLongerNeeded"));  // hands an entity back: takes the handle's address
    nativePush64(0x101);
    EXPECT_THROW(nativeCall(), sim::HostError);
    int32_t handle = 0x101;
    nativeInit(sim::nativeHash("setEntityAsNoLongerNeeded"));
    nativePush64(reinterpret_cast<uintptr_t>(&handle));
    EXPECT_NO_THROW(nativeCall());
}

}  // namespace
