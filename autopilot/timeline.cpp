#include "timeline.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/mod_view.h"

namespace autopilot {

namespace {

constexpr int64_t kSightWorthTelling = 30;  // frames out of sight before it makes a line

std::string format(const char* pattern, auto... values) {
    char line[256];
    std::snprintf(line, sizeof line, pattern, values...);
    return line;
}

// The text without the host's colour escapes.
std::string plain(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '~' && i + 2 < text.size() && text[i + 2] == '~') {
            i += 2;
            continue;
        }
        out += text[i];
    }
    return out;
}

// The number after the words, or -1.
int64_t numberAfter(const std::string& text, const char* words) {
    const std::size_t at = text.find(words);
    return at == std::string::npos ? -1 : std::atoll(text.c_str() + at + std::strlen(words));
}

const char* powerUpName(int32_t count) {
    switch (count) {
    case 1: return "I";
    case 2: return "II";
    default: return "III: the counter-attack is ready";
    }
}

}  // namespace

std::string formatEvent(const Event& event) {
    return format("frame %7lld  %9.3f s  ", static_cast<long long>(event.frame), event.milliseconds / 1000.0) + event.text;
}

Timeline::Timeline(const sim::Host& host) : startTick_(host.tick()) {
    const sim::World& world = host.world();
    projectilesSeen_ = firstFlying_ = world.combat().projectiles().size();
    blastTold_.assign(projectilesSeen_, true);
    casualtiesSeen_ = world.combat().casualties().size();
    lifeEventsSeen_ = world.combat().lifeEvents().size();
    crashesSeen_ = world.driving().crashes().size();
    rememberPlugin();
    lastMessage_ = modView().messageFramesLeft > 0 ? modView().messageText : "";
    map_ = world.map();
}

void Timeline::add(const sim::Host& host, std::string text) {
    Event& event = events_.emplace_back();
    event.frame = host.frame();
    event.milliseconds = host.tick() - startTick_;
    event.text = std::move(text);
    if (onEvent) onEvent(event);
}

void Timeline::addPicture(const sim::Host& host, const std::string& file) {
    const std::string message = modView().messageFramesLeft > 0 ? plain(modView().messageText) : "";
    add(host, "picture " + file + (message.empty() ? "" : ", the message on screen: " + message));
}

void Timeline::observe(const sim::Host& host) {
    watchMap(host);
    watchPlugin(host);
    watchMissiles(host);
    watchLife(host);
    watchScreen(host);
}

void Timeline::watchPlugin(const sim::Host& host) {
    if (modView().menuOpen != menuOpen_) add(host, modView().menuOpen ? "menu opened" : "menu closed");
    if (modView().instructionsShown != instructionsShown_) add(host, modView().instructionsShown ? "instructions shown" : "instructions closed");
    // A level has started once its helicopter is there; a new helicopter later replaces a
    // wreck.
    const sim::Entity* heli = host.world().entities().find(modView().heliVehicle);
    if (modView().encounterActive && heli != nullptr && !levelStarted_) {
        levelStarted_ = true;
        const sim::Model* model = host.world().entities().findModel(heli->model);
        add(host, format("level %d started: helicopter %s, health %.0f", modView().currentLevel + 1,
                         model != nullptr ? model->name.c_str() : "?", static_cast<double>(modView().heliHealth)));
        salvos_ = 0;
    } else if (modView().encounterActive && modView().heliVehicle != heliVehicle_ && heliVehicle_ != 0 && modView().heliVehicle != 0) {
        add(host, "helicopter replaced: the old one could no longer fly");
    }
    if (!modView().encounterActive && encounterActive_) {
        levelStarted_ = false;
        add(host, format("encounter over (score %.0f)", std::trunc(static_cast<double>(modView().score))));
    }

    if (modView().missileSequenceActive && !sequenceActive_ && modView().counterAttackSequence == 0) {
        ++salvos_;
        salvoMissiles_ = 0;
        add(host, format("salvo %d: warning, %d frames to the first missile", salvos_, -modView().missileSequenceFrame));
    }
    if (modView().armorShieldActive != shield_) add(host, modView().armorShieldActive ? "armor shield up: the car is invincible" : "armor shield down");
    if (modView().attacksSurvived > attacksSurvived_) {
        add(host, format("salvo %d survived: power-up %s", salvos_, powerUpName(modView().attacksSurvived)));
    }
    if (modView().counterAttackSequence && !counterAttack_ && modView().missileSequenceActive) {
        ++strikes_;
        add(host, format("strike %d: damage %.1f, helicopter health %.1f", strikes_, static_cast<double>(modView().lastStrikeDamage),
                         static_cast<double>(modView().heliHealth < 0.0f ? 0.0f : modView().heliHealth)));
    }
    if (!modView().playerDown && playerDown_ && modView().encounterActive) {
        add(host, format("respawned at the checkpoint: score halved to %.0f, power-ups lost",
                         std::trunc(static_cast<double>(modView().score))));
    }
    rememberPlugin();
}

void Timeline::rememberPlugin() {
    menuOpen_ = modView().menuOpen;
    instructionsShown_ = modView().instructionsShown;
    encounterActive_ = modView().encounterActive;
    heliVehicle_ = modView().heliVehicle;
    sequenceActive_ = modView().missileSequenceActive;
    counterAttack_ = modView().counterAttackSequence;
    shield_ = modView().armorShieldActive;
    attacksSurvived_ = modView().attacksSurvived;
    playerDown_ = modView().playerDown;
}

