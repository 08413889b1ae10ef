// The simulated host: it stands in for ScriptHookV and the host game on Linux. A test or a
// tool makes one Host, loads the plug-in into it and runs frames; everything runs in
// simulated time, frame by frame.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "call_log.h"
#include "fibre.h"
#include "game_folder.h"
#include "screen.h"
#include "world.h"

namespace sim {

// The host met something a real host would not answer: an unknown native, a wrong argument
// count, a wait outside the script. Thrown out of runFrame, so a test fails loudly.
struct HostError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct CueEvent {
    int64_t frame = 0;
    int32_t cue = 0;  // 101 or 102; 0 for a stop
};

// One call of the plug-in to the profile functions (its settings file): a read (of a
// number, or of text), a write, or the open and close that hold the file across a load.
struct ProfileCall {
    enum class Kind { Read, Write, Open, Close, ReadText };
    int64_t frame = 0;
    Kind kind = Kind::Read;
    std::string section, key, path;  // an open's path; a close has none
    int32_t defaultValue = 0;  // a read's
    std::string value;         // a write's, or the text a text read left in its buffer
    // The value read, whether the write succeeded, the open's ProfileFileState, or the
    // length a text read returned.
    uint32_t result = 0;
    std::string defaultText;  // a text read's
    uint32_t bufferSize = 0;  // a text read's
    bool write() const { return kind == Kind::Write; }
};

struct FrontendSound {
    int64_t frame = 0;
    int32_t soundId = 0;
    std::string name;
    std::string soundSet;
};

class Host {
public:
    // The new host becomes the one the plug-in talks to; only one exists at a time.
    Host();
    // Unwinds the script's stack, so nothing it holds leaks.
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // Loads the plug-in as the process would: the mod state starts from its initial values
    // and the module entry runs with reason 1. A second load replaces the first.
    void load();
    // Frees the module as a process that goes on does (the detach with a null reserved): the
    // module's script must unregister. A registration it keeps points at code that is gone:
    // the host holds it (registrations()) and fails when it is due to run.
    void unload();

    // A game load (a saved game, or the game reloaded after a replay), between two frames: the
    // script's fibre is abandoned where it waits; every entity but the player is removed and
    // the player put at the point, on foot or in a new vehicle; new entities take the removed
    // ones' handles first (the script's own first), so that a stale handle names a live
    // entity. The time scale, the fade and the camera hint stay as they were. The registered
    // function starts again on a fresh fibre at the next frame.
    void reloadGame(Vec3 position, bool inVehicle);
    int64_t reloads() const { return reloads_; }
    // Since the last reload: the entity handles the script passed to a native that no native
    // had returned to it since the reload ("name(handle)"), in order.
    const std::vector<std::string>& staleHandles() const { return staleHandles_; }

    // Which window has the focus: the game's unless a test or the soak switches it. The
    // plug-in's keys count only while the game has it.
    enum class Focus { Game, OtherProgram, NoWindow };
    void setFocus(Focus focus) { focus_ = focus; }
    Focus focus() const { return focus_; }
    // The last frame in which the plug-in was told that the game had the focus (-1: never). A
    // key it took then was taken with the focus, though the focus may have gone by the
    // frame's end.
    int64_t focusGrantedFrame() const { return focusGrantedFrame_; }
    // One host frame: the clock advances, the frame's log and screen start empty, the script
    // runs if its wait is over, and then the world moves on by one frame's time.
    void runFrame();
    void runFrames(int count);

    // Clock: frame n's tick count is the start tick + floor(n * 1000 / 60); before the first
    // frame it is the start tick. Set the start before loading.
    static constexpr int kFramesPerSecond = 60;
    void setStartTick(uint32_t tick) { startTick_ = tick; }
    int64_t frame() const { return frame_; }
    uint32_t tick() const;
    // Called at the end of every frame, once the world has moved on (a trace, say).
    void setFrameObserver(std::function<void()> observer) { frameObserver_ = std::move(observer); }
    // Called in full mode after each native's handler, before the plug-in sees the result,
    // which it may change (a fault): the soak's place to answer what no game would.
    using NativeHook = std::function<void(NativeCall& call)>;
    void setNativeHook(NativeHook hook) { nativeHook_ = std::move(hook); }
    // Called after each profile call of the plug-in, once it has run.
    void setProfileObserver(std::function<void(const ProfileCall&)> observer) { profileObserver_ = std::move(observer); }

    // Input.
    void setKey(int32_t virtualKey, bool down);
    bool keyDown(int32_t virtualKey) const;
    void setPadControl(int32_t value) { padControl_ = value; }
    int32_t padControl() const { return padControl_; }

    World& world() { return world_; }
    const World& world() const { return world_; }
    // The game's folder, where the settings file lives; the current directory by default.
    GameFolder& gameFolder() { return gameFolder_; }
    void setGameDirectory(const std::string& directory) { gameFolder_.setDirectory(directory); }

