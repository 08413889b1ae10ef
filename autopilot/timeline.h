// The timeline of a game: one line per event, with its frame and the simulated time, as the
// game goes: the menu, the level's start, each salvo's warning, the shield, each missile and
// where it came down, hits on the player, death, revival and respawn, power-ups, the attack
// prompt, each strike and its damage, a helicopter replaced or lost, and the level's end
// with its score and high score.
//
// It watches the host after each frame: the plug-in's state, the world's records and the
// screen. Watching costs a few comparisons a frame; an event allocates its line.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "host.h"

namespace autopilot {

struct Event {
    int64_t frame = 0;
    uint32_t milliseconds = 0;  // simulated time since the host's first frame
    std::string text;
};

// "frame   1234   20.567 s  salvo 1: warning"
std::string formatEvent(const Event& event);
// "map laid around (12.0, -40.5), heading 90.0": where the host laid a level's map.
std::string describeMap(const sim::Map& map);

class Timeline {
public:
    // Begins with the host as it stands: what happened before (an earlier level's missiles,
    // deaths and strikes, the plug-in's state it left) is not this timeline's.
    explicit Timeline(const sim::Host& host);

    // Looks at the frame just run.
    void observe(const sim::Host& host);
    // An event of the caller's (the settings file's values at the end, say).
    void add(const sim::Host& host, std::string text);
    // A picture of the screen taken now: its file, and the floating message it shows.
    void addPicture(const sim::Host& host, const std::string& file);

    const std::vector<Event>& events() const { return events_; }
    // Called with each event as it is added.
    std::function<void(const Event&)> onEvent;

    // The score and high score of the last level won (from its result message); -1 before.
    int64_t wonScore() const { return wonScore_; }
    int64_t wonHighScore() const { return wonHighScore_; }
    int salvos() const { return salvos_; }
    int strikes() const { return strikes_; }
    int deaths() const { return deaths_; }

private:
    void watchPlugin(const sim::Host& host);
    void watchMissiles(const sim::Host& host);
    void watchLife(const sim::Host& host);
    void watchScreen(const sim::Host& host);
    void watchMap(const sim::Host& host);
    // The plug-in's state as it stands, to tell its changes by.
    void rememberPlugin();

    uint32_t startTick_;
    std::vector<Event> events_;

    // The plug-in's state as last seen.
    int32_t menuOpen_ = 0;
    int32_t instructionsShown_ = 0;
    bool encounterActive_ = false;
    bool levelStarted_ = false;
    int32_t heliVehicle_ = 0;
    int32_t sequenceActive_ = 0;
    int32_t counterAttack_ = 0;
    int32_t shield_ = 0;
    int32_t attacksSurvived_ = 0;
    int32_t playerDown_ = 0;

    std::size_t projectilesSeen_ = 0;
    std::size_t firstFlying_ = 0;  // the first missile whose blast is still to tell
    std::vector<bool> blastTold_;
    std::size_t casualtiesSeen_ = 0;
    std::size_t lifeEventsSeen_ = 0;
    std::size_t crashesSeen_ = 0;

    bool promptShown_ = false;
    bool sightLost_ = false;
    int64_t sightLostFrame_ = 0;
    std::string lastMessage_;
    sim::Map map_;  // the map last laid

    int salvos_ = 0;
    int salvoMissiles_ = 0;
    int strikes_ = 0;
    int deaths_ = 0;
    int64_t wonScore_ = -1;
    int64_t wonHighScore_ = -1;
};

}  // namespace autopilot
