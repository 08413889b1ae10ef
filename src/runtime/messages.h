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

// The one style of every text the plug-in shows: font 0, centred, wrapped to the screen,
// outlined; a grey level (255: white) with its alpha, and a drop shadow whose distance and
// colour are all `shadow` (0: none). Then the text itself, in that style, drawn at (x, y).
void setTextStyle(float scale, int32_t grey, int32_t alpha, int32_t shadow);
void drawStyledText(const char* text, float x, float y);
