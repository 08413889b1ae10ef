// Reads Rotorstrike.asi back as a PE file and checks what the loader and PlaySoundA will
// find in it: the headers, the two WAVE cues, the manifest, the version resource (and the
// menu's credit line, which names the version too).
// Built by the build machine's compiler; run by ctest in the windows preset:
//   asi-check FILE (headers | cues | manifest | version VERSION)
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

int failures = 0;

void check(bool condition, const std::string& what) {
    std::printf("%s: %s\n", condition ? "ok" : "FAIL", what.c_str());
    if (!condition) ++failures;
}

class PeFile {
public:
    explicit PeFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        if (!in) throw std::runtime_error("cannot open " + path);
        bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (u16(0) != 0x5A4D) throw std::runtime_error("no MZ header");
        pe_ = u32(0x3C);
        if (u32(pe_) != 0x00004550) throw std::runtime_error("no PE signature");
        const uint32_t sectionCount = u16(pe_ + 6);
        optional_ = pe_ + 24;
        const uint32_t sectionTable = optional_ + u16(pe_ + 20);
        for (uint32_t i = 0; i < sectionCount; ++i) {
            const uint32_t at = sectionTable + 40 * i;
            sections_.push_back({u32(at + 12), u32(at + 8), u32(at + 20), u32(at + 16)});
        }
    }

    uint16_t machine() const { return u16(pe_ + 4); }
    uint16_t characteristics() const { return u16(pe_ + 22); }
    uint16_t optionalMagic() const { return u16(optional_); }
    uint16_t dllCharacteristics() const { return u16(optional_ + 70); }
    // Data directory i of a PE32+ optional header: {rva, size}.
    std::pair<uint32_t, uint32_t> directory(uint32_t i) const {
        return {u32(optional_ + 112 + 8 * i), u32(optional_ + 116 + 8 * i)};
    }

    uint32_t offset(uint32_t rva) const {
        for (const Section& s : sections_) {
            if (rva >= s.rva && rva < s.rva + std::max(s.virtualSize, s.rawSize)) {
                return rva - s.rva + s.rawOffset;
            }
        }
        throw std::runtime_error("RVA outside every section");
    }

    uint16_t u16(uint32_t at) const {
        need(at, 2);
        return static_cast<uint16_t>(bytes_[at] | bytes_[at + 1] << 8);
    }
    uint32_t u32(uint32_t at) const { return u16(at) | static_cast<uint32_t>(u16(at + 2)) << 16; }
    bool contains(const std::string& text) const {
        return std::search(bytes_.begin(), bytes_.end(), text.begin(), text.end()) != bytes_.end();
    }
    std::string slice(uint32_t at, uint32_t size) const {
        need(at, size);
        return std::string(bytes_.begin() + at, bytes_.begin() + at + size);
    }

private:
    struct Section {
        uint32_t rva;
        uint32_t virtualSize;
        uint32_t rawOffset;
        uint32_t rawSize;
    };
    void need(uint32_t at, uint32_t size) const {
        if (static_cast<uint64_t>(at) + size > bytes_.size()) {
            throw std::runtime_error("read past the end of the file");
        }
    }
    std::vector<unsigned char> bytes_;
    uint32_t pe_ = 0;
    uint32_t optional_ = 0;
    std::vector<Section> sections_;
};

// One leaf of the resource tree. A numeric type or name is written "#n".
struct Resource {
    std::string type;
    std::string name;
    uint32_t language;
    std::string data;
};

std::string entryName(const PeFile& pe, uint32_t root, uint32_t field) {
    if ((field & 0x80000000u) == 0) return "#" + std::to_string(field);
    const uint32_t at = root + (field & 0x7FFFFFFFu);
    std::string name;
    for (uint32_t i = 0; i < pe.u16(at); ++i) {
        const uint16_t c = pe.u16(at + 2 + 2 * i);
        name += c < 0x80 ? static_cast<char>(c) : '?';
    }
    return name;
}

// Walks the three levels of the resource tree: type, name, language.
std::vector<Resource> resources(const PeFile& pe) {
    std::vector<Resource> out;
    const auto [rva, size] = pe.directory(2);
    if (size == 0) return out;
    const uint32_t root = pe.offset(rva);
    auto entries = [&](uint32_t dir) {
        std::vector<std::pair<uint32_t, uint32_t>> list;
        const uint32_t count = pe.u16(dir + 12) + pe.u16(dir + 14);
        for (uint32_t i = 0; i < count; ++i) {
            list.emplace_back(pe.u32(dir + 16 + 8 * i), pe.u32(dir + 20 + 8 * i));
        }
        return list;
    };
    for (const auto& [typeField, typeDir] : entries(root)) {
        for (const auto& [nameField, nameDir] : entries(root + (typeDir & 0x7FFFFFFFu))) {
            for (const auto& [language, leaf] : entries(root + (nameDir & 0x7FFFFFFFu))) {
                const uint32_t entry = root + leaf;
                out.push_back({entryName(pe, root, typeField), entryName(pe, root, nameField),
                               language, pe.slice(pe.offset(pe.u32(entry)), pe.u32(entry + 4))});
            }
        }
    }
    return out;
}

