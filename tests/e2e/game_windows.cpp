// The scenario's game under Wine: the real Rotorstrike.asi loaded by the stand-in.
#include <windows.h>

#include <filesystem>

#include "game.h"

namespace e2e {

namespace {

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
      standIn(folder.file(L"ScriptHookV.dll"), folder.file(L"Rotorstrike.asi"), options.soundDevice),
      name_(name) {
    setUp(options);
}

Game::~Game() {
    writeTrace();
    std::string faults;
    for (const std::string& fault : standIn.faults()) faults += "    " + fault + "\n";
    check(faults.empty(), "the module did nothing the real host would refuse", __FILE__, __LINE__, faults);
}

std::filesystem::path Game::settingsPath() const { return folder.file(L"Rotorstrike.ini"); }

}  // namespace e2e
