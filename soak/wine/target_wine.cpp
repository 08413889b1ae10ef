// The Wine soak: Rotorstrike.asi, as players install it, loaded into each game's simulated
// host by the stand-in ScriptHookV. The module keeps its state to itself; its settings calls
// reach Wine's own profile functions through the host's game folder, which refuses a write
// where a fault says so; the file's lock is a real exclusive handle. The cues are checked
// but not played: a sound device would spend half a second on each.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "standin.h"
#include "target.h"

namespace soak {

namespace {

std::wstring asi, scriptHookV;
std::unique_ptr<standin::StandIn> standIn;

bool takeOption(std::string_view name, const char* value) {
    if (name != "--asi" && name != "--standin") return false;
    // The command line's bytes, each a character (an ASCII path, as the scripts pass).
    if (value != nullptr) {
        (name == "--asi" ? asi : scriptHookV) = standin::windowsPath(std::wstring(value, value + std::strlen(value)));
    }
    return true;
}

bool start() {
    if (asi.empty() || scriptHookV.empty()) {
        std::fputs("rotorstrike-soak: under Wine it wants --asi and --standin\n", stderr);
        return false;
    }
    standIn = std::make_unique<standin::StandIn>(scriptHookV, asi, false);
    return true;
}

}  // namespace

const Target& target() {
    static const Target wine = {
        .name = "Rotorstrike.asi under Wine, loaded by the stand-in ScriptHookV",
        .pluginState = nullptr,
        .systemProfileFunctions = true,
        .lockedWriteError = "failed with error 32",  // a sharing violation, as Windows answers
        .gameFolderIsCurrent = true,
        .options = "  --asi FILE          the Rotorstrike.asi to play\n"
                   "  --standin FILE      the stand-in ScriptHookV.dll that loads it\n",
        .takeOption = &takeOption,
        .start = &start,
    };
    return wine;
}

}  // namespace soak
