// rotorstrike-soak: the chaos soak from the command line.
#include <charconv>
#include <cstring>
#include <iostream>
#include <string>
#include <string_view>

#include "command_line.h"
#include "soak.h"

namespace {

constexpr cli::Tool kTool = {
    "rotorstrike-soak",
    "usage: rotorstrike-soak [--seed S] [--levels N] [--level-frames F] [--strict] [--quiet]\n"
    "Plays N levels of the plug-in in the simulated host with the autopilot, under faults\n"
    "drawn from seed S, checking every frame.\n"
    "  --seed S          the seed that decides the whole run (default 1)\n"
    "  --levels N        levels to play (default 1000)\n"
    "  --level-frames F  a level still running after F frames is left (default 9000)\n"
    "  --strict          fail when a kind of fault, a write position or a probe never fired\n"
    "                    (a run without it names them and passes)\n"
    "  --quiet           no progress line every 100 levels\n"
    "  -h, --help        this text; --version: the version\n"
    "Exit status: 0 clean; 1 a check failed (or, with --strict, something never fired); 2 a\n"
    "wrong command line. A failure prints the command that replays it.\n"};

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
    for (int index = 1; index < argc; ++index) {
        const std::string_view argument = argv[index];
        if (cli::standardOption(kTool, argument)) continue;
        if (argument == "--strict" || argument == "--quiet") {
            (argument == "--strict" ? options.strict : quiet) = true;
            continue;
        }
        if (argument != "--seed" && argument != "--levels" && argument != "--level-frames") {
            cli::usageError(kTool, "no option " + std::string(argument));
        }
        if (index + 1 == argc) cli::usageError(kTool, std::string(argument) + " wants a value");
        const char* value = argv[++index];
        const bool good = argument == "--seed"     ? parse(value, options.seed)
                          : argument == "--levels" ? parse(value, options.levels) && options.levels > 0
                                                   : parse(value, options.levelFrames) && options.levelFrames > 0;
        if (!good) {
            cli::usageError(kTool, std::string(argument) + " " + value +
                                       (argument == "--seed" ? ": wants a whole number from 0 to 18446744073709551615"
                                                             : ": wants a whole number above 0"));
        }
    }
    std::cout << "soak: seed " << options.seed << ", " << options.levels << " levels; replay: "
              << soak::replayCommand(options, options.levels) << std::endl;
    if (!quiet) options.progress = &std::cout;
    const soak::Report report = soak::runSoak(options);
    soak::printReport(std::cout, options, report);
    return report.ok(options.strict) ? 0 : 1;
}
