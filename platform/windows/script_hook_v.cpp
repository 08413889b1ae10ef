// ScriptHookV's six exports, imported statically. ScriptHookV exports them under
// MSVC-decorated names; ScriptHookV.def binds each decorated name to the plain C name
// declared here, so the import table of the .asi holds the decorated names while our
// code spells symbols the assembler accepts. Nothing of the ScriptHookV SDK is used.
#include <windows.h>

#include "seam.h"

extern "C" {
// ?scriptRegister@@YAXPEAUHINSTANCE__@@P6AXXZ@Z: void scriptRegister(HMODULE, void (*)())
__declspec(dllimport) void shvScriptRegister(HMODULE module, void (*function)());
// ?scriptUnregister@@YAXPEAUHINSTANCE__@@@Z: void scriptUnregister(HMODULE)
__declspec(dllimport) void shvScriptUnregister(HMODULE module);
// ?scriptWait@@YAXK@Z: void scriptWait(DWORD)
__declspec(dllimport) void shvScriptWait(DWORD milliseconds);
// ?nativeInit@@YAX_K@Z: void nativeInit(UINT64)
__declspec(dllimport) void shvNativeInit(UINT64 hash);
// ?nativePush64@@YAX_K@Z: void nativePush64(UINT64)
__declspec(dllimport) void shvNativePush64(UINT64 argument);
// ?nativeCall@@YAPEA_KXZ: PUINT64 nativeCall()
__declspec(dllimport) PUINT64 shvNativeCall();
}

static_assert(sizeof(DWORD) == sizeof(uint32_t) && sizeof(UINT64) == sizeof(uint64_t));

void scriptRegister(ModuleHandle module, ScriptFunction function) {
    shvScriptRegister(static_cast<HMODULE>(module), function);
}

void scriptUnregister(ModuleHandle module) { shvScriptUnregister(static_cast<HMODULE>(module)); }

void scriptWait(uint32_t milliseconds) { shvScriptWait(milliseconds); }

void nativeInit(uint64_t hash) { shvNativeInit(hash); }

void nativePush64(uint64_t argument) { shvNativePush64(argument); }

uint64_t* nativeCall() { return reinterpret_cast<uint64_t*>(shvNativeCall()); }
