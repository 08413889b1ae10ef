// rotorstrike-soak: the chaos soak from the command line. Under Wine (standin-soak.exe) the
// same program plays Rotorstrike.asi, and takes the module and the stand-in as options.
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "command_line.h"
#include "soak.h"
#include "target.h"

namespace {

const std::string kUsage =
    std::string("usage: rotorstrike-soak [--seed S] [--levels N] [--level-frames F] [--strict] [--quiet]\n"
                "                        [--faults-both-make] [--record FILE] [--program NAME]\n"
                "Plays N levels with the autopilot under faults drawn from seed S, checking every\n"
                "frame. It plays ") + soak::target().name + ".\n"
    "  --seed S            the seed that decides the whole run (default 1)\n"
    "  --levels N          levels to play (default 1000)\n"
    "  --level-frames F    a level still running after F frames is left (default 9000)\n"
    "  --strict            fail when a kind of fault, a write position or a probe never fired\n"
    "                      (a run without it names them and passes)\n"
    "  --quiet             no progress line (one is shown only on a terminal)\n"
    "  --faults-both-make  only the kinds of fault both the Linux and the Wine soak make alike\n"
    "                      (no disk faults, corruption or truncation), so that their runs of\n"
    "                      one seed compare\n"
    "  --record FILE       a line for each frame and each level's end, to compare runs by\n"
    "  --program NAME      the command the replay line names (default: this program)\n" +
    soak::target().options +
    "  -h, --help          this text; --version: the version\n"
    "Exit status: 0 clean; 1 a check failed (or, with --strict, something never fired); 2 a\n"
    "wrong command line. A failure prints the command that replays it.\n";
const cli::Tool kTool = {"rotorstrike-soak", kUsage.c_str()};

template <typename Number>
bool parse(const char* text, Number& value) {
    const char* end = text + std::strlen(text);
    const auto [rest, error] = std::from_chars(text, end, value);
    return error == std::errc() && rest == end;
}

}  // namespace

int main(int argc, char** argv) {
    soak::Options options;
    options.program = argv[0];
    bool quiet = false;
    std::string recordFile;
    for (int index = 1; index < argc; ++index) {
        const std::string_view argument = argv[index];
        if (cli::standardOption(kTool, argument)) continue;
        if (argument == "--strict" || argument == "--quiet" || argument == "--faults-both-make") {
            (argument == "--strict" ? options.strict : argument == "--quiet" ? quiet : options.onlyFaultsBothMake) = true;
            continue;
        }
        // The rest take a value.
        const bool ours = argument == "--seed" || argument == "--levels" || argument == "--level-frames" ||
                          argument == "--program" || argument == "--record";
        if (!ours && !soak::target().takeOption(argument, nullptr)) cli::usageError(kTool, "no option " + std::string(argument));
        if (index + 1 == argc) cli::usageError(kTool, std::string(argument) + " wants a value");
        const char* value = argv[++index];
        if (argument == "--program" || argument == "--record") {
            (argument == "--program" ? options.program : recordFile) = value;
            continue;
        }
        if (!ours) {
            soak::target().takeOption(argument, value);
            continue;
        }
        const bool good = argument == "--seed"     ? parse(value, options.seed)
                          : argument == "--levels" ? parse(value, options.levels) && options.levels > 0
                                                   : parse(value, options.levelFrames) && options.levelFrames > 0;
        if (!good) {
            cli::usageError(kTool, std::string(argument) + " " + value +
                                       (argument == "--seed" ? ": wants a whole number from 0 to 18446744073709551615"
                                                             : ": wants a whole number above 0"));
        }
    }
    if (!soak::target().start()) return cli::kUsageStatus;
    std::ofstream record;
    if (!recordFile.empty()) {
        record.open(recordFile, std::ios::binary | std::ios::trunc);
        if (!record) cli::usageError(kTool, "--record " + recordFile + ": cannot write this file (" + std::strerror(errno) + ")");
        options.record = &record;
    }
    std::cout << "soak: seed " << options.seed << ", " << options.levels << " levels; replay: "
              << soak::replayCommand(options, options.levels) << std::endl;
    options.progress = !quiet;
    const soak::Report report = soak::runSoak(options);
    soak::printReport(std::cout, std::cerr, options, report);
    return report.ok(options.strict) ? 0 : 1;
}
