#include "screenshot.h"

#include <string_view>
#include <vector>

namespace render {

namespace {

// Text of scale 1.0 is a font this many pixels high on a 720-line screen, and as narrow as
// the host's: our nearest face is drawn narrower still, so that a line fills the box the
// plug-in drew for it as it does in the game ("Level 5 - Impossible" within the menu's panel).
constexpr double kPixelsPerScale = 45.0;
constexpr double kNarrowing = 0.8;
constexpr const char* kFontFace = "DejaVu Sans Condensed";

struct Colour {
    double r, g, b, a;
};

Colour colourOf(sim::Rgba rgba) { return {rgba.r / 255.0, rgba.g / 255.0, rgba.b / 255.0, rgba.a / 255.0}; }

// The host's colour escapes: the rest of the line takes the escape's colour.
bool escapeColour(std::string_view code, Colour& colour, const Colour& base) {
    if (code == "r") colour = {0.88, 0.20, 0.20, base.a};
    else if (code == "g") colour = {0.45, 0.80, 0.45, base.a};
    else if (code == "b") colour = {0.36, 0.71, 0.90, base.a};
    else if (code == "w") colour = base;
    else return false;
    return true;
}

// One run of text in one colour.
struct Run {
    std::string text;
    Colour colour;
};

std::vector<Run> runsOf(const std::string& text, const Colour& base) {
    std::vector<Run> runs{{"", base}};
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t close = text[i] == '~' ? text.find('~', i + 1) : std::string::npos;
        Colour colour = runs.back().colour;
        if (close != std::string::npos && escapeColour(std::string_view(text).substr(i + 1, close - i - 1), colour, base)) {
            runs.push_back({"", colour});
            i = close;
            continue;
        }
        runs.back().text += text[i];
    }
    return runs;
}

double runsWidth(cairo_t* cairo, const std::vector<Run>& runs) {
    double width = 0.0;
    for (const Run& run : runs) {
        cairo_text_extents_t extents;
        cairo_text_extents(cairo, run.text.c_str(), &extents);
        width += extents.x_advance;
    }
    return width;
}

void fillRuns(cairo_t* cairo, const std::vector<Run>& runs, double x, double baseline, const Colour* only) {
    for (const Run& run : runs) {
        const Colour& colour = only != nullptr ? *only : run.colour;
        cairo_set_source_rgba(cairo, colour.r, colour.g, colour.b, colour.a);
        cairo_move_to(cairo, x, baseline);
        cairo_show_text(cairo, run.text.c_str());
        cairo_text_extents_t extents;
        cairo_text_extents(cairo, run.text.c_str(), &extents);
        x += extents.x_advance;
    }
}

void strokeRuns(cairo_t* cairo, const std::vector<Run>& runs, double x, double baseline, const Colour& colour, double width) {
    cairo_set_source_rgba(cairo, colour.r, colour.g, colour.b, colour.a);
    cairo_set_line_width(cairo, width);
    for (const Run& run : runs) {
        cairo_move_to(cairo, x, baseline);
        cairo_text_path(cairo, run.text.c_str());
        cairo_text_extents_t extents;
        cairo_text_extents(cairo, run.text.c_str(), &extents);
        x += extents.x_advance;
    }
    cairo_stroke(cairo);
}

// The style's font on a screen of this height; its size in pixels.
double useFont(cairo_t* cairo, const sim::TextStyle& style, int height) {
    const double size = style.scaleY * kPixelsPerScale * height / 720.0;
    cairo_select_font_face(cairo, kFontFace, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_matrix_t matrix;
    cairo_matrix_init_scale(&matrix, size * kNarrowing, size);
    cairo_set_font_matrix(cairo, &matrix);
    return size;
}

// The text in lines no wider than width in the font in use, broken between words; a line
// after a break begins with the colour escape in force there.
std::vector<std::string> wrapped(cairo_t* cairo, const std::string& text, const Colour& base, double width) {
    std::vector<std::string> lines(1);
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t space = text.find(' ', start);
        const std::string word = text.substr(start, space == std::string::npos ? std::string::npos : space - start);
        std::string& line = lines.back();
        const std::string longer = line.empty() ? word : line + " " + word;
        if (!line.empty() && runsWidth(cairo, runsOf(longer, base)) > width) {
            std::string escape;
            for (const char* code : {"~r~", "~g~", "~b~", "~w~"}) {
                const std::size_t at = line.rfind(code);
                if (at != std::string::npos && (escape.empty() || at > line.rfind(escape))) escape = code;
            }
            lines.push_back(escape + word);
        } else {
            line = longer;
        }
        if (space == std::string::npos) break;
        start = space + 1;
    }
    return lines;
}

// A text line whose top stands at (x, y), x its centre when centred, as the host draws it.
void drawText(cairo_t* cairo, const std::string& text, const sim::TextStyle& style, double x, double y, int height) {
    const double size = useFont(cairo, style, height);
    const Colour base = colourOf(style.colour);
    const std::vector<Run> runs = runsOf(text, base);
    cairo_font_extents_t font;
    cairo_font_extents(cairo, &font);
    const double left = style.centred ? x - runsWidth(cairo, runs) / 2.0 : x;
    const double baseline = y + font.ascent;
    if (style.shadowDistance > 0 && style.shadow.a > 0) {
        const Colour shadow = colourOf(style.shadow);
        const double offset = style.shadowDistance * size / 200.0;
        fillRuns(cairo, runs, left + offset, baseline + offset, &shadow);
    }
    if (style.edge > 0 && style.edgeColour.a > 0) {
        Colour edge = colourOf(style.edgeColour);
        edge.a *= base.a;  // an outline fades with its text
        strokeRuns(cairo, runs, left, baseline, edge, size / 10.0);
    }
    fillRuns(cairo, runs, left, baseline, nullptr);
}

// The feed: notifications stacked upwards from the bottom left, newest lowest, each in a box
// as tall as its text wrapped to the box's width.
void drawFeed(cairo_t* cairo, const sim::Screen& screen, int width, int height) {
    double bottom = height * 0.92;
    const double boxWidth = width * 0.22, margin = width * 0.005, lineHeight = height * 0.03;
    for (std::size_t i = screen.notifications.size(); i-- > 0;) {
        const sim::Notification& note = screen.notifications[i];
        sim::TextStyle style = note.style;
        style.centred = false;
        style.scaleY = 0.35f;
        useFont(cairo, style, height);
        const std::vector<std::string> lines = wrapped(cairo, note.text, colourOf(style.colour), boxWidth - 2.0 * margin);
        const double boxHeight = height * 0.02 + lineHeight * static_cast<double>(lines.size());
        cairo_set_source_rgba(cairo, 0.0, 0.0, 0.0, 0.7);
        cairo_rectangle(cairo, width * 0.01, bottom - boxHeight, boxWidth, boxHeight);
        cairo_fill(cairo);
        double top = bottom - boxHeight + height * 0.0075;
        for (const std::string& line : lines) {
            drawText(cairo, line, style, width * 0.01 + margin, top, height);
            top += lineHeight;
        }
        bottom -= boxHeight + height * 0.0075;
    }
}

}  // namespace

