#include "probes.h"

#include <iterator>
#include <string_view>

#include "settings/settings.h"

namespace soak {

namespace {

// A load reads its keys in the order of their rules, so the first of them starts one; the
// reading of a best reads only its best score.
constexpr std::string_view kFirstKeyOfLoad = kSettingsKeyRules.front().name;
// The result compared with the best ("-- Highest:") or a new best, or with nothing.
constexpr std::string_view kUncompared = "~g~Success! -- Score: ";
constexpr std::string_view kCompared = " -- Highest: ";

constexpr const char* kProbeNames[] = {
    "a load kept the values last stored", "progress withheld before the file was read",
    "a pending rollback written later",   "a best read again at the level's end",
    "a result without a comparison",      "a purchase not stored, reloaded",
    "unsaved progress reported",          "a win's load after a locked start"};
static_assert(std::size(kProbeNames) == kSettingsProbes, "a name for each probe");

bool isBestScoreKey(std::string_view key) {
    for (int32_t level = 0; level < kBestScores; ++level) {
        if (key == bestScoreKey(level)) return true;
    }
    return false;
}

}  // namespace

const char* probeName(int probe) { return kProbeNames[probe]; }

void ProbeWatch::attach() {
    settingsRead_ = openReadable_ = resultShown_ = false;
    now_ = before_ = {};
    frame_ = -1;
    writtenThisFrame_.clear();
    pendingRollbacks_.clear();
}

void ProbeWatch::profileCall(const sim::ProfileCall& call) {
    if (call.frame != frame_) writtenThisFrame_.clear();
    frame_ = call.frame;
    if (call.write()) {
        now_.wrote = true;
        if (call.result == 0) {
            // A key written back to another value in the frame it was written: a rollback.
            const auto written = writtenThisFrame_.find(call.key);
            if (written != writtenThisFrame_.end() && written->second != call.value) pendingRollbacks_[call.key] = call.value;
        } else {
            const auto pending = pendingRollbacks_.find(call.key);
            if (pending != pendingRollbacks_.end()) {
                if (pending->second == call.value) ++seen_[ProbeRollbackWrittenLater];
                pendingRollbacks_.erase(pending);
            }
            writtenThisFrame_[call.key] = call.value;
        }
    } else if (call.kind == sim::ProfileCall::Kind::Open) {
        openReadable_ = static_cast<ProfileFileState>(call.result) != ProfileFileState::Unreadable;
    } else if (call.kind == sim::ProfileCall::Kind::Read) {
        // A load before any load could read the file: in a won level's turn, the win's own.
        if (call.key == kFirstKeyOfLoad && !settingsRead_) now_.loadBeforeRead = true;
        if (!openReadable_) return;
        if (call.key == kFirstKeyOfLoad) settingsRead_ = true;
        if (isBestScoreKey(call.key)) now_.bestRead = true;
    }
}

void ProbeWatch::afterFrame(const sim::Host& host, bool restarted) {
    for (const sim::Notification& notification : host.screen().notifications) {
        if (notification.text != kUnsavedProgressNotice) continue;
        now_.unsaved = true;
        ++seen_[ProbeUnsavedReported];
        // Progress withheld: the plug-in, never having read the file, did not even try to write
        // (a win may read it first, in the same turn, and then write).
        if (!now_.wrote) ++seen_[ProbeWithheldBeforeRead];
    }
    // The turn before the result first shows is the won level's end, or the turn itself when
    // a restarted script credits a win cut short (after its first load, which is no win's);
    // a notice of unsaved progress in any other turn follows a purchase.
    const sim::ScreenText* result = host.screen().findText(kResult);
    if (result != nullptr && !resultShown_) {
        const std::string_view text = result->text;
        now_.credited = restarted;
        const Turn& won = restarted ? now_ : before_;
        if (text.starts_with(kUncompared) && text.find(kCompared) == std::string_view::npos) ++seen_[ProbeResultUncompared];
        if (won.bestRead) ++seen_[ProbeBestReadAgain];
        if (won.loadBeforeRead && !restarted) ++seen_[ProbeWinLoadAfterLockedStart];
    } else if (before_.unsaved && !before_.credited) {
        ++seen_[ProbePurchaseReloaded];
    }
    resultShown_ = result != nullptr;
    before_ = now_;
    now_ = {};
}

}  // namespace soak
