// The exact figures of a frame's cost, as tests: the natives each steady frame calls are the
// ones the plug-in's rules require, against the full host and the null host alike, and no
// steady frame allocates. Timings are the benchmark's, never a test's.
#include <gtest/gtest.h>

#include "allocation_counter.h"
#include "steady_states.h"

namespace {

using bench::Scene;
using bench::State;

constexpr int kFrames = 50;

TEST(FrameCost, EachSteadyFrameCallsTheNativesItsRulesRequire) {
    for (const State state : bench::kStates) {
        const bench::ExpectedNatives expected = bench::expectedNatives(state);
        SCOPED_TRACE(std::string(bench::nameOf(state)) + ": " + expected.breakdown);
        Scene scene(state);
        for (const bool null : {false, true}) {
            SCOPED_TRACE(null ? "null host, the plug-in's frame" : "full host, a whole frame");
            scene.setNullMode(null);
            for (int frame = 0; frame < 3; ++frame) {
                const int64_t before = scene.host().nativeCalls();
                null ? scene.pluginFrame() : scene.hostFrame();
                EXPECT_EQ(scene.host().nativeCalls() - before, expected.count);
            }
        }
        EXPECT_EQ(static_cast<int>(scene.callShape().size()), expected.count);
    }
}

TEST(FrameCost, SteadyFramesAllocateNothing) {
    for (const State state : bench::kStates) {
        SCOPED_TRACE(bench::nameOf(state));
        Scene scene(state);
        for (int frame = 0; frame < kFrames; ++frame) scene.hostFrame();  // the host's lists at their size
        int64_t before = bench::allocations();
        for (int frame = 0; frame < kFrames; ++frame) scene.hostFrame();
        EXPECT_EQ(bench::allocations() - before, 0) << "full host, whole frames";

        scene.setNullMode(true);
        before = bench::allocations();
        for (int frame = 0; frame < kFrames; ++frame) scene.pluginFrame();
        EXPECT_EQ(bench::allocations() - before, 0) << "null host, the plug-in's frame";
    }
}

}  // namespace