void Timeline::watchMissiles(const sim::Host& host) {
    const sim::World& world = host.world();
    const auto& projectiles = world.combat().projectiles();
    const sim::Vec3 player = world.entities().player().position;
    for (; projectilesSeen_ < projectiles.size(); ++projectilesSeen_) {
        const sim::Projectile& missile = projectiles[projectilesSeen_];
        const bool strike = modView().counterAttackSequence != 0;
        if (!strike) ++salvoMissiles_;
        add(host, strike ? format("missile %d: the player's strike, at the helicopter", missile.id)
                         : format("missile %d: salvo %d's missile %d, aimed %.0f units from the player", missile.id, salvos_,
                                  salvoMissiles_, static_cast<double>(sim::length(missile.to - player))));
    }
    // Each blast at its own frame: a later missile may land before an earlier one.
    blastTold_.resize(projectiles.size(), false);
    for (std::size_t index = firstFlying_; index < projectiles.size(); ++index) {
        const sim::Projectile& missile = projectiles[index];
        if (missile.flying || blastTold_[index]) continue;
        blastTold_[index] = true;
        const bool fellShort = sim::length(missile.position - missile.to) > 0.5f;
        const char* where = missile.struck != 0 ? "on something in its way" : fellShort ? "on the map" : "at its aim";
        add(host, format("missile %d exploded %s, %.1f units from the player", missile.id, where,
                         static_cast<double>(sim::length(missile.position - player))));
    }
    while (firstFlying_ < projectiles.size() && blastTold_[firstFlying_]) ++firstFlying_;
}

void Timeline::watchLife(const sim::Host& host) {
    const sim::World& world = host.world();
    const auto& casualties = world.combat().casualties();
    for (; casualtiesSeen_ < casualties.size(); ++casualtiesSeen_) {
        const sim::Casualty& casualty = casualties[casualtiesSeen_];
        const sim::Entity* victim = world.entities().find(casualty.handle);
        if (victim == nullptr || casualty.projectile == 0) continue;
        if (casualty.handle == world.entities().playerPed()) continue;  // told with the death
        const bool players = victim->kind == sim::EntityKind::Vehicle && world.entities().player().vehicle == casualty.handle;
        add(host, format("missile %d hit %s", casualty.projectile, players ? "the player's car" : "a bystander"));
    }
    const auto& life = world.combat().lifeEvents();
    for (; lifeEventsSeen_ < life.size(); ++lifeEventsSeen_) {
        switch (life[lifeEventsSeen_].kind) {
        case sim::LifeEvent::Died:
            ++deaths_;
            add(host, format("the player died (death %d)", deaths_));
            break;
        case sim::LifeEvent::Revived: add(host, "the host revived the player"); break;
        case sim::LifeEvent::ControlBack: add(host, "the player is under control again"); break;
        case sim::LifeEvent::Arrested: add(host, "the player was arrested"); break;
        case sim::LifeEvent::Released: add(host, "the host released the player, on foot and under control"); break;
        }
    }
    const auto& crashes = world.driving().crashes();
    for (; crashesSeen_ < crashes.size(); ++crashesSeen_) add(host, "the car ran into something and stopped");
}

std::string describeMap(const sim::Map& map) {
    return format("map laid around (%.1f, %.1f), heading %.1f", static_cast<double>(map.origin().x),
                  static_cast<double>(map.origin().y), static_cast<double>(map.heading()));
}

void Timeline::watchMap(const sim::Host& host) {
    const sim::Map& map = host.world().map();
    if (map.empty() || map.samePlace(map_)) return;
    map_ = map;
    add(host, describeMap(map));
}

void Timeline::watchScreen(const sim::Host& host) {
    const sim::Screen& screen = host.screen();
    const bool prompt = screen.findText("ATTACK READY!") != nullptr;
    if (prompt && !promptShown_) add(host, "attack ready: the prompt and the power bar show");
    promptShown_ = prompt;

    const bool lost = screen.findText("Out of sight") != nullptr;
    if (lost && !sightLost_) sightLostFrame_ = host.frame();
    if (!lost && sightLost_ && host.frame() - sightLostFrame_ >= kSightWorthTelling) {
        add(host, format("helicopter back in sight after %lld frames", static_cast<long long>(host.frame() - sightLostFrame_)));
    }
    sightLost_ = lost;

    // The floating message, each time it says something new (the prompt has its own line).
    if (modView().messageFramesLeft > 0 && lastMessage_ != modView().messageText) {
        lastMessage_ = modView().messageText;
        if (!lastMessage_.empty() && lastMessage_.find("ATTACK READY") == std::string::npos) {
            const std::string said = plain(lastMessage_);
            if (said.find("Success!") != std::string::npos) {
                wonScore_ = numberAfter(said, "Score: ");
                if (wonScore_ < 0) wonScore_ = numberAfter(said, "NEW HIGH SCORE: ");
                const bool newHigh = said.find("NEW HIGH SCORE") != std::string::npos;
                // No best to compare with: the file could not be read, or the sixth level.
                wonHighScore_ = newHigh ? wonScore_ : numberAfter(said, "Highest: ");
                add(host, wonHighScore_ < 0 ? format("level won: score %lld, no high score to compare with",
                                                     static_cast<long long>(wonScore_))
                                            : format("level won: score %lld, high score %lld%s", static_cast<long long>(wonScore_),
                                                     static_cast<long long>(wonHighScore_), newHigh ? " (new)" : ""));
            }
            add(host, "message: \"" + said + "\"");
        }
    }
    if (modView().messageFramesLeft == 0) lastMessage_.clear();
    for (const sim::Notification& note : screen.notifications) add(host, "notification: \"" + plain(note.text) + "\"");
}

}  // namespace autopilot
