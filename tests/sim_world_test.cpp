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
        world.entities().requestModel(sim::hashOfName("BUZZARD"));
        world.entities().requestModel(sim::hashOfName("s_m_y_swat_01"));
        world.setFrame(10);
        const int32_t heli = world.entities().createVehicle(sim::hashOfName("BUZZARD"), {0.0f, 0.0f, 50.0f}, 0.0f);
        const int32_t pilot = world.entities().createPedInVehicle(heli, 26, sim::hashOfName("s_m_y_swat_01"), sim::kDriverSeat);
        ASSERT_NE(pilot, 0);
        world.driving().giveHeliMission(pilot, heli, {300.0f, 400.0f, 80.0f}, 80.0f);
        float lastDistance = 1e9f;
        float distance = 0.0f;
        float fastest = 0.0f;
        for (int frame = 0; frame < 900; ++frame) {
            world.step(kFrameSeconds);
            fastest = std::max(fastest, sim::length(world.entities().find(heli)->velocity));
            distance = sim::length(sim::Vec3{300.0f, 400.0f, 80.0f} - world.entities().find(heli)->position);
            // Closing in second by second until it is near enough to settle.
            if (frame % 60 == 59 && lastDistance > 10.0f) {
                EXPECT_LT(distance, lastDistance);
                lastDistance = distance;
            }
            // The pilot rides along.
            EXPECT_EQ(world.entities().find(pilot)->position.x, world.entities().find(heli)->position.x);
        }
        EXPECT_LT(distance, 1.0f);
        EXPECT_LE(fastest, world.entities().model("BUZZARD").topSpeed + 1e-3f);
        EXPECT_GT(fastest, world.entities().model("BUZZARD").topSpeed - 1.0f);
        runs.push_back(world.entities().find(heli)->position);
    }
    EXPECT_EQ(runs[0].x, runs[1].x);
    EXPECT_EQ(runs[0].y, runs[1].y);

    sim::World world;
    sim::Entity& loose = world.entities().spawn(sim::EntityKind::Vehicle, {});
    world.entities().setHeading(loose, 90.0f);
    world.entities().setForwardSpeed(loose, 10.0f);
    world.records().setTimeScale(0.5f);
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
    world.entities().model("BUZZARD").loadFrames = 3;
    world.setFrame(5);
    EXPECT_FALSE(world.entities().modelLoaded(buzzard));
    EXPECT_EQ(world.entities().createVehicle(buzzard, {}, 0.0f), 0);
    world.entities().requestModel(buzzard);
    world.setFrame(7);
    world.entities().requestModel(buzzard);  // a second request does not restart the clock
    EXPECT_FALSE(world.entities().modelLoaded(buzzard));
    world.setFrame(8);
    EXPECT_TRUE(world.entities().modelLoaded(buzzard));

    world.entities().model("s_m_y_swat_01").loadFrames = sim::kNeverLoads;
    world.entities().requestModel(swat);
    world.setFrame(100000);
    EXPECT_FALSE(world.entities().modelLoaded(swat));
    EXPECT_FALSE(world.entities().modelLoaded(sim::hashOfName("NO_SUCH_MODEL")));

    EXPECT_EQ(world.entities().createVehicle(swat, {}, 0.0f), 0);  // a ped's model
    const int32_t heli = world.entities().createVehicle(buzzard, {1.0f, 2.0f, 3.0f}, 450.0f);
    ASSERT_NE(heli, 0);
    EXPECT_EQ(world.entities().find(heli)->heading, 90.0f);
    EXPECT_EQ(world.entities().createPedInVehicle(heli, 26, swat, sim::kDriverSeat), 0);  // not loaded
    world.entities().model("s_m_y_swat_01").loadFrames = 0;
    const int32_t pilot = world.entities().createPedInVehicle(heli, 26, swat, sim::kDriverSeat);
    ASSERT_NE(pilot, 0);
    EXPECT_EQ(world.entities().createPedInVehicle(heli, 26, swat, sim::kDriverSeat), 0);  // the seat is taken
    world.entities().model("BUZZARD").creationFails = true;
    EXPECT_EQ(world.entities().createVehicle(buzzard, {}, 0.0f), 0);

    // Handed back is recorded; what was never handed back is still held.
    EXPECT_EQ(world.entities().heldByScript(), (std::vector<int32_t>{heli, pilot}));
    world.entities().handBack(pilot);
    EXPECT_EQ(world.entities().heldByScript(), (std::vector<int32_t>{heli}));
    EXPECT_EQ(world.entities().ownership().back().kind, sim::OwnershipEvent::HandedBack);
}

