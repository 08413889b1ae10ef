// The call layer to the host: a native is called by its 64-bit hash, one 64-bit slot per
// argument. Slots are zeroed and carry the value in their low 32 bits (a float as its IEEE
// bits); a text or an output argument is an address. Only the wrappers in natives.cpp use it.
#pragma once

#include <cstdint>
#include <cstring>

#include "runtime/mod_state.h"
#include "seam.h"

inline uint64_t argumentSlot(int32_t value) { return static_cast<uint32_t>(value); }
inline uint64_t argumentSlot(uint32_t value) { return value; }
inline uint64_t argumentSlot(bool value) { return value ? 1u : 0u; }
inline uint64_t argumentSlot(float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}
inline uint64_t argumentSlot(const char* text) { return reinterpret_cast<uintptr_t>(text); }
template <typename T>
inline uint64_t argumentSlot(T* output) {
    return reinterpret_cast<uintptr_t>(output);
}

// Begins the call, pushes the arguments in the order given, runs it; the result lies in the
// slots returned, valid until the next call.
template <typename... Args>
uint64_t* callNative(uint64_t hash, Args... arguments) {
    nativeInit(hash);
    (nativePush64(argumentSlot(arguments)), ...);
    return nativeCall();
}

inline int32_t intResult(const uint64_t* slots) {
    return static_cast<int32_t>(static_cast<uint32_t>(slots[0]));
}
inline uint32_t hashResult(const uint64_t* slots) { return static_cast<uint32_t>(slots[0]); }
inline bool boolResult(const uint64_t* slots) { return static_cast<uint32_t>(slots[0]) != 0; }
inline float floatResult(const uint64_t* slots) {
    const uint32_t bits = static_cast<uint32_t>(slots[0]);
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
// A 3-vector result fills three slots; it is copied out before the next call can reuse them.
inline Vector3 vectorResult(const uint64_t* slots) {
    Vector3 vector;
    vector.x = floatResult(slots);
    vector.y = floatResult(slots + 1);
    vector.z = floatResult(slots + 2);
    return vector;
}
