#include "cues.h"

#include <cstdint>
#include <cstring>

#include "rules.h"

namespace standin {

namespace {

constexpr WORD kEnglishUnitedStates = 1033;

struct CueForm {
    int id;
    uint32_t dataBytes;
};
constexpr CueForm kCues[] = {{kSalvoWarningCue, 740400}, {kHitCue, 679544}};

uint32_t little32(const BYTE* bytes) {
    return static_cast<uint32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16) | static_cast<uint32_t>(bytes[3]) << 24;
}
uint16_t little16(const BYTE* bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }

}  // namespace

std::string cueResourceFault(HMODULE module, int id) {
    const CueForm* form = nullptr;
    for (const CueForm& cue : kCues) {
        if (cue.id == id) form = &cue;
    }
    if (form == nullptr) return "no cue has the id " + std::to_string(id);
    const std::string name = "WAVE " + std::to_string(id);
    HRSRC found = FindResourceExW(module, L"WAVE", MAKEINTRESOURCEW(id), kEnglishUnitedStates);
    if (found == nullptr) return name + " (language 1033) is not a resource of the module";
    HGLOBAL loaded = LoadResource(module, found);
    const auto* bytes = static_cast<const BYTE*>(LockResource(loaded));
    const DWORD size = SizeofResource(module, found);
    if (bytes == nullptr || size < 12) return name + " cannot be loaded";
    if (std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0) {
        return name + " is no RIFF WAVE file";
    }
    if (little32(bytes + 4) != size - 8) return name + ": the RIFF size is not the resource's";
    bool formatSeen = false;
    for (DWORD at = 12; at + 8 <= size;) {
        const BYTE* chunk = bytes + at;
        const uint32_t chunkBytes = little32(chunk + 4);
        if (chunkBytes > size - at - 8) return name + ": a chunk runs past the resource";
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (chunkBytes < 16) return name + ": the format chunk is too short";
            const BYTE* format = chunk + 8;
            const bool floats = little16(format) == 3 && little16(format + 2) == 2 && little32(format + 4) == 44100 &&
                                little32(format + 8) == 44100 * 8 && little16(format + 12) == 8 &&
                                little16(format + 14) == 32;
            if (!floats) return name + " is not 2 channels of 32-bit IEEE floats at 44100 Hz";
            formatSeen = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!formatSeen) return name + ": the data comes before the format";
            if (chunkBytes != form->dataBytes) {
                return name + " holds " + std::to_string(chunkBytes) + " bytes of samples, not " +
                       std::to_string(form->dataBytes);
            }
            return {};
        }
        at += 8 + chunkBytes + (chunkBytes & 1);
    }
    return name + " has no data chunk";
}

}  // namespace standin
