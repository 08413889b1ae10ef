// What every command-line tool of ours does alike: -h and --help print the usage, exit
// statuses included, on standard output and exit 0; --version prints the version; a wrong
// command line says what was wrong and where to look, on standard error, and exits 2; a
// command printed for a person to run again quotes what a shell would split.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace cli {

constexpr int kUsageStatus = 2;

struct Tool {
    const char* name;
    const char* usage;  // the whole --help text, ending with the exit statuses
};

// Handles -h, --help and --version (and exits); false for any other argument.
inline bool standardOption(const Tool& tool, std::string_view argument) {
    if (argument == "-h" || argument == "--help") {
        std::fputs(tool.usage, stdout);
        std::exit(0);
    }
    if (argument == "--version") {
        std::printf("%s %s\n", tool.name, ROTORSTRIKE_VERSION);
        std::exit(0);
    }
    return false;
}

// A wrong command line: what was wrong, and where the options are told.
[[noreturn]] inline void usageError(const Tool& tool, const std::string& what) {
    std::fprintf(stderr, "%s: %s\nRun '%s --help' for the options.\n", tool.name, what.c_str(), tool.name);
    std::exit(kUsageStatus);
}

// "1 death", "2 deaths": a count and its noun, which takes an s unless the count is one.
inline std::string counted(long long count, std::string_view noun) {
    return std::to_string(count) + " " + std::string(noun) + (count == 1 ? "" : "s");
}

// The text as a POSIX shell reads it back: as it is when it holds nothing a shell treats
// specially, in single quotes otherwise.
inline std::string shellQuoted(std::string_view text) {
    const bool plain = !text.empty() && text.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                                               "0123456789_-./:=,+@%") == std::string_view::npos;
    if (plain) return std::string(text);
    std::string quoted = "'";
    for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace cli
