// The faults of the game's world: the player's vehicle gone during a wait inside a frame, or
// changed under the shield; the helicopter or its pilot removed, the helicopter wrecked; model
// and missile-asset streaming stalled; the player killed, revived or given control late, or
// arrested; sight flapping every frame; not-a-number, infinite and huge float answers.
#pragma once

#include <cstdint>

#include "fault_plan.h"
#include "host.h"

namespace soak {

class WorldFaults {
public:
    // A new host, which counts its frames from the start.
    void attach();
    // Before the frame about to run, in the situation now.
    void beforeFrame(sim::Host& host, FaultPlan& plan, int64_t frame, Situation now);
    // Each native call of the frame: a bad answer while a stretch of them lasts.
    void answer(sim::NativeCall& call, int64_t frame, FaultPlan& plan);
    // The world back to normal.
    void calm(sim::Host& host);
    // A stretch of a stall, which makes the plug-in wait, ended this long ago (frames).
    int64_t framesSinceStall(const sim::Host& host) const;
    const SituationCounts& deaths() const { return deaths_; }

private:
    struct Stall {
        int64_t until = -1;
        bool fired = false;
        int64_t answersSeen = 0;  // when the stretch began
    };
    void removeEntities(sim::World& world, FaultPlan& plan, Situation now);
    void stallStep(sim::Host& host, FaultPlan& plan, bool models, int64_t frame, bool start);
    void endangerPlayer(sim::Host& host, FaultPlan& plan, Situation now);
    void disturbAnswers(sim::Host& host, FaultPlan& plan, int64_t frame, Situation now);

    int32_t swappedFrom_ = 0;  // the vehicle the player was last moved out of in a shielded salvo
    Stall models_, assets_;
    int64_t lastStallFrame_ = -1;
    std::size_t lifeEventsSeen_ = 0;
    int64_t sightFlapsUntil_ = -1;
    int64_t badAnswersUntil_ = -1;
    float badValue_ = 0.0f;
    bool badAnswered_ = false;
    SituationCounts deaths_{};
};

}  // namespace soak
