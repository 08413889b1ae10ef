// One scenario's game: a game folder, the simulated host, and the plug-in in it.
//
// Under Wine (game_windows.cpp) the game folder holds Rotorstrike.asi and the stand-in
// ScriptHookV.dll side by side (as a player installs them, beside the game) and is made the
// current directory, so that ".\Rotorstrike.ini" lands in it; the stand-in loads the real
// module into the host. On Linux (game_linux.cpp) the plug-in is linked into the host, as
// in the tests over the simulated host, and the game folder is a temporary one: the level
// scenarios run there too, and their traces are compared with the Wine run's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "plugin_host.h"
#include "scenario.h"
#include "trace.h"

#ifdef _WIN32
#include "standin.h"
#else
#include "../temp_folder.h"
#endif
#include "virtual_keys.h"

namespace e2e {

#ifdef _WIN32
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
#endif

class Game {
public:
    // name: the game folder's, and the trace's. lacking: the export the stand-in
    // ScriptHookV.dll lacks, or empty for the whole one (Wine only).
    Game(const Options& options, const std::string& name, const std::string& lacking = {});
    // Checks that the stand-in saw the module do nothing the real host would refuse, and
    // writes the trace when the options ask for one.
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Loads the module, with this settings file prepared when one is given, and runs its
    // first frame, which reads the settings.
    void start(std::string_view settings = {});
    // The settings file as a player prepared it, written before the module reads it.
    void writeSettings(std::string_view bytes);
    bool settingsExist() const;
    // The settings file's bytes; "" when there is none.
    std::string settingsFile() const;
    // A key of section Rotorstrike, read back with the platform's profile function (under
    // Wine, the system's GetPrivateProfileIntA).
    uint32_t setting(const char* key, int32_t defaultValue);

    // This frame's texts in drawing order, "grey " before a grey one.
    std::vector<std::string> texts() const;
    // This frame's native calls as a trace prints them.
    std::vector<std::string> calls() const;
    // The plug-in's profile calls from the given one on, as a trace prints them.
    std::vector<std::string> profileCalls(std::size_t from = 0) const;
    // Another program holds the settings file open without sharing, as a virus scanner or a
    // sync client does for a moment: under Wine a real handle, on Linux the simulated host's
    // lock. False when the file could not be taken.
    bool lockSettings();
    void unlockSettings();

#ifdef _WIN32
    GameFolder folder;
    // The stand-in outlives the host, whose end unwinds the script through the module.
    standin::StandIn standIn;
#else
    TempFolder folder;
#endif
    // The trace outlives the host, which records into it at the end of each frame.
    Trace trace;
    sim::PluginHost host;

private:
    // The trace, when the options ask for one.
    void setUp(const Options& options);
    void writeTrace();
    std::filesystem::path settingsPath() const;

    std::string name_;
    std::filesystem::path traces_;
};

}  // namespace e2e
