// Plays the plug-in in the simulated host and prints what the screen shows.
//
// For now a fixed scene: the menu key opens and closes the menu, then, with an encounter
// standing in for a running level, the menu key abandons it and the farewell message rises
// and fades. Every frame that draws something is printed.
#include <cstdio>
#include <cstdlib>

#include "host.h"
#include "runtime/mod_state.h"

namespace {

constexpr int32_t kMenuKey = 120;  // F9, the menu key of a fresh settings file

void printScreen(const sim::Host& host) {
    const sim::Screen& screen = host.screen();
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

// Holds a key for one frame and says what the plug-in made of it.
void pressKey(sim::Host& host, int32_t key, const char* what) {
    host.setKey(key, true);
    host.runFrame();
    host.setKey(key, false);
    std::printf("frame %4lld  %7u ms  %s: menu %s, encounter %s\n", static_cast<long long>(host.frame()), host.tick(),
                what, mod.menuOpen ? "open" : "closed", mod.encounterActive ? "running" : "over");
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
        runQuietly(host, 30);
        pressKey(host, kMenuKey, "menu key");
        runQuietly(host, 30);
        pressKey(host, kMenuKey, "menu key");
        runQuietly(host, 30);
        // No level can be started yet: an encounter is marked as running instead.
        mod.encounterActive = true;
        pressKey(host, kMenuKey, "menu key during an encounter");
        runQuietly(host, 150);
        return EXIT_SUCCESS;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "rotorstrike-sim: %s\n", error.what());
        return EXIT_FAILURE;
    }
}