    // What the plug-in did. The log and the screen hold the current frame; both can be
    // switched off, and both reuse their storage from frame to frame.
    const CallLog& calls() const { return calls_; }
    const Screen& screen() const { return screen_; }
    void setCallLogEnabled(bool enabled) { callLogEnabled_ = enabled; }
    void setCaptureEnabled(bool enabled) { captureEnabled_ = enabled; }
    bool captureEnabled() const { return captureEnabled_; }
    const std::vector<CueEvent>& cues() const { return cues_; }
    const std::vector<FrontendSound>& frontendSounds() const { return frontendSounds_; }
    // The profile calls made through the seam (the plug-in's), in order; the game folder's
    // own reads and writes are not among them.
    const std::vector<ProfileCall>& profileCalls() const { return profileCalls_; }
    // Switched off, they are no longer kept, and only the profile observer sees them.
    void setProfileLogEnabled(bool enabled) { profileLogEnabled_ = enabled; }
    // The registrations the host holds: the plug-in's script, until it unregisters.
    int registrations() const { return registrations_; }

    // Null mode: each native answers what it answered last in full mode and does nothing
    // else (no handler, no check, no log, no capture), and the world stands still; a hash
    // never answered is a HostError. A steady state set up in full mode so replays at the
    // cost of the calls alone.
    void setNullMode(bool on) { nullMode_ = on; }
    bool nullMode() const { return nullMode_; }
    // Native calls run since the host was made, in either mode.
    int64_t nativeCalls() const { return nativeCalls_; }

    // A script of the test's own in place of the plug-in's, as if the plug-in had registered it.
    void loadScript(void (*function)());

    // The script's waits. The host sees every scriptWait: the frame it began in, how long,
    // the time scale the script had set by then, and what the script did in its turn before
    // it (since its previous wait). Together with the turn before, this tells the waits of a
    // frame's steps apart: a slowed shot after a vehicle blown up, one after entities moved,
    // one after neither.
    struct ScriptWait {
        int64_t frame = -1;  // -1: none yet
        uint32_t milliseconds = 0;
        float timeScale = kNormalTimeScale;
        bool movedEntity = false;    // placed, turned or sped up an entity
        bool blewUpVehicle = false;  // asked for a vehicle to be blown up
    };
    // The wait the script is in (or was in last), and the one before it.
    const ScriptWait& currentWait() const { return waits_[waitIndex_]; }
    const ScriptWait& waitBefore() const { return waits_[waitIndex_ ^ 1]; }

private:
    friend class HostInternals;
    void registerScript(void* module, void (*function)());
    void unregisterScript(void* module);
    void checkHandle(const struct NativeSpec& spec, char kind, uint64_t argument);
    void wait(uint32_t milliseconds);
    void beginNative(uint64_t hash);
    void pushArgument(uint64_t argument);
    uint64_t* callNative();
    static int64_t elapsedMs(int64_t frame) { return frame * 1000 / kFramesPerSecond; }
    bool scriptDue() const;
    void recordProfileCall(ProfileCall call);
    void runScript();

    uint32_t startTick_ = 0;
    int64_t frame_ = -1;
    std::function<void()> frameObserver_;
    NativeHook nativeHook_;
    std::function<void(const ProfileCall&)> profileObserver_;

    void (*script_)() = nullptr;
    std::unique_ptr<Fibre> fibre_;
    int registrations_ = 0;
    bool moduleLoaded_ = false;
    int64_t reloads_ = 0;
    // After a reload: the handles natives returned since it, and the stale ones passed.
    std::unordered_set<int32_t> handedOut_;
    std::vector<std::string> staleHandles_;
    Focus focus_ = Focus::Game;
    int64_t focusGrantedFrame_ = -1;
    // What the script's turn under way did since its last wait.
    bool turnMovedEntity_ = false;
    bool turnBlewUpVehicle_ = false;
    // The wait the script is in (at waitIndex_) and the one before it.
    std::array<ScriptWait, 2> waits_{};
    std::size_t waitIndex_ = 0;

    std::array<bool, 256> keys_{};
    int32_t padControl_ = 0;

    World world_;
    GameFolder gameFolder_;

    uint64_t pendingHash_ = 0;
    bool callOpen_ = false;
    int argumentCount_ = 0;
    std::array<uint64_t, kMaxNativeArguments> arguments_{};
    std::array<uint64_t, 4> result_{};
    bool nullMode_ = false;
    int64_t nativeCalls_ = 0;
    std::unordered_map<uint64_t, std::array<uint64_t, 3>> lastResults_;

    bool callLogEnabled_ = true;
    bool captureEnabled_ = true;
    CallLog calls_;
    Screen screen_;
    TextStyle pendingStyle_;
    std::string pendingEntry_;
    std::string pendingText_;
    std::vector<CueEvent> cues_;
    std::vector<FrontendSound> frontendSounds_;
    std::vector<ProfileCall> profileCalls_;
    bool profileLogEnabled_ = true;
    ProfileCall lastProfileCall_;
};

}  // namespace sim
