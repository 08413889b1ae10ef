#include "game_folder.h"

#include "profile_file.h"

namespace sim {

std::string GameFolder::resolve(const char* path) const { return profile::resolvePath(directory_, path); }

uint32_t GameFolder::readInt(const char* section, const char* key, int32_t defaultValue, const char* path) {
    ++reads_;
    if (readsToMiss_ > 0) {
        --readsToMiss_;
        return static_cast<uint32_t>(defaultValue);
    }
    return profile::readFileInt(resolve(path), section, key, defaultValue);
}

bool GameFolder::writeString(const char* section, const char* key, const char* value, const char* path) {
    ++writes_;
    bool injected = false;
    if (writesToFail_ > 0 && writesBeforeFailing_ > 0) {
        --writesBeforeFailing_;
    } else if (writesToFail_ > 0) {
        --writesToFail_;
        injected = true;
    }
    const profile::WriteResult result = injected ? profile::WriteResult{false, "the host failed this write on purpose"}
                                                 : profile::writeFileString(resolve(path), section, key, value);
    if (!result.ok) {
        ++failedWrites_;
        lastWriteError_ = result.error;
    }
    return result.ok;
}

}  // namespace sim
