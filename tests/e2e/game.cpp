#include "game.h"

#include <windows.h>

#include <filesystem>
#include <fstream>

namespace e2e {

namespace {

// The clock starts well past the module's load, so that a fresh key lockout has passed.
constexpr uint32_t kStartTick = 100000;
constexpr int kLockoutFrames = 13;  // 13 frames of 1000/60 ms: more than 200 ms
constexpr const char* kSection = "Rotorstrike";
constexpr const char* kPath = ".\\Rotorstrike.ini";

std::wstring scriptHookVOf(const Options& options, const std::string& lacking) {
    if (lacking.empty()) return options.standInFolder + L"\\ScriptHookV.dll";
    return options.standInFolder + L"\\lacking-" + std::wstring(lacking.begin(), lacking.end()) + L"\\ScriptHookV.dll";
}

}  // namespace

GameFolder::GameFolder(const Options& options, const std::string& name, const std::wstring& scriptHookV)
    : path_(options.gameFolders + L"\\" + std::wstring(name.begin(), name.end())) {
    std::filesystem::create_directories(path_);
    if (!CopyFileW(options.asi.c_str(), file(L"Rotorstrike.asi").c_str(), FALSE) ||
        !CopyFileW(scriptHookV.c_str(), file(L"ScriptHookV.dll").c_str(), FALSE) ||
        !SetCurrentDirectoryW(path_.c_str())) {
        throw sim::HostError("cannot make the game folder (error " + std::to_string(GetLastError()) + ")");
    }
}

Game::Game(const Options& options, const std::string& name, const std::string& lacking)
    : folder(options, name, scriptHookVOf(options, lacking)),
      standIn(host, folder.file(L"ScriptHookV.dll"), folder.file(L"Rotorstrike.asi"), options.soundDevice) {
    host.setStartTick(kStartTick);
}

Game::~Game() {
    std::string faults;
    for (const std::string& fault : standIn.faults()) faults += "    " + fault + "\n";
    check(faults.empty(), "the module did nothing the real host would refuse", __FILE__, __LINE__, faults);
}

void Game::start(std::string_view settings) {
    if (!settings.empty()) writeSettings(settings);
    host.load();
    host.runFrame();
}

void Game::writeSettings(std::string_view bytes) {
    std::ofstream out(std::filesystem::path(folder.file(L"Rotorstrike.ini")), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool Game::settingsExist() const { return std::filesystem::exists(folder.file(L"Rotorstrike.ini")); }

uint32_t Game::setting(const char* key, int32_t defaultValue) {
    return host.gameFolder().readInt(kSection, key, defaultValue, kPath);
}

void Game::press(int32_t key) {
    host.runFrames(kLockoutFrames);
    host.setKey(key, true);
    host.runFrame();
    host.setKey(key, false);
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

}  // namespace e2e
