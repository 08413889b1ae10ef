// The simulated host itself: it must fail loudly where a real host would misbehave, and
// leave nothing behind when torn down.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

#include "fibre.h"
#include "host.h"
#include "natives.h"
#include "seam.h"
#include "temp_folder.h"

namespace {

// Tests name the natives they look for; a name the table lacks is the test's own mistake.
TEST(SimHost, NativesAreLookedUpByName) {
    const struct {
        const char* name;
        uint64_t hash;
    } cases[] = {
        {"getVehiclePedIsUsing", 0x6094AD011A2EA87D},
        {"getControlValue", 0xD95E79E8686D2C27},
        {"drawMarker", 0x28477EC23D892089},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sim::nativeHash(c.name), c.hash);
        EXPECT_STREQ(sim::findNative(c.hash)->name, c.name);
    }
    for (const char* unknown : {"", "getVehiclePedIsUsed", "GETCONTROLVALUE"}) {
        EXPECT_THROW(sim::nativeHash(unknown), std::invalid_argument) << unknown;
    }
}

TEST(SimHost, UnknownNativesAndWrongArgumentCountsFailLoudly) {
    sim::Host host;
    nativeInit(0x1234567890ABCDEF);
    EXPECT_THROW(nativeCall(), sim::HostError);
    nativeInit(sim::nativeHash("getControlValue"));  // the pad control takes two arguments
    nativePush64(2);
    EXPECT_THROW(nativeCall(), sim::HostError);
    EXPECT_THROW(scriptWait(0), sim::HostError);
}

// Calls as the host defines them pass; one argument short (the host would read a stale slot),
// or a ped handle where a player index belongs, fail.
TEST(SimHost, NativesTakeTheHostsSignatures) {
    sim::Host host;
    const uint64_t ped = static_cast<uint32_t>(host.world().entities().playerPed());
    const struct {
        const char* name;
        std::vector<uint64_t> arguments;
        bool passes;
    } cases[] = {
        {"drawRect", {0, 0, 0, 0, 0, 0, 0, 0, 0}, true},
        {"drawRect", {0, 0, 0, 0, 0, 0, 0, 0}, false},
        {"endTextCommandDisplayText", {0, 0}, false},
        {"isEntityDead", {ped}, false},
        {"setVehicleOnGroundProperly", {ped}, false},
        {"createVehicle", {0, 0, 0, 0, 0, 1, 1}, false},
        {"setVehicleEngineOn", {ped, 1, 1}, false},
        {"setGameplayCamRelativePitch", {0}, false},
        {"isPlayerBeingArrested", {0, 1}, true},
        {"isPlayerBeingArrested", {ped, 1}, false},
        {"isPlayerControlOn", {ped}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name + (" with " + std::to_string(c.arguments.size())));
        nativeInit(sim::nativeHash(c.name));
        for (const uint64_t argument : c.arguments) nativePush64(argument);
        if (c.passes) {
            EXPECT_NO_THROW(nativeCall());
        } else {
            EXPECT_THROW(nativeCall(), sim::HostError);
        }
    }
}

// The null host answers each native as the full host last did, without running it.
TEST(SimHost, NullModeAnswersTheLastResultAndDoesNothingElse) {
    sim::Host host;
    const sim::Entity& car = host.world().entities().putPlayerInVehicle();
    const auto vehicleOfPlayer = [&host] {
        nativeInit(sim::nativeHash("getVehiclePedIsUsing"));
        nativePush64(static_cast<uint32_t>(host.world().entities().playerPed()));
        return static_cast<int32_t>(nativeCall()[0]);
    };
    EXPECT_EQ(vehicleOfPlayer(), car.handle);
    host.setNullMode(true);
    const std::size_t logged = host.calls().size();
    host.world().entities().leaveVehicle(host.world().entities().playerPed());
    EXPECT_EQ(vehicleOfPlayer(), car.handle);  // as last answered
    nativeInit(sim::nativeHash("playSoundFrontend"));  // never answered: nothing to replay
    EXPECT_THROW(nativeCall(), sim::HostError);
    EXPECT_EQ(host.nativeCalls(), 3);
    EXPECT_EQ(host.calls().size(), logged);
    host.setNullMode(false);
    EXPECT_EQ(vehicleOfPlayer(), 0);
}

TEST(SimHost, KeysOutsideTheCodeRangeAreUp) {
    sim::Host host;
    host.setKey(254, true);
    for (const int32_t code : {0, -1, 255, 256, 1 << 20, -2147483647 - 1}) EXPECT_FALSE(isKeyDown(code)) << code;
    EXPECT_TRUE(isKeyDown(254));
}

TEST(Fibre, TeardownUnwindsASuspendedStack) {
    int destroyed = 0;
    int resumedAfterWait = 0;
    struct Guard {
        int& counter;
        ~Guard() { ++counter; }
    };
    {
        sim::Fibre fibre([&] {
            Guard guard{destroyed};
            for (;;) {
                sim::Fibre::suspend();
                ++resumedAfterWait;
            }
        });
        fibre.resume();
        fibre.resume();
        EXPECT_EQ(resumedAfterWait, 1);
        EXPECT_EQ(destroyed, 0);
    }
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(resumedAfterWait, 1);
}

TEST(Fibre, AnExceptionEscapingTheBodyReachesTheResumer) {
    sim::Fibre fibre([] { throw std::runtime_error("from the script"); });
    EXPECT_THROW(fibre.resume(), std::runtime_error);
    EXPECT_TRUE(fibre.finished());
}

