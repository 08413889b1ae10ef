// Plays the plug-in in the simulated host and prints what the screen shows.
//
// For now a fixed scene in a fresh game folder: the player sits in a car; the menu key opens
// the menu and numeric keypad 5 starts Level 1. The car drives on at the start point's speed
// with the helicopter in pursuit, through the first salvo's warning and its end; then the
// menu key abandons the level and the farewell message rises and fades. A frame is printed
// whenever the screen differs from the last one printed.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "host.h"
#include "screenshot.h"
#include "runtime/mod_state.h"

namespace {

constexpr int32_t kMenuKey = 120;     // F9, the menu key of a fresh settings file
constexpr int32_t kSelectKey = 0x65;  // numeric keypad 5

std::string describeScreen(const sim::Screen& screen) {
    std::string text;
    char line[512];
    for (const sim::ScreenRect& rect : screen.rects) {
        std::snprintf(line, sizeof line, "    rect   (%.3f, %.3f) %.3f x %.3f  rgba %d %d %d %d\n", static_cast<double>(rect.x),
                      static_cast<double>(rect.y), static_cast<double>(rect.width), static_cast<double>(rect.height),
                      rect.colour.r, rect.colour.g, rect.colour.b, rect.colour.a);
        text += line;
    }
    for (const sim::ScreenText& shown : screen.texts) {
        std::snprintf(line, sizeof line, "    text   (%.3f, %.3f) scale %.2f  rgba %d %d %d %d  \"%s\"\n",
                      static_cast<double>(shown.x), static_cast<double>(shown.y), static_cast<double>(shown.style.scaleX),
                      shown.style.colour.r, shown.style.colour.g, shown.style.colour.b, shown.style.colour.a,
                      shown.text.c_str());
        text += line;
    }
    for (const sim::Notification& note : screen.notifications) text += "    notice \"" + note.text + "\"\n";
    return text;
}

class Scene {
public:
    explicit Scene(const std::string& gameFolder) {
        host_.setStartTick(60000);
        host_.setGameDirectory(gameFolder);
        host_.load();
    }

    sim::Host& host() { return host_; }

    void run(int frames) {
        for (int frame = 0; frame < frames; ++frame) step();
    }

    void step() {
        host_.runFrame();
        const std::string screen = describeScreen(host_.screen());
        if (screen == lastScreen_) return;
        std::printf("frame %4lld  %6u ms\n%s", static_cast<long long>(host_.frame()), host_.tick(),
                    screen.empty() ? "    (nothing drawn)\n" : screen.c_str());
        lastScreen_ = screen;
    }

    // The current frame as a picture.
    void shoot(const std::string& path) {
        if (render::writeScreenshot(host_.screen(), path)) std::printf("-- screenshot: %s\n", path.c_str());
    }

    void say(const char* what) {
        std::printf("-- frame %lld: %s\n", static_cast<long long>(host_.frame()), what);
    }

    // Holds a key through one frame.
    void press(int32_t key, const char* what) {
        say(what);
        host_.setKey(key, true);
        step();
        host_.setKey(key, false);
    }

private:
    sim::Host host_;
    std::string lastScreen_;
};

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "rotorstrike-sim";
    // Screenshots go to the folder given, or to the current one.
    const std::filesystem::path out = argc > 1 ? argv[1] : ".";
    try {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        std::filesystem::create_directories(out);
        Scene scene(folder.string());
        scene.host().world().putPlayerInVehicle();
        scene.run(30);
        scene.press(kMenuKey, "F9: the menu opens on the highest open level");
        scene.run(30);
        scene.shoot((out / "menu.png").string());
        scene.press(kSelectKey, "numeric keypad 5 on Level 1: the level starts");
        // The level start holds the script through its fade, spawn and intro.
        while (mod.menuOpen) scene.step();
        scene.say("level started");
        int changes = 0;
        for (int frame = 0; frame < 3000 && mod.encounterActive && changes < 2; ++frame) {
            const int32_t before = mod.missileSequenceActive;
            scene.step();
            if (mod.missileSequenceActive != before) {
                scene.say(mod.missileSequenceActive ? "salvo warning" : "salvo over");
                if (mod.missileSequenceActive) scene.shoot((out / "salvo-warning.png").string());
                ++changes;
            }
        }
        scene.press(kMenuKey, "F9 during the level: it is abandoned");
        scene.run(150);
        std::printf("entities still held by the plug-in: %zu\n", scene.host().world().heldByScript().size());
        std::filesystem::remove_all(folder);
        return EXIT_SUCCESS;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "rotorstrike-sim: %s\n", error.what());
        return EXIT_FAILURE;
    }
}
