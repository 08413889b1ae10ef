// The real Rotorstrike.asi playing Level 1 as a player plays it: F9 and numeric keypad 5 in
// a car, the helicopter's salvos, the strike back by the pad or by numeric keypad 9 in a
// salvo's warning, the won level in the settings file, a death and the respawn at the
// checkpoint, the menu key (bound by name) leaving a running level, a level won after
// another program held the settings file locked, and a game reload in the wreck's slow
// motion.
//
// These scenarios also run on Linux, with the plug-in linked into the simulated host
// (compare_level_runs.cpp): both runs must leave the same trace.
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "../added_rows.h"
#include "game.h"
#include "virtual_keys.h"

namespace {

using e2e::Game;
using Lines = std::vector<std::string>;

constexpr int32_t kCuesStopped = 0;
constexpr float kStartX = 2168.954f, kStartY = -555.323f, kStartZ = 94.05f, kStartHeading = 312.94f;
constexpr const char* kAnnouncement = "You have been marked by an insurgent helo! ~r~Take him down! ~w~(Level 1)";
constexpr const char* kAttackReady = "~r~ATTACK READY! (NUM9/A) POWER:";

// Runs frames until done() holds, at most maxFrames; says whether it came.
bool runUntil(Game& game, const std::function<bool()>& done, int maxFrames) {
    for (int frame = 0; frame < maxFrames && !done(); ++frame) game.host.runFrame();
    return done();
}

bool shown(const Game& game, const char* words) { return game.host.screen().findText(words) != nullptr; }

// The HUD line that starts with these words this frame, or "".
std::string hudLine(const Game& game, const std::string& start) {
    for (const sim::ScreenText& text : game.host.screen().texts) {
        if (text.text.rfind(start, 0) == 0) return text.text;
    }
    return "";
}

int cuesPlayed(const Game& game, int32_t cue) {
    return static_cast<int>(std::count_if(game.host.cues().begin(), game.host.cues().end(),
                                          [cue](const sim::CueEvent& event) { return event.cue == cue; }));
}

// The entity of this model that the script created and still holds, or null.
sim::Entity* held(Game& game, const char* model) {
    sim::World& world = game.host.world();
    for (const int32_t handle : world.entities().heldByScript()) {
        sim::Entity* entity = world.entities().find(handle);
        if (entity->model == sim::hashOfName(model)) return entity;
    }
    return nullptr;
}

// The first rectangle drawn this frame with this centre, or null: the helicopter's health
// bar at (0.5, 0.03), the strike's power bar at (0.5, 0.45).
const sim::ScreenRect* rectAt(const Game& game, float x, float y) {
    for (const sim::ScreenRect& rect : game.host.screen().rects) {
        if (rect.x == x && rect.y == y) return &rect;
    }
    return nullptr;
}
const sim::ScreenRect* healthBar(const Game& game) { return rectAt(game, 0.5f, 0.03f); }
const sim::ScreenRect* powerBar(const Game& game) { return rectAt(game, 0.5f, 0.45f); }

// The fades from the nth on, as "out 200" or "in 4000".
Lines fades(const sim::World& world, std::size_t from = 0) {
    Lines described;
    for (std::size_t index = from; index < world.records().fades().size(); ++index) {
        const sim::FadeEvent& fade = world.records().fades()[index];
        described.push_back((fade.fadeIn ? "in " : "out ") + std::to_string(fade.durationMs));
    }
    return described;
}

std::vector<float> timeScales(const sim::World& world) {
    std::vector<float> scales;
    for (const sim::ValueEvent& scale : world.records().timeScales()) scales.push_back(scale.value);
    return scales;
}

// The car lies on the line from the level's start point along its heading, at its height:
// each frame's step rounds the position to a float near 2000, hence the 5 cm.
bool onTheStartLine(const sim::Entity& car) {
    const sim::Vec3 driven = car.position - sim::Vec3{kStartX, kStartY, kStartZ};
    const sim::Vec3 ahead = sim::forwardOf(kStartHeading);
    return std::abs(driven.z) < 1e-3f && std::abs(driven.x * ahead.y - driven.y * ahead.x) < 0.05f &&
           sim::dot(driven, ahead) > 0.0f;
}

// Level 1 from the menu, in the car the player sits in: the menu key (F9 unless the
// settings bind another), then numeric keypad 5 on the row under the cursor; runs until the
// level start has returned and the announcement shows (the first frame of the encounter).
bool startLevelOne(Game& game, std::string_view settings = {}, int32_t menuKey = vk::F9) {
    game.host.world().entities().putPlayerInVehicle();
    game.start(settings);
    game.host.tapKey(menuKey);
    game.host.tapKey(vk::Numpad5);
    return runUntil(game, [&] { return shown(game, kAnnouncement); }, 600);
}

// Runs until the strike has charged this many frames in the warning of the nth salvo
// (from 1): the frames on which the power bar is drawn, each with one more unit of power
// (the prompt, a floating message, shows from the next frame on). Says whether it came.
bool chargeInWarning(Game& game, int salvo, int powerFrames) {
    if (!runUntil(game, [&] { return cuesPlayed(game, kSalvoWarningCue) == salvo; }, 600 * salvo)) return false;
    const int64_t warned = game.host.frame();
    int charged = 0;
    while (charged < powerFrames && game.host.frame() < warned + 50) {
        game.host.runFrame();
        if (powerBar(game) != nullptr) ++charged;
    }
    return charged == powerFrames;
}

// Level 1 played by a player who bought the second weapon tier, in a world whose missiles
// harm nobody (as in the counter-attack's scenario), up to the last frame of the fourth
// warning at full power (49 frames): numeric keypad 9 now takes the whole of Level 1's 80.
// The helicopter's handle, and the score then shown; 0 when the level did not come there.
int32_t chargeTheWinningStrike(Game& game, std::string& score) {
    if (!startLevelOne(game, "[Rotorstrike]\r\nweapon=2\r\n")) return 0;
    game.host.world().combat().setHarmlessMissiles(true);
    const sim::Entity* helicopter = held(game, "BUZZARD");
    const int32_t handle = helicopter != nullptr ? helicopter->handle : 0;
    if (handle == 0 || !chargeInWarning(game, 4, 49)) return 0;
    score = hudLine(game, "SCORE: ").substr(7);
    return handle;
}

}  // namespace

