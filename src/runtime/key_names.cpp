#include "runtime/key_names.h"

#include "virtual_keys.h"

namespace {

constexpr int32_t kLastFunctionKey = 24;  // F24

struct NamedKey {
    std::string_view name;
    int32_t code;
};
constexpr NamedKey kNamedKeys[] = {
    {"SPACE", vk::Space},     {"ENTER", vk::Enter}, {"TAB", vk::Tab},     {"BACKSPACE", vk::Backspace},
    {"INSERT", vk::Insert},   {"DELETE", vk::Delete}, {"HOME", vk::Home}, {"END", vk::End},
    {"PAGEUP", vk::PageUp},   {"PAGEDOWN", vk::PageDown}, {"LEFT", vk::Left}, {"UP", vk::Up},
    {"RIGHT", vk::Right},     {"DOWN", vk::Down},   {"SHIFT", vk::Shift}, {"CONTROL", vk::Control},
    {"ALT", vk::Alt},
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

int32_t keyCodeOfName(std::string_view name) {
    if (name.size() == 1) {
        const char letter = upper(name[0]);
        return letter >= 'A' && letter <= 'Z' ? letter : 0;
    }
    if (const int32_t number = functionKeyNumber(name)) return vk::function(number);
    if (name.size() == 4 && sameName(name.substr(0, 3), "NUM") && isDigit(name[3])) {
        return vk::numpad(name[3] - '0');
    }
    for (const NamedKey& key : kNamedKeys) {
        if (sameName(name, key.name)) return key.code;
    }
    return 0;
}

int32_t keyCodeOfBindingText(std::string_view text) {
    if (text.size() >= kKeyNameBuffer - 1) return 0;
    return keyCodeOfName(text);
}
