// rotorstrike-soak: the chaos soak from the command line.
#include <charconv>
#include <cstring>
#include <iostream>
#include <string_view>

#include "soak.h"

namespace {

void usage(std::ostream& out) {
    out << "usage: rotorstrike-soak [--seed S] [--levels N] [--level-frames F] [--strict] [--quiet]\n"
           "Plays N levels (default 1000) of the plug-in in the simulated host with the autopilot,\n"
           "under faults drawn from seed S (default 1), checking every frame. A run too short to\n"
           "fire every kind of fault, write position and probe names those that did not fire;\n"
           "with --strict it fails for them. Exit 0 clean, 1 a check failed (or, with --strict,\n"
           "something never fired), 2 a bad command line.\n";
}

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
        const char* value = index + 1 < argc ? argv[index + 1] : nullptr;
        bool good = true;
        if (argument == "--seed" && value != nullptr) {
            good = parse(value, options.seed);
            ++index;
        } else if (argument == "--levels" && value != nullptr) {
            good = parse(value, options.levels) && options.levels > 0;
            ++index;
        } else if (argument == "--level-frames" && value != nullptr) {
            good = parse(value, options.levelFrames) && options.levelFrames > 0;
            ++index;
        } else if (argument == "--strict") {
            options.strict = true;
        } else if (argument == "--quiet") {
            quiet = true;
        } else if (argument == "--help") {
            usage(std::cout);
            return 0;
        } else {
            good = false;
        }
        if (!good) {
            usage(std::cerr);
            return 2;
        }
    }
    std::cout << "soak: seed " << options.seed << ", " << options.levels << " levels; replay: "
              << soak::replayCommand(options, options.levels) << std::endl;
    if (!quiet) options.progress = &std::cout;
    const soak::Report report = soak::runSoak(options);
    soak::printReport(std::cout, options, report);
    return report.ok(options.strict) ? 0 : 1;
}