SCENARIO(level_1_starts_in_a_vehicle) {
    Game game(options, "level_1_starts");
    sim::World& world = game.host.world();
    REQUIRE(startLevelOne(game));
    const sim::Entity* vehicle = world.entities().find(world.entities().vehicleOf(world.entities().playerPed()));
    REQUIRE(vehicle != nullptr);

    // The car was put at the level's start point, facing its way at 20 units a second,
    // and has driven straight on from there through the intro.
    CHECK_EQ(vehicle->heading, kStartHeading);
    CHECK(std::abs(sim::length(vehicle->velocity) - 20.0f) < 1e-3f);
    CHECK(onTheStartLine(*vehicle));
    CHECK_EQ(vehicle->setOnGroundCalls, 1);

    // The screen faded out for the move and in for the slow-motion intro.
    CHECK_EQ(fades(world), (Lines{"out 200", "in 4000"}));
    CHECK(timeScales(world) == (std::vector<float>{0.25f, 1.0f}));

    // The helicopter and its pilot, held by the script: invincible, the pilot at the
    // controls and deaf and blind to the world.
    sim::Entity* helicopter = held(game, "BUZZARD");
    sim::Entity* pilot = held(game, "s_m_y_swat_01");
    REQUIRE(helicopter != nullptr && pilot != nullptr);
    CHECK_EQ(world.entities().heldByScript().size(), 2u);
    CHECK(helicopter->invincible && helicopter->missionEntity);
    CHECK_EQ(helicopter->landingGear, 3);
    CHECK_EQ(helicopter->setupCalls, 1);
    CHECK_EQ(pilot->vehicle, helicopter->handle);
    CHECK_EQ(pilot->seat, sim::kDriverSeat);
    CHECK(pilot->invincible);
    CHECK_EQ(pilot->pedType, 26);
    CHECK(pilot->hearingRange == 0.0f && pilot->seeingRange == 0.0f);
    CHECK(pilot->mission.active);

    // The menu closed; the announcement, and the HUD: a full green health bar and the score.
    game.host.runFrame();
    CHECK(!shown(game, "Rotorstrike Menu"));
    CHECK(shown(game, kAnnouncement));
    const sim::ScreenRect* bar = healthBar(game);
    REQUIRE(bar != nullptr);
    CHECK_EQ(bar->width, 0.15f);
    CHECK(bar->colour == (sim::Rgba{0, 255, 0, 180}));
    CHECK(hudLine(game, "SCORE: ").size() > 7);
    // The level's best was read at its start: none yet.
    const Lines reads = game.profileCalls();
    CHECK(std::find(reads.begin(), reads.end(), "read [Rotorstrike] high_score_0 default 0 in .\\Rotorstrike.ini -> 0") !=
          reads.end());
    CHECK(!game.settingsExist());  // starting a level writes nothing
}

