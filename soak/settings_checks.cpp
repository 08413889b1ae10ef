#include "settings_checks.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "profile_format.h"
#include "settings/settings.h"

namespace soak {

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

// The texts of the lines, as the profile functions end them: CRLF, CR or LF.
std::vector<std::string_view> linesOf(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        if (bytes[at] != '\r' && bytes[at] != '\n') continue;
        lines.push_back(bytes.substr(start, at - start));
        if (bytes[at] == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n') ++at;
        start = at + 1;
    }
    if (start < bytes.size()) lines.push_back(bytes.substr(start));
    return lines;
}

// The key a line names: the text before its '=', or the whole line when it has none (the
// profile functions take such a line for a key without a value); a NUL ends it.
std::string_view keyOf(std::string_view line) {
    const std::string_view name = trimmed(line.substr(0, line.find('=')));
    return name.substr(0, name.find('\0'));
}

bool isHeaderOf(std::string_view line, std::string_view section) {
    const std::string_view text = trimmed(line);
    const auto close = text.rfind(']');
    return text.size() >= 2 && text.front() == '[' && close != std::string_view::npos &&
           sameName(trimmed(text.substr(1, close - 1)), section);
}

std::string quoted(std::string_view line) { return "\"" + std::string(line.substr(0, 60)) + "\""; }

}  // namespace

FileBytes readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string wholeFileProblem(const FileBytes& before, const FileBytes& after, std::string_view section,
                             std::string_view key, std::string_view value, bool written) {
    if (!written) return before == after ? std::string() : "a failed write changed the file";
    if (!after) return "a write reported success, but there is no file";
    const std::string_view old = before ? std::string_view(*before) : std::string_view{};
    const std::vector<std::string_view> a = linesOf(old);
    const std::vector<std::string_view> b = linesOf(*after);
    std::size_t prefix = 0;
    while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix]) ++prefix;
    std::size_t suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix && a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix]) {
        ++suffix;
    }
    const std::size_t removed = a.size() - prefix - suffix;
    const std::size_t added = b.size() - prefix - suffix;
    if (removed > 1) return "lines the write did not concern changed, from " + quoted(a[prefix]);
    if (removed == 1 && !sameName(keyOf(a[prefix]), key)) return "the write replaced a line it did not concern: " + quoted(a[prefix]);
    int keyLines = 0;
    for (std::size_t at = prefix; at < prefix + added; ++at) {
        const std::string_view line = b[at];
        const auto equals = line.find('=');
        if (equals != std::string_view::npos && sameName(keyOf(line), key) && trimmed(line.substr(equals + 1)) == value) {
            ++keyLines;
        } else if (!(removed == 0 && isHeaderOf(line, section))) {
            return "the write added a line it did not concern: " + quoted(line);
        }
    }
    if (removed + added > 0 && keyLines != 1) return "the write left no single line of its key";
    // The file holds the new value where the plug-in reads it.
    constexpr int32_t kNone = -1357913;
    const std::string alone = "[" + std::string(section) + "]\r\n" + std::string(key) + "=" + std::string(value) + "\r\n";
    if (profile::readInt(*after, section, key, kNone) != profile::readInt(alone, section, key, kNone)) {
        return "the value written does not read back";
    }
    return {};
}

Progress progressOf(const FileBytes& bytes) {
    const std::string_view text = bytes ? std::string_view(*bytes) : std::string_view{};
    // As the plug-in's load reads them, each with its key's default; a best with none, 0.
    const auto read = [&](std::size_t at, int32_t fallback) {
        return profile::readInt(text, kSettingsSection, kProgressKeyNames[at], fallback);
    };
    const auto readKey = [&](std::size_t at, SettingsKey key) { return read(at, kSettingsKeyRules[key].defaultValue); };
    Progress progress{};
    progress[kOpenLevelsAt] = openLevelCountOf(readKey(kOpenLevelsAt, OpenLevels));
    for (int32_t upgrade = 0; upgrade < kUpgrades; ++upgrade) {
        progress[tierAt(upgrade)] = tierOf(readKey(tierAt(upgrade), upgradeKey(upgrade)));
    }
    progress[kPointsAt] = upgradePointsOf(readKey(kPointsAt, UpgradePoints));
    for (int32_t level = 0; level < kBestScores; ++level) progress[bestAt(level)] = static_cast<int32_t>(read(bestAt(level), 0));
    return progress;
}

std::string backwardsProblem(const Progress& before, const Progress& after, const std::array<bool, kProgressKeys>& exempt) {
    for (std::size_t key = 0; key < kProgressKeys; ++key) {
        if (key == kPointsAt || exempt[key] || after[key] >= before[key]) continue;
        return std::string(kProgressKeyNames[key]) + " went back from " + std::to_string(before[key]) + " to " +
               std::to_string(after[key]);
    }
    // Points go down only to pay for the tiers bought.
    bool byHand = exempt[kPointsAt];
    int64_t price = 0;
    for (int32_t upgrade = 0; upgrade < kUpgrades; ++upgrade) {
        byHand = byHand || exempt[tierAt(upgrade)];
        price += upgradeTable[upgrade].price * (after[tierAt(upgrade)] - before[tierAt(upgrade)]);
    }
    if (byHand) return {};
    const int64_t spent = before[kPointsAt] - after[kPointsAt];
    if (price == 0 && spent <= 0) return {};
    if (spent == price) return {};
    std::string problem = std::string(kProgressKeyNames[kPointsAt]) + " went from " + std::to_string(before[kPointsAt]) + " to " +
                          std::to_string(after[kPointsAt]);
    for (int32_t upgrade = 0; upgrade < kUpgrades; ++upgrade) {
        const std::size_t tier = tierAt(upgrade);
        problem += std::string(upgrade == 0 ? " while " : " and ") + kProgressKeyNames[tier] + (upgrade == 0 ? " went from " : " from ") +
                   std::to_string(before[tier]) + " to " + std::to_string(after[tier]);
    }
    return problem + ": points not spent on the tiers they bought";
}

}  // namespace soak
