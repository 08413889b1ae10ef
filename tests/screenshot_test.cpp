// Screenshots: what the capture says is drawn lands on the picture where it says.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "scene_pictures.h"
#include "screenshot.h"
#include "temp_folder.h"

namespace {

struct Pixel {
    int r, g, b;
};

class Picture {
public:
    explicit Picture(const std::string& path) : surface_(cairo_image_surface_create_from_png(path.c_str())) {}
    ~Picture() { cairo_surface_destroy(surface_); }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    bool ok() const { return cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS; }
    int width() const { return cairo_image_surface_get_width(surface_); }
    int height() const { return cairo_image_surface_get_height(surface_); }
    Pixel at(int x, int y) const {
        const unsigned char* row = cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
        const auto argb = reinterpret_cast<const uint32_t*>(row)[x];
        return {static_cast<int>((argb >> 16) & 0xFF), static_cast<int>((argb >> 8) & 0xFF), static_cast<int>(argb & 0xFF)};
    }
    // Pixels in the box (inclusive) for which the test holds.
    template <typename Test>
    int count(int x0, int y0, int x1, int y1, Test test) const {
        int found = 0;
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) found += test(at(x, y)) ? 1 : 0;
        }
        return found;
    }

private:
    cairo_surface_t* surface_;
};

bool isRed(Pixel p) { return p.r > 180 && p.g < 90 && p.b < 90; }
bool isWhite(Pixel p) { return p.r > 220 && p.g > 220 && p.b > 220; }

TEST(Screenshot, RectanglesAndTextsLandWhereTheCaptureSays) {
    sim::Screen screen;
    screen.rects.add() = {0.75f, 0.5f, 0.1f, 0.1f, {255, 0, 0, 255}};
    sim::ScreenText& white = screen.texts.add();
    white.text = "HHHH";
    white.style.scaleY = 1.0f;
    white.style.centred = true;
    white.x = 0.25f;
    white.y = 0.25f;
    sim::ScreenText& escaped = screen.texts.add();
    escaped.text = "~r~HHHH";
    escaped.style.scaleY = 1.0f;
    escaped.x = 0.5f;
    escaped.y = 0.75f;

    TempFolder folder;
    const std::string path = folder.file("shot.png");
    ASSERT_TRUE(render::writeScreenshot(screen, path));
    const Picture picture(path);
    ASSERT_TRUE(picture.ok());
    EXPECT_EQ(picture.width(), 1280);
    EXPECT_EQ(picture.height(), 720);

    // The rectangle: 128 x 72 pixels centred at (960, 360), and nothing red beside it.
    EXPECT_TRUE(isRed(picture.at(960, 360)));
    EXPECT_TRUE(isRed(picture.at(897, 325)));
    EXPECT_EQ(picture.count(1030, 300, 1100, 420, isRed), 0);
    // The white text: centred on x 320, its top at y 180, a 45-pixel font at scale 1.
    EXPECT_GT(picture.count(220, 180, 420, 225, isWhite), 500);
    EXPECT_EQ(picture.count(220, 100, 420, 170, isWhite), 0);
    EXPECT_EQ(picture.count(0, 180, 200, 225, isWhite), 0);
    // The escaped text is red, starting at x 640 (not centred), its top at y 540.
    EXPECT_GT(picture.count(640, 540, 840, 585, isRed), 500);
    EXPECT_EQ(picture.count(640, 540, 840, 585, isWhite), 0);
    EXPECT_EQ(picture.count(400, 540, 630, 585, isRed), 0);
}

// Behind the HUD, the scene from above around the player's car, north up: a building of
// the map stands where the map puts it. The chase map is a picture of its own size.
TEST(Screenshot, TheSceneFromAboveAndTheChaseMap) {
    sim::World world;
    sim::Map map({0.0f, 0.0f, 0.0f}, 0.0f);
    map.buildings.push_back({-10.0f, 20.0f, 10.0f, 40.0f, 30.0f});
    world.setMap(map);
    world.entities().putPlayerInVehicle();
    TempFolder folder;
    ASSERT_TRUE(render::writeScreenshot(sim::Screen{}, folder.file("scene.png"), render::sceneFromAbove(world, 0)));
    const Picture scene(folder.file("scene.png"));
    ASSERT_TRUE(scene.ok());
    // 4.5 pixels a unit: the building's middle, 30 units north, is 135 pixels above the car.
    const auto grey = [](Pixel p) { return std::abs(p.r - p.g) < 12 && std::abs(p.g - p.b) < 12 && p.r > 60; };
    EXPECT_EQ(scene.count(620, 215, 660, 235, grey), 41 * 21);
    EXPECT_EQ(scene.count(620, 300, 660, 320, grey), 0);

    autopilot::ChaseRecord record;
    record.map = map;
    record.playerRoute = {{{0.0f, 0.0f, 0.0f}, {0.0f, 100.0f, 0.0f}}};
    ASSERT_TRUE(render::writeChaseMap(record, "a chase", folder.file("chase.png")));
    const Picture chase(folder.file("chase.png"));
    EXPECT_EQ(chase.width(), 1280);
    EXPECT_EQ(chase.height(), 960);
    EXPECT_FALSE(render::writeChaseMap(record, "a chase", folder.file("scene.png") + "/chase.png"));
}

TEST(Screenshot, AnUnwritablePathFails) {
    TempFolder folder;
    folder.write("file", "x");
    EXPECT_FALSE(render::writeScreenshot(sim::Screen{}, folder.file("file") + "/shot.png"));
}

}  // namespace
