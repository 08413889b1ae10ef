// The game's folder as the simulated host offers it to the plug-in: the settings file's
// relative path is resolved inside it, and a test can make the profile calls misbehave.
#pragma once

#include <cstdint>
#include <string>

#include "seam.h"

namespace sim {

class GameFolder {
public:
    // Empty: the process's current directory, as for a real game.
    void setDirectory(std::string directory) { directory_ = std::move(directory); }
    const std::string& directory() const { return directory_; }
    // The file a plug-in path such as ".\Rotorstrike.ini" names.
    std::string resolve(const char* path) const;

    // Faults at the seam: after `after` more writes, the next count writes fail without
    // touching the file (a locked file, a full disk); the next count reads find no file
    // (each gives its default).
    void failNextWrites(int count, int after = 0) {
        writesToFail_ = count;
        writesBeforeFailing_ = after;
    }
    void missNextReads(int count) { readsToMiss_ = count; }
    int writesStillToFail() const { return writesToFail_; }

    // Another program holds the settings file exclusively (a virus scanner, a sync client):
    // it answers unreadable, every read gives its default and every write fails, until
    // unlock. As Windows' sharing rules refuse an exclusive open of a file held open, the
    // lock cannot begin while the plug-in holds the file: lock then answers false. With
    // afterWrites, the lock begins once that many more writes have been made (between two
    // writes of one step), if the file is not held then.
    bool lock(int afterWrites = 0);
    void unlock() {
        locked_ = false;
        lockAfterWrites_ = 0;
    }
    bool locked() const { return locked_; }
    // The plug-in holds the file open (between openFile and closeFile).
    bool held() const { return held_; }

    // The seam's profile calls.
    ProfileFileState openFile(const char* path);
    // Whether it held the file.
    bool closeFile();
    uint32_t readInt(const char* section, const char* key, int32_t defaultValue, const char* path);
    bool writeString(const char* section, const char* key, const char* value, const char* path);

    // What the plug-in did, so a test can see that a rare path ran.
    int reads() const { return reads_; }
    int writes() const { return writes_; }
    int failedWrites() const { return failedWrites_; }
    const std::string& lastWriteError() const { return lastWriteError_; }

private:
    std::string directory_;
    int writesToFail_ = 0;
    int writesBeforeFailing_ = 0;
    int readsToMiss_ = 0;
    bool locked_ = false;
    int lockAfterWrites_ = 0;
    bool held_ = false;
    int reads_ = 0;
    int writes_ = 0;
    int failedWrites_ = 0;
    std::string lastWriteError_;
};

}  // namespace sim
