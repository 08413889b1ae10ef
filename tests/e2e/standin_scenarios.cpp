// The stand-in's own checks, which the level scenarios rely on: a cue is accepted only as a
// WAVE resource of the module's own, played by resource number with the plug-in's flags,
// and the system's PlaySoundA plays it from that module.
#include <cstring>

#include "game.h"
#include "standin/imports.h"

namespace {

using PlayFunction = BOOL(WINAPI*)(LPCSTR, HMODULE, DWORD);

// The module's PlaySoundA, as its own code calls it: through its import slot.
PlayFunction modulePlaySound(HMODULE module) {
    PlayFunction play = nullptr;
    standin::forEachImport(module, [&](const char* dll, const char* function, void** slot) {
        if (_stricmp(dll, "winmm.dll") == 0 && std::strcmp(function, "PlaySoundA") == 0) {
            play = reinterpret_cast<PlayFunction>(*slot);
        }
    });
    return play;
}

}  // namespace

SCENARIO(the_cue_check_holds_cues_to_the_modules_own_resources) {
    e2e::Game game(options, "the_cue_check");
    game.host.load();
    REQUIRE(game.standIn.module() != nullptr);
    const PlayFunction play = modulePlaySound(game.standIn.module());
    REQUIRE(play != nullptr);
    const HMODULE own = game.standIn.module();
    const auto cue = [](int id) { return MAKEINTRESOURCEA(id); };

    // The plug-in's own calls: both cues from its module, and the stop.
    CHECK(play(cue(101), own, 0x00040085));
    CHECK(play(cue(102), own, 0x00040085));
    CHECK(play(nullptr, nullptr, 0xC0));
    CHECK_EQ(game.standIn.takeFaults().size(), 0u);
    REQUIRE(game.host.cues().size() == 3u);
    CHECK_EQ(game.host.cues()[0].cue, 101);
    CHECK_EQ(game.host.cues()[1].cue, 102);
    CHECK_EQ(game.host.cues()[2].cue, 0);

    // Anything else is a fault: another module, an unknown resource, other flags, a name.
    const struct {
        LPCSTR sound;
        HMODULE module;
        DWORD flags;
    } wrong[] = {
        {cue(101), game.standIn.scriptHookV(), 0x00040085},
        {cue(103), own, 0x00040085},
        {cue(101), own, 0x00020001},
        {"SystemStart", own, 0x00040085},
        {nullptr, own, 0xC0},
    };
    for (const auto& call : wrong) {
        play(call.sound, call.module, call.flags);
        CHECK(!game.standIn.takeFaults().empty());
    }
}
