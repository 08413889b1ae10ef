// The simulated host's game folder reads and writes the settings file through these; in
// the stand-in they are the system's own profile functions, so that a scenario reads back
// what Rotorstrike.asi wrote exactly as the game would.
#include <windows.h>

#include <algorithm>
#include <string>

#include "host.h"
#include "profile_file.h"
#include "windows/profile_file_state.h"

namespace profile {

uint32_t readFileInt(const std::string& path, std::string_view section, std::string_view key, int32_t defaultValue) {
    return GetPrivateProfileIntA(std::string(section).c_str(), std::string(key).c_str(), defaultValue, path.c_str());
}

std::string readFileString(const std::string& path, std::string_view section, std::string_view key,
                           std::string_view defaultText, std::size_t bufferSize) {
    std::string text(bufferSize, '\0');
    const DWORD length = GetPrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                                                  std::string(defaultText).c_str(), text.data(),
                                                  static_cast<DWORD>(bufferSize), path.c_str());
    text.resize(bufferSize > 0 ? std::min<std::size_t>(length, bufferSize - 1) : 0);
    return text;
}

WriteResult writeFileString(const std::string& path, std::string_view section, std::string_view key,
                            std::string_view value) {
    if (WritePrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(), std::string(value).c_str(),
                                   path.c_str())) {
        return {true, {}};
    }
    return {false, "WritePrivateProfileStringA failed with error " + std::to_string(GetLastError())};
}

ProfileFileState fileState(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return ProfileFileState::Readable;
    }
    return profileFileStateAfter(GetLastError());
}

namespace {

HANDLE lockHandle = INVALID_HANDLE_VALUE;

}  // namespace

bool lockFile(const std::string& path) {
    if (lockHandle != INVALID_HANDLE_VALUE) return false;
    lockHandle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
    return lockHandle != INVALID_HANDLE_VALUE;
}

void unlockFile() {
    if (lockHandle != INVALID_HANDLE_VALUE) CloseHandle(lockHandle);
    lockHandle = INVALID_HANDLE_VALUE;
}

// The system's functions have no fault points of ours; clearing them is all that can be asked.
void setFileFaults(const FileFaults& faults) {
    if (faults.failOpen != 0 || faults.failRead != 0 || faults.failWrite != 0 || faults.failFlush != 0 ||
        faults.failRename != 0 || faults.shortWrite != 0) {
        throw sim::HostError("the system's profile functions have no fault points");
    }
}

// Paths stay Windows paths: a relative one is taken inside the folder.
std::string resolvePath(std::string_view folder, std::string_view windowsPath) {
    if (folder.empty()) return std::string(windowsPath);
    return std::string(folder) + "\\" + std::string(windowsPath);
}

}  // namespace profile