// The host keeps the script's last two waits: the frame each began in, how long, the time
// scale set by then, and whether the script moved an entity or blew a vehicle up in the turn
// that ended with it. A wait of 50 ms begun in frame 1 ends in frame 4.
TEST(SimHost, RecordsTheScriptsWaitsAndWhatItDidBeforeEach) {
    sim::Host host;
    host.loadScript([] {
        const auto call = [](uint64_t hash, std::initializer_list<uint64_t> arguments) {
            nativeInit(hash);
            for (const uint64_t argument : arguments) nativePush64(argument);
            nativeCall();
        };
        constexpr uint64_t kSetEntityHeading = 0x8E2530AA8ADA980E, kSetTimeScale = 0x1D408577D440E81E,
                           kExplodeVehicle = 0xBA71116ADF5B514C;
        scriptWait(0);
        call(kSetEntityHeading, {0x100, std::bit_cast<uint32_t>(90.0f)});
        scriptWait(50);
        call(kSetTimeScale, {std::bit_cast<uint32_t>(0.5f)});
        call(kExplodeVehicle, {0x12345, 0, 1});  // no such vehicle: asked for all the same
        scriptWait(0);
        call(kSetTimeScale, {std::bit_cast<uint32_t>(1.0f)});
        for (;;) scriptWait(0);
    });
    struct Wait {
        int64_t frame;
        uint32_t milliseconds;
        float timeScale;
        bool moved, blewUp;
    };
    const struct {
        int64_t afterFrame;
        Wait current, before;
    } kRows[] = {
        {0, {0, 0, 1.0f, false, false}, {-1, 0, 1.0f, false, false}},
        {1, {1, 50, 1.0f, true, false}, {0, 0, 1.0f, false, false}},
        {3, {1, 50, 1.0f, true, false}, {0, 0, 1.0f, false, false}},
        {4, {4, 0, 0.5f, false, true}, {1, 50, 1.0f, true, false}},
        {5, {5, 0, 1.0f, false, false}, {4, 0, 0.5f, false, true}},
    };
    const auto expectWait = [](const sim::Host::ScriptWait& wait, const Wait& expected, int64_t frame) {
        EXPECT_EQ(wait.frame, expected.frame) << "after frame " << frame;
        EXPECT_EQ(wait.milliseconds, expected.milliseconds) << "after frame " << frame;
        EXPECT_EQ(wait.timeScale, expected.timeScale) << "after frame " << frame;
        EXPECT_EQ(wait.movedEntity, expected.moved) << "after frame " << frame;
        EXPECT_EQ(wait.blewUpVehicle, expected.blewUp) << "after frame " << frame;
    };
    for (const auto& row : kRows) {
        while (host.frame() < row.afterFrame) host.runFrame();
        expectWait(host.currentWait(), row.current, row.afterFrame);
        expectWait(host.waitBefore(), row.before, row.afterFrame);
    }
    host.load();  // a new load starts with no waits
    EXPECT_EQ(host.currentWait().frame, -1);
}

TEST(SimHost, ScriptWaitResumesOnTheFirstFrameAtLeastThatLater) {
    static int wakes = 0;
    wakes = 0;
    sim::Host host;
    host.loadScript([] {
        for (;;) {
            ++wakes;
            scriptWait(100);  // 100 ms: six frames of 16.67 ms
        }
    });
    host.runFrames(1);
    EXPECT_EQ(wakes, 1);
    host.runFrames(5);
    EXPECT_EQ(wakes, 1);
    host.runFrame();
    EXPECT_EQ(wakes, 2);
}

// The seam's profile calls are logged with their frame and result; the game folder's own
// reads and writes (a test's look at the file) are not. The frame observer runs once at
// the end of every frame.
TEST(SimHost, LogsTheSeamsProfileCallsAndCallsTheObserverAtEachFramesEnd) {
    static std::vector<std::string> script;
    script.clear();
    TempFolder folder;
    sim::Host host;
    host.setGameDirectory(folder.path());
    std::vector<int64_t> observed;
    host.setFrameObserver([&] { observed.push_back(host.frame()); });
    host.loadScript([] {
        scriptWait(0);
        writeProfileString("Rotorstrike", "armor", "2", ".\\Rotorstrike.ini");
        script.push_back(std::to_string(readProfileInt("Rotorstrike", "armor", 1, ".\\Rotorstrike.ini")));
        for (;;) scriptWait(0);
    });
    host.runFrames(3);
    EXPECT_EQ(host.gameFolder().readInt("Rotorstrike", "armor", 7, ".\\Rotorstrike.ini"), 2u);
    EXPECT_TRUE(host.gameFolder().writeString("Rotorstrike", "weapon", "3", ".\\Rotorstrike.ini"));

    ASSERT_EQ(host.profileCalls().size(), 2u);
    const sim::ProfileCall& write = host.profileCalls()[0];
    EXPECT_TRUE(write.write());
    EXPECT_EQ(write.frame, 1);
    EXPECT_EQ(write.section + " " + write.key + "=" + write.value + " " + write.path, "Rotorstrike armor=2 .\\Rotorstrike.ini");
    EXPECT_EQ(write.result, 1u);
    const sim::ProfileCall& read = host.profileCalls()[1];
    EXPECT_FALSE(read.write());
    EXPECT_EQ(read.defaultValue, 1);
    EXPECT_EQ(read.result, 2u);
    EXPECT_EQ(script, std::vector<std::string>{"2"});
    EXPECT_EQ(observed, (std::vector<int64_t>{0, 1, 2}));
}

}  // namespace
