// Plays the plug-in in the simulated host and prints what the screen shows.
//
// For now a fixed scene: the player sits in a car; the menu key opens the menu and numeric
// keypad 5 starts Level 1. The car drives on at the start point's speed with the
// helicopter in pursuit, through the first salvo's warning and its end; then the menu key
// abandons the level and the farewell message rises and fades. A frame is printed when
// the texts on screen change.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host.h"
#include "runtime/mod_state.h"

namespace {

constexpr int32_t kMenuKey = 120;  // F9, the menu key of a fresh settings file
constexpr int32_t kSelectKey = 0x65;  // numeric keypad 5

std::string lastTexts;

void printScreen(const sim::Host& host) {
    const sim::Screen& screen = host.screen();
    std::string texts;
    for (const sim::ScreenText& text : screen.texts) texts += text.text + '\n';
    for (const sim::Notification& note : screen.notifications) texts += note.text + '\n';
    if (texts == lastTexts) return;
    lastTexts = texts;
    for (const sim::ScreenText& text : screen.texts) {
        std::printf("frame %4lld  %7u ms  text \"%s\" at (%.3f, %.3f) alpha %d\n",
                    static_cast<long long>(host.frame()), host.tick(), text.text.c_str(),
                    static_cast<double>(text.x), static_cast<double>(text.y), text.style.colour.a);
    }
    for (const sim::Notification& note : screen.notifications) {
        std::printf("frame %4lld  %7u ms  notification \"%s\"\n", static_cast<long long>(host.frame()), host.tick(),
                    note.text.c_str());
    }
}

void printState(const sim::Host& host, const char* what) {
    std::printf("frame %4lld  %7u ms  %s: menu %s, encounter %s\n", static_cast<long long>(host.frame()), host.tick(),
                what, mod.menuOpen ? "open" : "closed", mod.encounterActive ? "running" : "over");
}

// Holds a key for one frame and says what the plug-in made of it.
void pressKey(sim::Host& host, int32_t key, const char* what) {
    host.setKey(key, true);
    host.runFrame();
    host.setKey(key, false);
    printState(host, what);
    printScreen(host);
}

void runQuietly(sim::Host& host, int frames) {
    for (int frame = 0; frame < frames; ++frame) {
        host.runFrame();
        printScreen(host);
    }
}

}  // namespace

int main() {
    try {
        sim::Host host;
        host.setStartTick(60000);
        host.load();
        host.world().putPlayerInVehicle();
        runQuietly(host, 30);
        pressKey(host, kMenuKey, "menu key");
        runQuietly(host, 30);
        pressKey(host, kSelectKey, "numeric keypad 5 on Level 1");
        // The level start holds the script through its fade, spawn and intro.
        while (mod.menuOpen) runQuietly(host, 1);
        printState(host, "level started");
        int salvos = 0;
        for (int frame = 0; frame < 3000 && mod.encounterActive && salvos < 2; ++frame) {
            const int32_t before = mod.missileSequenceActive;
            host.runFrame();
            printScreen(host);
            if (mod.missileSequenceActive != before) {
                printState(host, mod.missileSequenceActive ? "salvo warning" : "salvo over");
                ++salvos;
            }
        }
        pressKey(host, kMenuKey, "menu key during the encounter");
        runQuietly(host, 150);
        std::printf("entities still held by the plug-in: %zu\n", host.world().heldByScript().size());
        return EXIT_SUCCESS;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "rotorstrike-sim: %s\n", error.what());
        return EXIT_FAILURE;
    }
}
