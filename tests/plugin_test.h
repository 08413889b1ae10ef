// A plug-in loaded into a fresh simulated host (sim/plugin_host.h), and the few steps most tests take.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugin_host.h"
#include "runtime/mod_state.h"
#include "temp_folder.h"
#include "virtual_keys.h"

// The notification of progress that could not be saved.
constexpr const char* kUnsaved = "~r~Progress could not be saved! Check that Rotorstrike.ini beside the game can be written.";

class PluginTest : public ::testing::Test {
protected:
    // The plug-in loaded, its settings file in a fresh temporary folder.
    PluginTest() : host(gameFolder.path()) { host.load(); }

    void writeSettings(std::string_view bytes) { gameFolder.write("Rotorstrike.ini", bytes); }
    std::string settings() const { return gameFolder.read("Rotorstrike.ini"); }

    // The hashes of this frame's native calls from the given one on, in order.
    std::vector<uint64_t> callHashes(std::size_t from = 0) const {
        std::vector<uint64_t> hashes;
        for (std::size_t index = from; index < host.calls().size(); ++index) hashes.push_back(host.calls()[index].hash);
        return hashes;
    }

    // This frame's native calls from the given one on, as a trace prints them.
    std::vector<std::string> describeCalls(std::size_t from = 0) const {
        std::vector<std::string> described;
        for (std::size_t index = from; index < host.calls().size(); ++index) described.push_back(host.calls()[index].describe());
        return described;
    }

    TempFolder gameFolder;
    sim::PluginHost host;
};
