#include "game_folder.h"

#include "profile_file.h"

namespace sim {

std::string GameFolder::resolve(const char* path) const { return profile::resolvePath(directory_, path); }

bool GameFolder::lock(int afterWrites) {
    if (afterWrites > 0) {
        lockAfterWrites_ = afterWrites;
        return true;
    }
    if (held_) return false;
    locked_ = true;
    return true;
}

ProfileFileState GameFolder::openFile(const char* path) {
    const ProfileFileState state = locked_ ? ProfileFileState::Unreadable : profile::fileState(resolve(path));
    held_ = state == ProfileFileState::Readable;
    return state;
}

bool GameFolder::closeFile() {
    const bool held = held_;
    held_ = false;
    return held;
}

uint32_t GameFolder::readInt(const char* section, const char* key, int32_t defaultValue, const char* path) {
    ++reads_;
    if (locked_) return static_cast<uint32_t>(defaultValue);
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
    const profile::WriteResult result =
        injected  ? profile::WriteResult{false, "the host failed this write on purpose"}
        : locked_ ? profile::WriteResult{false, "another program holds the file locked"}
                  : profile::writeFileString(resolve(path), section, key, value);
    if (lockAfterWrites_ > 0 && --lockAfterWrites_ == 0) lock();
    if (!result.ok) {
        ++failedWrites_;
        lastWriteError_ = result.error;
    }
    return result.ok;
}

}  // namespace sim
