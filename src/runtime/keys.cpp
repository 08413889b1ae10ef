#include "runtime/keys.h"

#include "runtime/mod_state.h"
#include "seam.h"

namespace {

constexpr uint32_t kKeyLockoutMs = 200;

constexpr int32_t kKeyF1 = 0x70;
constexpr int32_t kLastFunctionKey = 24;
constexpr int32_t kKeyNumpad0 = 0x60;

struct NamedKey {
    std::string_view name;
    int32_t code;
};
constexpr NamedKey kNamedKeys[] = {
    {"SPACE", 0x20},   {"ENTER", 0x0D}, {"TAB", 0x09},    {"BACKSPACE", 0x08}, {"INSERT", 0x2D},
    {"DELETE", 0x2E},  {"HOME", 0x24},  {"END", 0x23},    {"PAGEUP", 0x21},    {"PAGEDOWN", 0x22},
    {"LEFT", 0x25},    {"UP", 0x26},    {"RIGHT", 0x27},  {"DOWN", 0x28},      {"SHIFT", 0x10},
    {"CONTROL", 0x11}, {"ALT", 0x12},
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }
char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool sameName(std::string_view text, std::string_view name) {
    if (text.size() != name.size()) return false;
    for (std::size_t index = 0; index < name.size(); ++index) {
        if (upper(text[index]) != name[index]) return false;
    }
    return true;
}

// F1 to F24, written without a leading zero: the number, or 0.
int32_t functionKeyNumber(std::string_view text) {
    if (text.size() < 2 || text.size() > 3 || upper(text[0]) != 'F' || text[1] == '0') return 0;
    int32_t number = 0;
    for (const char c : text.substr(1)) {
        if (!isDigit(c)) return 0;
        number = number * 10 + (c - '0');
    }
    return number <= kLastFunctionKey ? number : 0;
}

}  // namespace

bool keyAccepted(int32_t virtualKey) {
    return tickCount() - mod.lastKeyTime > kKeyLockoutMs && isKeyDown(virtualKey);
}

void stampKeyTime() { mod.lastKeyTime = tickCount(); }

int32_t keyCodeOfName(std::string_view name) {
    if (name.size() == 1) {
        const char letter = upper(name[0]);
        return letter >= 'A' && letter <= 'Z' ? letter : 0;
    }
    if (const int32_t number = functionKeyNumber(name)) return kKeyF1 + number - 1;
    if (name.size() == 4 && sameName(name.substr(0, 3), "NUM") && isDigit(name[3])) {
        return kKeyNumpad0 + (name[3] - '0');
    }
    for (const NamedKey& key : kNamedKeys) {
        if (sameName(name, key.name)) return key.code;
    }
    return 0;
}
