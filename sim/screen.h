// What the plug-in put on the screen in one frame.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "recycled.h"

namespace sim {

struct Rgba {
    int32_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const Rgba&) const = default;
};

// The text style a host keeps between the style calls and the draw; reset after each text.
struct TextStyle {
    int32_t font = 0;
    float scaleX = 1.0f, scaleY = 1.0f;
    Rgba colour{255, 255, 255, 255};
    float wrapLeft = 0.0f, wrapRight = 1.0f;
    bool centred = false;
    int32_t shadowDistance = 0;
    Rgba shadow{};
    int32_t edge = 0;
    Rgba edgeColour{};
};

struct ScreenText {
    std::string entry;  // the text entry begun ("STRING")
    std::string text;   // its component
    TextStyle style;
    float x = 0.0f, y = 0.0f;
};

struct ScreenRect {
    float x = 0.0f, y = 0.0f, width = 0.0f, height = 0.0f;  // centre and size
    Rgba colour{};
};

struct Notification {
    std::string entry;
    std::string text;
    TextStyle style;
    bool blink = false;
    bool showInBrief = false;
};

struct Screen {
    Recycled<ScreenText> texts;
    Recycled<ScreenRect> rects;
    Recycled<Notification> notifications;

    void clear() {
        texts.clear();
        rects.clear();
        notifications.clear();
    }
    // The first text drawn this frame that contains the given words, or null.
    const ScreenText* findText(std::string_view words) const;
};

}  // namespace sim
