// The stub backend: every function of the seam with a neutral answer, and nothing behind it.
//
// This is the template for a new platform: copy this file, then replace each answer with the
// platform's own call. The build links the plug-in against it (tests/stub_backend), so a
// function added to seam.h without one here fails the build.
//
// What it answers: no script is kept (scriptRegister records nothing) and scriptWait returns at
// once; a native call returns zeroed slots; the clock stays at 0; no key is ever down, and the
// game has the focus; the settings file is missing, so every read gives its default; every
// write fails; cues are silent.
#include <cstdint>
#include <cstring>

#include "seam.h"

namespace {

// Room for the largest result a native returns (a 3-vector: three 8-byte slots).
uint64_t nativeResult[4] = {};

}  // namespace

void scriptRegister(ModuleHandle, ScriptFunction) {}

void scriptUnregister(ModuleHandle) {}

void scriptWait(uint32_t) {}

void nativeInit(uint64_t) {}

void nativePush64(uint64_t) {}

uint64_t* nativeCall() {
    // Zeroed on every call: a caller may have written into the slots it was given.
    std::memset(nativeResult, 0, sizeof nativeResult);
    return nativeResult;
}

uint32_t tickCount() { return 0; }

bool isKeyDown(int32_t) { return false; }

bool gameHasFocus() { return true; }

uint32_t readProfileInt(const char*, const char*, int32_t defaultValue, const char*) {
    return static_cast<uint32_t>(defaultValue);
}

uint32_t readProfileString(const char*, const char*, const char* defaultValue, char* buffer, uint32_t size,
                           const char*) {
    if (buffer == nullptr || size == 0) return 0;
    const char* text = defaultValue != nullptr ? defaultValue : "";
    size_t length = std::strlen(text);
    if (length > size - 1) length = size - 1;
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
    return static_cast<uint32_t>(length);
}

bool writeProfileString(const char*, const char*, const char*, const char*) { return false; }

ProfileFileState openProfileFile(const char*) { return ProfileFileState::Missing; }

void closeProfileFile() {}

void playCue(int32_t) {}

void stopCues() {}
