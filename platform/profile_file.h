// The profile (INI) file on real files, for platforms without the Windows profile
// functions: reading never changes the file and never fails (anything unreadable gives the
// default); writing replaces the file atomically (a temporary file in the same folder,
// flushed, renamed over it), so the file always holds either its old or its new content.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "seam.h"

namespace profile {

// The value of section/key in the file at path, as GetPrivateProfileIntA reads it; the
// default when the file, the section or the key is missing, or the file cannot be read.
// The last file read is kept with the values read from it, and reused without reading
// while its identity, size and times are unchanged and it was last changed longer ago than
// the timestamp slack; any change to it, by hand or by a write, is seen at the next read.
uint32_t readFileInt(const std::string& path, std::string_view section, std::string_view key,
                     int32_t defaultValue);

// The value of section/key in the file at path as GetPrivateProfileStringA leaves it in a
// buffer of bufferSize bytes (see profile::readString); the default, so taken, when the
// file cannot be read. Reads through the same kept copy as readFileInt.
std::string readFileString(const std::string& path, std::string_view section, std::string_view key,
                           std::string_view defaultText, std::size_t bufferSize);

// Whether the file at path can be read, as the plug-in asks before a load: missing when it
// or its folder does not exist (or the path runs through a regular file), readable when it
// is a regular file within the size a settings file can have, unreadable otherwise.
ProfileFileState fileState(const std::string& path);

struct WriteResult {
    bool ok = false;
    std::string error;  // why not, when not ok: what failed, the file, the system's reason
};

// Writes key=value into section of the file at path as WritePrivateProfileStringA does,
// creating the file if it is missing. ok exactly when the file now holds the new value. A
// file whose mode grants its owner no write permission is read-only and is not replaced, as
// Windows refuses to write a read-only file (checked from the mode, since root may write).
WriteResult writeFileString(const std::string& path, std::string_view section, std::string_view key,
                            std::string_view value);

// A Windows-style path (".\Rotorstrike.ini") as a path on this system: backslashes become
// slashes and a relative path is taken inside folder (the current directory when empty).
std::string resolvePath(std::string_view folder, std::string_view windowsPath);

// Fault points, as a test sets them: the Nth operation of a kind, counted from the call
// to setFileFaults (1 is the next one), fails; 0 leaves that kind alone. A short write
// writes half of what it was given and reports so; the writer goes on with the rest.
struct FileFaults {
    int failOpen = 0;
    int failRead = 0;
    int failWrite = 0;
    int failFlush = 0;
    int failRename = 0;
    int shortWrite = 0;
};

// How many operations of each kind ran since the faults were last set.
struct FileOperations {
    int opens = 0;
    int reads = 0;
    int writes = 0;
    int flushes = 0;
    int renames = 0;
};

// Another program holds the file at path open without sharing it (a virus scanner, a sync
// client) until unlockFile: the file reads as unreadable, every read gives its default and
// every write fails. Only a file that exists can be held, one at a time; false otherwise.
// Here the hold is simulated; on Windows it is a real handle, and the system answers.
bool lockFile(const std::string& path);
void unlockFile();

// Sets the fault points for this process and restarts the counts; FileFaults{} clears them.
// The kept file is dropped, so that the next read opens the file.
void setFileFaults(const FileFaults& faults);
// How long after its last change a file's unchanged stamp is trusted to mean unchanged
// bytes: 2 s by default, the coarsest timestamps a folder may keep. Tests and benchmarks
// shorten it (to see the kept file used) or lengthen it (to read afresh every time).
void setTimestampSlack(std::chrono::nanoseconds slack);
FileOperations fileOperations();

}  // namespace profile
