#include "scene_pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace render {

namespace {

constexpr double kSceneScale = 4.5;  // pixels a unit behind the HUD
constexpr int kMapWidth = 1280;
constexpr int kMapHeight = 960;
constexpr double kRoadHalfWidth = 8.0;
constexpr int64_t kBlastFrames = 20;  // a blast shows this long
constexpr const char* kFont = "DejaVu Sans";

// World units to pixels, north up.
struct View {
    double centreX = 0.0, centreY = 0.0, scale = 1.0;
    int width = 0, height = 0;
    double x(double worldX) const { return width / 2.0 + (worldX - centreX) * scale; }
    double y(double worldY) const { return height / 2.0 - (worldY - centreY) * scale; }
    void moveTo(cairo_t* c, sim::Vec3 p) const { cairo_move_to(c, x(p.x), y(p.y)); }
    void lineTo(cairo_t* c, sim::Vec3 p) const { cairo_line_to(c, x(p.x), y(p.y)); }
};

void colour(cairo_t* c, double r, double g, double b, double a = 1.0) { cairo_set_source_rgba(c, r, g, b, a); }

// A box of the map's frame, as the map turns it in the world.
void boxPath(cairo_t* c, const View& view, const sim::Map& map, const sim::Block& box) {
    view.moveTo(c, map.toWorld({box.minX, box.minY, 0.0f}));
    view.lineTo(c, map.toWorld({box.maxX, box.minY, 0.0f}));
    view.lineTo(c, map.toWorld({box.maxX, box.maxY, 0.0f}));
    view.lineTo(c, map.toWorld({box.minX, box.maxY, 0.0f}));
    cairo_close_path(c);
}

// The ground, the road, the hills, the tunnel and the buildings (taller ones lighter).
void drawMap(cairo_t* c, const View& view, const sim::Map& map) {
    colour(c, 0.27, 0.31, 0.22);
    cairo_paint(c);
    if (!map.road.empty()) {
        cairo_set_line_join(c, CAIRO_LINE_JOIN_ROUND);
        cairo_set_line_width(c, 2.0 * kRoadHalfWidth * view.scale);
        colour(c, 0.42, 0.42, 0.40);
        view.moveTo(c, map.toWorld(map.road.front()));
        for (const sim::Vec3& point : map.road) view.lineTo(c, map.toWorld(point));
        cairo_close_path(c);
        cairo_stroke(c);
    }
    for (const sim::Hill& hill : map.hills) {
        const sim::Vec3 centre = map.toWorld({hill.x, hill.y, 0.0f});
        cairo_pattern_t* dome = cairo_pattern_create_radial(view.x(centre.x), view.y(centre.y), 0.0, view.x(centre.x),
                                                            view.y(centre.y), hill.radius * view.scale);
        cairo_pattern_add_color_stop_rgb(dome, 0.0, 0.62, 0.55, 0.36);
        cairo_pattern_add_color_stop_rgb(dome, 1.0, 0.36, 0.36, 0.24);
        cairo_set_source(c, dome);
        cairo_arc(c, view.x(centre.x), view.y(centre.y), hill.radius * view.scale, 0.0, 2.0 * M_PI);
        cairo_fill(c);
        cairo_pattern_destroy(dome);
    }
    for (const sim::Tunnel& tunnel : map.tunnels) {
        boxPath(c, view, map, tunnel.shell);
        colour(c, 0.22, 0.22, 0.24);
        cairo_fill_preserve(c);
        colour(c, 0.75, 0.70, 0.30);
        cairo_set_line_width(c, 2.0);
        cairo_stroke(c);
    }
    for (const sim::Block& building : map.buildings) {
        const double light = std::min(0.75, 0.35 + building.height / 120.0);
        boxPath(c, view, map, building);
        colour(c, light * 0.85, light * 0.80, light * 0.78);
        cairo_fill_preserve(c);
        colour(c, 0.10, 0.10, 0.10, 0.8);
        cairo_set_line_width(c, 1.5);
        cairo_stroke(c);
    }
}

// A shape of the given length and width along a heading, centred at the point.
void bodyPath(cairo_t* c, const View& view, sim::Vec3 at, float heading, double length, double width) {
    cairo_save(c);
    cairo_translate(c, view.x(at.x), view.y(at.y));
    cairo_rotate(c, -heading * M_PI / 180.0);  // heading grows counter-clockwise; y is down
    cairo_rectangle(c, -width / 2.0 * view.scale, -length / 2.0 * view.scale, width * view.scale, length * view.scale);
    cairo_restore(c);
}

void drawCar(cairo_t* c, const View& view, const sim::Entity& car, bool wrecked) {
    bodyPath(c, view, car.position, car.heading, 4.6, 2.0);
    if (wrecked) colour(c, 0.15, 0.12, 0.10);
    else colour(c, 0.25, 0.55, 0.95);
    cairo_fill_preserve(c);
    colour(c, 1.0, 1.0, 1.0, 0.9);
    cairo_set_line_width(c, 1.0);
    cairo_stroke(c);
}

void drawHelicopter(cairo_t* c, const View& view, const sim::Entity& heli) {
    // Its shadow on the ground, then the body and the rotor's disc.
    const sim::Vec3 shadow = heli.position + sim::Vec3{4.0f, -4.0f, 0.0f};
    bodyPath(c, view, shadow, heli.heading, 13.0, 3.2);
    colour(c, 0.0, 0.0, 0.0, 0.35);
    cairo_fill(c);
    bodyPath(c, view, heli.position, heli.heading, 13.0, 3.2);
    colour(c, 0.85, 0.20, 0.18);
    cairo_fill(c);
    cairo_arc(c, view.x(heli.position.x), view.y(heli.position.y), 7.0 * view.scale, 0.0, 2.0 * M_PI);
    colour(c, 0.9, 0.9, 0.9, 0.18);
    cairo_fill_preserve(c);
    colour(c, 0.9, 0.9, 0.9, 0.5);
    cairo_set_line_width(c, 1.0);
    cairo_stroke(c);
}

void drawCombat(cairo_t* c, const View& view, const sim::World& world) {
    for (const sim::Marker& marker : world.records().markers()) {
        cairo_arc(c, view.x(marker.position.x), view.y(marker.position.y), 3.0 * view.scale, 0.0, 2.0 * M_PI);
        colour(c, marker.colour[0] / 255.0, marker.colour[1] / 255.0, marker.colour[2] / 255.0, marker.colour[3] / 255.0);
        cairo_set_line_width(c, 4.0);
        cairo_stroke(c);
    }
    for (const sim::Explosion& blast : world.combat().explosions()) {
        const int64_t age = world.frame() - blast.frame;
        if (!blast.visible || age < 0 || age > kBlastFrames) continue;
        const double fade = 1.0 - static_cast<double>(age) / kBlastFrames;
        cairo_arc(c, view.x(blast.position.x), view.y(blast.position.y), world.combat().blastRadius() * view.scale, 0.0, 2.0 * M_PI);
        colour(c, 1.0, 0.55, 0.10, 0.7 * fade);
        cairo_fill(c);
    }
    for (const sim::Projectile& missile : world.combat().projectiles()) {
        if (!missile.flying) continue;
        const sim::Vec3 toAim = missile.to - missile.position;
        const float left = sim::length(toAim);
        const sim::Vec3 tail = left > 0.0f ? missile.position - toAim * (12.0f / left) : missile.position;
        view.moveTo(c, tail);
        view.lineTo(c, missile.position);
        colour(c, 1.0, 0.95, 0.7, 0.8);
        cairo_set_line_width(c, 3.0);
        cairo_stroke(c);
        cairo_arc(c, view.x(missile.position.x), view.y(missile.position.y), 5.0, 0.0, 2.0 * M_PI);
        colour(c, 1.0, 0.45, 0.1);
        cairo_fill(c);
    }
}

void text(cairo_t* c, double x, double y, double size, const char* words, bool bold = false) {
    cairo_select_font_face(c, kFont, CAIRO_FONT_SLANT_NORMAL, bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(c, size);
    cairo_move_to(c, x, y);
    cairo_show_text(c, words);
}

void cross(cairo_t* c, double x, double y, double size) {
    cairo_move_to(c, x - size, y - size);
    cairo_line_to(c, x + size, y + size);
    cairo_move_to(c, x - size, y + size);
    cairo_line_to(c, x + size, y - size);
}

// The marks of the chase map, each drawn the same in the map and in its legend.
enum class Mark { PlayerRoute, HeliRoute, Aim, AimHit, Blast, Strike, Death, Respawn, Crash };

void drawMark(cairo_t* c, Mark mark, double x, double y) {
    cairo_new_path(c);
    switch (mark) {
    case Mark::PlayerRoute:
    case Mark::HeliRoute:
        cairo_move_to(c, x - 12, y);
        cairo_line_to(c, x + 12, y);
        if (mark == Mark::PlayerRoute) colour(c, 0.30, 0.65, 1.0);
        else colour(c, 0.95, 0.30, 0.25, 0.8);
        cairo_set_line_width(c, 3.0);
        cairo_stroke(c);
        break;
    case Mark::Aim:
    case Mark::AimHit:
        cross(c, x, y, 3.5);
        if (mark == Mark::Aim) colour(c, 1.0, 0.90, 0.25);
        else colour(c, 1.0, 0.25, 0.15);
        cairo_set_line_width(c, 2.0);
        cairo_stroke(c);
        break;
    case Mark::Blast:
        cairo_arc(c, x, y, 7.0, 0.0, 2.0 * M_PI);
        colour(c, 1.0, 0.50, 0.10, 0.75);
        cairo_fill(c);
        break;
    case Mark::Strike:
        cairo_move_to(c, x, y - 8);
        cairo_line_to(c, x + 7, y + 6);
        cairo_line_to(c, x - 7, y + 6);
        cairo_close_path(c);
        colour(c, 0.30, 0.95, 0.40);
        cairo_fill_preserve(c);
        colour(c, 0.0, 0.0, 0.0);
        cairo_set_line_width(c, 1.0);
        cairo_stroke(c);
        break;
    case Mark::Death:
        cross(c, x, y, 7.0);
        colour(c, 1.0, 1.0, 1.0);
        cairo_set_line_width(c, 5.0);
        cairo_stroke(c);
        cross(c, x, y, 7.0);
        colour(c, 0.0, 0.0, 0.0);
        cairo_set_line_width(c, 2.5);
        cairo_stroke(c);
        break;
    case Mark::Respawn:
        cairo_arc(c, x, y, 7.0, 0.0, 2.0 * M_PI);
        colour(c, 0.25, 0.95, 0.95);
        cairo_set_line_width(c, 3.0);
        cairo_stroke(c);
        break;
    case Mark::Crash:
        cairo_rectangle(c, x - 5, y - 5, 10, 10);
        colour(c, 0.95, 0.55, 0.10);
        cairo_fill(c);
        break;
    }
}

void drawRoute(cairo_t* c, const View& view, const std::vector<std::vector<sim::Vec3>>& route, Mark mark) {
    for (const std::vector<sim::Vec3>& run : route) {
        if (run.empty()) continue;
        view.moveTo(c, run.front());
        for (const sim::Vec3& point : run) view.lineTo(c, point);
        if (mark == Mark::PlayerRoute) colour(c, 0.30, 0.65, 1.0, 0.9);
        else colour(c, 0.95, 0.30, 0.25, 0.7);
        cairo_set_line_width(c, mark == Mark::PlayerRoute ? 3.0 : 2.0);
        cairo_set_line_join(c, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(c);
    }
}

void drawLegend(cairo_t* c, const std::string& title) {
    const struct {
        Mark mark;
        const char* words;
    } entries[] = {
        {Mark::PlayerRoute, "the player's route"},
        {Mark::HeliRoute, "the helicopter's route"},
        {Mark::Aim, "a salvo missile's aim point"},
        {Mark::AimHit, "an aim point whose blast hit the player"},
        {Mark::Blast, "a blast that hit the player"},
        {Mark::Strike, "a strike (the player's counter-attack)"},
        {Mark::Death, "a death"},
        {Mark::Respawn, "a respawn at the checkpoint"},
        {Mark::Crash, "a crash into the map"},
    };
    const double top = 48.0;
    const double rowHeight = 22.0;
    colour(c, 0.0, 0.0, 0.0, 0.65);
    cairo_rectangle(c, 12, 12, 360, top + rowHeight * std::size(entries));
    cairo_fill(c);
    colour(c, 1.0, 1.0, 1.0);
    text(c, 24, 36, 17, title.c_str(), true);
    for (std::size_t row = 0; row < std::size(entries); ++row) {
        const double y = top + 8 + rowHeight * static_cast<double>(row);
        drawMark(c, entries[row].mark, 40, y);
        colour(c, 1.0, 1.0, 1.0);
        text(c, 64, y + 5, 14, entries[row].words);
    }
}

// A bar of a round length near a sixth of the picture, with its length written.
void drawScale(cairo_t* c, const View& view) {
    double units = 10.0;
    while (units * view.scale < view.width / 12.0) units *= units == 10.0 || units == 100.0 || units == 1000.0 ? 2.5 : 2.0;
    const double x = 24.0, y = view.height - 28.0, length = units * view.scale;
    colour(c, 0.0, 0.0, 0.0, 0.65);
    cairo_rectangle(c, x - 12, y - 30, length + 120, 46);
    cairo_fill(c);
    colour(c, 1.0, 1.0, 1.0);
    cairo_set_line_width(c, 3.0);
    cairo_move_to(c, x, y - 6);
    cairo_line_to(c, x, y);
    cairo_line_to(c, x + length, y);
    cairo_line_to(c, x + length, y - 6);
    cairo_stroke(c);
    char words[32];
    std::snprintf(words, sizeof words, "%.0f units", units);
    text(c, x + length + 10, y + 4, 14, words);
    text(c, x, y - 12, 12, "north up");
}

// The view that holds the map's road with room around it, and the whole record.
View chaseView(const autopilot::ChaseRecord& record) {
    double minX = 1e30, minY = 1e30, maxX = -1e30, maxY = -1e30;
    auto include = [&](sim::Vec3 p) {
        minX = std::min(minX, static_cast<double>(p.x));
        maxX = std::max(maxX, static_cast<double>(p.x));
        minY = std::min(minY, static_cast<double>(p.y));
        maxY = std::max(maxY, static_cast<double>(p.y));
    };
    for (const sim::Vec3& point : record.map.road) include(record.map.toWorld(point));
    for (const auto& run : record.playerRoute) {
        for (const sim::Vec3& point : run) include(point);
    }
    for (const auto& run : record.heliRoute) {
        for (const sim::Vec3& point : run) include(point);
    }
    if (minX > maxX) minX = maxX = minY = maxY = 0.0;
    const double margin = 60.0;
    View view;
    view.width = kMapWidth;
    view.height = kMapHeight;
    view.centreX = (minX + maxX) / 2.0;
    view.centreY = (minY + maxY) / 2.0;
    view.scale = std::min(kMapWidth / (maxX - minX + 2 * margin), kMapHeight / (maxY - minY + 2 * margin));
    // Room at the left for the legend.
    view.centreX -= 170.0 / view.scale;
    return view;
}

}  // namespace

Backdrop sceneFromAbove(const sim::World& world, int32_t helicopter) {
    return [&world, helicopter](cairo_t* c, int width, int height) {
        const sim::Entity& me = world.entities().player();
        View view;
        view.width = width;
        view.height = height;
        view.scale = kSceneScale * height / 720.0;
        view.centreX = me.position.x;
        view.centreY = me.position.y;
        drawMap(c, view, world.map());
        if (const sim::Entity* car = world.entities().find(world.entities().vehicleOf(me.handle))) drawCar(c, view, *car, car->wrecked);
        drawCombat(c, view, world);
        // The helicopter, above everything on the ground.
        if (const sim::Entity* heli = world.entities().find(helicopter)) drawHelicopter(c, view, *heli);
        // Dimmed a little, so the HUD stands out.
        colour(c, 0.0, 0.0, 0.0, 0.25);
        cairo_paint(c);
    };
}

bool writeChaseMap(const autopilot::ChaseRecord& record, const std::string& title, const std::string& pngPath) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kMapWidth, kMapHeight);
    cairo_t* c = cairo_create(surface);
    const View view = chaseView(record);
    drawMap(c, view, record.map);
    drawRoute(c, view, record.heliRoute, Mark::HeliRoute);
    drawRoute(c, view, record.playerRoute, Mark::PlayerRoute);
    for (const autopilot::AimPoint& aim : record.aims) drawMark(c, aim.hit ? Mark::AimHit : Mark::Aim, view.x(aim.point.x), view.y(aim.point.y));
    const struct {
        const std::vector<sim::Vec3>& points;
        Mark mark;
    } layers[] = {{record.hits, Mark::Blast},       {record.crashes, Mark::Crash}, {record.deaths, Mark::Death},
                  {record.respawns, Mark::Respawn}, {record.strikes, Mark::Strike}};
    for (const auto& layer : layers) {
        for (const sim::Vec3& point : layer.points) drawMark(c, layer.mark, view.x(point.x), view.y(point.y));
    }
    drawLegend(c, title);
    drawScale(c, view);
    const bool written = cairo_surface_write_to_png(surface, pngPath.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(c);
    cairo_surface_destroy(surface);
    return written;
}

}  // namespace render
