// The scenario's game on Linux: the plug-in linked into the simulated host, as in the tests
// over it, with a temporary game folder.
#include "game.h"

namespace e2e {

Game::Game(const Options& options, const std::string& name, const std::string& lacking)
    : host(folder.path()), name_(name) {
    if (!lacking.empty()) throw sim::HostError("only the stand-in under Wine can lack an export");
    setUp(options);
}

Game::~Game() { writeTrace(); }

std::filesystem::path Game::settingsPath() const { return folder.file("Rotorstrike.ini"); }

}  // namespace e2e
