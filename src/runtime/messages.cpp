#include "runtime/messages.h"

#include <algorithm>

#include "runtime/mod_state.h"
#include "runtime/natives.h"
#include "runtime/text.h"

void showFloatingMessage(const char* text, uint32_t frames, bool rising) {
    copyText(mod.messageText, text);
    mod.messageAlpha = 255;
    mod.messageX = 0.5f;
    mod.messageY = 0.4f;
    mod.messageFramesLeft = static_cast<int32_t>(frames);
    mod.messageTotalFrames = static_cast<int32_t>(frames);
    mod.messageRising = rising;
    if (rising) {
        mod.messageRiseSpeed = 0.8f;
        mod.messageAlpha = 0;
        mod.messageX = 0.5f;
        mod.messageY = 0.55f;
    }
}

void stepFloatingMessage() {
    drawHudText(mod.messageText, mod.messageX, mod.messageY, mod.messageAlpha);
    const int32_t framesLeft = mod.messageFramesLeft - 1;
    mod.messageFramesLeft = framesLeft;
    // A static message stands still; only a rising one moves and fades.
    if (!mod.messageRising) return;
    mod.messageY = mod.messageY + mod.messageRiseSpeed * -0.013f;

    // Single precision throughout, and T - 0.9 T as written: the figures depend on it.
    const float total = static_cast<float>(mod.messageTotalFrames);
    const float left = static_cast<float>(framesLeft);
    const float speedStep = 0.78f / (total - 0.9f * total);
    if (left >= 0.9f * total) {
        mod.messageAlpha = std::min(mod.messageAlpha + 20, 255);
        mod.messageRiseSpeed = mod.messageRiseSpeed - speedStep;
    }
    if (left <= 0.1f * total) {
        mod.messageAlpha = std::max(mod.messageAlpha - 20, 0);
        mod.messageRiseSpeed = mod.messageRiseSpeed + speedStep;
    }
}

void setTextStyle(float scale, int32_t grey, int32_t alpha, int32_t shadow) {
    setTextFont(0);
    setTextScale(scale, scale);
    setTextColour(grey, grey, grey, alpha);
    setTextWrap(0.0f, 1.0f);
    setTextCentre(true);
    setTextDropShadow(shadow, shadow, shadow, shadow, shadow);
    setTextEdge(1, 0, 0, 0, 205);
}

void drawStyledText(const char* text, float x, float y) {
    beginScreenText("STRING");
    addTextComponent(text);
    drawScreenText(x, y);
}

void drawHudText(const char* text, float x, float y, int32_t alpha) {
    setTextStyle(0.45f, 255, alpha, 20);
    drawStyledText(text, x, y);
}

void postNotification(const char* text) {
    setTextStyle(0.55f, 255, 255, 0);
    beginFeedNotification("STRING");
    addTextComponent(text);
    postFeedNotification(false, false);
}
