// compare-settings-files: runs one script of profile-file steps twice over copies of the
// corpus, once through Wine's real functions (settings-script.exe) and once through our
// Linux profile code, then holds the two runs to the same answers:
//   - every value read is identical (the two transcripts are identical);
//   - every file made by writes alone is identical byte for byte;
//   - every hand-made file means the same in both (the same sections, keys and values in
//     the same order); where its bytes differ, DIFFERENCES.md lists it with the reason.
//     A row marked "meaning" is a file whose meaning Wine's rewrite changes; a row whose
//     file no longer differs as it says is stale, and fails too.
//
//   compare-settings-files CORPUS SCRIPT DIFFERENCES WORK SETTINGS_SCRIPT_EXE [WINE]
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "profile_file.h"
#include "profile_format.h"
#include "settings_script.h"

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class LinuxProfile : public settings_script::Backend {
public:
    explicit LinuxProfile(fs::path folder) : folder_(std::move(folder)) {}
    uint32_t get(const std::string& file, const std::string& section, const std::string& key,
                 int32_t defaultValue) override {
        return profile::readFileInt((folder_ / file).string(), section, key, defaultValue);
    }
    settings_script::TextRead text(const std::string& file, const std::string& section, const std::string& key,
                                   const std::string& defaultText, uint32_t bufferSize) override {
        std::string read = profile::readFileString((folder_ / file).string(), section, key, defaultText, bufferSize);
        const auto length = static_cast<uint32_t>(read.size());
        return {length, std::move(read)};
    }
    bool set(const std::string& file, const std::string& section, const std::string& key,
             const std::string& value) override {
        return profile::writeFileString((folder_ / file).string(), section, key, value).ok;
    }

private:
    fs::path folder_;
};

// A path on this system as Wine's programs name it: the root of the file system is Z:.
std::string windowsPath(const fs::path& path) {
    std::string text = "Z:" + fs::absolute(path).string();
    for (char& c : text) {
        if (c == '/') c = '\\';
    }
    return text;
}

// Runs settings-script.exe under Wine in folder; its output goes to log.
bool runUnderWine(const std::string& wine, const fs::path& exe, const fs::path& folder, const fs::path& script,
                  const fs::path& transcript, const fs::path& log) {
    // Every path is made absolute before the child moves into the folder.
    const std::string exePath = fs::absolute(exe).string(), logPath = fs::absolute(log).string();
    const std::string scriptPath = windowsPath(script), transcriptPath = windowsPath(transcript);
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        if (chdir(folder.c_str()) != 0 || !freopen(logPath.c_str(), "w", stdout) ||
            !freopen(logPath.c_str(), "a", stderr)) {
            _exit(127);
        }
        execlp(wine.c_str(), wine.c_str(), exePath.c_str(), scriptPath.c_str(), transcriptPath.c_str(), nullptr);
        _exit(127);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool isBlank(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == 0x1a; }

std::string trimmed(const std::string& text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && isBlank(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && isBlank(static_cast<unsigned char>(text[end - 1]))) --end;
    return text.substr(begin, end - begin);
}

// A file's text: UTF-16 with its byte-order mark decoded (ASCII kept, anything else as
// \uXXXX), a UTF-8 byte-order mark dropped.
std::string textOf(const std::string& bytes) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        std::string text;
        for (std::size_t at = 2; at + 1 < bytes.size(); at += 2) {
            const unsigned unit = static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
            if (unit < 0x80) {
                text.push_back(static_cast<char>(unit));
            } else {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04X", unit);
                text += escaped;
            }
        }
        return text;
    }
    return bytes.rfind("\xEF\xBB\xBF", 0) == 0 ? bytes.substr(3) : bytes;
}

// A row of the differences table: "| `FILE` | bytes or meaning | reason |".
struct Difference {
    bool meaning = false;  // Wine's rewrite changes what the file means, not only its bytes
    std::string reason;
};

std::map<std::string, Difference> listedDifferences(const std::string& table) {
    std::map<std::string, Difference> rows;
    std::size_t at = 0;
    while (at < table.size()) {
        const std::size_t end = std::min(table.find('\n', at), table.size());
        const std::string line = table.substr(at, end - at);
        at = end + 1;
        if (line.rfind("| `", 0) != 0) continue;
        std::vector<std::string> cells;
        for (std::size_t bar = 0; bar + 1 < line.size();) {
            const std::size_t next = line.find('|', bar + 1);
            if (next == std::string::npos) break;
            cells.push_back(trimmed(line.substr(bar + 1, next - bar - 1)));
            bar = next;
        }
        if (cells.size() != 3 || cells[0].size() < 2) continue;
        rows[cells[0].substr(1, cells[0].size() - 2)] = {cells[1] == "meaning", cells[2]};
    }
    return rows;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += "      " + line + "\n";
    return text;
}

