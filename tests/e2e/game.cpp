// The parts of a scenario's game that are the same under Wine and on Linux.
#include <fstream>
#include <iterator>

#include "game.h"

namespace e2e {

namespace {

constexpr const char* kSection = "Rotorstrike";
constexpr const char* kPath = ".\\Rotorstrike.ini";

}  // namespace

void Game::setUp(const Options& options) {
    traces_ = options.traces;
    if (!traces_.empty()) host.setFrameObserver([this] { trace.recordFrame(host); });
}

void Game::start(std::string_view settings) {
    if (!settings.empty()) writeSettings(settings);
    host.load();
    host.runFrame();
}

void Game::writeSettings(std::string_view bytes) {
    std::ofstream out(settingsPath(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool Game::settingsExist() const { return std::filesystem::exists(settingsPath()); }

std::string Game::settingsFile() const {
    std::ifstream in(settingsPath(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t Game::setting(const char* key, int32_t defaultValue) {
    return host.gameFolder().readInt(kSection, key, defaultValue, kPath);
}

std::vector<std::string> Game::texts() const {
    std::vector<std::string> lines;
    for (const sim::ScreenText& text : host.screen().texts) {
        lines.push_back((text.style.colour == sim::Rgba{150, 150, 150, 255} ? "grey " : "") + text.text);
    }
    return lines;
}

std::vector<std::string> Game::calls() const {
    std::vector<std::string> described;
    for (const sim::LoggedCall& call : host.calls()) described.push_back(call.describe());
    return described;
}

std::vector<std::string> Game::profileCalls(std::size_t from) const {
    std::vector<std::string> described;
    for (std::size_t index = from; index < host.profileCalls().size(); ++index) {
        described.push_back(describeProfileCall(host.profileCalls()[index]));
    }
    return described;
}

bool Game::lockSettings() { return host.gameFolder().lock(); }
void Game::unlockSettings() { host.gameFolder().unlock(); }

// The trace ends with the settings file as the game left it.
void Game::writeTrace() {
    if (traces_.empty()) return;
    trace.note("settings file: " + (settingsExist() ? escaped(settingsFile()) : std::string("(none)")));
    std::filesystem::create_directories(traces_);
    std::ofstream out(traces_ / (name_ + ".trace"), std::ios::binary | std::ios::trunc);
    out << trace.text();
    check(static_cast<bool>(out), "the trace was written", __FILE__, __LINE__);
}

}  // namespace e2e
