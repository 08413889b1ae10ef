// What every command-line tool of ours does alike: -h and --help print the usage, exit
// statuses included, on standard output and exit 0; --version prints the version; a wrong
// command line says what was wrong and where to look, on standard error, and exits 2; a
// command printed for a person to run again quotes what a shell would split.
#pragma once

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

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

// Why an output folder cannot take a tool's files: it cannot be made (with its parents), or
// nothing can be written in it ("cannot write in this folder (Permission denied)"); empty
// when it can. A tool asks before it plays, so that no work is lost at the end.
inline std::string folderProblem(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::create_directories(folder, error);
    if (error || !fs::is_directory(folder)) {
        return "cannot make this folder (" + (error ? error.message() : std::string("a file is in its place")) + ")";
    }
    const fs::path probe = fs::path(folder) / ".rotorstrike-write-check";
    std::FILE* file = std::fopen(probe.string().c_str(), "wb");
    if (file == nullptr) return "cannot write in this folder (" + std::string(std::strerror(errno)) + ")";
    std::fclose(file);
    fs::remove(probe, error);
    return {};
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
