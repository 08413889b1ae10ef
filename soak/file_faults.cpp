#include "file_faults.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "profile_file.h"
#include "profile_format.h"
#include "settings/settings_file.h"
#include "settings_checks.h"

namespace soak {

namespace {

namespace fs = std::filesystem;

// The keys a hand edits: all but the bindings, in this order (the progress up to the points,
// the option, the best scores), which a seed's draws follow.
constexpr auto kEditedKeys = [] {
    std::array<const char*, kProgressKeys + 1> keys{};
    std::size_t at = 0;
    for (std::size_t key = 0; key <= kPointsAt; ++key) keys[at++] = kProgressKeyNames[key];
    keys[at++] = kSettingsKeyRules[CheckpointEnabled].name;
    for (int32_t level = 0; level < kBestScores; ++level) keys[at++] = kProgressKeyNames[bestAt(level)];
    return keys;
}();
constexpr const char* kOddValues[] = {"-3", "99", "abc", "0x10", "", " 7 ", "4294967295", "2147483648"};

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A person's edit comes well after the game's last write: it is dated a second past the
// file's last change, so that a reader that keeps the file it last read while its time
// stamp is unchanged (Wine's profile functions do) sees it. Made at once, it could share the
// file system clock's tick with that write, and such a reader would miss it.
void editByHand(const std::string& path, const std::string& bytes) {
    std::error_code missing;
    const fs::file_time_type before = fs::last_write_time(path, missing);
    writeFile(path, bytes);
    const fs::file_time_type now = fs::file_time_type::clock::now();
    fs::last_write_time(path, (missing ? now : std::max(before, now)) + std::chrono::seconds(1), missing);
}

}  // namespace

void FileFaults::attach() {
    armedPosition_ = 0;
    lockUntil_ = -1;
}

void FileFaults::beforeFrame(sim::Host& host, FaultPlan& plan, int64_t frame, Situation now) {
    changed_ = false;
    changeByHand(host, plan, frame, now);
    faultWrites(host, plan, frame, now);
}

void FileFaults::changeByHand(sim::Host& host, FaultPlan& plan, int64_t frame, Situation now) {
    if (folderBackAt_ >= 0 && frame >= folderBackAt_) restoreFolder();
    const bool folderThere = folderBackAt_ < 0 && !host.gameFolder().locked();
    const bool fileThere = folderThere && fs::exists(settingsFile_);
    Random& random = plan.random;

    if (plan.due(Fault::FileEdited, now) && folderThere) {
        std::string bytes = readFileBytes(settingsFile_).value_or("");
        if (random.percent(70)) {
            const char* key = kEditedKeys[random.below(std::size(kEditedKeys))];
            const std::string value = random.percent(70) ? std::to_string(random.between(0, 30))
                                                         : kOddValues[random.below(std::size(kOddValues))];
            const profile::Edit edit = profile::writeString(bytes, kSettingsSection, key, value);
            if (edit.changed) bytes = edit.bytes;
        } else {
            // The last two are lines the system's functions write back otherwise (Wine drops a
            // blank line and ends every line with CRLF): left out where runs are compared.
            constexpr const char* kLines[] = {"; edited by hand\r\n", "[Other]\r\nanswer=42\r\n", "\r\n", "junk without equals\n"};
            bytes += kLines[random.below(plan.isMade(Fault::FileCorrupted) ? 4 : 2)];
        }
        editByHand(settingsFile_, bytes);
        changed(plan, Fault::FileEdited);
    }
    if (plan.due(Fault::FileCorrupted, now) && fileThere) {
        std::string bytes = readFileBytes(settingsFile_).value_or("");
        for (int64_t mutations = random.between(1, 4); mutations > 0 && !bytes.empty(); --mutations) {
            const auto at = static_cast<std::size_t>(random.below(static_cast<int64_t>(bytes.size())));
            // Never a byte-order mark: the file stays a file of single bytes.
            const auto byte = static_cast<char>(at < 3 ? random.between(0, 0xEE) : random.below(256));
            switch (random.below(3)) {
            case 0: bytes[at] = byte; break;
            case 1: bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), byte); break;
            default: bytes.erase(at, 1); break;
            }
        }
        editByHand(settingsFile_, bytes);
        changed(plan, Fault::FileCorrupted);
    }
    if (plan.due(Fault::FileTruncated, now) && fileThere) {
        std::string bytes = readFileBytes(settingsFile_).value_or("");
        bytes.resize(static_cast<std::size_t>(random.below(static_cast<int64_t>(bytes.size()) + 1)));
        editByHand(settingsFile_, bytes);
        changed(plan, Fault::FileTruncated);
    }
    if (plan.due(Fault::FileDeleted, now) && fileThere) {
        fs::remove(settingsFile_);
        changed(plan, Fault::FileDeleted);
    }
    if (plan.due(Fault::FolderRemoved, now) && folderThere) {
        // The folder goes with the file in it, moved aside to come back empty; now and then a
        // regular file takes its place: a path that no one can write through.
        fs::rename(folder_, awayFolder());
        fs::remove(awayFolder() + settingsFile_.substr(folder_.size()));
        if (random.percent(50)) writeFile(folder_, "not a folder");
        folderBackAt_ = frame + random.between(30, 900);
        changed(plan, Fault::FolderRemoved);
    }
}

