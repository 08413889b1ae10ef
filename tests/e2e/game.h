// One scenario's game: a game folder holding Rotorstrike.asi and the stand-in
// ScriptHookV.dll side by side (as a player installs them, beside the game), made the
// current directory so that ".\Rotorstrike.ini" lands in it; the simulated host; and the
// stand-in that loads the real module into it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host.h"
#include "scenario.h"
#include "standin/standin.h"

namespace e2e {

constexpr int32_t kF9 = 0x78;
constexpr int32_t kNumpad0 = 0x60;
constexpr int32_t kNumpad2 = 0x62;
constexpr int32_t kNumpad5 = 0x65;
constexpr int32_t kNumpad8 = 0x68;
constexpr int32_t kNumpad9 = 0x69;

// The game's folder of one scenario, left for the runner to remove once the process ends
// (the loaded module's file stays open until then).
class GameFolder {
public:
    GameFolder(const Options& options, const std::string& name, const std::wstring& scriptHookV);
    const std::wstring& path() const { return path_; }
    std::wstring file(const wchar_t* name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

class Game {
public:
    // lacking: the export the stand-in ScriptHookV.dll lacks, or empty for the whole one.
    Game(const Options& options, const std::string& name, const std::string& lacking = {});
    // Checks that the stand-in saw the module do nothing the real host would refuse.
    ~Game();

    // Loads the module, with this settings file prepared when one is given, and runs its
    // first frame, which reads the settings.
    void start(std::string_view settings = {});
    // The settings file as a player prepared it, written before the module reads it.
    void writeSettings(std::string_view bytes);
    bool settingsExist() const;
    // A key of section Rotorstrike, read back with the system's GetPrivateProfileIntA.
    uint32_t setting(const char* key, int32_t defaultValue);

    // A press of the key once the 200 ms lockout has passed: 13 frames, then the key
    // held through one frame.
    void press(int32_t key);
    // This frame's texts in drawing order, "grey " before a grey one.
    std::vector<std::string> texts() const;
    // This frame's native calls as a trace prints them.
    std::vector<std::string> calls() const;

    GameFolder folder;
    // The stand-in outlives the host, whose end unwinds the script through the module.
    standin::StandIn standIn;
    sim::Host host;
};

}  // namespace e2e
