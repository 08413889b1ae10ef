// The profile file on real files: reading never fails nor changes the file; a write
// leaves exactly the old or the new content, whatever fails on the way.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "profile_file.h"
#include "temp_folder.h"

namespace {

using namespace std::string_view_literals;

constexpr int32_t kDefaultValue = 77;

// Fault points are process-wide: each test that sets them clears them on the way out.
struct FaultsCleared {
    ~FaultsCleared() { profile::setFileFaults({}); }
};

std::string largeFile(std::size_t bytes, const std::string& tail) {
    std::string text = "[Other]\r\n";
    while (text.size() < bytes) text += "filler_key=0123456789012345678901234567890123456789\r\n";
    return text + tail;
}

TEST(ProfileFile, ReadingNeverFailsNorChangesTheFile) {
    TempFolder folder;
    folder.write("regular", "not a folder");
    std::filesystem::create_directory(folder.file("folder.ini"));
    ASSERT_EQ(mkfifo(folder.file("pipe.ini").c_str(), 0644), 0);
    std::string garbage;
    for (int index = 0; index < 4096; ++index) garbage.push_back(static_cast<char>(index * 7919 % 256));
    const struct {
        const char* what;
        std::string name;
        std::string bytes;  // empty: the file is not written
        uint32_t expected;
    } cases[] = {
        {"no file", "missing.ini", "", kDefaultValue},
        {"no folder", "missing/Rotorstrike.ini", "", kDefaultValue},
        {"a path through a regular file", "regular/Rotorstrike.ini", "", kDefaultValue},
        {"a folder in the file's place", "folder.ini", "", kDefaultValue},
        {"a named pipe, which must not stall", "pipe.ini", "", kDefaultValue},
        {"binary garbage", "garbage.ini", garbage, kDefaultValue},
        {"garbage before the section", "garbage2.ini", garbage + "\n[Rotorstrike]\nk=4", 4},
        {"NUL bytes", "nul.ini", std::string("[Rotor\0strike]\n\0k=1\n[Rotorstrike]\nk=2\0"sv), 2},
        {"a 10 MB file, the key last", "large.ini", largeFile(10 << 20, "[Rotorstrike]\r\nk=3"), 3},
        {"a 1 MB line", "line.ini", "[Rotorstrike]\r\nx=" + std::string(1 << 20, 'x') + "\r\nk=5", 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.bytes.empty()) folder.write(c.name, c.bytes);
        const std::vector<std::string> namesBefore = folder.names();
        EXPECT_EQ(profile::readFileInt(folder.file(c.name), "Rotorstrike", "k", kDefaultValue), c.expected);
        EXPECT_EQ(folder.names(), namesBefore);
        if (!c.bytes.empty()) {
            EXPECT_TRUE(folder.read(c.name) == c.bytes);
        }
    }

    // A file that cannot be opened or read (as root, only a fault point makes one).
    const FaultsCleared cleared;
    folder.write("Rotorstrike.ini", "[Rotorstrike]\nk=1\n");
    profile::setFileFaults({.failOpen = 1});
    EXPECT_EQ(profile::readFileInt(folder.file("Rotorstrike.ini"), "Rotorstrike", "k", kDefaultValue), kDefaultValue);
    profile::setFileFaults({.failRead = 1});
    EXPECT_EQ(profile::readFileInt(folder.file("Rotorstrike.ini"), "Rotorstrike", "k", kDefaultValue), kDefaultValue);
    profile::setFileFaults({});
    EXPECT_EQ(profile::readFileInt(folder.file("Rotorstrike.ini"), "Rotorstrike", "k", kDefaultValue), 1u);
}

// A file beyond any settings file's size (sparse, so the test stays quick) is neither read
// into memory nor rewritten: the default is read, the write fails and says why, and the
// file is left as it was.
TEST(ProfileFile, AFileTooLargeIsNeitherReadNorRewritten) {
    TempFolder folder;
    const std::string path = folder.file("Rotorstrike.ini");
    folder.write("Rotorstrike.ini", "[Rotorstrike]\r\nk=1\r\n");
    constexpr std::uintmax_t kHuge = 65 * 1024 * 1024;
    std::filesystem::resize_file(path, kHuge);
    EXPECT_EQ(profile::readFileInt(path, "Rotorstrike", "k", kDefaultValue), kDefaultValue);
    const profile::WriteResult written = profile::writeFileString(path, "Rotorstrike", "k", "2");
    EXPECT_FALSE(written.ok);
    EXPECT_NE(written.error.find("too large"), std::string::npos) << written.error;
    EXPECT_EQ(std::filesystem::file_size(path), kHuge);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"Rotorstrike.ini"});
}

