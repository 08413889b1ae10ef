// The real Rotorstrike.asi beside a ScriptHookV.dll that lacks one of the six exports.
//
// Windows refuses such a module: its imports of ScriptHookV are static, so the loader
// fails the LoadLibrary and the process goes on. Wine 8 loads it anyway, with a stub in the
// missing export's place that raises an exception when called. What holds on both, and is
// checked here: LoadLibrary returns and the process goes on; the module does nothing at
// load but register (no native, no settings file, no cue); where scriptRegister itself is
// missing, the module is refused and nothing is registered (DllMain's call of the stub
// fails the load on Wine too); anywhere else, the missing import is bound to no function of
// ScriptHookV.dll, which Windows would have refused to load, and the runner, like the real
// ScriptHookV, never starts a script that could reach it.
#include <cstring>
#include <string>

#include "game.h"
#include "imports.h"

namespace {

struct Export {
    const char* name;
    const char* decorated;
};
constexpr Export kExports[] = {
    {"scriptRegister", "?scriptRegister@@YAXPEAUHINSTANCE__@@P6AXXZ@Z"},
    {"scriptUnregister", "?scriptUnregister@@YAXPEAUHINSTANCE__@@@Z"},
    {"scriptWait", "?scriptWait@@YAXK@Z"},
    {"nativeInit", "?nativeInit@@YAX_K@Z"},
    {"nativePush64", "?nativePush64@@YAX_K@Z"},
    {"nativeCall", "?nativeCall@@YAPEA_KXZ"},
};

// Where the module's import of ScriptHookV.dll!decorated points.
void* importedAddress(HMODULE module, const char* decorated) {
    void* address = nullptr;
    standin::forEachImport(module, [&](const char* dll, const char* function, void** slot) {
        if (_stricmp(dll, "ScriptHookV.dll") == 0 && std::strcmp(function, decorated) == 0) address = *slot;
    });
    return address;
}

bool insideModule(HMODULE module, const void* address) {
    HMODULE holder = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       static_cast<LPCWSTR>(address), &holder);
    return holder == module;
}

void lacking(const e2e::Options& options, const Export& missing) {
    e2e::Game game(options, std::string("lacks_") + missing.name, missing.name);
    game.host.load();
    // Still here: the load did not take the process down, and did nothing else.
    CHECK(game.host.calls().empty());
    CHECK(!game.settingsExist());
    CHECK(game.host.cues().empty());
    if (std::strcmp(missing.name, "scriptRegister") == 0) {
        CHECK(game.standIn.module() == nullptr);
        CHECK(game.standIn.loadError() != 0);
        CHECK_EQ(game.host.registrations(), 0);
        return;
    }
    if (game.standIn.module() == nullptr) {  // refused, as Windows refuses it
        CHECK_EQ(game.standIn.registerCalls(), 0);
        return;
    }
    const void* bound = importedAddress(game.standIn.module(), missing.decorated);
    CHECK(bound != nullptr);
    CHECK(!insideModule(game.standIn.scriptHookV(), bound));
    CHECK_EQ(game.standIn.registerCalls(), 1);
}

const bool registered = [] {
    for (const Export& missing : kExports) {
        e2e::RegisterScenario(std::string("lacks_") + missing.name,
                              [&missing](const e2e::Options& options) { lacking(options, missing); });
    }
    return true;
}();

}  // namespace
