// The simulated host's own table of natives: hash, name, argument kinds, result kind and
// handler, written from the host's documentation and never shared with the plug-in, so that
// a wrong hash in the plug-in shows as an unknown native.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

#include "world.h"

namespace sim {

class HostInternals;

// Argument kinds, one letter each: i int, u unsigned or hash, b bool, f float, h entity
// handle, n player index, s text address, p address of an output variable, e address of a
// variable holding an entity handle.
// Result kinds: - none, i int, u unsigned, b bool, f float, h handle, v 3-vector.
struct NativeCall;
using NativeHandler = void (*)(HostInternals& host, NativeCall& call);

struct NativeSpec {
    uint64_t hash;
    const char* name;
    const char* arguments;
    char result;
    NativeHandler handler;
};

constexpr int kMaxNativeArguments = 24;  // the most any native takes (a marker's)
constexpr int kPlayerSlots = 32;         // player indices run from 0 to 31

// A call in progress, as its handler sees it.
struct NativeCall {
    const NativeSpec* spec = nullptr;
    const uint64_t* arguments = nullptr;
    uint64_t* result = nullptr;

    int32_t i(int index) const { return static_cast<int32_t>(static_cast<uint32_t>(arguments[index])); }
    uint32_t u(int index) const { return static_cast<uint32_t>(arguments[index]); }
    bool b(int index) const { return static_cast<uint32_t>(arguments[index]) != 0; }
    float f(int index) const {
        const uint32_t bits = u(index);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    const char* s(int index) const { return reinterpret_cast<const char*>(arguments[index]); }
    template <typename T>
    T* out(int index) const {
        return reinterpret_cast<T*>(arguments[index]);
    }

    void returnInt(int32_t value) { result[0] = static_cast<uint32_t>(value); }
    void returnUnsigned(uint32_t value) { result[0] = value; }
    void returnBool(bool value) { result[0] = value ? 1u : 0u; }
    void returnFloat(float value) { result[0] = floatSlot(value); }
    void returnVector(Vec3 value) {
        result[0] = floatSlot(value.x);
        result[1] = floatSlot(value.y);
        result[2] = floatSlot(value.z);
    }

    static uint64_t floatSlot(float value) {
        uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        return bits;
    }
};

// The table entry of a hash, or null for a native the host does not know.
const NativeSpec* findNative(uint64_t hash);
// The hash of a native by its name in the table (e.g. "getVehiclePedIsUsing"), for tests
// that look for a call; an unknown name throws std::invalid_argument.
uint64_t nativeHash(std::string_view name);

// The table's parts, by area (natives_*.cpp).
std::span<const NativeSpec> screenNatives();  // input, sounds, rectangles, texts, the feed
std::span<const NativeSpec> entityNatives();  // the player, entities, vehicles, peds, models
std::span<const NativeSpec> worldNatives();   // sight, distance, pilots, camera, time, fades
std::span<const NativeSpec> combatNatives();  // weapons, missiles, markers, forces, death, revival

}  // namespace sim
