// Plays the plug-in in the simulated host and prints what the screen shows.
//
// For now a fixed scene in a fresh game folder: the menu key opens the menu, the cursor
// walks down to Instructions and opens the panel, the menu closes; then, with an encounter
// standing in for a running level, the menu key abandons it and the farewell message rises
// and fades. A frame is printed whenever the screen differs from the last one printed.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "host.h"
#include "runtime/mod_state.h"

namespace {

constexpr int32_t kMenuKey = 120;  // F9, the menu key of a fresh settings file
constexpr int32_t kNumpad2 = 0x62;
constexpr int32_t kNumpad5 = 0x65;
constexpr int32_t kNumpad0 = 0x60;

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

    void run(int frames) {
        for (int frame = 0; frame < frames; ++frame) {
            host_.runFrame();
            const std::string screen = describeScreen(host_.screen());
            if (screen == lastScreen_) continue;
            std::printf("frame %4lld  %6u ms\n%s", static_cast<long long>(host_.frame()), host_.tick(),
                        screen.empty() ? "    (nothing drawn)\n" : screen.c_str());
            lastScreen_ = screen;
        }
    }

    // Holds a key through one frame, then lets the 200 ms key lockout pass.
    void press(int32_t key, const char* what) {
        std::printf("-- %s\n", what);
        host_.setKey(key, true);
        run(1);
        host_.setKey(key, false);
        run(13);
    }

private:
    sim::Host host_;
    std::string lastScreen_;
};

}  // namespace

int main() {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "rotorstrike-sim";
    try {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        Scene scene(folder.string());
        scene.run(20);
        scene.press(kMenuKey, "F9: the menu opens on the highest open level");
        scene.press(kNumpad2, "numeric keypad 2: down to the next selectable row");
        scene.press(kNumpad5, "numeric keypad 5 on Instructions: the panel opens");
        scene.press(kNumpad0, "numeric keypad 0: the panel closes");
        scene.press(kNumpad0, "numeric keypad 0: the menu closes");
        // No level can be started yet: an encounter is marked as running instead.
        mod.encounterActive = true;
        scene.press(kMenuKey, "F9 during an encounter: it is abandoned");
        scene.run(150);
        std::filesystem::remove_all(folder);
        return EXIT_SUCCESS;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "rotorstrike-sim: %s\n", error.what());
        return EXIT_FAILURE;
    }
}
