// The simulated world itself: what the plug-in's tests rely on it to do.
#include <gtest/gtest.h>

#include <vector>

#include "host.h"
#include "seam.h"

namespace {

constexpr float kFrameSeconds = 1.0f / 60.0f;

// A helicopter with a pilot on a mission flies to the point and settles there, the same
// way every time; without a pilot, or wrecked, it keeps its velocity.
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
        for (int frame = 0; frame < 600; ++frame) {
            world.step(kFrameSeconds);
            const float distance = sim::length(sim::Vec3{300.0f, 400.0f, 80.0f} - world.find(heli)->position);
            if (frame % 60 == 59) {
                EXPECT_LT(distance, lastDistance);
                lastDistance = distance;
            }
            // The pilot rides along.
            EXPECT_EQ(world.find(pilot)->position.x, world.find(heli)->position.x);
        }
        EXPECT_LT(lastDistance, 1.0f);
        EXPECT_LE(sim::length(world.find(heli)->velocity), 80.0f);
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

// An address argument given a plain number fails loudly instead of being followed.
TEST(SimHost, AddressArgumentsMustBeAddresses) {
    sim::Host host;
    nativeInit(0xB736A491E64A32CF);  // hands an entity back: takes the handle's address
    nativePush64(0x101);
    EXPECT_THROW(nativeCall(), sim::HostError);
    int32_t handle = 0x101;
    nativeInit(0xB736A491E64A32CF);
    nativePush64(reinterpret_cast<uintptr_t>(&handle));
    EXPECT_NO_THROW(nativeCall());
}

}  // namespace
