// The stand-in's own checks, which the level scenarios rely on: a cue is accepted only as a
// WAVE resource of the module's own, played by resource number with the plug-in's flags,
// and the system's PlaySoundA plays it from that module; a native only with the host's
// signature.
#include <cstring>

#include "game.h"
#include "imports.h"

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

// A native called through the stand-in ScriptHookV.dll's exports, as the module calls it,
// must take the host's signature: a rectangle one argument short would read a stale slot.
SCENARIO(the_standin_refuses_a_native_called_short) {
    e2e::Game game(options, "the_standin_refuses_a_short_call");
    game.host.load();
    const HMODULE hook = game.standIn.scriptHookV();
    const auto exported = [hook](const char* name) { return reinterpret_cast<void*>(GetProcAddress(hook, name)); };
    const auto init = reinterpret_cast<void (*)(UINT64)>(exported("?nativeInit@@YAX_K@Z"));
    const auto push = reinterpret_cast<void (*)(UINT64)>(exported("?nativePush64@@YAX_K@Z"));
    const auto call = reinterpret_cast<PUINT64 (*)()>(exported("?nativeCall@@YAPEA_KXZ"));
    REQUIRE(init != nullptr && push != nullptr && call != nullptr);
    for (const int arguments : {9, 8}) {
        init(0x3A618A217E5154F0);  // a rectangle: centre, size, colour and one more
        for (int index = 0; index < arguments; ++index) push(0);
        bool refused = false;
        try {
            call();
        } catch (const sim::HostError&) {
            refused = true;
        }
        CHECK_EQ(refused, arguments != 9);
    }
}
