// The floating message, the HUD text line, feed notifications.
#pragma once

#include <cstdint>

// Replaces the floating message. A rising message pops up from y 0.55, rises and fades;
// a static one stands at full strength at y 0.4.
void showFloatingMessage(const char* text, uint32_t frames, bool rising);
// Draws the floating message as it stands, then advances it one frame.
void stepFloatingMessage();
// One line of white, centred HUD text this frame.
void drawHudText(const char* text, float x, float y, int32_t alpha);
void postNotification(const char* text);
