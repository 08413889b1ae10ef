#include "host.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "host_internals.h"
#include "seam.h"

namespace sim {

namespace {

Host* currentHost = nullptr;
ModuleHandle const kModuleHandle = reinterpret_cast<ModuleHandle>(0x180000000);
constexpr uint32_t kProcessDetach = 0;
constexpr uint32_t kProcessAttach = 1;
// No object of the plug-in lies in the lowest 64 KiB of the address space.
constexpr uint64_t kLowestAddress = 0x10000;

std::string text(const char* chars) { return chars != nullptr ? chars : "(null)"; }

std::string hex(uint64_t hash) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%016llX", static_cast<unsigned long long>(hash));
    return text;
}

}  // namespace

Host::Host() {
    if (currentHost != nullptr) throw HostError("only one simulated host may exist at a time");
    currentHost = this;
}

Host::~Host() {
    fibre_.reset();
    currentHost = nullptr;
}

HostInternals HostInternals::current() {
    if (currentHost == nullptr) throw HostError("the plug-in called its host, but no host exists");
    return HostInternals(*currentHost);
}

void Host::load() {
    fibre_.reset();
    script_ = nullptr;
    registrations_ = 0;
    turnMovedEntity_ = false;
    turnBlewUpVehicle_ = false;
    waits_ = {};
    moduleLoaded_ = true;
    moduleEntry(kModuleHandle, kProcessAttach, false);
}

void Host::unload() {
    // The script's stack is let go while the module's code is still there to unwind.
    fibre_.reset();
    moduleEntry(kModuleHandle, kProcessDetach, true);
    moduleLoaded_ = false;
}

void Host::reloadGame(Vec3 position, bool inVehicle) {
    fibre_.reset();
    turnMovedEntity_ = false;
    turnBlewUpVehicle_ = false;
    world_.reload(position, inVehicle);
    ++reloads_;
    handedOut_.clear();
    staleHandles_.clear();
}

uint32_t Host::tick() const {
    return startTick_ + static_cast<uint32_t>(elapsedMs(frame_ < 0 ? 0 : frame_));
}

bool Host::scriptDue() const {
    const ScriptWait& wait = currentWait();
    if (wait.frame < 0) return true;
    return frame_ > wait.frame && elapsedMs(frame_) - elapsedMs(wait.frame) >= wait.milliseconds;
}

void Host::runFrame() {
    ++frame_;
    calls_.clear();
    screen_.clear();
    gameFolder_.beginFrame();
    world_.setFrame(frame_);
    runScript();
    if (nullMode_) return;
    // The world then moves on to the next frame's time.
    world_.step(static_cast<float>(elapsedMs(frame_ + 1) - elapsedMs(frame_)) / 1000.0f);
    if (frameObserver_) frameObserver_();
}

void Host::runScript() {
    if (script_ == nullptr) return;
    if (!moduleLoaded_) throw HostError("the script of a freed module is still registered");
    if (!fibre_) {
        fibre_ = std::make_unique<Fibre>(script_);
        waits_[waitIndex_].frame = -1;
    }
    if (fibre_->finished() || !scriptDue()) return;
    fibre_->resume();
    if (fibre_->finished()) throw HostError("the script function returned");
}

void Host::runFrames(int count) {
    for (int index = 0; index < count; ++index) runFrame();
}

void Host::setKey(int32_t virtualKey, bool down) {
    if (virtualKey < 1 || virtualKey > 254) throw HostError("no key has code " + std::to_string(virtualKey));
    keys_[static_cast<std::size_t>(virtualKey)] = down;
}

bool Host::keyDown(int32_t virtualKey) const {
    return virtualKey >= 1 && virtualKey <= 254 && keys_[static_cast<std::size_t>(virtualKey)];
}

void Host::registerScript(void* module, void (*function)()) {
    if (module != kModuleHandle) throw HostError("scriptRegister with a module handle not the plug-in's");
    ++registrations_;
    script_ = function;
}

void Host::unregisterScript(void* module) {
    if (module != kModuleHandle) throw HostError("scriptUnregister with a module handle not the plug-in's");
    if (script_ != nullptr) --registrations_;
    script_ = nullptr;
}

void Host::loadScript(void (*function)()) {
    moduleLoaded_ = true;
    registerScript(kModuleHandle, function);
}

// After a reload every handle of the world before names nothing, or another entity: the
// script may pass only handles a native returned to it since.
void Host::checkHandle(const NativeSpec& spec, char kind, uint64_t argument) {
    int32_t handle = 0;
    if (kind == 'h') handle = static_cast<int32_t>(static_cast<uint32_t>(argument));
    if (kind == 'e') handle = *reinterpret_cast<const int32_t*>(argument);
    if (handle != 0 && !handedOut_.contains(handle)) {
        staleHandles_.push_back(std::string(spec.name) + "(" + std::to_string(handle) + ")");
    }
}

