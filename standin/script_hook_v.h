// The stand-in ScriptHookV.dll and the runner that drives it share this table. The DLL
// exports ScriptHookV's six functions under their decorated names, as the real one does,
// and forwards each call to the runner, which answers it from its simulated host.
#pragma once

#include <cstdint>

extern "C" {

struct StandInHooks {
    void (*scriptRegister)(void* module, void (*function)());
    void (*scriptUnregister)(void* module);
    void (*scriptWait)(uint32_t milliseconds);
    void (*nativeInit)(uint64_t hash);
    void (*nativePush64)(uint64_t argument);
    uint64_t* (*nativeCall)();
};

// The DLL's one export of our own: the runner hands it the table before it loads the .asi.
using ConnectStandIn = void (*)(const StandInHooks* hooks);
}

constexpr const char* kConnectStandIn = "standInConnect";
