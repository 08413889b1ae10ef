#include "standin.h"

#include "host_internals.h"

#include "cues.h"
#include "imports.h"
#include "script_hook_v.h"
#include "windows/profile_file_state.h"
#include "seam.h"

namespace standin {

namespace {

StandIn* currentStandIn = nullptr;

constexpr DWORD kPlayCueFlags = SND_RESOURCE | SND_APPLICATION | SND_ASYNC;
constexpr DWORD kStopCuesFlags = SND_PURGE | SND_APPLICATION;
constexpr SHORT kKeyDown = static_cast<SHORT>(0x8000);
// The windows the host's focus stands for, and the processes that own them.
const HWND kGameWindow = reinterpret_cast<HWND>(0x10010);
const HWND kOtherWindow = reinterpret_cast<HWND>(0x20020);
constexpr DWORD kGameProcess = 0x1F00;
constexpr DWORD kOtherProcess = 0x2F00;

// The module that holds an address, or null.
HMODULE moduleHolding(const void* address) {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       static_cast<LPCWSTR>(address), &module);
    return module;
}

}  // namespace

std::wstring windowsPath(std::wstring path) {
    if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
    for (wchar_t& c : path) {
        if (c == L'/') c = L'\\';
    }
    return path;
}

StandIn::StandIn(const std::wstring& scriptHookV, const std::wstring& asi, bool soundDevice)
    : asi_(asi), soundDevice_(soundDevice) {
    if (currentStandIn != nullptr) throw sim::HostError("only one stand-in may exist at a time");
    scriptHookV_ = LoadLibraryW(scriptHookV.c_str());
    if (scriptHookV_ == nullptr) throw sim::HostError("cannot load the stand-in ScriptHookV.dll");
    const auto connect = reinterpret_cast<ConnectStandIn>(
        reinterpret_cast<void*>(GetProcAddress(scriptHookV_, kConnectStandIn)));
    if (connect == nullptr) throw sim::HostError("the stand-in ScriptHookV.dll has no " + std::string(kConnectStandIn));
    // Waits and natives go straight to the simulated host's seam.
    static const StandInHooks hooks = {&onScriptRegister, &onScriptUnregister, &scriptWait, &nativeInit, &nativePush64,
                                       &nativeCall};
    connect(&hooks);
    currentStandIn = this;
}

StandIn::~StandIn() {
    freeModule();
    currentStandIn = nullptr;
}

void StandIn::freeModule() {
    if (module_ != nullptr && !boundToStub_) FreeLibrary(module_);
    module_ = nullptr;
}

StandIn& StandIn::current() {
    if (currentStandIn == nullptr) throw sim::HostError("no stand-in to load the module");
    return *currentStandIn;
}

