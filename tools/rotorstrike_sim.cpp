// Plays the plug-in in the simulated host and prints what the screen shows.
//
// For now a fixed scene in a fresh game folder: the player sits in a car; the menu key opens
// the menu and numeric keypad 5 starts Level 1. The car drives straight on at the start
// point's speed with the helicopter in pursuit; salvos come, and may destroy the car (the
// player then respawns at the checkpoint); once three salvos are survived, numeric keypad 9
// strikes on the warning's last frame, until the helicopter is down. A frame is printed
// whenever the screen differs from the last one printed, and a line for each event;
// pictures of the menu, the first salvo's warning and the result go to the folder given.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "host.h"
#include "runtime/mod_state.h"
#include "screenshot.h"
#include "seam.h"

namespace {

constexpr int32_t kMenuKey = 120;     // F9, the menu key of a fresh settings file
constexpr int32_t kSelectKey = 0x65;  // numeric keypad 5
constexpr int32_t kAttackKey = 0x69;  // numeric keypad 9
constexpr int kMostFrames = 30000;

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

    // A line for each thing that happened in the last frame.
    void reportEvents() {
        const sim::World& world = host_.world();
        if (mod.missileSequenceActive != 0 && seen_.sequence == 0 && mod.counterAttackSequence == 0) say("salvo warning");
        if (mod.armorShieldActive != 0 && seen_.shield == 0) say("armor shield up");
        for (std::size_t index = seen_.missiles; index < world.projectiles().size(); ++index) {
            say(world.projectiles()[index].owner == mod.heliPilot && mod.counterAttackSequence != 0 ? "strike missile" : "missile");
        }
        for (std::size_t index = seen_.casualties; index < world.casualties().size(); ++index) {
            if (world.casualties()[index].handle == world.playerPed()) say("the player is killed");
        }
        if (mod.playerDown != 0 && seen_.down == 0) say("the player is down");
        if (mod.playerDown == 0 && seen_.down != 0) say("respawned at the checkpoint");
        if (mod.attacksSurvived > seen_.survived) say("salvo survived");
        if (mod.counterAttackSequence != 0 && seen_.counterAttack == 0) {
            std::printf("-- frame %lld: strike, damage %.1f, health left %.1f\n", static_cast<long long>(host_.frame()),
                        static_cast<double>(mod.lastStrikeDamage), static_cast<double>(mod.heliHealth));
        }
        seen_ = {mod.missileSequenceActive, mod.armorShieldActive, world.projectiles().size(), world.casualties().size(),
                 mod.playerDown, mod.attacksSurvived, mod.counterAttackSequence};
    }

private:
    struct Seen {
        int32_t sequence = 0;
        int32_t shield = 0;
        std::size_t missiles = 0;
        std::size_t casualties = 0;
        int32_t down = 0;
        int32_t survived = 0;
        int32_t counterAttack = 0;
    };

    sim::Host host_;
    std::string lastScreen_;
    Seen seen_;
};

// The strike comes on the last frame of a salvo's warning, at full power.
bool strikeDue() {
    return mod.attacksSurvived >= 3 && mod.missileSequenceActive != 0 && mod.counterAttackSequence == 0 &&
           mod.missileSequenceFrame == -1 && mod.playerDown == 0;
}

uint32_t storedValue(const char* key) { return readProfileInt("Rotorstrike", key, 0, ".\\Rotorstrike.ini"); }

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
        bool warningShot = false;
        for (int frame = 0; frame < kMostFrames && mod.encounterActive; ++frame) {
            if (strikeDue()) {
                scene.press(kAttackKey, "numeric keypad 9 on the warning's last frame");
            } else {
                scene.step();
            }
            scene.reportEvents();
            if (!warningShot && mod.missileSequenceActive != 0) {
                scene.shoot((out / "salvo-warning.png").string());
                warningShot = true;
            }
        }
        if (mod.encounterActive) scene.press(kMenuKey, "F9: the level is abandoned");
        scene.say(mod.heliHealth > 0.0f ? "the level is over" : "the helicopter is down: the level is won");
        scene.run(60);
        scene.shoot((out / "result.png").string());
        scene.run(300);
        std::printf("settings file: open_levels=%u upgrade_points=%u high_score_0=%u\n", storedValue("open_levels"),
                    storedValue("upgrade_points"), storedValue("high_score_0"));
        std::printf("entities still held by the plug-in: %zu\n", scene.host().world().heldByScript().size());
        std::filesystem::remove_all(folder);
        return EXIT_SUCCESS;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "rotorstrike-sim: %s\n", error.what());
        return EXIT_FAILURE;
    }
}