SCENARIO(a_salvo_warns_with_cue_101) {
    Game game(options, "a_salvo_warns");
    REQUIRE(startLevelOne(game));
    // The encounter's first step ran in the frame that set the announcement, before it showed.
    const int64_t started = game.host.frame() - 1;
    const sim::Entity* pilot = held(game, "s_m_y_swat_01");
    REQUIRE(pilot != nullptr);

    // On Level 1 the salvo starts on the 301st step with the helicopter in sight.
    REQUIRE(runUntil(game, [&] { return cuesPlayed(game, kSalvoWarningCue) == 1; }, 1000));
    const int64_t warned = game.host.frame();
    CHECK_EQ(warned - started, 300);
    CHECK_EQ(game.host.cues().size(), 1u);  // the stand-in checked it, and Wine played it

    // Fifty frames of warning, then five missiles from the helicopter, each aim marked: the
    // sequence's frame runs from -50 and fires at 0, 20, 30, 35 and 40. The first launch
    // waits for the rocket's asset, which the host streams in a few frames.
    sim::World& world = game.host.world();
    const int64_t streaming = world.combat().weaponAsset("WEAPON_VEHICLE_ROCKET").loadFrames;
    const uint32_t rocket = sim::hashOfName("WEAPON_VEHICLE_ROCKET");
    std::size_t mostMarkers = 0;
    while (game.host.frame() < warned + 51 + streaming + 40) {
        game.host.runFrame();
        mostMarkers = std::max(mostMarkers, world.records().markers().size());
    }
    Lines fired;
    for (const sim::Projectile& missile : world.combat().projectiles()) {
        fired.push_back(std::to_string(missile.firedFrame - warned - streaming));
        CHECK_EQ(missile.owner, pilot->handle);
        CHECK_EQ(missile.weapon, rocket);
        CHECK_EQ(missile.damage, 250);
    }
    CHECK_EQ(fired, (Lines{"51", "71", "81", "86", "91"}));
    CHECK_EQ(mostMarkers, 5u);
}