// Each host loads the module afresh, so that its state starts from its initial values: the
// module an earlier host ran (its script gone with that host) is let go first.
void StandIn::loadModule(void* simulatedModule) {
    freeModule();
    boundToStub_ = false;
    simulatedModule_ = simulatedModule;
    loadError_ = 0;
    registrations_.clear();
    loading_ = true;
    module_ = LoadLibraryExW(asi_.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    loading_ = false;
    if (module_ == nullptr) {
        loadError_ = GetLastError();
        return;
    }
    patchImports();
    forEachImport(module_, [this](const char* dll, const char*, void** slot) {
        if (_stricmp(dll, "ScriptHookV.dll") == 0 && moduleHolding(*slot) != scriptHookV_) boundToStub_ = true;
    });
    // Registrations are handed to the host once the loader is done, never from inside it.
    for (const Registration& registration : registrations_) {
        if (registration.module != module_) fault("scriptRegister with a handle that is not the module's own");
        if (moduleHolding(reinterpret_cast<const void*>(registration.function)) != module_) {
            fault("scriptRegister with a function outside the module");
        }
        sim::HostInternals::current().registerScript(simulatedModule, registration.function);
    }
}

void StandIn::unloadModule() {
    if (module_ == nullptr) throw sim::HostError("the host unloads a module that is not loaded");
    unloading_ = true;
    freeModule();
    unloading_ = false;
}

void StandIn::patchImports() {
    struct Patch {
        const char* dll;
        const char* function;
        void* replacement;
        void** original;
    };
    void* playSound = nullptr;
    void* createFile = nullptr;
    void* closeHandle = nullptr;
    void* ignored = nullptr;
    const Patch patches[] = {
        {"kernel32.dll", "GetTickCount", reinterpret_cast<void*>(&onGetTickCount), &ignored},
        {"user32.dll", "GetAsyncKeyState", reinterpret_cast<void*>(&onGetAsyncKeyState), &ignored},
        {"user32.dll", "GetForegroundWindow", reinterpret_cast<void*>(&onGetForegroundWindow), &ignored},
        {"user32.dll", "GetWindowThreadProcessId", reinterpret_cast<void*>(&onGetWindowThreadProcessId), &ignored},
        {"kernel32.dll", "GetCurrentProcessId", reinterpret_cast<void*>(&onGetCurrentProcessId), &ignored},
        {"winmm.dll", "PlaySoundA", reinterpret_cast<void*>(&onPlaySoundA), &playSound},
        {"kernel32.dll", "GetPrivateProfileIntA", reinterpret_cast<void*>(&onGetPrivateProfileIntA), &ignored},
        {"kernel32.dll", "GetPrivateProfileStringA", reinterpret_cast<void*>(&onGetPrivateProfileStringA), &ignored},
        {"kernel32.dll", "WritePrivateProfileStringA", reinterpret_cast<void*>(&onWritePrivateProfileStringA),
         &ignored},
        {"kernel32.dll", "CreateFileA", reinterpret_cast<void*>(&onCreateFileA), &createFile},
        {"kernel32.dll", "CloseHandle", reinterpret_cast<void*>(&onCloseHandle), &closeHandle},
    };
    for (const Patch& patch : patches) {
        *patch.original = patchImport(module_, patch.dll, patch.function, patch.replacement);
        if (*patch.original == nullptr) {
            throw sim::HostError(std::string("Rotorstrike.asi does not import ") + patch.dll + "!" + patch.function);
        }
    }
    playSound_ = reinterpret_cast<decltype(playSound_)>(playSound);
    createFile_ = reinterpret_cast<decltype(createFile_)>(createFile);
    closeHandle_ = reinterpret_cast<decltype(closeHandle_)>(closeHandle);
}

void StandIn::onScriptRegister(void* module, void (*function)()) {
    StandIn& self = current();
    ++self.registerCalls_;
    if (!self.loading_) {
        self.fault("scriptRegister called outside the module's load");
        return;
    }
    self.registrations_.push_back({module, function});
}

// Answered at any time: also as the module is freed after a test, when no host may be
// listening. Only the host's unload hands it on.
void StandIn::onScriptUnregister(void* module) {
    StandIn& self = current();
    ++self.unregisterCalls_;
    // A load that failed in the module's attach is followed by its detach.
    if (module != self.module_ && !self.loading_) self.fault("scriptUnregister with a handle that is not the module's own");
    if (self.unloading_) sim::HostInternals::current().unregisterScript(self.simulatedModule_);
}

DWORD WINAPI StandIn::onGetTickCount() { return tickCount(); }

HWND WINAPI StandIn::onGetForegroundWindow() {
    switch (sim::HostInternals::current().focus()) {
    case sim::Host::Focus::Game: return kGameWindow;
    case sim::Host::Focus::OtherProgram: return kOtherWindow;
    default: return nullptr;
    }
}

DWORD WINAPI StandIn::onGetWindowThreadProcessId(HWND window, LPDWORD process) {
    if (process != nullptr) *process = window == kGameWindow ? kGameProcess : kOtherProcess;
    return 1;
}

DWORD WINAPI StandIn::onGetCurrentProcessId() { return kGameProcess; }

SHORT WINAPI StandIn::onGetAsyncKeyState(int virtualKey) { return isKeyDown(virtualKey) ? kKeyDown : SHORT{0}; }

BOOL WINAPI StandIn::onPlaySoundA(LPCSTR sound, HMODULE module, DWORD flags) {
    StandIn& self = current();
    const std::size_t faultsBefore = self.faults_.size();
    if (sound == nullptr) {
        if (module != nullptr || flags != kStopCuesFlags) {
            self.fault("a stop of the cues with other arguments than (NULL, NULL, 0xC0)");
        }
        stopCues();
    } else {
        const int id = IS_INTRESOURCE(sound) ? static_cast<int>(reinterpret_cast<ULONG_PTR>(sound)) : 0;
        if (id == 0) self.fault("a cue named by text, not by resource number");
        const std::string cue = "cue " + std::to_string(id);
        if (module != self.module_) self.fault(cue + " played from a module not the plug-in's own");
        if (flags != kPlayCueFlags) self.fault(cue + " played with flags other than 0x00040085");
        const std::string resourceFault = cueResourceFault(module, id);
        if (!resourceFault.empty()) self.fault(resourceFault);
        playCue(id);
    }
    // A call that failed the checks is not passed on: with wrong arguments the system's
    // PlaySoundA may read a resource number as a text, and crash.
    if (!self.soundDevice_ || self.faults_.size() != faultsBefore) return TRUE;
    // The system plays it too: to the end, so that a failure is seen here, and quietly,
    // so that a missing resource fails instead of playing the default sound.
    const DWORD flagsHere = sound == nullptr ? flags : (flags & ~DWORD{SND_ASYNC}) | SND_SYNC | SND_NODEFAULT;
    if (!self.playSound_(sound, module, flagsHere)) self.fault("the system's PlaySoundA failed");
    return TRUE;
}

// The plug-in's profile calls go through the host's game folder, as on Linux, and there to
// the system's own functions: the host logs them and can refuse a write.
UINT WINAPI StandIn::onGetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR path) {
    return readProfileInt(section, key, defaultValue, path);
}