std::vector<const Resource*> ofType(const std::vector<Resource>& all, const std::string& type) {
    std::vector<const Resource*> found;
    for (const Resource& r : all) {
        if (r.type == type) found.push_back(&r);
    }
    return found;
}

uint32_t le32(const std::string& s, size_t at) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i) {
        v |= static_cast<uint32_t>(static_cast<unsigned char>(s[at + i])) << (8 * i);
    }
    return v;
}
uint16_t le16(const std::string& s, size_t at) {
    return static_cast<uint16_t>(static_cast<unsigned char>(s[at]) |
                                 static_cast<unsigned char>(s[at + 1]) << 8);
}

// A cue: a RIFF WAVE file of IEEE floats, 2 channels, 44100 Hz, 32 bits, with a data chunk
// of the given size holding a real sound: finite samples within full scale, loud enough,
// moving (crossing zero), and sounding through most of its length.
void checkCue(const std::vector<Resource>& all, const std::string& id, uint32_t dataSize) {
    const std::string what = "WAVE " + id + ": ";
    std::vector<const Resource*> found;
    for (const Resource* r : ofType(all, "WAVE")) {
        if (r->name == "#" + id) found.push_back(r);
    }
    check(found.size() == 1, what + "one resource of type \"WAVE\" and id " + id);
    if (found.size() != 1) return;
    const std::string& wav = found[0]->data;
    check(found[0]->language == 1033, what + "language 1033");
    check(wav.size() >= 12 && wav.compare(0, 4, "RIFF") == 0 && wav.compare(8, 4, "WAVE") == 0,
          what + "RIFF WAVE header");
    if (wav.size() < 12) return;
    check(le32(wav, 4) == wav.size() - 8, what + "RIFF size matches the resource size");

    size_t fmt = 0;
    size_t data = 0;
    uint32_t dataBytes = 0;
    for (size_t at = 12; at + 8 <= wav.size();) {
        const uint32_t chunkSize = le32(wav, at + 4);
        if (wav.compare(at, 4, "fmt ") == 0) fmt = at + 8;
        if (wav.compare(at, 4, "data") == 0) {
            data = at + 8;
            dataBytes = chunkSize;
        }
        at += 8 + chunkSize + (chunkSize & 1);
    }
    check(fmt != 0 && data != 0 && data + dataBytes <= wav.size(), what + "fmt and data chunks");
    if (fmt == 0 || data == 0 || data + dataBytes > wav.size()) return;
    check(le16(wav, fmt) == 3, what + "format tag 3 (IEEE float)");
    check(le16(wav, fmt + 2) == 2, what + "2 channels");
    check(le32(wav, fmt + 4) == 44100, what + "44100 Hz");
    check(le32(wav, fmt + 8) == 352800 && le16(wav, fmt + 12) == 8,
          what + "352800 bytes a second, 8 bytes a frame");
    check(le16(wav, fmt + 14) == 32, what + "32 bits per sample");
    check(dataBytes == dataSize, what + "data chunk of " + std::to_string(dataSize) +
                                     " bytes (has " + std::to_string(dataBytes) + ")");

    const size_t frames = dataBytes / 8;
    double peak = 0.0;
    bool finite = true;
    double energy[2] = {0.0, 0.0};
    int crossings[2] = {0, 0};
    float previous[2] = {0.0f, 0.0f};
    constexpr size_t kWindow = 4410;  // 0.1 s
    size_t windows = 0;
    size_t soundingWindows = 0;
    double windowEnergy = 0.0;
    for (size_t f = 0; f < frames; ++f) {
        for (int c = 0; c < 2; ++c) {
            const uint32_t bits = le32(wav, data + 8 * f + 4 * static_cast<size_t>(c));
            float sample = 0.0f;
            std::memcpy(&sample, &bits, sizeof sample);
            finite = finite && std::isfinite(sample);
            peak = std::fmax(peak, std::fabs(static_cast<double>(sample)));
            energy[c] += static_cast<double>(sample) * sample;
            windowEnergy += static_cast<double>(sample) * sample;
            if ((sample < 0.0f) != (previous[c] < 0.0f)) ++crossings[c];
            previous[c] = sample;
        }
        if ((f + 1) % kWindow == 0 || f + 1 == frames) {
            ++windows;
            if (std::sqrt(windowEnergy / (2.0 * kWindow)) > 0.005) ++soundingWindows;
            windowEnergy = 0.0;
        }
    }
    const double rmsLeft = std::sqrt(energy[0] / static_cast<double>(frames));
    const double rmsRight = std::sqrt(energy[1] / static_cast<double>(frames));
    char figures[200];
    std::snprintf(figures, sizeof figures,
                  "%.3f s, peak %.3f, rms %.3f / %.3f, %d / %d zero crossings, sounding in "
                  "%zu of %zu tenths of a second",
                  static_cast<double>(frames) / 44100.0, peak, rmsLeft, rmsRight, crossings[0],
                  crossings[1], soundingWindows, windows);
    std::printf("     %s%s\n", what.c_str(), figures);
    check(finite && peak <= 1.0, what + "finite samples within full scale");
    check(peak >= 0.25 && rmsLeft >= 0.01 && rmsRight >= 0.01, what + "not silent");
    check(crossings[0] >= 100 && crossings[1] >= 100, what + "a sound, not a constant");
    check(soundingWindows * 10 >= windows * 7, what + "sounding through most of its length");
}

