#include "natives.h"

#include <stdexcept>
#include <string>
#include <unordered_map>

namespace sim {

const NativeSpec* findNative(uint64_t hash) {
    static const std::unordered_map<uint64_t, const NativeSpec*> byHash = [] {
        std::unordered_map<uint64_t, const NativeSpec*> table;
        for (const auto area : {screenNatives(), entityNatives(), worldNatives(), combatNatives()}) {
            for (const NativeSpec& spec : area) {
                if (!table.emplace(spec.hash, &spec).second) throw std::logic_error(std::string(spec.name) + ": a hash listed twice");
            }
        }
        return table;
    }();
    const auto found = byHash.find(hash);
    return found == byHash.end() ? nullptr : found->second;
}

uint64_t nativeHash(std::string_view name) {
    for (const auto area : {screenNatives(), entityNatives(), worldNatives(), combatNatives()}) {
        for (const NativeSpec& spec : area) {
            if (name == spec.name) return spec.hash;
        }
    }
    throw std::invalid_argument("no native named " + std::string(name));
}

}  // namespace sim
