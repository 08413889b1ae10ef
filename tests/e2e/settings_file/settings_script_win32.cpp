// settings-script.exe SCRIPT TRANSCRIPT: runs a script of profile-file steps through the
// system's own GetPrivateProfileIntA, GetPrivateProfileStringA and WritePrivateProfileStringA,
// on files in the current directory (named ".\FILE", as the plug-in names its file), and
// writes the transcript. Run under Wine, it is the reference our Linux profile code is
// compared with.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "settings_script.h"

namespace {

constexpr std::size_t kGuard = 8;
constexpr char kGuardByte = '#';

class SystemProfile : public settings_script::Backend {
public:
    uint32_t get(const std::string& file, const std::string& section, const std::string& key,
                 int32_t defaultValue) override {
        return GetPrivateProfileIntA(section.c_str(), key.c_str(), defaultValue, path(file).c_str());
    }
    settings_script::TextRead text(const std::string& file, const std::string& section, const std::string& key,
                                   const std::string& defaultText, uint32_t bufferSize) override {
        // A guard past the buffer: the system must not write beyond the size it was given.
        std::string buffer(bufferSize + kGuard, kGuardByte);
        settings_script::TextRead read;
        read.length = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultText.c_str(), buffer.data(),
                                               bufferSize, path(file).c_str());
        if (buffer.find_first_not_of(kGuardByte, bufferSize) != std::string::npos) {
            read.text = "(written past the buffer)";
        } else if (bufferSize > 0) {
            read.text = buffer.substr(0, buffer.find('\0'));
        }
        return read;
    }
    bool set(const std::string& file, const std::string& section, const std::string& key,
             const std::string& value) override {
        return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path(file).c_str()) != FALSE;
    }

private:
    static std::string path(const std::string& file) { return ".\\" + file; }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: settings-script.exe SCRIPT TRANSCRIPT\n", stderr);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::string error;
    const auto steps = settings_script::parseScript(text, error);
    if (!in.is_open() || !error.empty()) {
        std::fprintf(stderr, "settings-script: %s: %s\n", argv[1], error.empty() ? "cannot read" : error.c_str());
        return 2;
    }
    SystemProfile profile;
    const std::string transcript = settings_script::runScript(steps, profile);
    std::ofstream out(argv[2], std::ios::binary);
    out << transcript;
    return out.flush() ? 0 : 1;
}
