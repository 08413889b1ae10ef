#include "report.h"

#include <algorithm>
#include <ostream>

#include "command_line.h"
#include "soak.h"

namespace soak {

namespace {

bool allFired(const auto& counts) {
    return std::all_of(counts.begin(), counts.end(), [](int64_t count) { return count > 0; });
}

}  // namespace

bool Report::complete() const {
    for (int kind = 0; kind < kFaultKinds; ++kind) {
        if (made[static_cast<std::size_t>(kind)] && fired[static_cast<std::size_t>(kind)] == 0) return false;
    }
    for (int probe = 0; probe < kSettingsProbes; ++probe) {
        if ((probesFromPlugin || probeSeen(probe)) && probes[static_cast<std::size_t>(probe)] == 0) return false;
    }
    for (int check = 0; check < kCheckKinds; ++check) {
        if (checksLifecycle(static_cast<Check>(check)) && checks[static_cast<std::size_t>(check)] == 0) return false;
    }
    return allFired(writePositions);
}

std::string replayCommand(const Options& options, int levels) {
    std::string command = cli::shellQuoted(options.program) + (options.strict ? " --strict" : "") +
                          (options.onlyFaultsBothMake ? " --faults-both-make" : "") + " --seed " +
                          std::to_string(options.seed) + " --levels " + std::to_string(levels);
    if (options.levelFrames != Options{}.levelFrames) command += " --level-frames " + std::to_string(options.levelFrames);
    return command;
}

void printReport(std::ostream& out, std::ostream& failures, const Options& options, const Report& report) {
    out << "soak: " << cli::counted(report.levels, "level") << " played (" << report.won << " won, " << report.lost << " lost, "
        << report.refused << " refused, " << report.outOfFrames << " still running after " << options.levelFrames
        << " frames), " << report.frames << " frames, " << report.games << " games\n";
    std::string missing;
    const auto list = [&](const char* heading, const auto& counts, const auto& name, const auto& made, const char* notMade) {
        out << heading << "\n";
        for (std::size_t index = 0; index < counts.size(); ++index) {
            if (!made(index)) {
                out << "  " << name(index) << ": " << notMade << "\n";
                continue;
            }
            out << "  " << name(index) << ": " << counts[index] << (counts[index] == 0 ? "  NEVER FIRED" : "") << "\n";
            if (counts[index] == 0) missing += std::string(missing.empty() ? "" : ", ") + name(index);
        }
    };
    const auto always = [](std::size_t) { return true; };
    list("faults fired:", report.fired, [](std::size_t kind) { return std::string(faultName(static_cast<Fault>(kind))); },
         [&](std::size_t kind) { return report.made[kind]; }, "not made here");
    list("write faults by the write they hit in their step:", report.writePositions,
         [](std::size_t position) { return "write " + std::to_string(position + 1); }, always, "");
    list(report.probesFromPlugin ? "rare paths of the settings code (probes):"
                                 : "rare paths of the settings code (probes), as the host saw them:",
         report.probes, [](std::size_t probe) { return std::string(probeName(static_cast<int>(probe))); },
         [&](std::size_t probe) { return report.probesFromPlugin || probeSeen(static_cast<int>(probe)); },
         "not seen from outside the module");
    out << "player deaths, menu-key presses and game reloads, by situation:\n";
    for (int situation = 0; situation < kSituations; ++situation) {
        const auto index = static_cast<std::size_t>(situation);
        out << "  " << situationName(static_cast<Situation>(situation)) << ": " << cli::counted(report.deaths[index], "death")
            << ", " << cli::counted(report.menuKeys[index], "menu key") << ", " << cli::counted(report.reloads[index], "reload")
            << "\n";
    }
    out << "checks run:\n";
    for (int check = 0; check < kCheckKinds; ++check) {
        const auto index = static_cast<std::size_t>(check);
        const bool ofState = check == static_cast<int>(Check::ModState) || check == static_cast<int>(Check::ProbesSeen);
        out << "  " << checkName(static_cast<Check>(check)) << ": ";
        if (ofState && !report.probesFromPlugin) {
            out << "not run, the plug-in's state is out of view\n";
        } else {
            out << report.checks[index]
                << (checksLifecycle(static_cast<Check>(check)) && report.checks[index] == 0 ? "  NEVER RAN" : "") << "\n";
            if (checksLifecycle(static_cast<Check>(check)) && report.checks[index] == 0) {
                missing += std::string(missing.empty() ? "" : ", ") + "the check \"" + checkName(static_cast<Check>(check)) + "\"";
            }
        }
    }
    out.flush();
    if (!report.problem.empty()) {
        failures << "FAILED with seed " << options.seed << ": " << report.problem << "\n"
                 << "replay: " << replayCommand(options, report.failedLevel + 1) << "\n";
    } else if (!report.complete() && options.strict) {
        failures << "FAILED with seed " << options.seed << ": never fired: " << missing << "\n"
                 << "replay: " << replayCommand(options, options.levels) << "\n";
    } else if (!report.complete()) {
        out << "clean; too short a run to fire " << missing << "\n";
    } else {
        out << "clean\n";
    }
}

}  // namespace soak
