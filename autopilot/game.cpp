#include "game.h"

#include "map.h"
#include "runtime/key_names.h"
#include "settings/settings_file.h"

namespace autopilot {

namespace {

Autopilot::Options autopilotOptions(const GameOptions& options) {
    Autopilot::Options chosen;
    chosen.level = options.level;
    chosen.showInstructions = options.showInstructions;
    return chosen;
}

}  // namespace

uint32_t startTickOf(uint32_t seed) { return 60000u + (seed % 1000000u) * 997u; }

Game::Game(const GameOptions& options)
    : options_(options),
      startTick_(startTickOf(options.seed)),
      host_(options.gameDirectory, startTick_),
      autopilot_(options.seed, autopilotOptions(options)) {
    host_.setCallLogEnabled(options.callLog);
    host_.load();
    host_.world().entities().putPlayerInVehicle();
    // The player presses the keys the settings file binds.
    Autopilot::Options bound = autopilotOptions(options);
    bound.menuKey = boundKey(host_.gameFolder(), OpenMenuKey);
    bound.attackKey = boundKey(host_.gameFolder(), AttackKey);
    autopilot_ = Autopilot(options.seed, bound);
}

uint32_t Game::stored(const char* key, int32_t fallback) {
    return host_.gameFolder().readInt(kSettingsSection, key, fallback, kSettingsPath);
}

// As the plug-in reads a binding: the number, and when it reads 0 the key's name.
int32_t boundKey(sim::GameFolder& folder, SettingsKey binding) {
    const char* const key = kSettingsKeyRules[binding].name;
    const int32_t fallback = kSettingsKeyRules[binding].defaultValue;
    const uint32_t code = readBindingWith([&] { return folder.readInt(kSettingsSection, key, fallback, kSettingsPath); },
                                          [&] { return folder.readString(kSettingsSection, key, "", kKeyNameBuffer, kSettingsPath); });
    return code >= 1 && code <= 254 ? static_cast<int32_t>(code) : fallback;
}

bool Game::step() {
    if (autopilot_.outcome() != Outcome::Playing || outOfFrames()) return false;
    autopilot_.beforeFrame(host_);
    if (interference_) interference_(host_);
    host_.runFrame();
    ++framesPlayed_;
    layMapAtLevelStart();
    return autopilot_.outcome() == Outcome::Playing && !outOfFrames();
}

void Game::nextLevel(int level) {
    autopilot_.playLevel(level);
    framesPlayed_ = 0;
}

void Game::removeHandedBack() {
    sim::World& world = host_.world();
    for (const sim::OwnershipEvent& event : world.entities().ownership()) {
        if (event.kind == sim::OwnershipEvent::HandedBack && world.entities().find(event.handle) != nullptr) world.entities().remove(event.handle);
    }
}

Outcome Game::play() {
    while (step()) {
    }
    return autopilot_.outcome();
}

// The level start fades the screen out, puts the car at the level's start point, and fades
// in for its intro: the map is laid then, around the car and along its heading, as the
// host would stream in the place.
void Game::layMapAtLevelStart() {
    sim::World& world = host_.world();
    const auto& fades = world.records().fades();
    for (; fadesSeen_ < fades.size(); ++fadesSeen_) {
        if (!fades[fadesSeen_].fadeIn || !options_.fairMap || !autopilot_.awaitingStart()) continue;
        const sim::Entity* car = world.entities().find(world.entities().vehicleOf(world.entities().playerPed()));
        if (car != nullptr) world.setMap(sim::fairMap(car->position, car->heading));
    }
}

}  // namespace autopilot