SCENARIO(a_counter_attack_by_the_pad_during_the_warning) {
    Game game(options, "a_counter_attack_by_the_pad");
    REQUIRE(startLevelOne(game));
    sim::World& world = game.host.world();
    // The world cooperates: the missiles harm nobody, so the player, who drives straight
    // on, survives the three salvos that a player would survive by steering.
    world.combat().setHarmlessMissiles(true);
    const sim::Entity* helicopter = held(game, "BUZZARD");
    REQUIRE(helicopter != nullptr);

    // Each salvo survived is a power-up; the third makes the strike ready.
    const char* labels[] = {"POWERUP: I", "POWERUP: II", "~r~POWERUP!"};
    for (int salvo = 1; salvo <= 3; ++salvo) {
        REQUIRE(runUntil(game, [&] { return cuesPlayed(game, kSalvoWarningCue) == salvo; }, 1000));
        int charged = 0;  // no strike before three salvos are survived
        for (int frame = 0; frame < 50; ++frame, game.host.runFrame()) charged += powerBar(game) != nullptr ? 1 : 0;
        CHECK_EQ(charged, 0);
        REQUIRE(runUntil(game, [&] { return shown(game, labels[salvo - 1]); }, 200));
    }

    // In the fourth salvo's warning, after 25 frames of the prompt, the pad's attack
    // control fully pressed through one frame.
    REQUIRE(chargeInWarning(game, 4, 25));
    CHECK_EQ(powerBar(game)->width, 25.0f * 0.02f * 0.1f);
    CHECK(powerBar(game)->colour == (sim::Rgba{255, 0, 0, 255}));
    CHECK(shown(game, kAttackReady));
    const std::size_t missilesBefore = world.combat().projectiles().size();
    game.host.setPadControl(kPadFullyPressed);
    game.host.runFrame();
    game.host.setPadControl(0);
    const int64_t struck = game.host.frame();

    // The warning cue stopped at once, the first missile off at the helicopter, and from
    // the next frame no prompt.
    REQUIRE(!game.host.cues().empty());
    CHECK_EQ(game.host.cues().back().cue, kCuesStopped);
    CHECK_EQ(game.host.cues().back().frame, struck);
    CHECK(powerBar(game) == nullptr);
    REQUIRE(world.combat().projectiles().size() == missilesBefore + 1);
    CHECK_EQ(world.combat().projectiles().back().speed, 1000.0f);
    game.host.runFrame();
    CHECK(!shown(game, kAttackReady));

    // Fifty frames later, cue 102 and the shove.
    REQUIRE(runUntil(game, [&] { return cuesPlayed(game, kHitCue) == 1; }, 100));
    CHECK_EQ(game.host.frame() - struck, 50);
    REQUIRE(!world.combat().forces().empty());
    const sim::Force& shove = world.combat().forces().back();
    CHECK_EQ(shove.entity, helicopter->handle);
    CHECK_EQ(shove.frame, game.host.frame());
    CHECK(shove.force.x == 15.0f && shove.force.y == 15.0f && shove.force.z == 20.0f);
    CHECK_EQ(cuesPlayed(game, kSalvoWarningCue), 4);  // the interrupted salvo fired nothing
    CHECK_EQ(world.combat().projectiles().size(), missilesBefore + 5);

    // Once the strike's sequence is over (frames 0 to 101): 25 frames of power, 30 damage,
    // a red bar of 50 / 80 of the full width.
    REQUIRE(runUntil(game, [&] { return shown(game, "~r~Great hit! Damage: "); }, 100));
    CHECK_EQ(game.host.frame() - struck, 101);
    CHECK_EQ(hudLine(game, "~r~Great hit!"), std::string("~r~Great hit! Damage: 30"));
    const sim::ScreenRect* bar = healthBar(game);
    REQUIRE(bar != nullptr);
    CHECK_EQ(bar->width, 50.0f / 80.0f * 0.15f);
    CHECK(bar->colour == (sim::Rgba{255, 0, 0, 180}));
    CHECK_EQ(world.entities().heldByScript().size(), 2u);  // the level goes on
}