// What the script holds, oldest first: during an encounter its helicopter is the oldest
// vehicle it holds other than the one the player sits in, and its pilot the oldest ped. A
// vehicle gone from the world, or handed back, is held no more.
TEST(SimWorld, OldestHeldByTheScript) {
    sim::World world;
    sim::Entities& entities = world.entities();
    for (const char* name : {"BUZZARD", "SIM_CAR", "s_m_y_swat_01"}) {
        entities.model(name).loadFrames = 0;
        entities.requestModel(sim::hashOfName(name));
    }
    const int32_t player = entities.playerPed();
    int32_t heli = 0, pilot = 0, car = 0;
    const struct {
        const char* step;
        void (*act)(sim::Entities&, int32_t&, int32_t&, int32_t&);
        int expectedVehicle, expectedOtherThanPlayers, expectedPed;  // 1 heli, 2 car; 1 pilot
    } kSteps[] = {
        {"nothing created", [](sim::Entities&, int32_t&, int32_t&, int32_t&) {}, 0, 0, 0},
        {"the helicopter", [](sim::Entities& e, int32_t& h, int32_t&, int32_t&) {
             h = e.createVehicle(sim::hashOfName("BUZZARD"), {0.0f, 0.0f, 50.0f}, 0.0f);
         }, 1, 1, 0},
        {"its pilot", [](sim::Entities& e, int32_t& h, int32_t& p, int32_t&) {
             p = e.createPedInVehicle(h, 26, sim::hashOfName("s_m_y_swat_01"), sim::kDriverSeat);
         }, 1, 1, 1},
        {"a car the player sits in", [](sim::Entities& e, int32_t&, int32_t&, int32_t& c) {
             c = e.createVehicle(sim::hashOfName("SIM_CAR"), {}, 0.0f);
             e.seat(e.playerPed(), c, sim::kDriverSeat);
         }, 1, 1, 1},
        {"the helicopter gone", [](sim::Entities& e, int32_t& h, int32_t&, int32_t&) { e.remove(h); }, 2, 0, 1},
        {"the car handed back", [](sim::Entities& e, int32_t&, int32_t&, int32_t& c) { e.handBack(c); }, 0, 0, 1},
        {"the pilot handed back", [](sim::Entities& e, int32_t&, int32_t& p, int32_t&) { e.handBack(p); }, 0, 0, 0},
    };
    for (const auto& step : kSteps) {
        step.act(entities, heli, pilot, car);
        const int32_t vehicles[] = {0, heli, car};
        EXPECT_EQ(entities.oldestHeld(sim::EntityKind::Vehicle), vehicles[step.expectedVehicle]) << step.step;
        EXPECT_EQ(entities.oldestHeld(sim::EntityKind::Vehicle, entities.vehicleOf(player)),
                  vehicles[step.expectedOtherThanPlayers])
            << step.step;
        EXPECT_EQ(entities.oldestHeld(sim::EntityKind::Ped), step.expectedPed == 1 ? pilot : 0) << step.step;
    }
}

// Sight is clear within a range by default; a test may make it always clear or blocked.
TEST(SimWorld, LineOfSight) {
    sim::World world;
    const int32_t near = world.entities().spawn(sim::EntityKind::Vehicle, {0.0f, 299.0f, 0.0f}).handle;
    const int32_t far = world.entities().spawn(sim::EntityKind::Vehicle, {0.0f, 301.0f, 0.0f}).handle;
    const int32_t player = world.entities().playerPed();
    EXPECT_TRUE(world.entities().lineOfSight(player, near));
    EXPECT_FALSE(world.entities().lineOfSight(player, far));
    EXPECT_FALSE(world.entities().lineOfSight(player, 0));
    world.entities().setSight(sim::Sight::AlwaysClear);
    EXPECT_TRUE(world.entities().lineOfSight(player, far));
    world.entities().setSight(sim::Sight::AlwaysBlocked);
    EXPECT_FALSE(world.entities().lineOfSight(player, near));
}

// A world with the rocket's asset streamed in and a car with the player at its wheel.
struct ArmedWorld {
    sim::World world;
    uint32_t rocket = sim::hashOfName("WEAPON_VEHICLE_ROCKET");
    int32_t car = 0;
    int64_t frame = 0;