void checkHeaders(const PeFile& pe) {
    check(pe.machine() == 0x8664, "machine x86-64");
    check(pe.optionalMagic() == 0x20B, "PE32+ (64-bit) optional header");
    check((pe.characteristics() & 0x2000) != 0, "a DLL");
    check((pe.dllCharacteristics() & 0x0140) == 0x0140, "dynamic base and NX compatible");
    const auto [rva, size] = pe.directory(0);
    const bool noExports = size == 0 || (pe.u32(pe.offset(rva) + 20) == 0 &&
                                         pe.u32(pe.offset(rva) + 24) == 0);
    check(noExports, "exports nothing (the loader needs only the entry point)");
}

void checkManifest(const std::vector<Resource>& all) {
    const auto manifests = ofType(all, "#24");
    check(manifests.size() == 1, "one manifest (type 24)");
    if (manifests.size() != 1) return;
    const Resource& m = *manifests[0];
    check(m.name == "#2", "at id 2, where the loader looks for a DLL's manifest");
    check(m.language == 1033, "manifest language 1033");
    check(m.data.rfind("<?xml", 0) == 0 && m.data.find("</assembly>") != std::string::npos,
          "an XML assembly manifest");
    check(m.data.find("<requestedExecutionLevel level=\"asInvoker\"") != std::string::npos,
          "requests the caller's own execution level (asInvoker)");
    check(m.data.find("requireAdministrator") == std::string::npos &&
              m.data.find("highestAvailable") == std::string::npos,
          "requests no other level");
}

// The version resource and the menu's credit line name the version given: "1.0" is file and
// product version 1.0.0.0, its text "1.0", and the credit line "BY ORVEN (v1.0)".
void checkVersion(const PeFile& pe, const std::string& version) {
    uint32_t numbers[4] = {};
    std::size_t part = 0;
    for (std::size_t at = 0; at < version.size(); ++at) {
        if (version[at] == '.' && part < 3) ++part;
        else numbers[part] = numbers[part] * 10 + static_cast<uint32_t>(version[at] - '0');
    }
    const auto versions = ofType(resources(pe), "#16");
    check(versions.size() == 1, "one version resource (type 16)");
    if (versions.size() != 1) return;
    const std::string& v = versions[0]->data;
    const std::string signature("\xBD\x04\xEF\xFE", 4);
    const size_t fixed = v.find(signature);
    check(fixed != std::string::npos && fixed + 24 <= v.size(), "VS_FIXEDFILEINFO present");
    if (fixed == std::string::npos || fixed + 24 > v.size()) return;
    const uint32_t high = numbers[0] << 16 | numbers[1], low = numbers[2] << 16 | numbers[3];
    check(le32(v, fixed + 8) == high && le32(v, fixed + 12) == low, "file version " + version);
    check(le32(v, fixed + 16) == high && le32(v, fixed + 20) == low, "product version " + version);
    auto wide = [](const std::string& text) {
        std::string out;
        for (char c : text) out += {c, '\0'};
        return out;
    };
    for (const char* key : {"FileVersion", "ProductVersion"}) {
        // The key, its terminator and padding to four bytes, then the value and its terminator.
        std::size_t value = v.find(wide(key));
        if (value != std::string::npos) value = v.find_first_not_of('\0', value + 2 * std::strlen(key));
        check(value != std::string::npos && v.compare(value, 2 * version.size() + 2, wide(version) + std::string(2, '\0')) == 0,
              std::string(key) + " \"" + version + "\"");
    }
    check(v.find(wide("Rotorstrike.asi")) != std::string::npos, "original file name Rotorstrike.asi");
    const std::string credit = "BY ORVEN (v" + version + ")";
    check(pe.contains(credit + std::string(1, '\0')), "the menu's credit line \"" + credit + "\"");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && !(argc == 4 && std::string(argv[2]) == "version")) {
        std::fprintf(stderr, "usage: asi-check FILE (headers | cues | manifest | version VERSION)\n");
        return 2;
    }
    const std::string what = argv[2];
    try {
        const PeFile pe(argv[1]);
        if (what == "headers") {
            checkHeaders(pe);
        } else if (what == "cues") {
            const auto all = resources(pe);
            checkCue(all, "101", 740400);
            checkCue(all, "102", 679544);
            check(ofType(all, "WAVE").size() == 2, "no other WAVE resource");
        } else if (what == "manifest") {
            checkManifest(resources(pe));
        } else if (what == "version") {
            checkVersion(pe, argv[3]);
        } else {
            std::fprintf(stderr, "asi-check: unknown check %s\n", what.c_str());
            return 2;
        }
    } catch (const std::exception& e) {
        std::printf("FAIL: %s\n", e.what());
        return 1;
    }
    return failures == 0 ? 0 : 1;
}
