// standin-runner.exe: the stand-in ScriptHookV's runner. Under Wine it loads the real
// Rotorstrike.asi and runs every scenario, each in a process of its own:
//
//   standin-runner.exe --asi FILE --standin FOLDER [--sound-device] [--scenario NAME]
//                      [--game-folders FOLDER] [--traces FOLDER]
//
// FILE and FOLDER may be paths of the Linux side (/...), taken on Wine's drive Z:. Without
// --scenario it runs them all, each in a child process, and ends with "N passed, N failed";
// --list names them. Each scenario makes its game folder under the game folders (by default
// a new folder in the temporary folder), which a run of them all removes at its end. With
// --traces, each game writes its trace there (a run of them all empties the folder first).
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "host.h"
#include "scenario.h"
#include "standin.h"

namespace {

constexpr DWORD kScenarioTimeoutMs = 120000;

std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

std::wstring inQuotes(const std::wstring& argument) { return L"\"" + argument + L"\""; }

// Runs the scenario in a child process; its exit code, or a text for a crash or a hang.
bool runInChild(const std::wstring& commandLine, const std::string& name, std::string& outcome) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    std::wstring line = commandLine + L" --scenario " + std::wstring(name.begin(), name.end());
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        outcome = "could not be started";
        return false;
    }
    DWORD code = 0;
    if (WaitForSingleObject(process.hProcess, kScenarioTimeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        outcome = "did not end within " + std::to_string(kScenarioTimeoutMs / 1000) + " s";
    } else {
        GetExitCodeProcess(process.hProcess, &code);
        char text[32];
        std::snprintf(text, sizeof text, "exit code 0x%08lX", code);
        outcome = code == 0 ? "passed" : code == 1 ? "failed" : std::string("crashed, ") + text;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return outcome == "passed";
}

int usage() {
    std::fputs("usage: standin-runner.exe --asi FILE --standin FOLDER [--sound-device] [--scenario NAME | --list]\n"
               "                          [--game-folders FOLDER] [--traces FOLDER]\n",
               stderr);
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    e2e::Options options;
    std::wstring only;
    bool list = false;
    std::wstring commandLine = inQuotes(argv[0]);
    for (int index = 1; index < argc; ++index) {
        const std::wstring argument = argv[index];
        const bool hasValue = index + 1 < argc;
        if (argument == L"--asi" && hasValue) {
            options.asi = standin::windowsPath(argv[++index]);
            commandLine += L" --asi " + inQuotes(options.asi);
        } else if (argument == L"--standin" && hasValue) {
            options.standInFolder = standin::windowsPath(argv[++index]);
            commandLine += L" --standin " + inQuotes(options.standInFolder);
        } else if (argument == L"--game-folders" && hasValue) {
            options.gameFolders = argv[++index];
        } else if (argument == L"--traces" && hasValue) {
            options.traces = standin::windowsPath(argv[++index]);
            commandLine += L" --traces " + inQuotes(options.traces.wstring());
        } else if (argument == L"--sound-device") {
            options.soundDevice = true;
            commandLine += L" --sound-device";
        } else if (argument == L"--scenario" && hasValue) {
            only = argv[++index];
        } else if (argument == L"--list") {
            list = true;
        } else {
            return usage();
        }
    }
    if (list) {
        for (const e2e::Scenario& scenario : e2e::scenarios()) std::printf("%s\n", scenario.name.c_str());
        return 0;
    }
    if (options.asi.empty() || options.standInFolder.empty()) return usage();
    // Each scenario's game folder lies under one folder of this run, removed at its end.
    if (options.gameFolders.empty()) {
        wchar_t temporary[MAX_PATH];
        GetTempPathW(MAX_PATH, temporary);
        options.gameFolders = std::wstring(temporary) + L"rotorstrike-e2e-" + std::to_wstring(GetCurrentProcessId());
    }

    if (!only.empty()) {
        for (const e2e::Scenario& scenario : e2e::scenarios()) {
            if (scenario.name == narrow(only)) return e2e::runScenario(scenario, options) ? 0 : 1;
        }
        std::fprintf(stderr, "standin-runner: no scenario %s\n", narrow(only).c_str());
        return 2;
    }

    commandLine += L" --game-folders " + inQuotes(options.gameFolders);
    std::error_code ignored;
    // A trace left by an earlier run must not stand in for one this run failed to write.
    if (!options.traces.empty()) std::filesystem::remove_all(options.traces, ignored);
    int passed = 0, failed = 0;
    for (const e2e::Scenario& scenario : e2e::scenarios()) {
        std::string outcome;
        const auto started = std::chrono::steady_clock::now();
        const bool ok = runInChild(commandLine, scenario.name, outcome);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
        ok ? ++passed : ++failed;
        std::printf("%s: %s (%.1f s)\n", scenario.name.c_str(), outcome.c_str(), took.count());
        std::fflush(stdout);
    }
    std::filesystem::remove_all(options.gameFolders, ignored);
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