TEST(ProfileFile, WritesCreateReplaceAndKeepTheFileItself) {
    TempFolder folder;
    const std::string path = folder.file("Rotorstrike.ini");
    ASSERT_TRUE(profile::writeFileString(path, "Rotorstrike", "armor", "2").ok);
    EXPECT_EQ(folder.read("Rotorstrike.ini"), "[Rotorstrike]\r\narmor=2\r\n");

    // Permissions survive the replacement.
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(profile::writeFileString(path, "Rotorstrike", "armor", "3").ok);
    struct stat status {};
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);

    // A symbolic link stays a link; the file behind it is written.
    std::filesystem::create_symlink(path, folder.file("link.ini"));
    ASSERT_TRUE(profile::writeFileString(folder.file("link.ini"), "Rotorstrike", "armor", "4").ok);
    EXPECT_TRUE(std::filesystem::is_symlink(folder.file("link.ini")));
    EXPECT_EQ(folder.read("Rotorstrike.ini"), "[Rotorstrike]\r\narmor=4\r\n");
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"Rotorstrike.ini", "link.ini"}));
}

TEST(ProfileFile, AWriteThatCannotBeDoneSaysWhy) {
    TempFolder folder;
    folder.write("regular", "x");
    std::filesystem::create_directory(folder.file("folder.ini"));
    // Read-only by its mode, as Windows refuses to write such a file (root would write it).
    folder.write("read-only.ini", "[Rotorstrike]\r\nk=0\r\n");
    ASSERT_EQ(chmod(folder.file("read-only.ini").c_str(), 0444), 0);
    const struct {
        std::string name;
        std::string reason;
    } cases[] = {
        {"regular/Rotorstrike.ini", "Not a directory"},
        {"missing/Rotorstrike.ini", "No such file or directory"},
        {"folder.ini", "not a regular file"},
        {"read-only.ini", "read-only"},
    };
    for (const auto& c : cases) {
        const profile::WriteResult result = profile::writeFileString(folder.file(c.name), "Rotorstrike", "k", "1");
        EXPECT_FALSE(result.ok) << c.name;
        EXPECT_NE(result.error.find(c.reason), std::string::npos) << result.error;
    }
    EXPECT_EQ(folder.read("read-only.ini"), "[Rotorstrike]\r\nk=0\r\n");
}

// Missing means the defaults are the file's values; unreadable, that they are not.
TEST(ProfileFile, TheFileStateTellsAMissingFileFromAnUnreadableOne) {
    TempFolder folder;
    folder.write("regular", "x");
    std::filesystem::create_directory(folder.file("folder.ini"));
    folder.write("huge.ini", "");
    std::filesystem::resize_file(folder.file("huge.ini"), 65 * 1024 * 1024);
    const struct {
        const char* name;
        ProfileFileState state;
    } cases[] = {
        {"regular", ProfileFileState::Readable},          {"missing.ini", ProfileFileState::Missing},
        {"missing/a.ini", ProfileFileState::Missing},     {"regular/a.ini", ProfileFileState::Missing},
        {"folder.ini", ProfileFileState::Unreadable},     {"huge.ini", ProfileFileState::Unreadable},
    };
    for (const auto& c : cases) EXPECT_EQ(profile::fileState(folder.file(c.name)), c.state) << c.name;
}

// As a small file store is tested: fail the first, the second, ... operation of a kind
// until a write passes untouched; after each, the file holds exactly the old or the new
// content, the result says which, and no temporary file is left behind.
TEST(ProfileFile, EveryFaultLeavesTheOldOrTheNewFile) {
    const FaultsCleared cleared;
    const std::string oldBytes = largeFile(200 << 10, "[Rotorstrike]\r\nk=1\r\n; kept\r\n");
    const std::string newBytes = largeFile(200 << 10, "[Rotorstrike]\r\nk=2\r\n; kept\r\n");
    using Faults = profile::FileFaults;
    using Operations = profile::FileOperations;
    const struct {
        const char* kind;
        int Faults::*point;
        int Operations::*count;  // how many operations of that kind ran
        int Faults::*then;       // a second point, failing the operation after the first
        bool writeSucceeds;
    } kinds[] = {
        {"open", &Faults::failOpen, &Operations::opens, nullptr, false},
        {"read", &Faults::failRead, &Operations::reads, nullptr, false},
        {"write", &Faults::failWrite, &Operations::writes, nullptr, false},
        {"flush", &Faults::failFlush, &Operations::flushes, nullptr, false},
        {"rename", &Faults::failRename, &Operations::renames, nullptr, false},
        {"short write", &Faults::shortWrite, &Operations::writes, nullptr, true},
        {"short write, then a full disk", &Faults::shortWrite, &Operations::writes, &Faults::failWrite, false},
    };
    for (const auto& kind : kinds) {
        int faultsHit = 0;
        for (int nth = 1;; ++nth) {
            SCOPED_TRACE(std::string(kind.kind) + " #" + std::to_string(nth));
            TempFolder folder;
            folder.write("Rotorstrike.ini", oldBytes);
            Faults faults;
            faults.*kind.point = nth;
            if (kind.then != nullptr) faults.*kind.then = nth + 1;
            profile::setFileFaults(faults);
            const profile::WriteResult result =
                profile::writeFileString(folder.file("Rotorstrike.ini"), "Rotorstrike", "k", "2");
            const bool hit = profile::fileOperations().*kind.count >= nth;
            const std::string bytes = folder.read("Rotorstrike.ini");
            EXPECT_TRUE(bytes == (result.ok ? newBytes : oldBytes));
            EXPECT_EQ(result.ok, !hit || kind.writeSucceeds) << result.error;
            EXPECT_EQ(folder.names(), std::vector<std::string>{"Rotorstrike.ini"});
            if (!hit) break;
            ++faultsHit;
        }
        EXPECT_GT(faultsHit, 0) << kind.kind << ": the fault point was never reached";
    }
}

