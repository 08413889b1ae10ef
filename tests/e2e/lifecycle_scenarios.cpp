// The real Rotorstrike.asi through the host's lifecycle outside a level: keys typed while
// another program has the focus, and the module freed and loaded again. (A game reload in a
// level is among the level scenarios, which also run on Linux.)
#include <string>
#include <vector>

#include "game.h"
#include "virtual_keys.h"

namespace {

using e2e::Game;

bool menuShown(const Game& game) { return game.host.screen().findText("UPoints: ") != nullptr; }

}  // namespace

// GetAsyncKeyState reports keys whatever window has the focus: the plug-in acts on them only
// while the foreground window is the game's.
SCENARIO(keys_typed_in_another_program_do_nothing) {
    Game game(options, "keys_without_the_focus");
    game.start();
    for (const auto focus : {sim::Host::Focus::OtherProgram, sim::Host::Focus::NoWindow}) {
        game.host.setFocus(focus);
        game.host.tapKey(vk::F9);
        CHECK(game.host.calls().size() == 1u);  // the pad's control only: nothing opened
        CHECK(!menuShown(game));
    }
    game.host.setFocus(sim::Host::Focus::Game);
    game.host.tapKey(vk::F9);
    CHECK(menuShown(game));
}

// FreeLibrary while the process goes on: the module's detach unregisters its script with its
// own handle and calls nothing else; loaded again, it registers and starts afresh.
SCENARIO(a_module_freed_unregisters_its_script) {
    Game game(options, "an_unload");
    game.start();
    const std::size_t calls = game.host.calls().size();
    game.host.unload();
    CHECK_EQ(game.standIn.unregisterCalls(), 1);
    CHECK_EQ(game.host.registrations(), 0);
    CHECK_EQ(game.host.calls().size(), calls);
    game.host.runFrame();
    CHECK(game.host.calls().empty());
    game.host.load();
    CHECK_EQ(game.host.registrations(), 1);
    game.host.runFrame();
    CHECK_EQ(game.calls(), (std::vector<std::string>{"getControlValue(2, 73)"}));
}
