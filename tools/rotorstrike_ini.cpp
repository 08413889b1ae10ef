// rotorstrike-ini: reads and writes a settings file as the game's Windows profile calls do.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "command_line.h"
#include "profile_file.h"

namespace {

constexpr cli::Tool kTool = {
    "rotorstrike-ini",
    "usage: rotorstrike-ini get FILE SECTION KEY DEFAULT\n"
    "       rotorstrike-ini get-text FILE SECTION KEY DEFAULT\n"
    "       rotorstrike-ini set FILE SECTION KEY VALUE\n"
    "Reads or writes a settings file as the game's Windows profile calls do. FILE is a path on\n"
    "this system.\n"
    "  get       prints the value as GetPrivateProfileIntA returns it (an unsigned decimal);\n"
    "            DEFAULT (a 32-bit integer) when the file, the section or the key is missing\n"
    "  get-text  prints the value as GetPrivateProfileStringA returns it (a key's name such as\n"
    "            F10 as it stands); DEFAULT when the file, the section or the key is missing\n"
    "  set       writes KEY=VALUE into SECTION as WritePrivateProfileStringA does, replacing\n"
    "            the file atomically; a section, key or value whose line would not read back\n"
    "            as that same entry is refused\n"
    "  -h, --help   this text; --version: the version\n"
    "Exit status: 0 done; 2 a wrong command line, or a file that cannot be written.\n"};

// The longest text value get-text prints, as a buffer of the profile call would hold it.
constexpr std::size_t kTextBuffer = 4096;

// DEFAULT as the Windows call takes it: a 32-bit integer, signed or not.
bool parseDefault(const char* text, int32_t& value) {
    errno = 0;
    char* end = nullptr;
    const long long parsed = std::strtoll(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || parsed < INT32_MIN || parsed > UINT32_MAX) return false;
    value = static_cast<int32_t>(static_cast<uint32_t>(parsed));
    return true;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Why the line KEY=VALUE would not read back as that entry (empty when it would): the profile
// functions trim the blanks around a name and a value, drop a value's matching quotes, end
// a line at CR or LF and a text at NUL, take a line that starts with '[' for a section's
// header and one that starts with ';' for a comment, and end a name at its first '='.
std::string entryProblem(std::string_view section, std::string_view key, std::string_view value) {
    if (section.empty()) return "the section is empty";
    if (section.find(']') != std::string_view::npos) return "the section's name would end at its ']'";
    if (key.empty()) return "the key is empty";
    for (const std::string_view text : {section, key, value}) {
        if (text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) {
            return "a line end or a NUL would cut the line";
        }
        if (!text.empty() && (isBlank(text.front()) || isBlank(text.back()))) return "blanks around it would be trimmed";
    }
    if (key.front() == '[') return "a line that starts with '[' is a section's header";
    if (key.front() == ';') return "a line that starts with ';' is a comment";
    if (key.find('=') != std::string_view::npos) return "the key would end at its '='";
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        return "the matching quotes around the value would be dropped";
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    for (int index = 1; index < argc; ++index) cli::standardOption(kTool, argv[index]);
    // Values may start with '-' (a DEFAULT of -1); only the command's place takes no option.
    if (argc > 1 && argv[1][0] == '-') cli::usageError(kTool, std::string("no option ") + argv[1]);
    if (argc != 6) cli::usageError(kTool, "wants a command (get or set) and four arguments");
    const std::string command = argv[1];
    const std::string path = argv[2];
    if (command == "get") {
        int32_t defaultValue = 0;
        if (!parseDefault(argv[5], defaultValue)) {
            cli::usageError(kTool, std::string("DEFAULT must be a 32-bit integer, not '") + argv[5] + "'");
        }
        std::printf("%u\n", profile::readFileInt(path, argv[3], argv[4], defaultValue));
        return 0;
    }
    if (command == "get-text") {
        std::printf("%s\n", profile::readFileString(path, argv[3], argv[4], argv[5], kTextBuffer).c_str());
        return 0;
    }
    if (command != "set") cli::usageError(kTool, "no command " + command + " (get, get-text or set)");
    const std::string problem = entryProblem(argv[3], argv[4], argv[5]);
    if (!problem.empty()) {
        cli::usageError(kTool, "cannot write '" + std::string(argv[4]) + "=" + argv[5] + "' in [" + argv[3] + "]: " + problem);
    }
    const profile::WriteResult result = profile::writeFileString(path, argv[3], argv[4], argv[5]);
    if (!result.ok) {
        std::fprintf(stderr, "rotorstrike-ini: cannot set %s in [%s] of %s: %s\n", argv[4], argv[3], path.c_str(),
                     result.error.c_str());
        return cli::kUsageStatus;
    }
    return 0;
}
