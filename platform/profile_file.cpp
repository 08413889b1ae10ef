#include "profile_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>
#include <vector>

#include "profile_format.h"

namespace profile {

namespace {

// A settings file is a few hundred bytes; anything past this is not one, and is neither
// read nor rewritten.
constexpr off_t kMaxFileBytes = 64 * 1024 * 1024;
constexpr std::size_t kReadChunk = 64 * 1024;

FileFaults faults;
FileOperations operations;

bool faultDue(int& count, int failAt) { return ++count == failAt; }

// The system calls the file code makes, each a fault point.
int openFile(const char* path, int flags, mode_t mode = 0) {
    if (faultDue(operations.opens, faults.failOpen)) {
        errno = EACCES;
        return -1;
    }
    int descriptor;
    do descriptor = ::open(path, flags | O_CLOEXEC, mode);
    while (descriptor < 0 && errno == EINTR);
    return descriptor;
}

ssize_t readSome(int descriptor, char* buffer, std::size_t size) {
    if (faultDue(operations.reads, faults.failRead)) {
        errno = EIO;
        return -1;
    }
    return ::read(descriptor, buffer, size);
}

ssize_t writeSome(int descriptor, const char* buffer, std::size_t size) {
    const int count = ++operations.writes;
    if (count == faults.failWrite) {
        errno = ENOSPC;
        return -1;
    }
    if (count == faults.shortWrite && size > 1) size /= 2;
    return ::write(descriptor, buffer, size);
}

int flushFile(int descriptor) {
    if (faultDue(operations.flushes, faults.failFlush)) {
        errno = EIO;
        return -1;
    }
    return ::fsync(descriptor);
}

int renameFile(const char* from, const char* to) {
    if (faultDue(operations.renames, faults.failRename)) {
        errno = EBUSY;
        return -1;
    }
    return ::rename(from, to);
}

std::string failure(const char* what, const std::string& path, int error) {
    return std::string(what) + " " + path + ": " + std::strerror(error);
}

// What tells one state of a file from another: its identity, size and times.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};
};

FileStamp stampOf(const struct stat& status) {
    return {status.st_dev, status.st_ino, status.st_size, status.st_mtim, status.st_ctim};
}

bool sameTime(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

bool sameStamp(const FileStamp& a, const FileStamp& b) {
    return a.device == b.device && a.inode == b.inode && a.size == b.size && sameTime(a.modified, b.modified) &&
           sameTime(a.changed, b.changed);
}

struct FileContent {
    enum class Status { ok, missing, failed };
    Status status = Status::failed;
    std::string bytes;
    mode_t mode = 0;
    FileStamp stamp;
    std::string error;
};

// The last file read, and the values read from it, reused while its stamp is unchanged: a
// settings load reads seven keys, twice on each move of the menu's cursor. A file changed
// within the slack of the moment it was read is read afresh every time, because a second
// change within the file system's timestamp granularity could leave the stamp as it was.
struct CachedFile {
    struct Lookup {
        std::string section;
        std::string key;
        int32_t defaultValue = 0;
        uint32_t value = 0;
    };
    bool valid = false;
    bool settled = false;  // old enough to be trusted while its stamp holds
    std::string path;
    FileStamp stamp;
    std::string bytes;
    std::vector<Lookup> lookups;
};

CachedFile cached;
std::string lockedPath;  // the file another program holds; empty when none

bool lockedHere(const std::string& path) { return !lockedPath.empty() && path == lockedPath; }
// The coarsest timestamps a folder may keep (FAT's two seconds).
std::chrono::nanoseconds timestampSlack = std::chrono::seconds(2);

int64_t nanoseconds(const timespec& time) { return int64_t{time.tv_sec} * 1000000000 + time.tv_nsec; }

bool settledNow(const FileStamp& stamp) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const int64_t newest = std::max(nanoseconds(stamp.modified), nanoseconds(stamp.changed));
    return newest + timestampSlack.count() < nanoseconds(now);
}

bool cachedCopyHolds(const std::string& path) {
    if (!cached.valid || !cached.settled || cached.path != path) return false;
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && sameStamp(stampOf(status), cached.stamp);
}

class Descriptor {
public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    ~Descriptor() {
        if (descriptor_ >= 0) ::close(descriptor_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return descriptor_; }
    // Closes now, so that a late error (a full disk on a network folder) is seen.
    int close() {
        const int result = ::close(descriptor_);
        descriptor_ = -1;
        return result;
    }

private:
    int descriptor_;
};

FileContent readWholeFile(const std::string& path) {
    FileContent content;
    // Non-blocking, so that a named pipe in the file's place cannot stall the game.
    Descriptor file(openFile(path.c_str(), O_RDONLY | O_NONBLOCK));
    if (file.get() < 0) {
        content.status = errno == ENOENT ? FileContent::Status::missing : FileContent::Status::failed;
        content.error = failure("cannot open", path, errno);
        return content;
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) {
        content.error = failure("cannot examine", path, errno);
        return content;
    }
    if (!S_ISREG(status.st_mode)) {
        content.error = path + " is not a regular file";
        return content;
    }
    if (status.st_size > kMaxFileBytes) {
        content.error = path + " is too large for a settings file";
        return content;
    }
    content.mode = status.st_mode & 07777;
    content.stamp = stampOf(status);
    try {
        // The file and its end in one read as a rule; a file that grows meanwhile goes on in
        // chunks. Straight into the string: the script's own stack is small.
        std::size_t chunk = static_cast<std::size_t>(status.st_size) + 1;
        content.bytes.reserve(chunk);
        for (;; chunk = kReadChunk) {
            const std::size_t used = content.bytes.size();
            content.bytes.resize(used + chunk);
            const ssize_t count = readSome(file.get(), content.bytes.data() + used, chunk);
            const int error = errno;
            content.bytes.resize(used + (count > 0 ? static_cast<std::size_t>(count) : 0));
            if (count < 0 && error == EINTR) continue;
            if (count < 0) {
                content.error = failure("cannot read", path, error);
                return content;
            }
            if (count == 0) break;
            if (content.bytes.size() > static_cast<std::size_t>(kMaxFileBytes)) {
                content.error = path + " is too large for a settings file";
                return content;
            }
        }
    } catch (const std::bad_alloc&) {
        content.bytes.clear();
        content.error = path + " is too large to read";
        return content;
    }
    content.status = FileContent::Status::ok;
    return content;
}

// The folder and the name within it, for the temporary file beside the target.
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A symbolic link keeps pointing at the file it names: the file behind it is replaced.
std::string followLink(const std::string& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) != nullptr) return resolved;
    return path;
}