SCENARIO(the_won_level_is_written_to_the_file) {
    Game game(options, "the_won_level");
    std::string score;
    const int32_t wreck = chargeTheWinningStrike(game, score);
    REQUIRE(wreck != 0);
    sim::World& world = game.host.world();
    CHECK(!score.empty() && score != "0");
    const std::size_t profileCallsBefore = game.host.profileCalls().size();
    game.host.pressFor1Frame(vk::Numpad9);
    // The won sequence holds the script for 4.1 seconds: the wreck in slow motion, then the
    // result and the notification of the points.
    bool notified = false;
    REQUIRE(runUntil(game, [&] {
        for (const sim::Notification& note : game.host.screen().notifications) {
            notified = notified || note.text == "~g~3 upgrade points are available!";
        }
        return shown(game, "~g~Success!");
    }, 600));
    CHECK(notified);

    CHECK_EQ(cuesPlayed(game, kHitCue), 0);  // the level was won before the hit's frame
    CHECK(std::any_of(world.combat().explosions().begin(), world.combat().explosions().end(),
                      [&](const sim::Explosion& explosion) { return explosion.vehicle == wreck && explosion.visible; }));
    CHECK(timeScales(world) == (std::vector<float>{0.25f, 1.0f, 0.35f, 1.0f}));
    CHECK(world.entities().heldByScript().empty());
    CHECK_EQ(hudLine(game, "~g~Success!"),
             "~g~Success! -- NEW HIGH SCORE: " + score + " -- Last score: 0 -- (Level 2 is available!)");

    // The best, the points and every tier, and the unlock, written in this order and read back
    // with the platform's own function.
    Lines writes;
    for (const std::string& call : game.profileCalls(profileCallsBefore)) {
        if (call.rfind("write", 0) == 0) writes.push_back(call);
    }
    Lines expected = {"write [Rotorstrike] high_score_0=" + score + " in .\\Rotorstrike.ini -> 1",
                      "write [Rotorstrike] upgrade_points=3 in .\\Rotorstrike.ini -> 1",
                      "write [Rotorstrike] armor=1 in .\\Rotorstrike.ini -> 1",
                      "write [Rotorstrike] weapon=2 in .\\Rotorstrike.ini -> 1"};
    for (const std::string& tier : addedTiers()) expected.push_back("write [Rotorstrike] " + tier + " in .\\Rotorstrike.ini -> 1");
    expected.push_back("write [Rotorstrike] open_levels=2 in .\\Rotorstrike.ini -> 1");
    CHECK_EQ(writes, expected);
    CHECK_EQ(std::to_string(game.setting("high_score_0", -1)), score);
    CHECK_EQ(game.setting("upgrade_points", -1), 3u);
    CHECK_EQ(game.setting("open_levels", -1), 2u);
    CHECK_EQ(game.setting("weapon", -1), 2u);
    CHECK_EQ(game.setting("armor", -1), 1u);
    CHECK_EQ(game.settingsFile(), "[Rotorstrike]\r\nweapon=2\r\nhigh_score_0=" + score +
                                      "\r\nupgrade_points=3\r\narmor=1\r\n" + addedTierLines() + "open_levels=2\r\n");

    // F9 opens the menu on Level 2, now open.
    game.host.tapKey(vk::F9);
    game.host.runFrame();
    CHECK(shown(game, "Level 2 - Expert"));
    CHECK(shown(game, "UPoints: 3"));
}