TEST(ProfilePath, WindowsPathsResolveInsideTheGameFolder) {
    const struct {
        const char* folder;
        const char* path;
        const char* expected;
    } cases[] = {
        {"", ".\\Rotorstrike.ini", "Rotorstrike.ini"},
        {"/games/x", ".\\Rotorstrike.ini", "/games/x/Rotorstrike.ini"},
        {"/games/x/", "Rotorstrike.ini", "/games/x/Rotorstrike.ini"},
        {"/games/x", ".\\cfg\\Rotorstrike.ini", "/games/x/cfg/Rotorstrike.ini"},
        {"/games/x", "/etc/Rotorstrike.ini", "/etc/Rotorstrike.ini"},
    };
    for (const auto& c : cases) EXPECT_EQ(profile::resolvePath(c.folder, c.path), c.expected) << c.path;
}

}  // namespace

namespace {

// The timestamp slack is process-wide too.
struct SlackRestored {
    ~SlackRestored() { profile::setTimestampSlack(std::chrono::seconds(2)); }
};

uint32_t readKey(const std::string& path, const char* key) {
    return profile::readFileInt(path, "Rotorstrike", key, kDefaultValue);
}

}  // namespace

// A file read moments ago may change again within its timestamps' granularity, keeping its
// size, times and identity: it is read afresh until it has settled.
TEST(ProfileFileKept, AnEditOfTheSameSizeRightAfterAReadIsSeen) {
    TempFolder folder;
    const std::string path = folder.file("Rotorstrike.ini");
    for (const char* value : {"2", "3", "4"}) {
        SCOPED_TRACE(value);
        // In place, as an editor that rewrites the file does: same inode, same size.
        folder.write("Rotorstrike.ini", std::string("[Rotorstrike]\r\narmor=") + value + "\r\nweapon=1\r\n");
        EXPECT_EQ(readKey(path, "armor"), static_cast<uint32_t>(*value - '0'));
        EXPECT_EQ(readKey(path, "weapon"), 1u);
    }
}

// A settled file is read once and its values reused while it stays as it is; any change
// (in place, replaced by another file, removed, a write of ours) is seen at the next read.
TEST(ProfileFileKept, ASettledFileIsReadOnceUntilItChanges) {
    const SlackRestored restored;
    const FaultsCleared cleared;
    profile::setTimestampSlack(-std::chrono::hours(1));  // every file has settled
    TempFolder folder;
    const std::string path = folder.file("Rotorstrike.ini");
    const std::string other = folder.file("Other.ini");
    folder.write("Rotorstrike.ini", "[Rotorstrike]\r\narmor=2\r\n");
    folder.write("Other.ini", "[Rotorstrike]\r\narmor=4\r\n");
    profile::setFileFaults({});
    const auto opens = [] { return profile::fileOperations().opens; };

    EXPECT_EQ(readKey(path, "armor"), 2u);
    EXPECT_EQ(readKey(path, "armor"), 2u);
    EXPECT_EQ(readKey(path, "weapon"), static_cast<uint32_t>(kDefaultValue));
    EXPECT_EQ(opens(), 1);

    // By hand, in place: the size changes.
    folder.write("Rotorstrike.ini", "[Rotorstrike]\r\narmor=3\r\nweapon=2\r\n");
    EXPECT_EQ(readKey(path, "armor"), 3u);
    EXPECT_EQ(readKey(path, "weapon"), 2u);
    EXPECT_EQ(opens(), 2);
    // Replaced by another file of the same size, as an editor that saves beside it does.
    const std::string same = "[Rotorstrike]\r\narmor=1\r\nweapon=3\r\n";
    folder.write("Next.ini", same);
    std::filesystem::rename(folder.file("Next.ini"), path);
    EXPECT_EQ(readKey(path, "weapon"), 3u);
    // Written by us (replaced atomically).
    ASSERT_TRUE(profile::writeFileString(path, "Rotorstrike", "weapon", "4").ok);
    EXPECT_EQ(readKey(path, "weapon"), 4u);
    // Another file in between, then this one again.
    EXPECT_EQ(readKey(other, "armor"), 4u);
    EXPECT_EQ(readKey(path, "armor"), 1u);
    // Removed: the defaults.
    std::filesystem::remove(path);
    EXPECT_EQ(readKey(path, "armor"), static_cast<uint32_t>(kDefaultValue));
}
