#include "autopilot.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "menu/menu_rows.h"
#include "plugin_host.h"
#include "virtual_keys.h"

namespace autopilot {

namespace {

// The plug-in takes one key each 200 ms; the autopilot waits a frame longer between presses.
constexpr int64_t kPressMarginFrames = 1;
constexpr int64_t kFramesBetweenPresses = sim::kKeyLockoutFrames + kPressMarginFrames;
constexpr int64_t kSettleFrames = 30;
constexpr int64_t kMenuLookFrames = 45;  // a look at the menu before the first key
constexpr int64_t kInstructionsFrames = 90;  // long enough to read the panel (and picture it)
constexpr int kMostMenuTries = 5;
constexpr int64_t kStartTimeout = 900;

const sim::Rgba kHighlight{150, 150, 150, 200};
const sim::Rgba kPowerBar{255, 0, 0, 255};
constexpr float kPowerPerWidth = 500.0f;  // the power bar is 0.002 of the screen per power

// Driving.
constexpr float kCornerSlowing = 35.0f;  // slow down this far before a corner...
constexpr float kCornerSpeed = 15.0f;    // ...to this speed
constexpr float kSightSpeed = 12.0f;     // let the helicopter come back into sight
constexpr int kLowSightPercent = 70;
constexpr int64_t kStuckFrames = 45;
constexpr int64_t kReverseFrames = 70;
constexpr float kThreatReach = 80.0f;
constexpr float kStraightSteer = 0.3f;   // steering less than this: the car runs straight
constexpr float kTunnelWarning = 70.0f;  // no swerving this far before a tunnel
constexpr float kTunnelSpeed = 30.0f;  // missiles aimed further away are no business of the car
constexpr int64_t kDeathWithoutRespawnFrames = 10;
constexpr int64_t kHudGoneFrames = 600;  // longer than a respawn's waits

bool startsWith(const std::string& text, const char* words) { return text.rfind(words, 0) == 0; }

// The number after the words of a HUD line, or the fallback when the line is not shown.
int hudNumber(const sim::Screen& screen, const char* words, int fallback) {
    const sim::ScreenText* text = screen.findText(words);
    if (text == nullptr) return fallback;
    return std::atoi(text->text.c_str() + text->text.find(words) + std::char_traits<char>::length(words));
}

int powerShown(const sim::Screen& screen) {
    for (const sim::ScreenRect& rect : screen.rects) {
        if (rect.colour == kPowerBar && std::fabs(rect.y - 0.45f) < 1e-3f) {
            return static_cast<int>(std::lround(rect.width * kPowerPerWidth));
        }
    }
    return 0;
}

}  // namespace

int highlightedRow(const sim::Screen& screen) {
    for (const sim::ScreenRect& rect : screen.rects) {
        if (rect.colour == kHighlight && std::fabs(rect.width - 0.145f) < 1e-3f) {
            return static_cast<int>(std::lround((rect.y - kHighlightFirstY) / kMenuRowSpacing));
        }
    }
    return -1;
}

const char* outcomeName(Outcome outcome) {
    switch (outcome) {
    case Outcome::Playing: return "playing";
    case Outcome::Won: return "won";
    case Outcome::Lost: return "lost";
    case Outcome::Refused: return "refused";
    }
    return "";
}

Autopilot::Autopilot(uint32_t seed, const Options& options) : options_(options), random_(seed * 2654435761u + 12345u) {
    playLevel(options.level);
}

void Autopilot::playLevel(int level) {
    options_.level = level;
    phase_ = Phase::Settle;
    outcome_ = Outcome::Playing;
    reason_.clear();
    attempts_ = 0;
    lastRow_ = -1;
    phaseFrame_ = -1;
    // Each game cruises at its own pace.
    cruise_ = options_.cruiseSpeed + static_cast<float>(nextRandom() % 5) - 2.0f;
}

uint32_t Autopilot::nextRandom() {
    random_ ^= random_ << 13;
    random_ ^= random_ >> 17;
    random_ ^= random_ << 5;
    return random_;
}

void Autopilot::finish(Outcome outcome, std::string reason) {
    outcome_ = outcome;
    reason_ = std::move(reason);
    phase_ = Phase::Done;
}

void Autopilot::releaseKeys(sim::Host& host) {
    if (heldKey_ != 0) host.setKey(heldKey_, false);
    if (padHeld_) host.setPadControl(0);
    heldKey_ = 0;
    padHeld_ = false;
}

void Autopilot::press(sim::Host& host, int32_t key) {
    host.setKey(key, true);
    heldKey_ = key;
    lastPressFrame_ = host.frame() + 1;
}

bool Autopilot::lockedOut(const sim::Host& host) const { return host.frame() + 1 - lastPressFrame_ < kFramesBetweenPresses; }

void Autopilot::beforeFrame(sim::Host& host) {
    releaseKeys(host);
    if (phaseFrame_ < 0) phaseFrame_ = host.frame();
    const Phase before = phase_;
    switch (phase_) {
    case Phase::Settle: settle(host); break;
    case Phase::OpenMenu: openMenu(host); break;
    case Phase::Instructions: showInstructions(host); break;
    case Phase::CloseInstructions: closeInstructions(host); break;
    case Phase::ChooseLevel: chooseLevel(host); break;
    case Phase::AwaitStart: awaitStart(host); break;
    case Phase::Driving: drive(host); break;
    case Phase::Done: break;
    }
    if (phase_ != before) {
        phaseFrame_ = host.frame();
        attempts_ = 0;
        lastRow_ = -1;
    }
    if (phase_ != Phase::Driving) host.world().driving().setDriverInput({});
}

void Autopilot::settle(sim::Host& host) {
    if (host.frame() - phaseFrame_ >= kSettleFrames) phase_ = Phase::OpenMenu;
}

void Autopilot::openMenu(sim::Host& host) {
    if (highlightedRow(host.screen()) >= 0) {
        if (host.frame() - lastPressFrame_ >= kMenuLookFrames) phase_ = options_.showInstructions ? Phase::Instructions : Phase::ChooseLevel;
        return;
    }
    if (lockedOut(host)) return;
    if (attempts_++ == kMostMenuTries) {
        finish(Outcome::Refused, "the menu did not open");
        return;
    }
    press(host, options_.menuKey);
}

void Autopilot::showInstructions(sim::Host& host) {
    const sim::Screen& screen = host.screen();
    if (screen.findText("Helos have marked you") != nullptr) {
        if (host.frame() - lastPressFrame_ >= kInstructionsFrames) phase_ = Phase::CloseInstructions;
        return;
    }
    const Cursor cursor = moveCursorTo(host, kInstructionsRow);
    if (cursor == Cursor::Unreachable) finish(Outcome::Refused, "the menu's instructions row cannot be reached");
    if (cursor != Cursor::There || lockedOut(host)) return;
    press(host, vk::Numpad5);
}

void Autopilot::closeInstructions(sim::Host& host) {
    if (host.screen().findText("Helos have marked you") == nullptr) {
        phase_ = Phase::ChooseLevel;
        return;
    }
    if (!lockedOut(host)) press(host, vk::Numpad0);
}

// Walks the highlight toward the row. A row that the highlight passes over or cannot reach
// is not selectable.
Autopilot::Cursor Autopilot::moveCursorTo(sim::Host& host, int row) {
    const int current = highlightedRow(host.screen());
    if (current < 0) return host.frame() - phaseFrame_ > kStartTimeout ? Cursor::Unreachable : Cursor::Moving;
    if (current == row) return Cursor::There;
    if (lockedOut(host)) return Cursor::Moving;
    if (lastRow_ >= 0 && ((lastRow_ < row && current > row) || (lastRow_ > row && current < row) || lastRow_ == current)) {
        return Cursor::Unreachable;
    }
    lastRow_ = current;
    press(host, current < row ? vk::Numpad2 : vk::Numpad8);
    return Cursor::Moving;
}

void Autopilot::chooseLevel(sim::Host& host) {
    if (buy(host)) return;
    // A locked level's name is drawn in grey.
    const std::string name = "Level " + std::to_string(options_.level);
    for (const sim::ScreenText& text : host.screen().texts) {
        if (startsWith(text.text, name.c_str()) && text.style.colour.r < 200) {
            finish(Outcome::Refused, name + " is locked");
            return;
        }
    }
    const Cursor cursor = moveCursorTo(host, options_.level - 1);
    if (cursor == Cursor::Unreachable) finish(Outcome::Refused, name + " is locked");
    if (cursor != Cursor::There || lockedOut(host)) return;
    press(host, vk::Numpad5);
    phase_ = Phase::AwaitStart;
}

// The purchase asked for, if any: walks to its row and selects it. True while it is under way.
bool Autopilot::buy(sim::Host& host) {
    if (purchase_ == kNoPurchase) return false;
    const Cursor cursor = moveCursorTo(host, upgradeRow(purchase_));
    if (cursor == Cursor::Moving || (cursor == Cursor::There && lockedOut(host))) return true;
    if (cursor == Cursor::There) {
        press(host, vk::Numpad5);
        if (purchasesMade_++ > 0) ++repeatedPurchases_;
        if (--purchasesLeft_ > 0) return true;
    }
    // Bought, or not for sale: on to the level, from wherever the cursor is now.
    purchase_ = kNoPurchase;
    purchasesMade_ = 0;
    lastRow_ = -1;
    phaseFrame_ = host.frame();
    return true;
}

void Autopilot::awaitStart(sim::Host& host) {
    const sim::Screen& screen = host.screen();
    for (const char* refusal : {"You must upgrade your weapon", "You need a vehicle!"}) {
        if (const sim::ScreenText* text = screen.findText(refusal)) {
            finish(Outcome::Refused, text->text);
            return;
        }
    }
    if (screen.findText("You have been marked by an insurgent helo!") != nullptr) {
        phase_ = Phase::Driving;
        hudMissingFrames_ = 0;
        deathFrame_ = -1;
        stuckFrames_ = 0;
        reverseUntil_ = -1;
        warningSeen_ = false;
        return;
    }
    if (host.frame() - phaseFrame_ > kStartTimeout) finish(Outcome::Refused, "the level did not start");
}

void Autopilot::drive(sim::Host& host) {
    const sim::Screen& screen = host.screen();
    if (const sim::ScreenText* result = screen.findText("Success!")) {
        finish(Outcome::Won, result->text);
        return;
    }
    for (const char* end : {"You have lost the insurgent!", "The insurgent seems to be leaving..."}) {
        if (screen.findText(end) != nullptr) {
            finish(Outcome::Lost, end);
            return;
        }
    }
    sim::World& world = host.world();
    const sim::Entity& me = world.entities().player();
    // A death is announced with the respawn to come; a death with no checkpoint ends the
    // level without a word.
    if (me.dead && deathFrame_ < 0) {
        deathFrame_ = host.frame();
        respawnAnnounced_ = false;
    }
    if (!me.dead) deathFrame_ = -1;
    if (screen.findText("respawning") != nullptr) respawnAnnounced_ = true;
    if (deathFrame_ >= 0 && !respawnAnnounced_ && host.frame() - deathFrame_ > kDeathWithoutRespawnFrames) {
        finish(Outcome::Lost, "died with no checkpoint to respawn at");
        return;
    }
    // The HUD gone for long while the player lives: the encounter ended.
    hudMissingFrames_ = screen.findText("SCORE:") != nullptr || me.dead ? 0 : hudMissingFrames_ + 1;
    if (hudMissingFrames_ > kHudGoneFrames) {
        finish(Outcome::Lost, "the encounter ended");
        return;
    }
    sim::Entity* car = world.entities().find(world.entities().vehicleOf(me.handle));
    if (me.dead || car == nullptr || car->wrecked) {
        world.driving().setDriverInput({});
        return;
    }

    // The road of the map this level is played on.
    const sim::Map& map = world.map();
    if (!map.road.empty() && (road_.empty() || sim::length(map.origin() - roadOrigin_) > 0.0f)) {
        road_ = Road(map);
        roadOrigin_ = map.origin();
    }
    const sim::CarState state{car->position, car->heading, sim::dot(car->velocity, sim::forwardOf(car->heading))};

    // Cruise, slower before a corner, and slower still while the helicopter is out of sight
    // (it flies ahead: slowing down brings it back overhead). Under a roof the helicopter is
    // out of sight and no missile reaches the car: through at speed.
    const bool roofed = map.underRoof(state.position);
    float speed = cruise_;
    if (!road_.empty() && road_.toNextCorner(road_.nearest(state.position)) < kCornerSlowing) speed = kCornerSpeed;
    if (hudNumber(screen, "Out of sight: ", 100) < kLowSightPercent) speed = std::min(speed, kSightSpeed);
    if (roofed) speed = std::max(speed, kTunnelSpeed);

    // Out of the way of the missiles in the air.
    Threats threats;
    const float scale = world.combat().missileSpeedScale();
    for (const sim::Projectile& missile : world.combat().projectiles()) {
        if (roofed || !missile.flying || sim::horizontalLength(missile.to - state.position) > kThreatReach) continue;
        threats.add({missile.position, missile.to, missile.speed * scale});
    }
    Plan plan{speed, 0.0f, 0.0f};
    if (threats.count > 0 && !road_.empty()) {
        // A way out, once found, is kept while it stays clear.
        const Danger danger{world.combat().blastRadius()};
        Plan held = dodge_;
        held.swerveSeconds = std::max(0.0f, dodge_.swerveSeconds - static_cast<float>(host.frame() - dodgeFrame_) / 60.0f);
        if (dodging_ && clearance(road_, map, state, held, threats, danger) >= danger.margin) {
            plan = held;
        } else {
            plan = choosePlan(road_, map, state, threats, danger, speed, maySwerve(map, state));
            // The same swerve chosen again goes on; it does not start over.
            const bool sameSwerve = dodging_ && plan.steer == dodge_.steer && plan.swerveSeconds > 0.0f;
            if (sameSwerve) plan.swerveSeconds = held.swerveSeconds;
            if (!sameSwerve) dodgeFrame_ = host.frame();
            dodge_ = sameSwerve ? Plan{plan.speed, plan.steer, dodge_.swerveSeconds} : plan;
            dodging_ = plan.speed != speed || plan.swerveSeconds > 0.0f;
        }
    } else {
        dodging_ = false;
    }
    float steer = plan.swerveSeconds > 0.0f ? plan.steer : road_.steerFor(state);

    // Stuck with its nose against something: back off, turning the other way, and try again.
    const sim::Vec3 nose = state.position + sim::forwardOf(state.heading) * 1.0f;
    if (std::fabs(state.speed) < 0.5f && map.blocksCar(nose, sim::kCarHandling.radius)) {
        if (++stuckFrames_ > kStuckFrames) {
            reverseUntil_ = host.frame() + kReverseFrames;
            stuckFrames_ = 0;
        }
    } else {
        stuckFrames_ = 0;
    }
    if (host.frame() < reverseUntil_) {
        plan.speed = -sim::kCarHandling.reverseSpeed;
        steer = -steer;
    }
    world.driving().setDriverInput({true, steer, plan.speed});

    strike(host);
}

// A driver swerves only with the car straight on the road and no tunnel just ahead: a swerve
// at a tunnel's mouth, or one on top of another, ends against a wall.
bool Autopilot::maySwerve(const sim::Map& map, const sim::CarState& car) const {
    if (std::fabs(road_.steerFor(car)) > kStraightSteer) return false;
    const float along = road_.nearest(car.position);
    for (float ahead = 0.0f; ahead <= kTunnelWarning; ahead += 10.0f) {
        sim::Vec3 point = road_.pointAt(along + ahead);
        point.z = car.position.z;
        if (map.underRoof(point)) return false;
    }
    return true;
}

// Late in a salvo's warning, once the prompt shows: the attack key, or now and then the
// pad, when the helicopter is in sight and the power has grown to this warning's mark.
void Autopilot::strike(sim::Host& host) {
    const sim::Screen& screen = host.screen();
    if (screen.findText("ATTACK READY!") == nullptr) {
        warningSeen_ = false;
        return;
    }
    if (!warningSeen_) {
        warningSeen_ = true;
        struck_ = false;
        strikePower_ = 40 + static_cast<int>(nextRandom() % 8);
    }
    // Refused for want of sight: try again once the helicopter shows.
    if (screen.findText("have clear sight") != nullptr) struck_ = false;
    if (struck_ || powerShown(screen) < strikePower_ || screen.findText("Out of sight") != nullptr || lockedOut(host)) return;
    struck_ = true;
    // One strike in four is made with the pad, the others with the attack key.
    if (nextRandom() % 4 == 0) {
        host.setPadControl(kPadFullyPressed);
        padHeld_ = true;
        lastPressFrame_ = host.frame() + 1;
    } else {
        press(host, options_.attackKey);
    }
}

}  // namespace autopilot
