// compare-level-runs: the level scenarios on Linux, with the plug-in linked into the
// simulated host, against the traces that Rotorstrike.asi left under Wine.
//
//   compare-level-runs WINE_TRACES LINUX_TRACES
//
// Runs every scenario it was built with (level_scenarios.cpp), each game writing its trace
// into LINUX_TRACES (emptied first); then each trace must be byte for byte the one of the
// same name in WINE_TRACES, which standin-runner.exe --traces wrote. The same plug-in on the
// same simulated host, fed the same keys at the same ticks, must call the same natives with
// the same arguments in the same frames: where the two part, the Windows build differs
// from the Linux one. Exits 0 when every check held and every trace matched.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "scenario.h"
#include "trace.h"

namespace {

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: compare-level-runs WINE_TRACES LINUX_TRACES\n", stderr);
        return 2;
    }
    const std::filesystem::path wine = argv[1];
    e2e::Options options;
    options.traces = argv[2];
    std::filesystem::remove_all(options.traces);
    std::filesystem::create_directories(options.traces);

    int failed = 0;
    for (const e2e::Scenario& scenario : e2e::scenarios()) {
        const bool ok = e2e::runScenario(scenario, options);
        failed += ok ? 0 : 1;
        std::printf("%s on Linux: %s\n", scenario.name.c_str(), ok ? "passed" : "failed");
    }

    int traces = 0, differ = 0;
    for (const auto& entry : std::filesystem::directory_iterator(options.traces)) {
        const std::string name = entry.path().filename().string();
        ++traces;
        const std::filesystem::path theirs = wine / name;
        std::string difference;
        if (!std::filesystem::exists(theirs)) {
            difference = "the Wine run left no " + name + "\n";
        } else {
            difference = e2e::firstDifference(readFile(entry.path()), readFile(theirs), "Linux", "Wine");
        }
        std::printf("trace %s: %s\n%s", name.c_str(), difference.empty() ? "the same" : "DIFFERS", difference.c_str());
        differ += difference.empty() ? 0 : 1;
    }
    std::printf("%d scenarios failed on Linux; %d of %d traces differ from the Wine run's\n", failed, differ, traces);
    return failed == 0 && differ == 0 && traces > 0 ? 0 : 1;
}
