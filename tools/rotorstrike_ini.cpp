// rotorstrike-ini: reads and writes a settings file as the game's Windows profile calls do.
//
//   rotorstrike-ini get FILE SECTION KEY DEFAULT   prints the value as an unsigned decimal
//   rotorstrike-ini set FILE SECTION KEY VALUE     writes KEY=VALUE into SECTION
//
// FILE is a path on this system. get prints DEFAULT (as unsigned) when the file, the
// section or the key is missing. set replaces the file atomically and exits 1 with the
// reason when it cannot; a wrong command line exits 2.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "profile_file.h"

namespace {

int usage() {
    std::fputs("usage: rotorstrike-ini get FILE SECTION KEY DEFAULT\n"
               "       rotorstrike-ini set FILE SECTION KEY VALUE\n",
               stderr);
    return 2;
}

// DEFAULT as the Windows call takes it: a 32-bit integer, signed or not.
bool parseDefault(const char* text, int32_t& value) {
    errno = 0;
    char* end = nullptr;
    const long long parsed = std::strtoll(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || parsed < INT32_MIN || parsed > UINT32_MAX) return false;
    value = static_cast<int32_t>(static_cast<uint32_t>(parsed));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) return usage();
    const std::string command = argv[1];
    const std::string path = argv[2];
    if (command == "get") {
        int32_t defaultValue = 0;
        if (!parseDefault(argv[5], defaultValue)) {
            std::fprintf(stderr, "rotorstrike-ini: DEFAULT must be a 32-bit integer, not '%s'\n", argv[5]);
            return 2;
        }
        std::printf("%u\n", profile::readFileInt(path, argv[3], argv[4], defaultValue));
        return 0;
    }
    if (command == "set") {
        const profile::WriteResult result = profile::writeFileString(path, argv[3], argv[4], argv[5]);
        if (!result.ok) {
            std::fprintf(stderr, "rotorstrike-ini: cannot set %s in [%s] of %s: %s\n", argv[4], argv[3], path.c_str(),
                         result.error.c_str());
            return 1;
        }
        return 0;
    }
    return usage();
}
