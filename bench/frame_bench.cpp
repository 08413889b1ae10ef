// What one frame of the plug-in costs, in each steady state, and what a settings load costs;
// a table of the figures against their goals at the end. scripts/bench.sh runs it with the
// instruction counts of callgrind.
//
//   rotorstrike-bench [Google Benchmark's flags] [--instructions=FILE]
//   rotorstrike-bench --count-instructions   (under callgrind: see scripts/bench.sh)
//
// Exit status 1 when a natives count or an allocation count is not what it must be.
#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "allocation_counter.h"
#include "game.h"
#include "host.h"
#include "profile_file.h"
#include "runtime/mod_view.h"
#include "settings/settings.h"
#include "steady_states.h"
#include "temporary_folder.h"

namespace {

using bench::Scene;
using bench::State;

constexpr double kNaN = std::nan("");
constexpr int kStateCount = static_cast<int>(std::size(bench::kStates));

struct Row {
    double pluginNullNs = kNaN;  // the plug-in's frame against the null host
    double hostNs = kNaN;        // a whole frame of the full host
    double floorNs = kNaN;       // the frame's native calls, bare, against the null host
    double nullNatives = kNaN, hostNatives = kNaN;
    double nullAllocations = kNaN, hostAllocations = kNaN;
    double nullInstructions = kNaN, hostInstructions = kNaN, floorInstructions = kNaN;
};
Row rows[kStateCount];

struct SettingsRow {
    const char* size;
    std::size_t bytes;
    double keptUs = kNaN;    // the file unchanged: its kept copy reused
    double afreshUs = kNaN;  // read from the disk at every load
};
SettingsRow settingsRows[] = {{"200 B", 200}, {"100 KB", 100 * 1024}, {"10 MB", 10 * 1024 * 1024}};

double autopilotMs = kNaN;
std::vector<std::string> failures;

// The destination of each benchmark's time, by its name.
std::map<std::string, double*> destinations;

std::unique_ptr<Scene> currentScene;
Scene& sceneFor(State state) {
    if (!currentScene || currentScene->state() != state) {
        currentScene.reset();  // one simulated host at a time
        currentScene = std::make_unique<Scene>(state);
    }
    return *currentScene;
}

// Per-frame counts over the timed loop; the natives must be exactly the expected number a
// frame, and the allocations none.
void countPerFrame(benchmark::State& timing, State state, int64_t natives, int64_t allocations, double& nativesOut,
                   double& allocationsOut, const char* how) {
    const auto frames = static_cast<int64_t>(timing.iterations());
    if (frames == 0) return;
    const int expected = bench::expectedNatives(state).count;
    nativesOut = static_cast<double>(natives) / static_cast<double>(frames);
    allocationsOut = static_cast<double>(allocations) / static_cast<double>(frames);
    timing.counters["natives"] = nativesOut;
    timing.counters["expected"] = expected;
    timing.counters["allocs"] = allocationsOut;
    std::string failure;
    if (natives != expected * frames) failure = "natives per frame " + std::to_string(nativesOut) + ", expected " + std::to_string(expected);
    if (allocations != 0) failure += (failure.empty() ? "" : "; ") + std::string("allocations in steady frames: ") + std::to_string(allocations);
    if (!failure.empty()) {
        failures.push_back(std::string(bench::nameOf(state)) + " (" + how + "): " + failure);
        timing.SkipWithError(failure.c_str());
    }
}

// What is measured: the plug-in's frame against the null host, a whole frame of the full
// host, or the floor (the frame's native calls, bare, against the null host).
enum class Measured { null, host, floor };

const char* nameOf(Measured measured) {
    return measured == Measured::null ? "null" : measured == Measured::host ? "host" : "floor";
}

void measuredFrame(Scene& scene, Measured measured) {
    switch (measured) {
    case Measured::null: scene.pluginFrame(); break;
    case Measured::host: scene.hostFrame(); break;
    case Measured::floor: bench::replayCalls(scene.callShape()); break;
    }
}

void steadyFrames(benchmark::State& timing, State state, Measured measured) {
    Scene& scene = sceneFor(state);
    scene.setNullMode(measured != Measured::host);
    for (int frame = 0; frame < 10; ++frame) measuredFrame(scene, measured);
    const int64_t natives = scene.host().nativeCalls();
    const int64_t allocations = bench::allocations();
    for (auto _ : timing) measuredFrame(scene, measured);
    Row& row = rows[static_cast<int>(state)];
    if (measured != Measured::floor) {
        const bool null = measured == Measured::null;
        countPerFrame(timing, state, scene.host().nativeCalls() - natives, bench::allocations() - allocations,
                      null ? row.nullNatives : row.hostNatives, null ? row.nullAllocations : row.hostAllocations,
                      null ? "null host" : "full host");
    }
    scene.setNullMode(false);
}

// A whole Level 1 played by the autopilot, in processor time (goal: under 50 ms), as
// rotorstrike-sim plays it by default: a fresh settings file, the fair world, seed 1.
void autopilotLevelOne(benchmark::State& timing) {
    for (auto _ : timing) {
        sim::TemporaryFolder folder;
        autopilot::GameOptions options;
        options.gameDirectory = folder.path();
        autopilot::Game game(options);
        if (game.play() != autopilot::Outcome::Won) {
            timing.SkipWithError("the autopilot did not win Level 1");
            break;
        }
    }
}

// The settings files: a normal one, and large ones whose section comes after other mods'.
const char* const kSettingsBody =
    "[Rotorstrike]\r\nopen_menu_key=120\r\nattack_key=105\r\ncheck_point_enabled=1\r\nopen_levels=3\r\n"
    "armor=2\r\nweapon=2\r\nupgrade_points=5\r\nhigh_score_0=1234\r\nhigh_score_1=567\r\n";

std::string settingsFile(std::size_t bytes) {
    std::string text;
    if (bytes > 1000) {
        text = "[OtherMod]\r\n";
        while (text.size() + std::strlen(kSettingsBody) < bytes) text += "some_other_setting=0123456789abcdef\r\n";
    }
    text += kSettingsBody;
    while (text.size() < bytes) text += ";\r\n";
    return text;
}

sim::TemporaryFolder& settingsFolder(const SettingsRow& row) {
    static std::map<const SettingsRow*, std::unique_ptr<sim::TemporaryFolder>> folders;
    std::unique_ptr<sim::TemporaryFolder>& folder = folders[&row];
    if (!folder) {
        folder = std::make_unique<sim::TemporaryFolder>();
        folder->write(kSettingsFileName, settingsFile(row.bytes));
    }
    return *folder;
}

// A file is trusted unchanged only once its last change is older than the timestamp slack.
void waitUntilSettled(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return;
    const auto changed = std::chrono::system_clock::time_point(
        std::chrono::seconds(std::max(status.st_mtim.tv_sec, status.st_ctim.tv_sec)) + std::chrono::seconds(3));
    std::this_thread::sleep_until(changed);
}

void settingsLoad(benchmark::State& timing, SettingsRow* row, bool kept) {
    currentScene.reset();
    sim::TemporaryFolder& folder = settingsFolder(*row);
    sim::Host host;
    host.setGameDirectory(folder.path());
    if (kept) {
        waitUntilSettled(folder.file(kSettingsFileName));
    } else {
        profile::setTimestampSlack(std::chrono::hours(24 * 365));  // nothing settles: read every time
    }
    loadSettings();
    if (modView().upgradeLevels[kWeaponUpgrade] != 2 || modView().upgradePoints != 5) timing.SkipWithError("the settings file was not read");
    for (auto _ : timing) loadSettings();
    profile::setTimestampSlack(std::chrono::seconds(2));
}

double smallest(const std::vector<double>& values) { return *std::min_element(values.begin(), values.end()); }

// Repeated, and the fastest repetition kept: the least disturbed by a busy machine.
void measureRepeatedly(benchmark::internal::Benchmark* measured, benchmark::TimeUnit unit, const std::string& name,
                       double* destination) {
    measured->Unit(unit)->MinTime(0.1)->Repetitions(5)->ComputeStatistics("min", smallest)->DisplayAggregatesOnly(true);
    destinations[name] = destination;
}

void registerBenchmarks() {
    for (const State state : bench::kStates) {
        Row& row = rows[static_cast<int>(state)];
        for (const auto& [measured, destination] : {std::pair{Measured::null, &row.pluginNullNs},
                                                    std::pair{Measured::floor, &row.floorNs},
                                                    std::pair{Measured::host, &row.hostNs}}) {
            const std::string name = std::string("frame-") + nameOf(measured) + "/" + bench::nameOf(state);
            measureRepeatedly(benchmark::RegisterBenchmark(name.c_str(), steadyFrames, state, measured),
                              benchmark::kNanosecond, name, destination);
        }
    }
    for (SettingsRow& row : settingsRows) {
        settingsFolder(row);  // written now, so that it has settled when its turn comes
        const std::string keptName = std::string("settings-load/unchanged/") + row.size;
        const std::string afreshName = std::string("settings-load/afresh/") + row.size;
        measureRepeatedly(benchmark::RegisterBenchmark(keptName.c_str(), settingsLoad, &row, true),
                          benchmark::kMicrosecond, keptName, &row.keptUs);
        measureRepeatedly(benchmark::RegisterBenchmark(afreshName.c_str(), settingsLoad, &row, false),
                          benchmark::kMicrosecond, afreshName, &row.afreshUs);
    }
    benchmark::RegisterBenchmark("autopilot/level-1", autopilotLevelOne)->Unit(benchmark::kMillisecond);
    destinations["autopilot/level-1"] = &autopilotMs;
}

// Keeps each benchmark's processor time (the fastest repetition's), in its own unit, where
// the table wants it.
class TableReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const auto found = destinations.find(run.run_name.function_name);
            const bool kept = run.run_type == Run::RT_Aggregate ? run.aggregate_name == "min" : run.repetitions <= 1;
            if (found != destinations.end() && kept && !run.error_occurred) {
                *found->second = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

// Instructions per frame, as scripts/bench.sh wrote them: "<state index> null|host|floor <count>".
void readInstructions(const std::string& path) {
    std::ifstream in(path);
    int index = 0;
    std::string mode;
    double count = 0;
    while (in >> index >> mode >> count) {
        if (index < 0 || index >= kStateCount) continue;
        Row& row = rows[index];
        (mode == "null" ? row.nullInstructions : mode == "host" ? row.hostInstructions : row.floorInstructions) = count;
    }
}

std::string figure(double value, const char* format = "%.0f") {
    if (std::isnan(value)) return "-";
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

const char* verdict(bool measured, bool holds) { return !measured ? "not measured" : holds ? "holds" : "FAILS"; }

void printTable() {
    std::printf("\nOne frame of the plug-in, by steady state: natives, processor time (fastest of 5 runs),\n"
                "instructions (callgrind), heap allocations. null: the plug-in's frame against the null host;\n"
                "floor: its native calls, bare; limit: 1.5 x floor + 100 ns; host: a whole frame of the full host.\n");
    std::printf("%-21s %8s %5s %5s %8s %8s %8s %8s %7s %7s %7s %6s\n", "state", "natives", "null", "host", "null ns",
                "floor ns", "limit ns", "host ns", "null", "floor", "host", "allocs");
    std::printf("%-21s %8s %5s %5s %8s %8s %8s %8s %7s %7s %7s %6s\n", "", "expected", "", "", "", "", "", "",
                "instr", "instr", "instr", "/frame");
    // A goal holds over the states measured (a filtered run measures some).
    bool framesHold = true;
    bool framesMeasured = false;
    bool allocationsNone = true;
    bool allocationsMeasured = false;
    for (const State state : bench::kStates) {
        const Row& row = rows[static_cast<int>(state)];
        const double limit = 1.5 * row.floorNs + 100.0;
        framesMeasured = framesMeasured || !std::isnan(row.pluginNullNs + row.floorNs);
        framesHold = framesHold && !(row.pluginNullNs > limit);
        for (const double allocations : {row.nullAllocations, row.hostAllocations}) {
            allocationsMeasured = allocationsMeasured || !std::isnan(allocations);
            allocationsNone = allocationsNone && !(allocations != 0 && !std::isnan(allocations));
        }
        std::printf("%-21s %8d %5s %5s %8s %8s %8s %8s %7s %7s %7s %6s\n", bench::nameOf(state),
                    bench::expectedNatives(state).count, figure(row.nullNatives).c_str(), figure(row.hostNatives).c_str(),
                    figure(row.pluginNullNs).c_str(), figure(row.floorNs).c_str(), figure(limit).c_str(),
                    figure(row.hostNs).c_str(), figure(row.nullInstructions).c_str(),
                    figure(row.floorInstructions).c_str(), figure(row.hostInstructions).c_str(),
                    figure(std::max(row.nullAllocations, row.hostAllocations)).c_str());
    }
    std::printf("Natives a frame needs, as the plug-in's rules give them:\n");
    for (const State state : bench::kStates) {
        std::printf("  %-21s %s\n", bench::nameOf(state), bench::expectedNatives(state).breakdown.c_str());
    }

    std::printf("\nSettings load (loadSettings, seven keys), microseconds of processor time\n");
    std::printf("%-8s %10s %12s\n", "file", "unchanged", "read afresh");
    for (const SettingsRow& row : settingsRows) {
        std::printf("%-8s %10s %12s\n", row.size, figure(row.keptUs, "%.1f").c_str(), figure(row.afreshUs, "%.1f").c_str());
    }

    const double idleNs = rows[static_cast<int>(State::Idle)].hostNs;
    const double idleFramesPerSecond = 1e9 / idleNs;
    const SettingsRow& normal = settingsRows[0];
    std::printf("\nGoals\n");
    std::printf("  natives per frame as required (every state, both hosts)  %s\n", failures.empty() ? "holds" : "FAILS");
    std::printf("  no heap allocation in a steady frame                     %s\n",
                verdict(allocationsMeasured, allocationsNone));
    std::printf("  each frame within 1.5 x its floor + 100 ns               %s\n", verdict(framesMeasured, framesHold));
    std::printf("  simulated host: >= 100,000 idle frames a second          %s (%s a second)\n",
                verdict(!std::isnan(idleNs), idleFramesPerSecond >= 100000.0), figure(idleFramesPerSecond).c_str());
    std::printf("  a normal settings file loads in < 100 us                 %s (%s us unchanged, %s us read afresh)\n",
                verdict(!std::isnan(normal.keptUs), normal.keptUs < 100.0), figure(normal.keptUs, "%.1f").c_str(),
                figure(normal.afreshUs, "%.1f").c_str());
    std::printf("  Level 1 by the autopilot in < 50 ms of processor time    %s\n",
                std::isnan(autopilotMs) ? "not measured" : verdict(true, autopilotMs < 50.0));
    for (const std::string& failure : failures) std::printf("  FAILED: %s\n", failure.c_str());
}

}  // namespace

// The frames callgrind counts (scripts/bench.sh toggles collection on this function).
extern "C" __attribute__((noinline)) void rotorstrikeMeasuredFrames(Scene* scene, int measured, int frames) {
    for (int frame = 0; frame < frames; ++frame) measuredFrame(*scene, static_cast<Measured>(measured));
}

// Under callgrind: for each state and measure, N frames and then 2N, each call dumped
// apart; the difference over N is a frame's instructions, free of the call's own. Prints
// the order of the calls: "<state index> null|host|floor <frames>".
int countInstructions() {
    constexpr int kFrames = 200;
    for (const State state : bench::kStates) {
        Scene scene(state);
        for (const Measured measured : {Measured::null, Measured::floor, Measured::host}) {
            scene.setNullMode(measured != Measured::host);
            for (int frame = 0; frame < 10; ++frame) measuredFrame(scene, measured);
            for (const int frames : {kFrames, 2 * kFrames}) {
                rotorstrikeMeasuredFrames(&scene, static_cast<int>(measured), frames);
                std::printf("%d %s %d\n", static_cast<int>(state), nameOf(measured), frames);
            }
        }
    }
    return 0;
}

int main(int argc, char** argv) {
    std::string instructions;
    std::vector<char*> arguments;
    for (int index = 0; index < argc; ++index) {
        if (std::strcmp(argv[index], "--count-instructions") == 0) return countInstructions();
        if (std::strncmp(argv[index], "--instructions=", 15) == 0) {
            instructions = argv[index] + 15;
            continue;
        }
        arguments.push_back(argv[index]);
    }
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) return 2;
    if (!instructions.empty()) readInstructions(instructions);
    registerBenchmarks();
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    currentScene.reset();
    printTable();
    benchmark::Shutdown();
    return failures.empty() ? 0 : 1;
}
