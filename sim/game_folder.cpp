#include "game_folder.h"

#include "profile_file.h"
#include "profile_format.h"

namespace sim {

std::string GameFolder::resolve(const char* path) const { return profile::resolvePath(directory_, path); }

bool GameFolder::lock() {
    if (!locked_ && !held_) locked_ = profile::lockFile(resolve(kSettingsPath));
    return locked_;
}

void GameFolder::unlock() {
    if (locked_) profile::unlockFile();
    locked_ = false;
}

ProfileFileState GameFolder::openFile(const char* path) {
    const ProfileFileState state = profile::fileState(resolve(path));
    held_ = state == ProfileFileState::Readable;
    return state;
}

bool GameFolder::closeFile() {
    const bool held = held_;
    held_ = false;
    return held;
}

void GameFolder::afterWrite() {
    if (lockPending_) lock();
    lockPending_ = false;
}

uint32_t GameFolder::readInt(const char* section, const char* key, int32_t defaultValue, const char* path) {
    ++reads_;
    if (readsToMiss_ > 0) {
        --readsToMiss_;
        return static_cast<uint32_t>(defaultValue);
    }
    return profile::readFileInt(resolve(path), section, key, defaultValue);
}

std::string GameFolder::readString(const char* section, const char* key, const char* defaultValue, uint32_t bufferSize,
                                   const char* path) {
    ++reads_;
    // A file that cannot be read gives the default, as the function takes it.
    if (readsToMiss_ > 0) {
        --readsToMiss_;
        return profile::readString({}, section, key, defaultValue, bufferSize);
    }
    return profile::readFileString(resolve(path), section, key, defaultValue, bufferSize);
}

bool GameFolder::writeString(const char* section, const char* key, const char* value, const char* path) {
    ++writes_;
    const bool faultHere = fault_.position > 0 && ++writesThisFrame_ == fault_.position;
    if (faultHere) {
        fault_.position = 0;
        if (fault_.kind == WriteFault::Refused) failNextWrites(fault_.count);
        if (fault_.kind == WriteFault::Disk) profile::setFileFaults(fault_.disk);
    }
    bool injected = false;
    if (writesToFail_ > 0 && writesBeforeFailing_ > 0) {
        --writesBeforeFailing_;
    } else if (writesToFail_ > 0) {
        --writesToFail_;
        injected = true;
    }
    const profile::WriteResult result = injected ? profile::WriteResult{false, kRefusedOnPurpose}
                                                 : profile::writeFileString(resolve(path), section, key, value);
    if (faultHere && fault_.kind == WriteFault::Disk) profile::setFileFaults({});
    lockPending_ = faultHere && fault_.kind == WriteFault::LockAfter;
    if (!result.ok) {
        ++failedWrites_;
        lastWriteError_ = result.error;
    }
    return result.ok;
}

}  // namespace sim
