// The game's folder as the simulated host offers it to the plug-in: the settings file's
// relative path is resolved inside it, and a test can make the profile calls misbehave.
#pragma once

#include <cstdint>
#include <string>

#include "profile_file.h"
#include "seam.h"
#include "settings/settings_file.h"

namespace sim {

class GameFolder {
public:
    // The error of a write the host refused (failNextWrites, a refusing write fault).
    static constexpr const char* kRefusedOnPurpose = "the host failed this write on purpose";

    GameFolder() = default;
    GameFolder(const GameFolder&) = delete;
    GameFolder& operator=(const GameFolder&) = delete;
    ~GameFolder() { unlock(); }

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
    // unlock (profile::lockFile). As Windows' sharing rules refuse an exclusive open of a
    // file held open, the lock cannot begin while the plug-in holds the file, nor when there
    // is no file: lock then answers false.
    bool lock();
    void unlock();
    bool locked() const { return locked_; }
    // The plug-in holds the file open (between openFile and closeFile).
    bool held() const { return held_; }

    // A fault on the write at this position among a frame's writes (1 is the first): it waits
    // for a frame with that many writes, fires there and is spent. So it can hit any write of
    // a step (a purchase writes three keys, a won level up to five, all in one frame).
    // Refused: that write and the next count - 1 fail; Disk: the profile file's fault points
    // are set for that write; LockAfter: the lock begins right after it.
    enum class WriteFault { Refused, Disk, LockAfter };
    void armWriteFault(int position, WriteFault kind, int count = 1, profile::FileFaults disk = {}) {
        fault_ = {position, kind, count, disk};
    }
    void disarmWriteFault() { fault_.position = 0; }
    bool writeFaultArmed() const { return fault_.position > 0; }
    // The host calls this as each frame begins.
    void beginFrame() { writesThisFrame_ = 0; }

    // The seam's profile calls.
    ProfileFileState openFile(const char* path);
    // Whether it held the file.
    bool closeFile();
    uint32_t readInt(const char* section, const char* key, int32_t defaultValue, const char* path);
    // The text GetPrivateProfileStringA leaves in a buffer of bufferSize bytes.
    std::string readString(const char* section, const char* key, const char* defaultValue, uint32_t bufferSize,
                           const char* path);
    bool writeString(const char* section, const char* key, const char* value, const char* path);
    // Once the write is logged: a lock armed to begin right after it begins now.
    void afterWrite();

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
    bool held_ = false;
    bool lockPending_ = false;
    struct ArmedFault {
        int position = 0;  // 0: none armed
        WriteFault kind = WriteFault::Refused;
        int count = 1;
        profile::FileFaults disk;
    } fault_;
    int writesThisFrame_ = 0;
    int reads_ = 0;
    int writes_ = 0;
    int failedWrites_ = 0;
    std::string lastWriteError_;
};

}  // namespace sim
