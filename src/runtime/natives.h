// One wrapper per native the plug-in calls, named for what it does. Each pushes its
// arguments in the native's order and widths; nobody else calls the host directly.
#pragma once

#include <cstdint>

#include "runtime/mod_state.h"

// Input and sound.
int32_t padControlValue(int32_t inputGroup, int32_t control);
void playSoundFrontend(int32_t soundId, const char* soundName, const char* soundSet, bool p3);

// The player and entities.
HostHandle playerPedHandle();
Vector3 entityPosition(HostHandle entity);
float entitySpeed(HostHandle entity);
Vector3 entityVelocity(HostHandle entity);
bool entityExists(HostHandle entity);
// The vehicle the ped is using (0 when none).
HostHandle vehiclePedIsUsing(HostHandle ped);

// A filled rectangle for this frame, centred at (x, y).
void drawRect(float x, float y, float width, float height, int32_t red, int32_t green, int32_t blue, int32_t alpha);

// Text on screen and in the feed: a style, an entry of "STRING" with one text component,
// then drawn at a point or posted.
void setTextFont(int32_t font);
void setTextScale(float scaleX, float scaleY);
void setTextColour(int32_t red, int32_t green, int32_t blue, int32_t alpha);
void setTextWrap(float left, float right);
void setTextCentre(bool centred);
void setTextDropShadow(int32_t distance, int32_t red, int32_t green, int32_t blue, int32_t alpha);
void setTextEdge(int32_t edge, int32_t red, int32_t green, int32_t blue, int32_t alpha);
void beginScreenText(const char* entry);
void beginFeedNotification(const char* entry);
void addTextComponent(const char* text);
void drawScreenText(float x, float y);
void postFeedNotification(bool blink, bool showInBrief);
