// Every native call of a frame: its hash, raw arguments and decoded texts.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "natives.h"
#include "recycled.h"

namespace sim {

struct LoggedCall {
    int64_t frame = 0;
    uint64_t hash = 0;
    const NativeSpec* spec = nullptr;
    int argumentCount = 0;
    std::array<uint64_t, kMaxNativeArguments> arguments{};
    std::array<std::string, kMaxNativeArguments> texts;  // the text arguments, decoded
    std::array<uint64_t, 3> result{};                    // the result slots the host returned

    int32_t intArg(int index) const { return static_cast<int32_t>(static_cast<uint32_t>(arguments[index])); }
    float floatArg(int index) const;
    int32_t intResult() const { return static_cast<int32_t>(static_cast<uint32_t>(result[0])); }
    float floatResult(int slot = 0) const;
    const std::string& textArg(int index) const { return texts[index]; }
    // "setTextScale(0.45, 0.45)", as a trace prints it.
    std::string describe() const;
};

using CallLog = Recycled<LoggedCall>;

}  // namespace sim
