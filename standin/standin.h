// The stand-in ScriptHookV as the runner drives it: the real Rotorstrike.asi loaded with
// LoadLibrary into the simulated host (sim/), whose script runs on a Windows fibre one host
// frame at a time and whose natives the host answers. The module's imports of
// GetTickCount and GetAsyncKeyState are pointed at the host's clock and keys, and those of
// GetForegroundWindow, GetWindowThreadProcessId and GetCurrentProcessId at the host's focus,
// so that every run is the same; its PlaySoundA at a check that each cue is a WAVE resource of the
// module's own; its profile calls through the host's game folder (which may refuse a write)
// to Wine's real functions, and the open and close that hold the settings file across a load
// to the real ones too, all logged in the host's profileCalls() as on Linux.
//
// The simulated host's load() and unload() call the plug-in's module entry; here the plug-in
// is a separate module, so the entry is this file's: it loads the .asi afresh for each load
// (so that its state starts from its initial values) and hands each registration the module
// made to the host; an unload frees the module, whose unregistration reaches the host. A game
// reload is the host's alone (a fresh fibre). One stand-in serves the hosts of a process one
// after another.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "host.h"

namespace standin {

// A Linux path (/work/...) as Wine names it (Z:\work\...); a Windows path as it is.
std::wstring windowsPath(std::wstring path);

class StandIn {
public:
    // Loads the stand-in ScriptHookV.dll and connects it to the host. With a sound device,
    // each cue is also played by the system's own PlaySoundA, which must succeed.
    StandIn(const std::wstring& scriptHookV, const std::wstring& asi, bool soundDevice);
    ~StandIn();
    StandIn(const StandIn&) = delete;
    StandIn& operator=(const StandIn&) = delete;

    static StandIn& current();

    // The simulated host's load, through moduleEntry: loads the .asi into the host loading it.
    void loadModule(void* simulatedModule);
    // The simulated host's unload, through moduleEntry: frees the .asi with FreeLibrary.
    void unloadModule();

    HMODULE scriptHookV() const { return scriptHookV_; }
    // The loaded .asi, or null when the loader refused it (then loadError() says why).
    HMODULE module() const { return module_; }
    DWORD loadError() const { return loadError_; }
    // Every call of scriptRegister, valid or not.
    int registerCalls() const { return registerCalls_; }
    // Every call of scriptUnregister, whenever it came (the module is freed after each test).
    int unregisterCalls() const { return unregisterCalls_; }
    // What the module did that the real host would not accept: a registration of another
    // module's handle, a cue that is not its own resource of the right form, ...
    const std::vector<std::string>& faults() const { return faults_; }
    // The faults so far, which the caller takes over: the stand-in's own checks use it.
    std::vector<std::string> takeFaults() { return std::exchange(faults_, {}); }

private:
    struct Registration {
        void* module;
        void (*function)();
    };

    static void onScriptRegister(void* module, void (*function)());
    static void onScriptUnregister(void* module);
    static HWND WINAPI onGetForegroundWindow();
    static DWORD WINAPI onGetWindowThreadProcessId(HWND window, LPDWORD process);
    static DWORD WINAPI onGetCurrentProcessId();
    static DWORD WINAPI onGetTickCount();
    static SHORT WINAPI onGetAsyncKeyState(int virtualKey);
    static BOOL WINAPI onPlaySoundA(LPCSTR sound, HMODULE module, DWORD flags);
    static UINT WINAPI onGetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR path);
    static DWORD WINAPI onGetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                                                   DWORD size, LPCSTR path);
    static BOOL WINAPI onWritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR path);
    static HANDLE WINAPI onCreateFileA(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                       DWORD disposition, DWORD flags, HANDLE templateFile);
    static BOOL WINAPI onCloseHandle(HANDLE handle);

    void patchImports();
    void freeModule();
    void fault(std::string what) { faults_.push_back(std::move(what)); }

    std::wstring asi_;
    bool soundDevice_;
    HMODULE scriptHookV_ = nullptr;
    HMODULE module_ = nullptr;
    DWORD loadError_ = 0;
    bool loading_ = false;
    void* simulatedModule_ = nullptr;
    // Set while the host unloads the module: its unregistration is the host's to see.
    bool unloading_ = false;
    // A module bound to a stub in place of a missing export (Wine loads what Windows refuses)
    // is never freed: its detach would call the stub.
    bool boundToStub_ = false;
    int registerCalls_ = 0;
    int unregisterCalls_ = 0;
    std::vector<Registration> registrations_;
    std::vector<std::string> faults_;
    decltype(&PlaySoundA) playSound_ = nullptr;
    decltype(&CreateFileA) createFile_ = nullptr;
    decltype(&CloseHandle) closeHandle_ = nullptr;
    HANDLE heldFile_ = INVALID_HANDLE_VALUE;
};

}  // namespace standin