void Host::wait(uint32_t milliseconds) {
    if (!fibre_ || Fibre::current() != fibre_.get()) throw HostError("scriptWait outside the script fibre");
    waitIndex_ ^= 1;
    waits_[waitIndex_] = {frame_, milliseconds, world_.records().timeScale(), turnMovedEntity_, turnBlewUpVehicle_};
    turnMovedEntity_ = false;
    turnBlewUpVehicle_ = false;
    Fibre::suspend();
}

void Host::beginNative(uint64_t hash) {
    if (callOpen_) throw HostError("nativeInit(" + hex(hash) + ") before the call of " + hex(pendingHash_) + " was run");
    pendingHash_ = hash;
    argumentCount_ = 0;
    callOpen_ = true;
}

void Host::pushArgument(uint64_t argument) {
    if (!callOpen_) throw HostError("nativePush64 without nativeInit");
    if (argumentCount_ == kMaxNativeArguments) throw HostError("too many arguments for " + hex(pendingHash_));
    arguments_[static_cast<std::size_t>(argumentCount_++)] = argument;
}

uint64_t* Host::callNative() {
    if (!callOpen_) throw HostError("nativeCall without nativeInit");
    callOpen_ = false;
    ++nativeCalls_;
    if (nullMode_) {
        const auto last = lastResults_.find(pendingHash_);
        if (last == lastResults_.end()) throw HostError("null mode: " + hex(pendingHash_) + " was never answered");
        return last->second.data();
    }
    const NativeSpec* spec = findNative(pendingHash_);
    if (spec == nullptr) throw HostError("unknown native " + hex(pendingHash_));
    const auto expected = static_cast<int>(std::char_traits<char>::length(spec->arguments));
    if (argumentCount_ != expected) {
        throw HostError(std::string(spec->name) + " takes " + std::to_string(expected) + " arguments, given " +
                        std::to_string(argumentCount_));
    }
    // An argument whose kind shows in its value must look like one: a value where an address
    // belongs would be read or written by the host (text addresses may be null: no text); a
    // player index names one of the host's player slots, which no entity handle does.
    for (int index = 0; index < argumentCount_; ++index) {
        const char kind = spec->arguments[index];
        const uint64_t argument = arguments_[static_cast<std::size_t>(index)];
        const char* wanted = nullptr;
        if ((kind == 'p' || kind == 'e' || (kind == 's' && argument != 0)) && argument < kLowestAddress) wanted = "an address";
        if (kind == 'n' && static_cast<uint32_t>(argument) >= static_cast<uint32_t>(kPlayerSlots)) wanted = "a player index";
        if (wanted != nullptr) {
            throw HostError(std::string(spec->name) + " takes " + wanted + " as argument " + std::to_string(index + 1) +
                            ", given " + std::to_string(argument));
        }
        if (reloads_ > 0) checkHandle(*spec, kind, argument);
    }
    result_.fill(0);
    LoggedCall* logged = nullptr;
    if (callLogEnabled_) {
        LoggedCall& call = calls_.add();
        logged = &call;
        call.frame = frame_;
        call.hash = pendingHash_;
        call.spec = spec;
        call.argumentCount = argumentCount_;
        call.arguments = arguments_;
        for (int index = 0; index < argumentCount_; ++index) {
            const char* text = spec->arguments[index] == 's' ? reinterpret_cast<const char*>(arguments_[static_cast<std::size_t>(index)]) : nullptr;
            call.texts[static_cast<std::size_t>(index)].assign(text != nullptr ? text : "");
        }
    }
    NativeCall call{spec, arguments_.data(), result_.data()};
    HostInternals internals(*this);
    spec->handler(internals, call);
    if (nativeHook_) nativeHook_(call);
    if (reloads_ > 0 && spec->result == 'h') handedOut_.insert(static_cast<int32_t>(static_cast<uint32_t>(result_[0])));
    std::array<uint64_t, 3>& last = lastResults_[pendingHash_];
    std::copy(result_.begin(), result_.begin() + 3, last.begin());
    if (logged != nullptr) logged->result = last;
    return result_.data();
}

void HostInternals::recordCue(int32_t cue) { host_.cues_.push_back({host_.frame_, cue}); }

void HostInternals::recordFrontendSound(int32_t soundId, const char* name, const char* soundSet) {
    host_.frontendSounds_.push_back({host_.frame_, soundId, name, soundSet});
}

