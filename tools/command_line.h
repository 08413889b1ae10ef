// What every command-line tool of ours does alike: -h and --help print the usage, exit
// statuses included, on standard output and exit 0; --version prints the version; a wrong
// command line says what was wrong and where to look, on standard error, and exits 2; a
// command printed for a person to run again quotes what a shell would split.
#pragma once

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

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

// Long work's progress on a terminal: one line on standard error, rewritten as the work goes
// ("rotorstrike-soak: 120 of 1000 levels, 14 s, about 1 min 43 s left"), and cleared at the
// end. Nothing at all when standard error is not a terminal (a log, a pipe, CI).
class ProgressLine {
public:
    ProgressLine(std::string prefix, long long total, std::string unit)
        : prefix_(std::move(prefix)), unit_(std::move(unit)), total_(total), shown_(onTerminal()) {}
    ~ProgressLine() {
        if (drawn_) std::fputs("\r\033[K", stderr);
    }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // done of the total are done; drawn at most four times a second.
    void update(long long done) {
        if (!shown_) return;
        const auto now = std::chrono::steady_clock::now();
        if (drawn_ && now - lastDrawn_ < std::chrono::milliseconds(250) && done < total_) return;
        lastDrawn_ = now;
        drawn_ = true;
        const double elapsed = std::chrono::duration<double>(now - start_).count();
        std::string line = "\r\033[K" + prefix_ + ": " + std::to_string(done) + " of " + std::to_string(total_) + " " + unit_ +
                           ", " + duration(elapsed);
        if (done > 0 && done < total_) line += ", about " + duration(elapsed * static_cast<double>(total_ - done) / static_cast<double>(done)) + " left";
        std::fputs(line.c_str(), stderr);
        std::fflush(stderr);
    }

private:
    static bool onTerminal() {
#ifdef _WIN32
        return _isatty(_fileno(stderr)) != 0;
#else
        return isatty(fileno(stderr)) != 0;
#endif
    }
    static std::string duration(double seconds) {
        const long long whole = static_cast<long long>(seconds);
        return whole < 60 ? std::to_string(whole) + " s" : std::to_string(whole / 60) + " min " + std::to_string(whole % 60) + " s";
    }

    std::string prefix_, unit_;
    long long total_;
    bool shown_, drawn_ = false;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now(), lastDrawn_;
};

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
