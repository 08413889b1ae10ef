// Pictures of what the plug-in drew: a frame's screen capture rendered to a PNG with cairo,
// as the host game would show it (rectangles, then texts with their scale, colour, alpha,
// centring, shadow, edge and colour escapes, then the feed's notifications).
#pragma once

#include <cairo.h>

#include <functional>
#include <string>

#include "screen.h"

namespace render {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;

// Paints what lies behind the HUD (a plain backdrop when empty).
using Backdrop = std::function<void(cairo_t* cairo, int width, int height)>;

// Draws the screen over the backdrop and writes a PNG; false when the file cannot be written.
bool writeScreenshot(const sim::Screen& screen, const std::string& pngPath, const Backdrop& backdrop = {});

// Draws the screen onto a cairo context of width x height pixels.
void drawScreen(cairo_t* cairo, const sim::Screen& screen, int width, int height);

}  // namespace render