SCENARIO(a_death_respawns_at_the_checkpoint) {
    Game game(options, "a_death_respawns");
    REQUIRE(startLevelOne(game));
    sim::World& world = game.host.world();
    // The world cooperates: the salvo's blasts reach far, so that its first missile
    // destroys the car with the player in it, wherever the player drives.
    world.combat().setBlastRadius(1000.0f);
    const int32_t player = world.entities().playerPed();
    const int32_t car = world.entities().vehicleOf(player);

    REQUIRE(runUntil(game, [&] { return shown(game, "You have died...respawning in 15 seconds"); }, 1000));
    CHECK(world.entities().find(player)->dead);
    CHECK(world.entities().find(car)->wrecked);
    const std::size_t fadesBefore = world.records().fades().size();

    // The host revives the player after 600 frames and gives control back 60 frames later;
    // the plug-in then puts the player in a new car of the checkpoint's model, where the
    // intro ended on the start's line, at its heading and speed.
    REQUIRE(runUntil(game, [&] { return shown(game, "Respawned, you can press F9 to exit..."); }, 1200));
    const int32_t respawned = world.entities().vehicleOf(player);
    REQUIRE(respawned != 0 && respawned != car);
    const sim::Entity& vehicle = *world.entities().find(respawned);
    CHECK(!world.entities().find(player)->dead);
    CHECK_EQ(vehicle.model, sim::hashOfName("SIM_CAR"));
    CHECK_EQ(vehicle.heading, kStartHeading);
    CHECK(std::abs(sim::length(vehicle.velocity) - 20.0f) < 1e-3f);
    CHECK(vehicle.engineOn);
    CHECK(onTheStartLine(vehicle));

    // While it waited for control, the screen stayed black (a 10 ms fade each poll); then
    // the slow-motion fade-in.
    const Lines respawnFades = fades(world, fadesBefore);
    REQUIRE(respawnFades.size() >= 2u);
    CHECK_EQ(respawnFades.back(), std::string("in 7000"));
    CHECK(std::all_of(respawnFades.begin(), respawnFades.end() - 1, [](const std::string& fade) { return fade == "out 10"; }));
    CHECK(timeScales(world) == (std::vector<float>{0.25f, 1.0f, 0.5f, 1.0f}));
    // The new car is the player's to drive away; the script holds the helicopter and pilot.
    CHECK_EQ(world.entities().heldByScript().size(), 2u);
    CHECK(held(game, "BUZZARD") != nullptr);
    game.host.runFrame();
    CHECK(!hudLine(game, "SCORE: ").empty());  // the level goes on
}

// The menu key here is F10, bound by name; the attack key's name is quoted.
SCENARIO(the_menu_key_abandons_a_running_level) {
    Game game(options, "the_menu_key_abandons");
    const std::string settings = "[Rotorstrike]\r\nopen_menu_key=f10\r\nattack_key=\"NUM9\"\r\n";
    REQUIRE(startLevelOne(game, settings, vk::F10));
    const Lines bindings = {
        "open .\\Rotorstrike.ini -> 1",
        "read [Rotorstrike] open_menu_key default 120 in .\\Rotorstrike.ini -> 0",
        "read text [Rotorstrike] open_menu_key default \"\" size 16 in .\\Rotorstrike.ini -> 3 \"f10\"",
        "read [Rotorstrike] attack_key default 105 in .\\Rotorstrike.ini -> 0",
        "read text [Rotorstrike] attack_key default \"\" size 16 in .\\Rotorstrike.ini -> 4 \"NUM9\"",
    };
    const Lines firstLoad = game.profileCalls();
    CHECK_EQ(Lines(firstLoad.begin(), firstLoad.begin() + std::min(firstLoad.size(), bindings.size())), bindings);
    const sim::World& world = game.host.world();
    const std::vector<int32_t> encounter = world.entities().heldByScript();
    REQUIRE(encounter.size() == 2u);
    game.host.runFrames(60);
    CHECK(!hudLine(game, "SCORE: ").empty());

    game.host.tapKey(vk::F10);
    CHECK(world.entities().heldByScript().empty());
    std::vector<int32_t> handedBack;
    for (const sim::OwnershipEvent& event : world.entities().ownership()) {
        if (event.kind == sim::OwnershipEvent::HandedBack && event.frame == game.host.frame()) {
            handedBack.push_back(event.handle);
        }
    }
    std::sort(handedBack.begin(), handedBack.end());
    CHECK(handedBack == encounter);
    game.host.runFrame();
    CHECK(shown(game, "The insurgent seems to be leaving..."));
    CHECK(hudLine(game, "SCORE: ").empty());  // no HUD: the level is over
    CHECK(healthBar(game) == nullptr);
    CHECK_EQ(game.settingsFile(), settings);  // nothing won, nothing written

    // The next press opens the menu, as before the level.
    game.host.tapKey(vk::F10);
    game.host.runFrame();
    CHECK(shown(game, "Level 1 - Normal"));
}

