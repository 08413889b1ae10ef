// The autopilot: a player of the mission in the simulated host. It plays only as a person
// at the keyboard would: it looks at the screen (the menu, the HUD, the floating message) and
// at the world around its car (the road, the helicopter, the missiles in the air and the
// markers on their aim points), and it acts only through the keys (the menu key, the numeric
// keypad, the attack key), the pad's attack control and its car's steering and speed.
//
// It opens the menu, shows the instructions, chooses its level, and then drives the map's
// road at speed, slows down when the helicopter is out of sight, dodges the missiles it can
// by braking, speeding up or swerving, and strikes late in a salvo's warning once the
// prompt shows. Every choice is drawn from its seed: the same seed plays the same game.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host.h"
#include "dodge.h"
#include "road.h"
#include "rules.h"

namespace autopilot {

enum class Outcome {
    Playing,
    Won,      // the result message came
    Lost,     // the helicopter was lost, or the player died with no checkpoint
    Refused,  // the level could not be started
};

const char* outcomeName(Outcome outcome);

// The menu row under the highlight on the screen, or -1 when no menu is drawn.
int highlightedRow(const sim::Screen& screen);

class Autopilot {
public:
    struct Options {
        int level = 1;                // 1 to 6 (the sixth is the menu's unlabelled row)
        bool showInstructions = true;  // open the instructions panel before choosing the level
        float cruiseSpeed = 24.0f;
        int32_t menuKey = kDefaultMenuKey;      // as a fresh settings file binds it
        int32_t attackKey = kDefaultAttackKey;
    };

    Autopilot(uint32_t seed, const Options& options);

    // Looks at what the last frame showed and sets the keys, the pad and the car's controls
    // for the next one. Call it before every host frame.
    void beforeFrame(sim::Host& host);

    // Plays another level in the same game, from the menu.
    void playLevel(int level);
    // In the menu, first buys the upgrade, if its row can be chosen (points enough, the
    // tier below the top), then chooses the level. times: presses on the row, one after the
    // other while the cursor stays there (a player who buys twice in a row).
    // upgrade: a row of the upgrade table.
    void buyFirst(int32_t upgrade, int times = 1) {
        purchase_ = upgrade;
        purchasesLeft_ = times;
    }
    // Second and later presses on an upgrade's row within one buyFirst, since the start.
    int repeatedPurchases() const { return repeatedPurchases_; }

    Outcome outcome() const { return outcome_; }
    // Why the level was refused or lost, in the plug-in's words where it said any.
    const std::string& reason() const { return reason_; }
    // The encounter is on and the autopilot drives.
    bool driving() const { return phase_ == Phase::Driving; }
    // The level was chosen in the menu and has not begun yet.
    bool awaitingStart() const { return phase_ == Phase::AwaitStart; }

private:
    enum class Phase { Settle, OpenMenu, Instructions, CloseInstructions, ChooseLevel, AwaitStart, Driving, Done };
    enum class Cursor { There, Moving, Unreachable };

    void releaseKeys(sim::Host& host);
    void press(sim::Host& host, int32_t key);
    bool lockedOut(const sim::Host& host) const;
    void finish(Outcome outcome, std::string reason);

    void settle(sim::Host& host);
    void openMenu(sim::Host& host);
    void showInstructions(sim::Host& host);
    void closeInstructions(sim::Host& host);
    void chooseLevel(sim::Host& host);
    bool buy(sim::Host& host);
    void awaitStart(sim::Host& host);
    void drive(sim::Host& host);
    void strike(sim::Host& host);
    bool maySwerve(const sim::Map& map, const sim::CarState& car) const;
    Cursor moveCursorTo(sim::Host& host, int row);

    uint32_t nextRandom();

    Options options_;
    uint32_t random_;
    Phase phase_ = Phase::Settle;
    Outcome outcome_ = Outcome::Playing;
    std::string reason_;

    int32_t heldKey_ = 0;
    bool padHeld_ = false;
    int64_t lastPressFrame_ = -1000;
    int64_t phaseFrame_ = 0;  // the frame the phase began
    int attempts_ = 0;
    int lastRow_ = -1;
    static constexpr int32_t kNoPurchase = -1;
    int32_t purchase_ = kNoPurchase;
    int purchasesLeft_ = 0, purchasesMade_ = 0, repeatedPurchases_ = 0;

    Road road_;
    sim::Vec3 roadOrigin_;
    float cruise_ = 24.0f;
    int64_t stuckFrames_ = 0;
    int64_t reverseUntil_ = -1;
    Plan dodge_;  // the way out of the missiles' way being driven, since dodgeFrame_
    int64_t dodgeFrame_ = 0;
    bool dodging_ = false;
    int64_t hudMissingFrames_ = 0;
    int64_t deathFrame_ = -1;
    bool respawnAnnounced_ = false;
    // The strike: the power at which this warning's strike comes, and whether it came.
    int strikePower_ = 45;
    bool warningSeen_ = false;
    bool struck_ = false;
};

}  // namespace autopilot