// Where two transcripts part.
void reportTranscripts(const std::string& ours, const std::string& wine) {
    std::size_t a = 0, b = 0;
    int shown = 0;
    while ((a < ours.size() || b < wine.size()) && shown < 20) {
        const std::size_t aEnd = std::min(ours.find('\n', a), ours.size());
        const std::size_t bEnd = std::min(wine.find('\n', b), wine.size());
        const std::string lineA = ours.substr(a, aEnd - a), lineB = wine.substr(b, bEnd - b);
        if (lineA != lineB) {
            std::printf("  ours: %s\n  wine: %s\n", lineA.c_str(), lineB.c_str());
            ++shown;
        }
        a = aEnd + 1;
        b = bEnd + 1;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6 && argc != 7) {
        std::fputs("usage: compare-settings-files CORPUS SCRIPT DIFFERENCES WORK SETTINGS_SCRIPT_EXE [WINE]\n", stderr);
        return 2;
    }
    const fs::path corpus = argv[1], scriptPath = argv[2], differencesPath = argv[3], work = argv[4], exe = argv[5];
    const std::string wine = argc == 7 ? argv[6] : "wine";

    std::string error;
    const auto steps = settings_script::parseScript(readFile(scriptPath), error);
    if (!error.empty() || steps.empty()) {
        std::fprintf(stderr, "compare-settings-files: %s: %s\n", scriptPath.c_str(),
                     error.empty() ? "no steps" : error.c_str());
        return 2;
    }
    const auto listed = listedDifferences(readFile(differencesPath));

    fs::remove_all(work);
    const fs::path ourFolder = work / "ours", wineFolder = work / "wine";
    std::set<std::string> handMade;
    for (const auto& entry : fs::directory_iterator(corpus)) handMade.insert(entry.path().filename().string());
    for (const fs::path& folder : {ourFolder, wineFolder}) {
        fs::create_directories(folder);
        for (const std::string& file : handMade) fs::copy_file(corpus / file, folder / file);
    }

    LinuxProfile ourProfile(ourFolder);
    const std::string ourTranscript = settings_script::runScript(steps, ourProfile);
    const fs::path wineTranscriptPath = work / "wine-transcript.txt", log = work / "wine.log";
    if (!runUnderWine(wine, exe, wineFolder, scriptPath, wineTranscriptPath, log)) {
        std::printf("settings-script.exe failed under Wine:\n%s\n", readFile(log).c_str());
        return 1;
    }
    const std::string wineTranscript = readFile(wineTranscriptPath);

    int passed = 0, failed = 0;
    auto verdict = [&](bool ok, const std::string& what, const std::string& detail = {}) {
        ok ? ++passed : ++failed;
        if (!ok) std::printf("FAILED %s\n%s", what.c_str(), detail.c_str());
    };
    verdict(ourTranscript == wineTranscript, "every value read and every write's result is Wine's");
    if (ourTranscript != wineTranscript) reportTranscripts(ourTranscript, wineTranscript);

    std::set<std::string> files(handMade);
    for (const std::string& file : settings_script::filesNamed(steps)) files.insert(file);
    for (const std::string& file : files) {
        const bool oursExists = fs::exists(ourFolder / file), wineExists = fs::exists(wineFolder / file);
        if (!oursExists || !wineExists) {
            verdict(oursExists == wineExists, file + ": exists in one run only");
            continue;
        }
        const std::string ours = readFile(ourFolder / file), theirs = readFile(wineFolder / file);
        const bool listedFile = listed.count(file) != 0;
        if (!handMade.count(file)) {
            verdict(!listedFile, file + ": made by writes alone, it cannot be excused in the table");
            verdict(ours == theirs, file + ": made by writes alone, but the bytes differ",
                    "    ours:\n" + joined({ours}) + "    wine:\n" + joined({theirs}));
            continue;
        }
        const std::string table = differencesPath.filename().string();
        if (ours == theirs) {
            verdict(!listedFile, file + ": listed in " + table + " but identical");
            continue;
        }
        verdict(listedFile && !listed.at(file).reason.empty(),
                file + ": the bytes differ and " + table + " gives no reason");
        const auto ourMeaning = profile::meaningOf(textOf(ours)), wineMeaning = profile::meaningOf(textOf(theirs));
        const bool meaningListed = listedFile && listed.at(file).meaning;
        verdict((ourMeaning == wineMeaning) != meaningListed,
                file + (meaningListed ? ": listed as meaning something else, but it means the same"
                                      : ": the files mean different things"),
                "    ours:\n" + joined(ourMeaning) + "    wine:\n" + joined(wineMeaning));
    }
    for (const auto& row : listed) {
        verdict(files.count(row.first) != 0, row.first + ": listed, but no such file in the corpus");
    }
    std::printf("settings file, Wine against ours: %zu steps, %zu hand-made files, %zu files in all\n", steps.size(),
                handMade.size(), files.size());
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
