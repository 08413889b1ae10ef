// The stand-in ScriptHookV.dll. Its .def (made by standin/CMakeLists.txt) exports these
// functions under ScriptHookV's decorated names, or all but one of them for the runs that
// check a ScriptHookV.dll lacking an export.
#include <windows.h>

#include <cstdio>

#include "script_hook_v.h"

namespace {

const StandInHooks* hooks = nullptr;

// A call before the runner connected is a fault of the runner: stop at once.
const StandInHooks& connected() {
    if (hooks == nullptr) {
        std::fputs("ScriptHookV.dll (stand-in): called before the runner connected\n", stderr);
        ExitProcess(3);
    }
    return *hooks;
}

}  // namespace

extern "C" {

void standInConnect(const StandInHooks* table) { hooks = table; }

void shvScriptRegister(HMODULE module, void (*function)()) { connected().scriptRegister(module, function); }
void shvScriptUnregister(HMODULE module) { connected().scriptUnregister(module); }
void shvScriptWait(DWORD milliseconds) { connected().scriptWait(milliseconds); }
void shvNativeInit(UINT64 hash) { connected().nativeInit(hash); }
void shvNativePush64(UINT64 argument) { connected().nativePush64(argument); }
PUINT64 shvNativeCall() { return connected().nativeCall(); }
}
