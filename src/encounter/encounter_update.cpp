#include "encounter/encounter_update.h"

#include "encounter/current_level.h"
#include "encounter/level_outcome.h"
#include "encounter/level_start.h"
#include "encounter/levels.h"
#include "encounter/pursuit.h"
#include "runtime/messages.h"
#include "runtime/mod_state.h"
#include "runtime/natives.h"
#include "runtime/text.h"

namespace {

constexpr float kBarX = 0.5f;
constexpr float kBarY = 0.03f;
constexpr float kBarHeight = 0.007f;
constexpr float kFullBarWidth = 0.15f;
constexpr float kLabelY = 0.05f;
constexpr float kOutOfSightY = 0.1f;
constexpr float kPowerBarY = 0.45f;
constexpr float kScoreX = 0.05f;
constexpr float kScoreY = 0.02f;

// The prompt's window of sequence frames: a salvo's warning (-49 to -1 when this step sees it).
constexpr int32_t kPromptFirstFrame = -154;
constexpr int32_t kPromptLastFrame = -1;
// The gauge empties over 350 net frames; the helicopter is lost after 400.
constexpr float kSightGaugeFrames = 350.0f;
constexpr int32_t kLostAfterFrames = 400;

void drawLine(float x, float y, int32_t alpha, const char* prefix, int32_t number) {
    TextBuffer text;
    appendText(text, prefix);
    appendNumber(text, number);
    drawHudText(text.chars, x, y, alpha);
}

const char* powerUpLabel(int32_t attacksSurvived) {
    switch (attacksSurvived) {
    case 0: return nullptr;
    case 1: return "POWERUP: I";
    case 2: return "POWERUP: II";
    default: return "~r~POWERUP!";
    }
}

// A negative health (the last strike overshot) or one that is not a number counts as none.
void clampHealth() {
    if (!(mod.heliHealth >= 0.0f)) mod.heliHealth = 0.0f;
}

// The red bar and the strike's damage from the end of a counter-attack until the next
// salvo starts; otherwise the green bar and the power-ups.
void drawHealthBar(float width) {
    if (mod.counterAttackSequence != 0 && mod.missileSequenceActive == 0) {
        drawRect(kBarX, kBarY, width, kBarHeight, 255, 0, 0, 180);
        drawLine(kBarX, kLabelY, 180, "~r~Great hit! Damage: ", truncateToInt(mod.lastStrikeDamage));
        return;
    }
    drawRect(kBarX, kBarY, width, kBarHeight, 0, 255, 0, 180);
    if (const char* label = powerUpLabel(mod.attacksSurvived)) drawHudText(label, kBarX, kLabelY, 200);
}

void drawOutOfSightGauge(float width) {
    if (hasClearLineOfSight(mod.playerPed, mod.heliVehicle)) return;
    drawRect(kBarX, kBarY, width, kBarHeight, 150, 150, 150, 220);
    // Single precision in this order: the figures shown (59 at 140 frames, -14 at 400) depend on it.
    const float percent = (kSightGaugeFrames - static_cast<float>(mod.outOfSightFrames)) * 0.0028571428f * 100.0f;
    drawLine(kBarX, kOutOfSightY, 200, "~b~Out of sight: ", truncateToInt(percent));
}

void chargeAttackPower() {
    const bool ready = mod.attacksSurvived >= kAttacksForCounterAttack &&
                       mod.missileSequenceFrame >= kPromptFirstFrame && mod.missileSequenceFrame <= kPromptLastFrame &&
                       mod.counterAttackSequence == 0 && entityExists(vehiclePedIsUsing(mod.playerPed));
    if (!ready) {
        mod.attackPower = 0.0f;
        return;
    }
    showFloatingMessage("~r~ATTACK READY! (NUM9/A) POWER:", 1, false);
    mod.attackPower = mod.attackPower + 1.0f;
    drawRect(kBarX, kPowerBarY, mod.attackPower * 0.02f * 0.1f, kBarHeight, 255, 0, 0, 255);
}

// A helicopter the host no longer counts as drivable is replaced at once, keeping the
// health, the score and every counter. A replacement that cannot be made ends the
// encounter ("Error: 101"), and with it any armor shield still up.
void replaceWreckedHelicopter() {
    if (vehicleDrivable(mod.heliVehicle)) return;
    releaseEncounter();
    mod.encounterActive = true;
    spawnHelicopter();
    if (!mod.encounterActive) dropArmorShield();
}

void countSight() {
    if (hasClearLineOfSight(mod.playerPed, mod.heliVehicle)) {
        if (mod.outOfSightFrames > 0) --mod.outOfSightFrames;
        return;
    }
    ++mod.outOfSightFrames;
    if (mod.outOfSightFrames > kLostAfterFrames) {
        showFloatingMessage("You have lost the insurgent!", kMessageFrames, true);
        endEncounter();
    }
}

}  // namespace

void updateEncounter() {
    clampHealth();
    const float barWidth = mod.heliHealth / currentLevelParams().maxHealth * kFullBarWidth;
    drawHealthBar(barWidth);
    drawOutOfSightGauge(barWidth);
    chargeAttackPower();

    drawLine(kScoreX, kScoreY, 200, "SCORE: ", truncateToInt(mod.score));
    // No score accrues while the counter-attack is available.
    if (mod.attacksSurvived < kAttacksForCounterAttack) addFrameScore();

    mod.heliDistance = distanceBetween(mod.playerPosition, mod.heliPosition, false);
    if (mod.missileSequenceActive == 0) pursuePlayer();

    if (!(mod.heliHealth > 0.0f)) {
        completeLevel();
        return;
    }
    replaceWreckedHelicopter();
    // A replacement that could not be made has ended the encounter with "Error: 101": there
    // is no helicopter left to count sight against, and no encounter for a death to resume.
    if (!mod.encounterActive) return;
    countSight();
    checkPlayerDeath();
}
