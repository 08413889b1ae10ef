#include "call_log.h"

#include <cstdio>
#include <cstring>

namespace sim {

namespace {

float slotFloat(uint64_t slot) {
    const uint32_t bits = static_cast<uint32_t>(slot);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace

float LoggedCall::floatArg(int index) const { return slotFloat(arguments[static_cast<std::size_t>(index)]); }

float LoggedCall::floatResult(int slot) const { return slotFloat(result[static_cast<std::size_t>(slot)]); }

std::string LoggedCall::describe() const {
    std::string text = spec->name;
    text += '(';
    char buffer[48];
    for (int index = 0; index < argumentCount; ++index) {
        if (index > 0) text += ", ";
        switch (spec->arguments[index]) {
        case 'f': std::snprintf(buffer, sizeof buffer, "%g", static_cast<double>(floatArg(index))); break;
        case 'u': std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<uint32_t>(arguments[index])); break;
        case 'p':
        case 'e': std::snprintf(buffer, sizeof buffer, "&0x%llx", static_cast<unsigned long long>(arguments[index])); break;
        case 's': text += '"' + texts[index] + '"'; continue;
        default: std::snprintf(buffer, sizeof buffer, "%d", intArg(index)); break;
        }
        text += buffer;
    }
    text += ')';
    return text;
}

}  // namespace sim