DWORD WINAPI StandIn::onGetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                                                DWORD size, LPCSTR path) {
    return readProfileString(section, key, defaultValue, buffer, size, path);
}

BOOL WINAPI StandIn::onWritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR path) {
    return writeProfileString(section, key, value, path) ? TRUE : FALSE;
}

// The plug-in opens only its settings file, to learn whether it can be read: logged as the
// simulated host logs it, with the answer the plug-in makes of the system's.
HANDLE WINAPI StandIn::onCreateFileA(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                     DWORD disposition, DWORD flags, HANDLE templateFile) {
    StandIn& self = current();
    const HANDLE file = self.createFile_(path, access, share, security, disposition, flags, templateFile);
    const DWORD error = GetLastError();
    if (access != GENERIC_READ || share != 7 || security != nullptr || disposition != OPEN_EXISTING ||
        flags != FILE_ATTRIBUTE_NORMAL || templateFile != nullptr) {
        self.fault(std::string("the settings file opened otherwise than for shared reading: ") + path);
    }
    ProfileFileState state = ProfileFileState::Readable;
    if (file == INVALID_HANDLE_VALUE) {
        state = profileFileStateAfter(error);
    } else {
        self.heldFile_ = file;
    }
    sim::HostInternals::current().recordProfileOpen(path, state);
    SetLastError(error);
    return file;
}

BOOL WINAPI StandIn::onCloseHandle(HANDLE handle) {
    StandIn& self = current();
    if (handle == self.heldFile_ && handle != INVALID_HANDLE_VALUE) {
        self.heldFile_ = INVALID_HANDLE_VALUE;
        sim::HostInternals::current().recordProfileClose();
    }
    return self.closeHandle_(handle);
}

}  // namespace standin

// The simulated host's load() calls the module entry, which the plug-in provides when it is
// linked in. Here the plug-in is Rotorstrike.asi, reached through the system's loader.
void moduleEntry(ModuleHandle module, uint32_t reason, bool freed) {
    if (reason == DLL_PROCESS_ATTACH) {
        standin::StandIn::current().loadModule(module);
    } else if (reason == DLL_PROCESS_DETACH && freed) {
        standin::StandIn::current().unloadModule();
    }
}
