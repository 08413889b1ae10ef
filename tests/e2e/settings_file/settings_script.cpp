#include "settings_script.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

// Beside the Windows script, whose targets see only this folder.
#include "virtual_keys.h"

namespace settings_script {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Splits a line into fields; false on an unclosed quote or an unknown escape.
bool splitFields(std::string_view line, std::vector<std::string>& fields) {
    std::size_t at = 0;
    while (true) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
        if (at >= line.size()) return true;
        std::string field;
        if (line[at] != '"') {
            while (at < line.size() && line[at] != ' ' && line[at] != '\t') field.push_back(line[at++]);
            fields.push_back(field);
            continue;
        }
        ++at;
        while (true) {
            if (at >= line.size()) return false;
            const char c = line[at++];
            if (c == '"') break;
            if (c != '\\') {
                field.push_back(c);
                continue;
            }
            if (at >= line.size()) return false;
            const char escaped = line[at++];
            switch (escaped) {
            case '"': case '\\': field.push_back(escaped); break;
            case 't': field.push_back('\t'); break;
            case 'r': field.push_back('\r'); break;
            case 'n': field.push_back('\n'); break;
            case 'x': {
                if (at + 2 > line.size() || hexDigit(line[at]) < 0 || hexDigit(line[at + 1]) < 0) return false;
                field.push_back(static_cast<char>(hexDigit(line[at]) * 16 + hexDigit(line[at + 1])));
                at += 2;
                break;
            }
            default: return false;
            }
        }
        fields.push_back(field);
    }
}

bool parseDefault(const std::string& text, int32_t& value) {
    char* end = nullptr;
    const long long parsed = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || parsed < INT32_MIN || parsed > UINT32_MAX) return false;
    value = static_cast<int32_t>(static_cast<uint32_t>(parsed));
    return true;
}

// A field as the transcript shows it: printable ASCII as it is, anything else escaped.
std::string shown(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '\\') {
            out.push_back(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        }
    }
    return out;
}

bool parseSize(const std::string& text, uint32_t& size) {
    char* end = nullptr;
    const long long parsed = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || parsed < 0 || parsed > 1024) return false;
    size = static_cast<uint32_t>(parsed);
    return true;
}

// The keys the plug-in reads from its section, with the defaults it passes; a key binding
// is also read as text (a key's name), with no default, into a buffer of 16 bytes.
struct PluginKey {
    const char* name;
    int32_t defaultValue;
    bool binding = false;
};
constexpr PluginKey kPluginKeys[] = {
    {"open_menu_key", vk::F9, true}, {"attack_key", vk::Numpad9, true}, {"check_point_enabled", 1}, {"open_levels", 1},
    {"armor", 1},                 {"weapon", 1},             {"upgrade_points", 0},      {"high_score_0", 0},
    {"high_score_1", 0},          {"high_score_2", 0},       {"high_score_3", 0},        {"high_score_4", 0},
};
constexpr uint32_t kKeyNameBuffer = 16;

}  // namespace

std::vector<Step> parseScript(std::string_view text, std::string& error) {
    std::vector<Step> steps;
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        std::vector<std::string> fields;
        if (!splitFields(line, fields)) {
            error = "line " + std::to_string(number) + ": an unclosed quote or an unknown escape";
            return {};
        }
        if (fields.empty() || fields[0][0] == '#') continue;
        Step step;
        step.line = number;
        step.file = fields.size() > 1 ? fields[1] : "";
        if (fields[0] == "keys" && fields.size() == 2) {
            step.op = Step::Op::keys;
            steps.push_back(step);
            continue;
        }
        const bool known = (fields.size() == 5 && (fields[0] == "get" || fields[0] == "set")) ||
                           (fields.size() == 6 && fields[0] == "text");
        if (known && fields[0] == "get" && !parseDefault(fields[4], step.defaultValue)) {
            error = "line " + std::to_string(number) + ": the default must be a 32-bit integer";
            return {};
        }
        if (known && fields[0] == "text" && !parseSize(fields[5], step.bufferSize)) {
            error = "line " + std::to_string(number) + ": the size must be 0 to 1024";
            return {};
        }
        if (!known) {
            error = "line " + std::to_string(number) +
                    ": expected get|set FILE SECTION KEY VALUE, text FILE SECTION KEY DEFAULT SIZE, or keys FILE";
            return {};
        }
        step.op = fields[0] == "get" ? Step::Op::get : fields[0] == "text" ? Step::Op::text : Step::Op::set;
        step.section = fields[2];
        step.key = fields[3];
        if (step.op != Step::Op::get) step.value = fields[4];
        steps.push_back(step);
    }
    return steps;
}

std::string runScript(const std::vector<Step>& steps, Backend& backend) {
    std::string transcript;
    // Appended piece by piece: one line a step, or a line a key for keys.
    auto begin = [&](const Step& step, const char* op, const std::string& section, const std::string& key) {
        transcript.append(std::to_string(step.line)).append(op).append(step.file);
        transcript.append(" [").append(shown(section)).append("] ").append(shown(key));
    };
    auto readText = [&](const Step& step, const std::string& section, const std::string& key,
                        const std::string& defaultText, uint32_t bufferSize) {
        begin(step, " text ", section, key);
        const TextRead read = backend.text(step.file, section, key, defaultText, bufferSize);
        transcript.append(" -> ").append(std::to_string(read.length));
        transcript.append(" \"").append(shown(read.text)).append("\"\n");
    };
    for (const Step& step : steps) {
        switch (step.op) {
        case Step::Op::keys:
            for (const PluginKey& key : kPluginKeys) {
                begin(step, " get ", "Rotorstrike", key.name);
                transcript.append(" -> ")
                    .append(std::to_string(backend.get(step.file, "Rotorstrike", key.name, key.defaultValue)))
                    .append("\n");
                if (key.binding) readText(step, "Rotorstrike", key.name, "", kKeyNameBuffer);
            }
            break;
        case Step::Op::text: readText(step, step.section, step.key, step.value, step.bufferSize); break;
        case Step::Op::get:
            begin(step, " get ", step.section, step.key);
            transcript.append(" -> ")
                .append(std::to_string(backend.get(step.file, step.section, step.key, step.defaultValue)))
                .append("\n");
            break;
        case Step::Op::set:
            begin(step, " set ", step.section, step.key);
            transcript.append("=").append(shown(step.value));
            transcript.append(backend.set(step.file, step.section, step.key, step.value) ? " -> ok\n" : " -> failed\n");
            break;
        }
    }
    return transcript;
}

std::vector<std::string> filesNamed(const std::vector<Step>& steps) {
    std::vector<std::string> files;
    for (const Step& step : steps) {
        if (std::find(files.begin(), files.end(), step.file) == files.end()) files.push_back(step.file);
    }
    return files;
}

}  // namespace settings_script