void drawScreen(cairo_t* cairo, const sim::Screen& screen, int width, int height) {
    const double w = width, h = height;
    for (const sim::ScreenRect& rect : screen.rects) {
        const Colour colour = colourOf(rect.colour);
        cairo_set_source_rgba(cairo, colour.r, colour.g, colour.b, colour.a);
        cairo_rectangle(cairo, (rect.x - rect.width / 2.0) * w, (rect.y - rect.height / 2.0) * h, rect.width * w,
                        rect.height * h);
        cairo_fill(cairo);
    }
    for (const sim::ScreenText& text : screen.texts) drawText(cairo, text.text, text.style, text.x * w, text.y * h, height);
    drawFeed(cairo, screen, width, height);
}

bool writeScreenshot(const sim::Screen& screen, const std::string& pngPath, const Backdrop& backdrop) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
    cairo_t* cairo = cairo_create(surface);
    if (backdrop) {
        backdrop(cairo, kWidth, kHeight);
    } else {
        cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, kHeight);
        cairo_pattern_add_color_stop_rgb(sky, 0.0, 0.30, 0.42, 0.55);
        cairo_pattern_add_color_stop_rgb(sky, 1.0, 0.18, 0.22, 0.26);
        cairo_set_source(cairo, sky);
        cairo_paint(cairo);
        cairo_pattern_destroy(sky);
    }
    drawScreen(cairo, screen, kWidth, kHeight);
    const bool written = cairo_surface_write_to_png(surface, pngPath.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cairo);
    cairo_surface_destroy(surface);
    return written;
}

}  // namespace render
