// The host as its own backends see it: the native handlers (natives_*.cpp) and the seam's
// backends (the Linux one in host.cpp, the stand-in's under Wine). Tests and tools use Host.
#pragma once

#include <cstdint>
#include <string>

#include "game_folder.h"
#include "host.h"
#include "screen.h"
#include "world.h"

namespace sim {

class HostInternals {
public:
    explicit HostInternals(Host& host) : host_(host) {}
    // The host the plug-in talks to.
    static HostInternals current();

    World& world() { return host_.world_; }
    GameFolder& gameFolder() { return host_.gameFolder_; }
    int32_t padControl() const { return host_.padControl_; }
    bool captureEnabled() const { return host_.captureEnabled_; }
    uint32_t tick() const { return host_.tick(); }
    bool keyDown(int32_t virtualKey) const { return host_.keyDown(virtualKey); }
    // The focus as the plug-in asks it; an answer that the game has it is noted.
    Host::Focus focus() {
        if (host_.focus_ == Host::Focus::Game) host_.focusGrantedFrame_ = host_.frame_;
        return host_.focus_;
    }

    // The text style and entry being built by the text natives, and the screen they draw on.
    TextStyle& pendingStyle() { return host_.pendingStyle_; }
    std::string& pendingEntry() { return host_.pendingEntry_; }
    std::string& pendingText() { return host_.pendingText_; }
    Screen& mutableScreen() { return host_.screen_; }

    // What the script did in its turn: the host tells the waits apart by it (Host::ScriptWait).
    void noteEntityMoved() { host_.turnMovedEntity_ = true; }
    void noteVehicleBlownUp() { host_.turnBlewUpVehicle_ = true; }

    // The seam.
    void registerScript(void* module, void (*function)()) { host_.registerScript(module, function); }
    void unregisterScript(void* module) { host_.unregisterScript(module); }
    void wait(uint32_t milliseconds) { host_.wait(milliseconds); }
    void beginNative(uint64_t hash) { host_.beginNative(hash); }
    void pushArgument(uint64_t argument) { host_.pushArgument(argument); }
    uint64_t* callNative() { return host_.callNative(); }
    void recordCue(int32_t cue);
    void recordFrontendSound(int32_t soundId, const char* name, const char* soundSet);
    void recordProfileRead(const char* section, const char* key, int32_t defaultValue, const char* path, uint32_t value);
    // A text read: the text is the buffer's, up to its NUL; length, what the call returned.
    void recordProfileReadText(const char* section, const char* key, const char* defaultValue, const char* buffer,
                               uint32_t size, const char* path, uint32_t length);
    void recordProfileWrite(const char* section, const char* key, const char* value, const char* path, bool written);
    void recordProfileOpen(const char* path, ProfileFileState state);
    void recordProfileClose();

private:
    Host& host_;
};

}  // namespace sim