void FileFaults::faultWrites(sim::Host& host, FaultPlan& plan, int64_t frame, Situation now) {
    using Kind = sim::GameFolder::WriteFault;
    sim::GameFolder& folder = host.gameFolder();
    if (armedPosition_ > 0 && !folder.writeFaultArmed()) {
        ++writePositions_[static_cast<std::size_t>(armedPosition_ - 1)];
        plan.count(armedKind_);
        armedPosition_ = 0;
    }
    // The lock lasts its stretch, however it began.
    if (folder.locked() && lockUntil_ < 0) lockUntil_ = frame + plan.random.between(30, 900);
    if (lockUntil_ >= 0 && frame >= lockUntil_) {
        folder.unlock();
        lockUntil_ = -1;
    }
    // Not in the step that changed the file by hand: the checks read the file after the step,
    // and nobody can read a locked one.
    const auto lockFor = [&](int64_t low, int64_t high) {
        if (!changed_ && !folder.locked() && folder.lock()) {
            lockUntil_ = frame + plan.random.between(low, high);
            plan.count(Fault::FileLocked);
        }
    };
    // One write fault at a time, on the write at its position in a step.
    const auto arm = [&](int position, Fault kind, Kind how, int count, const profile::FileFaults& disk = {}) {
        if (armedPosition_ > 0) return;
        armedPosition_ = position;
        armedKind_ = kind;
        folder.armWriteFault(position, how, count, disk);
    };
    // A position no fault has hit yet while there is one, the lowest first: an armed fault
    // waits for a step that reaches its position (the fifth, for a won level's new best), and
    // no other is armed meanwhile. Then any.
    const auto drawnPosition = [&] {
        const auto position = static_cast<int>(plan.random.between(1, kWritePositions));
        for (int unhit = 1; unhit <= kWritePositions; ++unhit) {
            if (writePositions_[static_cast<std::size_t>(unhit - 1)] == 0) return unhit;
        }
        return position;
    };

    if (!levelBegun_ && plan.arranged.lockFromStart) lockFor(300, 900);
    if (plan.arranged.lockAtWin && now == Situation::WonSequence) lockFor(30, 900);
    // A purchase's first tier write refused, with the other tiers' and the rollback's after it.
    if (!levelBegun_ && plan.arranged.rollbackFails) arm(2, Fault::WritesRefused, Kind::Refused, kUpgrades + 1);
    // Every tier write refused: the rollback after them goes through.
    if (plan.refuseTiers) arm(2, Fault::WritesRefused, Kind::Refused, kUpgrades);
    // Only a win reaches a step's fourth and fifth writes: while one has not been hit, every
    // win's wreck shot arms it.
    if (plan.isMade(Fault::WritesRefused) && now == Situation::WonSequence) {
        for (int position = 4; position <= kWritePositions; ++position) {
            if (writePositions_[static_cast<std::size_t>(position - 1)] > 0) continue;
            arm(position, Fault::WritesRefused, Kind::Refused, 1);
            break;
        }
    }
    levelBegun_ = true;

    if (plan.due(Fault::FileLocked, now) && !folder.locked()) {
        if (plan.random.percent(50)) {
            lockFor(30, 900);
        } else {
            arm(drawnPosition(), Fault::FileLocked, Kind::LockAfter, 1);
        }
    }
    if (plan.due(Fault::WritesRefused, now)) {
        arm(drawnPosition(), Fault::WritesRefused, Kind::Refused, static_cast<int>(plan.random.between(1, 6)));
    }
    if (plan.due(Fault::FileWriteFails, now)) {
        // A write, a flush or the replace fails on the disk, or a write comes up short.
        profile::FileFaults disk;
        switch (plan.random.below(4)) {
        case 0: disk.failWrite = 1; break;
        case 1: disk.failFlush = 1; break;
        case 2: disk.failRename = 1; break;
        default: disk.shortWrite = 1; break;
        }
        arm(drawnPosition(), Fault::FileWriteFails, Kind::Disk, 1, disk);
    }
}

void FileFaults::changed(FaultPlan& plan, Fault fault) {
    plan.count(fault);
    changed_ = true;
}

void FileFaults::restoreFolder() {
    if (fs::is_regular_file(folder_)) fs::remove(folder_);
    fs::rename(awayFolder(), folder_);
    folderBackAt_ = -1;
    changed_ = true;
}

void FileFaults::calm(sim::Host& host) {
    sim::GameFolder& folder = host.gameFolder();
    folder.failNextWrites(0);
    folder.disarmWriteFault();
    folder.unlock();
    armedPosition_ = 0;
    lockUntil_ = -1;
    profile::setFileFaults({});
    changed_ = false;
    if (folderBackAt_ >= 0) restoreFolder();
}

}  // namespace soak