WriteResult replaceFile(const std::string& path, const std::string& bytes, const FileContent& old) {
    static unsigned serial = 0;
    const std::string folder = folderOf(path);
    const mode_t mode = old.status == FileContent::Status::ok ? old.mode : 0666;
    // A name of our own: one left by a crash of an earlier process is passed over.
    std::string temporary;
    int descriptor = -1;
    for (int attempt = 0; attempt < 100 && descriptor < 0; ++attempt) {
        temporary = folder + "/." + nameOf(path) + "." + std::to_string(::getpid()) + "." + std::to_string(++serial) + ".tmp";
        descriptor = openFile(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL, mode);
        if (descriptor < 0 && errno != EEXIST) break;
    }
    Descriptor file(descriptor);
    if (file.get() < 0) return {false, failure("cannot create a temporary file beside", path, errno)};
    auto discard = [&](const std::string& error) {
        if (file.get() >= 0) file.close();
        ::unlink(temporary.c_str());
        return WriteResult{false, error};
    };
    // The file keeps its permissions, which the creation mask may have narrowed.
    if (old.status == FileContent::Status::ok && ::fchmod(file.get(), old.mode) != 0) {
        return discard(failure("cannot set the permissions of", temporary, errno));
    }
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = writeSome(file.get(), bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return discard(failure("cannot write", temporary, count < 0 ? errno : ENOSPC));
        written += static_cast<std::size_t>(count);
    }
    if (flushFile(file.get()) != 0) return discard(failure("cannot flush", temporary, errno));
    if (file.close() != 0) return discard(failure("cannot close", temporary, errno));
    if (renameFile(temporary.c_str(), path.c_str()) != 0) return discard(failure("cannot replace", path, errno));
    // The new name is in place; syncing the folder makes it last through a power cut, and
    // does not change what the file holds if it fails.
    const int directory = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
        ::fsync(directory);
        ::close(directory);
    }
    return {true, {}};
}