// A player far into the campaign opens the menu and starts Level 1 while another program
// holds the settings file exclusively (the profile functions then answer the defaults); the
// lock ends, the level is won: the file keeps the progress, gains the award, and keeps the
// best, which a lower score must not replace.
SCENARIO(a_level_won_after_the_file_was_locked_keeps_the_progress) {
    Game game(options, "a_locked_file");
    game.host.world().entities().putPlayerInVehicle();
    game.start("[Rotorstrike]\r\nopen_levels=5\r\nupgrade_points=20\r\narmor=4\r\nweapon=4\r\nhigh_score_0=900\r\n");
    REQUIRE(game.lockSettings());
    game.host.tapKey(vk::F9);
    CHECK(shown(game, "UPoints: 20"));
    for (int row = 4; row > 0; --row) game.host.tapKey(vk::Numpad8);  // from Level 5 up to Level 1
    game.host.tapKey(vk::Numpad5);
    REQUIRE(runUntil(game, [&] { return shown(game, kAnnouncement); }, 600));
    game.unlockSettings();

    game.host.world().combat().setHarmlessMissiles(true);
    REQUIRE(chargeInWarning(game, 4, 49));
    const std::string score = hudLine(game, "SCORE: ").substr(7);
    game.host.pressFor1Frame(vk::Numpad9);
    REQUIRE(runUntil(game, [&] { return shown(game, "~g~Success!"); }, 600));
    CHECK_EQ(hudLine(game, "~g~Success!"), "~g~Success! -- Score: " + score + " -- Highest: 900 -- (Level 2 is available!)");
    CHECK_EQ(game.setting("open_levels", -1), 5u);
    CHECK_EQ(game.setting("upgrade_points", -1), 23u);
    CHECK_EQ(game.setting("armor", -1), 4u);
    CHECK_EQ(game.setting("weapon", -1), 4u);
    CHECK_EQ(game.setting("high_score_0", -1), 900u);
}

// The game reloads in the wreck's slow motion: the old script never runs again; the restarted
// one sets time and hint back in its first frame, credits the win once from the level's
// score, and never passes on the old helicopter's handle, which now names the player's car.
SCENARIO(a_reload_in_the_wreck_shot_credits_the_win_once) {
    Game game(options, "a_reload_in_the_wreck_shot");
    std::string score;
    const int32_t wreck = chargeTheWinningStrike(game, score);
    REQUIRE(wreck != 0);
    sim::World& world = game.host.world();
    game.host.pressFor1Frame(vk::Numpad9);
    REQUIRE(runUntil(game, [&] { return game.host.currentWait().milliseconds == 4000; }, 60));

    game.host.reloadGame({kStartX, kStartY, kStartZ}, true);
    CHECK_EQ(world.entities().vehicleOf(world.entities().playerPed()), wreck);
    game.host.runFrame();
    CHECK(timeScales(world) == (std::vector<float>{0.25f, 1.0f, 0.35f, 1.0f}));
    CHECK_EQ(hudLine(game, "~g~Success!"),
             "~g~Success! -- NEW HIGH SCORE: " + score + " -- Last score: 0 -- (Level 2 is available!)");
    game.host.runFrames(600);
    CHECK(game.host.staleHandles().empty());
    CHECK(!world.entities().find(wreck)->wrecked);
    game.host.reloadGame({kStartX, kStartY, kStartZ}, false);
    game.host.runFrames(60);
    CHECK_EQ(game.setting("upgrade_points", -1), 3u);
    CHECK_EQ(game.setting("open_levels", -1), 2u);
    CHECK_EQ(game.setting("high_score_0", -1), static_cast<uint32_t>(std::stoul(score)));
}
