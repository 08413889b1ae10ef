#include "plugin_host.h"

namespace sim {

PluginHost::PluginHost(const std::string& gameDirectory, uint32_t startTick) {
    setStartTick(startTick);
    setGameDirectory(gameDirectory);
}

void PluginHost::pressFor1Frame(int32_t key) {
    setKey(key, true);
    runFrame();
    setKey(key, false);
}

void PluginHost::tapKey(int32_t key) {
    runFrames(kKeyLockoutFrames);
    pressFor1Frame(key);
}

}  // namespace sim