// The bytes of the file at path, read afresh unless the kept copy still holds; null when
// the file cannot be read.
const std::string* fileBytes(const std::string& path) {
    if (cachedCopyHolds(path)) return &cached.bytes;
    FileContent content = readWholeFile(path);
    if (content.status != FileContent::Status::ok) {
        cached = {};
        return nullptr;
    }
    cached.valid = true;
    cached.settled = settledNow(content.stamp);
    cached.path = path;
    cached.stamp = content.stamp;
    cached.bytes = std::move(content.bytes);
    cached.lookups.clear();
    return &cached.bytes;
}

}  // namespace

uint32_t readFileInt(const std::string& path, std::string_view section, std::string_view key, int32_t defaultValue) {
    const std::string* bytes = lockedHere(path) ? nullptr : fileBytes(path);
    if (bytes == nullptr) return static_cast<uint32_t>(defaultValue);
    for (const CachedFile::Lookup& lookup : cached.lookups) {
        if (lookup.section == section && lookup.key == key && lookup.defaultValue == defaultValue) return lookup.value;
    }
    const uint32_t value = readInt(*bytes, section, key, defaultValue);
    cached.lookups.push_back({std::string(section), std::string(key), defaultValue, value});
    return value;
}

std::string readFileString(const std::string& path, std::string_view section, std::string_view key,
                           std::string_view defaultText, std::size_t bufferSize) {
    const std::string* bytes = lockedHere(path) ? nullptr : fileBytes(path);
    return readString(bytes != nullptr ? *bytes : std::string_view(), section, key, defaultText, bufferSize);
}

ProfileFileState fileState(const std::string& path) {
    if (lockedHere(path)) return ProfileFileState::Unreadable;
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0) {
        return errno == ENOENT || errno == ENOTDIR ? ProfileFileState::Missing : ProfileFileState::Unreadable;
    }
    struct stat status {};
    const bool readable = ::fstat(file.get(), &status) == 0 && S_ISREG(status.st_mode) && status.st_size <= kMaxFileBytes;
    return readable ? ProfileFileState::Readable : ProfileFileState::Unreadable;
}

WriteResult writeFileString(const std::string& requestedPath, std::string_view section, std::string_view key,
                            std::string_view value) {
    if (lockedHere(requestedPath)) return {false, requestedPath + " is held by another program"};
    const std::string path = followLink(requestedPath);
    const FileContent old = readWholeFile(path);
    // A file that exists but cannot be read is never overwritten: its content would be lost.
    if (old.status == FileContent::Status::failed) return {false, old.error};
    if (old.status == FileContent::Status::ok && (old.mode & S_IWUSR) == 0) return {false, path + " is read-only"};
    try {
        const Edit edit = writeString(old.bytes, section, key, value);
        if (!edit.ok) return {false, edit.error};
        if (!edit.changed) return {true, {}};
        return replaceFile(path, edit.bytes, old);
    } catch (const std::bad_alloc&) {
        return {false, path + " is too large to rewrite"};
    }
}

std::string resolvePath(std::string_view folder, std::string_view windowsPath) {
    std::string path(windowsPath);
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    if (!path.empty() && path[0] == '/') return path;
    while (path.size() >= 2 && path[0] == '.' && path[1] == '/') path.erase(0, 2);
    if (folder.empty()) return path;
    std::string resolved(folder);
    if (resolved.back() != '/') resolved.push_back('/');
    return resolved + path;
}

void setFileFaults(const FileFaults& newFaults) {
    faults = newFaults;
    operations = {};
    cached = {};
}

bool lockFile(const std::string& path) {
    if (!lockedPath.empty() || fileState(path) == ProfileFileState::Missing) return false;
    lockedPath = path;
    return true;
}

void unlockFile() { lockedPath.clear(); }

void setTimestampSlack(std::chrono::nanoseconds slack) {
    timestampSlack = slack;
    cached = {};
}

FileOperations fileOperations() { return operations; }

}  // namespace profile