    ArmedWorld() {
        world.combat().requestWeaponAsset(rocket, 31, 0);
        advance(2);
        car = world.entities().putPlayerInVehicle().handle;
        world.entities().place(*world.entities().find(car), {0.0f, 100.0f, 0.0f});
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
            if (!world.combat().projectiles().at(static_cast<std::size_t>(missile - 1)).flying) return frames;
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
        world.entities().find(armed.car)->invincible = c.invincible;
        world.combat().setHarmlessMissiles(c.harmless);
        const int32_t missile = world.combat().fireMissile({0.0f, 0.0f, 1.0f}, c.aim, 250, armed.rocket, 0, true, false, 820.0f);
        ASSERT_EQ(missile, 1);
        const int frames = armed.flight(missile);
        const sim::Projectile& flown = world.combat().projectiles()[0];
        EXPECT_EQ(flown.struck != 0, c.struck);
        if (!c.struck) {
            // 100 units a second: the aim is reached on time, where it lies.
            EXPECT_EQ(frames, static_cast<int>(std::ceil(sim::length(c.aim - sim::Vec3{0.0f, 0.0f, 1.0f}) / 100.0f * 60.0f - 1e-3f)));
            EXPECT_EQ(flown.position.x, c.aim.x);
        }
        EXPECT_EQ(world.entities().find(armed.car)->wrecked, c.carDestroyed);
        EXPECT_EQ(world.entities().player().dead, c.carDestroyed);
        EXPECT_EQ(world.combat().playerControl(), !c.carDestroyed);
        EXPECT_EQ(world.combat().explosions().size(), 1u);
    }

    // The owner and its vehicle are never struck; a blast kills a ped on foot within reach.
    ArmedWorld armed;
    sim::World& world = armed.world;
    world.entities().model("BUZZARD").loadFrames = 0;
    world.entities().model("s_m_y_swat_01").loadFrames = 0;
    world.entities().requestModel(sim::hashOfName("BUZZARD"));
    world.entities().requestModel(sim::hashOfName("s_m_y_swat_01"));
    const int32_t heli = world.entities().createVehicle(sim::hashOfName("BUZZARD"), {0.0f, 130.0f, 0.0f}, 0.0f);
    const int32_t pilot = world.entities().createPedInVehicle(heli, 26, sim::hashOfName("s_m_y_swat_01"), sim::kDriverSeat);
    world.entities().find(heli)->invincible = true;
    sim::Entity& near = world.entities().spawn(sim::EntityKind::Ped, {0.0f, 126.0f, 0.0f});
    sim::Entity& far = world.entities().spawn(sim::EntityKind::Ped, {0.0f, 138.5f, 0.0f});
    world.combat().fireMissile({0.0f, 130.0f, 0.0f}, {0.0f, 132.0f, 0.0f}, 250, armed.rocket, pilot, true, false, 820.0f);
    armed.flight(1);
    EXPECT_EQ(world.combat().projectiles()[0].struck, 0);
    EXPECT_FALSE(world.entities().find(heli)->wrecked);
    EXPECT_TRUE(near.dead);
    EXPECT_FALSE(far.dead);
    EXPECT_EQ(world.combat().casualties().back().projectile, 1);

    // Slow motion slows a missile; nothing is fired of a weapon not streamed in.
    world.records().setTimeScale(0.5f);
    world.combat().fireMissile({0.0f, 0.0f, 500.0f}, {0.0f, 49.0f, 500.0f}, 250, armed.rocket, 0, true, false, 820.0f);
    EXPECT_EQ(armed.flight(2), 59);  // 49 units at 50 a second
    sim::World fresh;
    EXPECT_EQ(fresh.combat().fireMissile({}, {0.0f, 1.0f, 0.0f}, 250, armed.rocket, 0, true, false, 820.0f), 0);
    fresh.combat().weaponAsset("WEAPON_VEHICLE_ROCKET").loadFrames = sim::kNeverLoads;
    fresh.combat().requestWeaponAsset(armed.rocket, 31, 0);
    fresh.setFrame(100000);
    EXPECT_FALSE(fresh.combat().weaponAssetLoaded(armed.rocket));
    EXPECT_TRUE(fresh.combat().projectiles().empty());
}

