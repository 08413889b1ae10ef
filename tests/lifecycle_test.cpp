// The host's lifecycle: a game reload restarts the script clean, a key counts only while the
// game has the focus, and a module freed unregisters its script.
#include <functional>
#include <string>
#include <vector>

#include "encounter_test.h"
#include "runtime/script.h"

namespace {

const uint64_t kDoScreenFadeIn = sim::nativeHash("doScreenFadeIn");
const uint64_t kDoScreenFadeOut = sim::nativeHash("doScreenFadeOut");

class LifecycleTest : public EncounterTest {
protected:
    // The game loads a save with the player in a car elsewhere, and the restarted script runs
    // its first frame. Returns that frame's undoing: its time, hint and fade calls, and
    // "stopCues" for a stop of the cues.
    std::vector<std::string> reloadAndUndo() {
        host.reloadGame({100.0f, 200.0f, 30.0f}, true);
        host.runFrame();
        std::vector<std::string> undone;
        for (const sim::LoggedCall& call : host.calls()) {
            if (call.hash == kSetTimeScale || call.hash == kSetGameplayHintFov || call.hash == kDoScreenFadeIn ||
                call.hash == kDoScreenFadeOut) {
                undone.push_back(call.describe());
            }
        }
        if (cuesThisFrame(kCuesStopped) > 0) undone.push_back("stopCues");
        return undone;
    }
    bool waitingFor(uint32_t milliseconds) const { return host.currentWait().milliseconds == milliseconds; }
    // Level 1 chosen in the menu, in a car: its start runs from this frame.
    void chooseLevelOne() {
        host.tapKey(vk::F9);
        host.runFrames(sim::kKeyLockoutFrames);
        host.world().entities().putPlayerInVehicle();
        host.pressFor1Frame(vk::Numpad5);
    }
};

// Wherever the reload cuts the script short, its first frame undoes what the script before
// left (and nothing else), and the restarted script holds nothing of the world before: the
// menu closed, no encounter, no handle of before passed to a native.
TEST_F(LifecycleTest, ARestartUndoesWhatWasLeftAndForgetsTheWorld) {
    struct Case {
        const char* where;
        std::function<bool()> reach;
        std::vector<std::string> undone;
    };
    const Case cases[] = {
        {"in the menu", [&] { host.pressFor1Frame(vk::F9); return mod.menuOpen != 0; }, {}},
        {"in the level start's fade",
         [&] {
             chooseLevelOne();
             return waitingFor(200);
         },
         {"doScreenFadeIn(1000)"}},
        {"in the intro",
         [&] {
             chooseLevelOne();
             return runUntil([&] { return waitingFor(1500); });
         },
         {"setTimeScale(1)", "setGameplayHintFov(1)"}},
        {"in a salvo's warning",
         [&] {
             startLevelOne();
             startSalvoNextFrame(false);
             return runUntilWarningAt(-40);
         },
         {"stopCues"}},
        {"waiting for the respawn",
         [&] {
             startLevelOne();
             host.world().combat().destroyVehicle(host.world().entities().vehicleOf(host.world().entities().playerPed()));
             return runUntil([&] { return waitingFor(500); });
         },
         {"doScreenFadeIn(1000)"}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.where);
        host.load();
        ASSERT_TRUE(test.reach());
        EXPECT_EQ(reloadAndUndo(), test.undone);
        EXPECT_EQ(host.world().records().timeScale(), 1.0f);
        EXPECT_EQ(mod.menuOpen, 0);
        EXPECT_FALSE(mod.encounterActive);
        host.runFrames(600);
        EXPECT_EQ(host.staleHandles(), std::vector<std::string>{});
        EXPECT_EQ(host.world().entities().heldByScript(), std::vector<int32_t>{});
    }
}

// A reload in the wreck's slow motion: the win is credited once, from the level's score, in
// the restarted script's first frame, and the old helicopter's handle (now the player's new
// car's) is never used again.
TEST_F(LifecycleTest, AWinCutShortIsCreditedOnce) {
    startLevelOne();
    mod.attacksSurvived = 3;
    mod.score = 123.0f;
    mod.heliHealth = 0.0f;
    const int32_t heli = mod.heliVehicle;
    ASSERT_TRUE(runUntil([&] { return waitingFor(4000); }));
    EXPECT_EQ(reloadAndUndo(), (std::vector<std::string>{"setTimeScale(1)", "setGameplayHintFov(1)"}));
    EXPECT_EQ(host.world().entities().vehicleOf(host.world().entities().playerPed()), heli);
    EXPECT_EQ(hudLine("~g~Success!"), "~g~Success! -- NEW HIGH SCORE: 123 -- Last score: 0 -- (Level 2 is available!)");
    EXPECT_EQ(stored("high_score_0"), 123u);
    EXPECT_EQ(stored("upgrade_points"), 3u);
    EXPECT_EQ(stored("open_levels"), 2u);
    host.runFrames(600);
    EXPECT_EQ(host.staleHandles(), std::vector<std::string>{});
    EXPECT_FALSE(playerVehicle().wrecked);
    host.reloadGame({0.0f, 0.0f, 30.0f}, false);
    host.runFrames(60);
    EXPECT_EQ(stored("upgrade_points"), 3u);
}

// A key typed while another program has the focus, or no window has it, does nothing.
TEST_F(LifecycleTest, KeysCountOnlyWithTheGamesFocus) {
    for (const auto focus : {sim::Host::Focus::OtherProgram, sim::Host::Focus::NoWindow, sim::Host::Focus::Game}) {
        host.setFocus(focus);
        host.tapKey(vk::F9);
        EXPECT_EQ(mod.menuOpen, focus == sim::Host::Focus::Game ? 1 : 0);
    }
}

// Freed while the process goes on, the module unregisters and calls nothing else; at the
// process's exit it does nothing. Loaded again, it starts afresh.
TEST_F(LifecycleTest, AnUnloadUnregisters) {
    host.runFrame();
    moduleEntry(nullptr, 0, false);
    EXPECT_EQ(host.registrations(), 1);
    const std::size_t calls = host.calls().size();
    host.unload();
    EXPECT_EQ(host.registrations(), 0);
    EXPECT_EQ(host.calls().size(), calls);
    host.runFrame();
    EXPECT_TRUE(host.calls().empty());
    host.load();
    host.runFrame();
    EXPECT_EQ(host.registrations(), 1);
    EXPECT_FALSE(host.calls().empty());
}

}  // namespace
