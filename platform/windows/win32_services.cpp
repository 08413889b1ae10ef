// The Win32 side of the seam: the tick count, the keyboard, the profile file (and whether it
// can be read) and the sound cues carried as WAVE resources of our own module.
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>

#include "profile_file_state.h"
#include "seam.h"

namespace {

// PlaySoundA flags: from a resource, with the application association, in the background
// (replacing any cue still playing); and purge, with the application association.
constexpr DWORD kPlayCueFlags = SND_RESOURCE | SND_APPLICATION | SND_ASYNC;
constexpr DWORD kStopCuesFlags = SND_PURGE | SND_APPLICATION;
static_assert(kPlayCueFlags == 0x00040085 && kStopCuesFlags == 0xC0);

// GetModuleHandleExW flags: the module that holds an address, its reference count unchanged.
constexpr DWORD kOwnModuleFlags =
    GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
static_assert(kOwnModuleFlags == 6);

constexpr uint16_t kKeyDownBit = 0x8000;

// The settings file as openProfileFile holds it: for reading, sharing reading, writing and
// deleting, so that our own profile calls go on working while any exclusive open by another
// program is refused.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
static_assert(kShareAll == 7);
HANDLE heldSettingsFile = INVALID_HANDLE_VALUE;

// The plug-in's own module, found from the address of a function inside it.
HMODULE ownModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(kOwnModuleFlags,
                       reinterpret_cast<LPCWSTR>(reinterpret_cast<uintptr_t>(&ownModule)),
                       &module);
    return module;
}

}  // namespace

uint32_t tickCount() { return GetTickCount(); }

bool isKeyDown(int32_t virtualKey) {
    // The settings file may hold any integer: only 1 to 254 name a key.
    if (virtualKey < 1 || virtualKey > 254) return false;
    return (static_cast<uint16_t>(GetAsyncKeyState(virtualKey)) & kKeyDownBit) != 0;
}

bool gameHasFocus() {
    const HWND window = GetForegroundWindow();
    if (window == nullptr) return false;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId();
}

uint32_t readProfileInt(const char* section, const char* key, int32_t defaultValue,
                        const char* path) {
    return GetPrivateProfileIntA(section, key, defaultValue, path);
}

uint32_t readProfileString(const char* section, const char* key, const char* defaultValue, char* buffer,
                           uint32_t size, const char* path) {
    return GetPrivateProfileStringA(section, key, defaultValue, buffer, size, path);
}

bool writeProfileString(const char* section, const char* key, const char* value,
                        const char* path) {
    return WritePrivateProfileStringA(section, key, value, path) != FALSE;
}

ProfileFileState openProfileFile(const char* path) {
    closeProfileFile();
    const HANDLE file = CreateFileA(path, GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        heldSettingsFile = file;
        return ProfileFileState::Readable;
    }
    return profileFileStateAfter(GetLastError());
}

void closeProfileFile() {
    if (heldSettingsFile == INVALID_HANDLE_VALUE) return;
    CloseHandle(heldSettingsFile);
    heldSettingsFile = INVALID_HANDLE_VALUE;
}

void playCue(int32_t cueId) {
    // The module is fetched right before each play, as the cue's resource module.
    PlaySoundA(MAKEINTRESOURCEA(cueId), ownModule(), kPlayCueFlags);
}

void stopCues() { PlaySoundA(nullptr, nullptr, kStopCuesFlags); }