// An arrest holds the living player without control for its frames, then releases him on
// foot where he stands, with control back; a death ends it (control comes with the revival).
TEST(SimWorld, AnArrestHoldsThePlayerThenReleasesHimOnFoot) {
    for (const bool diesHeld : {false, true}) {
        SCOPED_TRACE(diesHeld ? "dies while held" : "held, then released");
        ArmedWorld armed;
        sim::World& world = armed.world;
        ASSERT_TRUE(world.combat().arrest(3));
        EXPECT_FALSE(world.combat().arrest(3));  // already held
        EXPECT_FALSE(world.combat().playerControl());
        armed.advance(2);
        EXPECT_TRUE(world.combat().playerArrested());
        if (diesHeld) world.combat().destroyVehicle(armed.car);
        armed.advance(1);
        EXPECT_FALSE(world.combat().playerArrested());
        EXPECT_EQ(world.combat().playerControl(), !diesHeld);
        EXPECT_EQ(world.entities().vehicleOf(world.entities().playerPed()), diesHeld ? armed.car : 0);
        EXPECT_EQ(world.combat().lifeEvents().back().kind, diesHeld ? sim::LifeEvent::Died : sim::LifeEvent::Released);
        EXPECT_EQ(world.combat().arrest(3), !diesHeld);  // a dead player is not arrested
    }
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
        world.combat().setRevivalDelay(c.revival);
        world.combat().setControlDelay(c.control);
        if (c.pointSet) world.combat().setRevivalPoint({7.0f, 8.0f, 9.0f});
        world.combat().destroyVehicle(armed.car);
        const int64_t died = armed.frame;
        ASSERT_TRUE(world.entities().player().dead);
        ASSERT_FALSE(world.combat().playerControl());
        int64_t revived = -1;
        int64_t control = -1;
        for (int frame = 0; frame < 100; ++frame) {
            armed.advance(1);
            if (revived < 0 && !world.entities().player().dead) revived = armed.frame - died;
            if (control < 0 && world.combat().playerControl()) control = armed.frame - died;
        }
        EXPECT_EQ(revived, c.revivedAt);
        EXPECT_EQ(control, c.controlAt);
        if (revived >= 0) {
            EXPECT_EQ(world.entities().vehicleOf(world.entities().playerPed()), 0);
            EXPECT_EQ(world.entities().player().position.x, c.pointSet ? 7.0f : 0.0f);
            EXPECT_EQ(world.combat().lifeEvents()[1].kind, sim::LifeEvent::Revived);
        }
    }

    // An invincible ped does not die.
    sim::World world;
    world.entities().player().invincible = true;
    world.combat().kill(world.entities().playerPed());
    EXPECT_FALSE(world.entities().player().dead);
}

// Offsets in an entity's frame, a model's corners through the host in its 3-vector layout,
// forces in the entity's frame, and markers that last one frame.
TEST(SimWorld, OffsetsDimensionsForcesAndMarkers) {
    sim::Host host;
    sim::World& world = host.world();
    sim::Entity& car = world.entities().spawn(sim::EntityKind::Vehicle, {10.0f, 20.0f, 30.0f}, sim::hashOfName("SIM_CAR"));
    world.entities().setHeading(car, 90.0f);  // facing -x: its right is +y
    const sim::Vec3 offset = world.entities().offsetInWorld(car, {1.0f, 2.0f, 3.0f});
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
    world.combat().applyForce(car, force);
    EXPECT_NEAR(car.velocity.x, 0.0f, 1e-5f);
    EXPECT_NEAR(car.velocity.y, 15.0f, 1e-5f);
    EXPECT_EQ(car.velocity.z, 20.0f);

    sim::Marker marker;
    marker.type = 2;
    world.records().drawMarker(marker);
    EXPECT_EQ(world.records().markers().size(), 1u);
    host.runFrame();
    EXPECT_TRUE(world.records().markers().empty());
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

// The host's turns by its own arithmetic, the same on every platform: correctly rounded.
TEST(SimWorld, SinesAndArcTangentsOfItsOwn) {
    const sim::SineCosine half = sim::sineCosine(0.5f);
    EXPECT_EQ(half.sine, 0.47942555f);
    EXPECT_EQ(half.cosine, 0.87758255f);
    const sim::SineCosine big = sim::sineCosine(-12.0f);  // some turns away
    EXPECT_EQ(big.sine, 0.536572933f);
    EXPECT_EQ(big.cosine, 0.843853951f);
    EXPECT_EQ(sim::arcTangent(1.0f, 1.0f), 0.78539819f);
    EXPECT_EQ(sim::arcTangent(-0.0f, -1.0f), -3.14159274f);
    EXPECT_EQ(sim::arcTangent(3.0f, -0.5f), 1.73594499f);
    EXPECT_EQ(sim::headingOf({-1.0f, 0.0f, 0.0f}), 90.0f);
    EXPECT_EQ(sim::headingOf({1.0f, -1.0f, 0.0f}), 225.0f);
}