void HostInternals::recordProfileRead(const char* section, const char* key, int32_t defaultValue, const char* path,
                             uint32_t value) {
    host_.recordProfileCall(
        {host_.frame_, ProfileCall::Kind::Read, text(section), text(key), text(path), defaultValue, {}, value, {}, 0});
}

void HostInternals::recordProfileReadText(const char* section, const char* key, const char* defaultValue, const char* buffer,
                                 uint32_t size, const char* path, uint32_t length) {
    std::string read;
    if (buffer != nullptr && size > 0) read.assign(buffer, std::find(buffer, buffer + size, '\0'));
    host_.recordProfileCall({host_.frame_, ProfileCall::Kind::ReadText, text(section), text(key), text(path), 0, std::move(read),
                       length, text(defaultValue), size});
}

void HostInternals::recordProfileWrite(const char* section, const char* key, const char* value, const char* path, bool written) {
    host_.recordProfileCall({host_.frame_, ProfileCall::Kind::Write, text(section), text(key), text(path), 0, text(value),
                       written ? 1u : 0u, {}, 0});
}

void HostInternals::recordProfileOpen(const char* path, ProfileFileState state) {
    host_.recordProfileCall(
        {host_.frame_, ProfileCall::Kind::Open, {}, {}, text(path), 0, {}, static_cast<uint32_t>(state), {}, 0});
}

void HostInternals::recordProfileClose() { host_.recordProfileCall({host_.frame_, ProfileCall::Kind::Close, {}, {}, {}, 0, {}, 0, {}, 0}); }

void Host::recordProfileCall(ProfileCall call) {
    ProfileCall& kept = profileLogEnabled_ ? profileCalls_.emplace_back() : lastProfileCall_;
    kept = std::move(call);
    if (profileObserver_) profileObserver_(kept);
}

}  // namespace sim

// The seam's Linux backend: ScriptHookV, the clock, the keys, the cues and the game's
// folder are the host's.
void scriptRegister(ModuleHandle module, ScriptFunction function) { sim::HostInternals::current().registerScript(module, function); }
void scriptUnregister(ModuleHandle module) { sim::HostInternals::current().unregisterScript(module); }
void scriptWait(uint32_t milliseconds) { sim::HostInternals::current().wait(milliseconds); }
void nativeInit(uint64_t hash) { sim::HostInternals::current().beginNative(hash); }
void nativePush64(uint64_t argument) { sim::HostInternals::current().pushArgument(argument); }
uint64_t* nativeCall() { return sim::HostInternals::current().callNative(); }
uint32_t tickCount() { return sim::HostInternals::current().tick(); }
bool isKeyDown(int32_t virtualKey) { return sim::HostInternals::current().keyDown(virtualKey); }
bool gameHasFocus() { return sim::HostInternals::current().focus() == sim::Host::Focus::Game; }
void playCue(int32_t cueId) { sim::HostInternals::current().recordCue(cueId); }
void stopCues() { sim::HostInternals::current().recordCue(0); }
uint32_t readProfileInt(const char* section, const char* key, int32_t defaultValue, const char* path) {
    sim::HostInternals host = sim::HostInternals::current();
    const uint32_t value = host.gameFolder().readInt(section, key, defaultValue, path);
    host.recordProfileRead(section, key, defaultValue, path, value);
    return value;
}
uint32_t readProfileString(const char* section, const char* key, const char* defaultValue, char* buffer, uint32_t size,
                           const char* path) {
    sim::HostInternals host = sim::HostInternals::current();
    const std::string text = host.gameFolder().readString(section, key, defaultValue, size, path);
    if (size > 0) {
        std::memcpy(buffer, text.data(), text.size());
        buffer[text.size()] = '\0';
    }
    const auto length = static_cast<uint32_t>(text.size());
    host.recordProfileReadText(section, key, defaultValue, buffer, size, path, length);
    return length;
}
bool writeProfileString(const char* section, const char* key, const char* value, const char* path) {
    sim::HostInternals host = sim::HostInternals::current();
    const bool written = host.gameFolder().writeString(section, key, value, path);
    host.recordProfileWrite(section, key, value, path, written);
    host.gameFolder().afterWrite();
    return written;
}
ProfileFileState openProfileFile(const char* path) {
    sim::HostInternals host = sim::HostInternals::current();
    const ProfileFileState state = host.gameFolder().openFile(path);
    host.recordProfileOpen(path, state);
    return state;
}
// Only a close that lets go of a file is logged, as the system sees only those.
void closeProfileFile() {
    sim::HostInternals host = sim::HostInternals::current();
    if (host.gameFolder().closeFile()) host.recordProfileClose();
}
