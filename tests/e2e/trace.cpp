#include "trace.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace e2e {

namespace {

constexpr std::size_t kContextLines = 3;

std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

float slotFloat(uint64_t slot) {
    const uint32_t bits = static_cast<uint32_t>(slot);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::string integer(uint64_t slot) { return std::to_string(static_cast<int32_t>(static_cast<uint32_t>(slot))); }

std::string hex(uint64_t slot) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<uint32_t>(slot));
    return text;
}

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// The lines from `from` up to `to` (exclusive), each under a heading.
std::string excerpt(const std::vector<std::string_view>& lines, std::size_t from, std::size_t to, std::string_view name) {
    std::string text = "  " + std::string(name) + ":\n";
    for (std::size_t index = from; index < to && index < lines.size(); ++index) {
        text += "    " + std::string(lines[index]) + "\n";
    }
    if (to > lines.size()) text += "    (the trace ends)\n";
    return text;
}

}  // namespace

std::string describeCall(const sim::LoggedCall& call) {
    std::string text = call.spec->name;
    text += '(';
    for (int index = 0; index < call.argumentCount; ++index) {
        if (index > 0) text += ", ";
        const uint64_t argument = call.arguments[static_cast<std::size_t>(index)];
        switch (call.spec->arguments[index]) {
        case 'f': text += number(slotFloat(argument)); break;
        case 'u': text += hex(argument); break;
        case 'p':
        case 'e': text += '&'; break;  // where the plug-in keeps the variable differs by platform
        case 's': text += argument == 0 ? "null" : '"' + call.texts[static_cast<std::size_t>(index)] + '"'; break;
        default: text += integer(argument); break;
        }
    }
    text += ')';
    switch (call.spec->result) {
    case '-': break;
    case 'f': text += " -> " + number(slotFloat(call.result[0])); break;
    case 'u': text += " -> " + hex(call.result[0]); break;
    case 'v':
        text += " -> (" + number(slotFloat(call.result[0])) + ", " + number(slotFloat(call.result[1])) + ", " +
                number(slotFloat(call.result[2])) + ")";
        break;
    default: text += " -> " + integer(call.result[0]); break;
    }
    return text;
}

std::string describeProfileCall(const sim::ProfileCall& call) {
    using Kind = sim::ProfileCall::Kind;
    if (call.kind == Kind::Open) return "open " + call.path + " -> " + std::to_string(call.result);
    if (call.kind == Kind::Close) return "close";
    if (call.kind == Kind::ReadText) {
        return "read text [" + call.section + "] " + call.key + " default \"" + escaped(call.defaultText) + "\" size " +
               std::to_string(call.bufferSize) + " in " + call.path + " -> " + std::to_string(call.result) + " \"" +
               escaped(call.value) + "\"";
    }
    return (call.write() ? "write [" : "read [") + call.section + "] " + call.key +
           (call.write() ? "=" + call.value : " default " + std::to_string(call.defaultValue)) + " in " + call.path +
           " -> " + std::to_string(call.result);
}

std::string escaped(std::string_view bytes) {
    std::string text;
    for (const char c : bytes) {
        if (c == '\r') {
            text += "\\r";
        } else if (c == '\n') {
            text += "\\n";
        } else if (c == '\\') {
            text += "\\\\";
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", static_cast<unsigned>(static_cast<unsigned char>(c)));
            text += code;
        } else {
            text += c;
        }
    }
    return text;
}

void Trace::recordFrame(const sim::Host& host) {
    std::string frame;
    for (const sim::LoggedCall& call : host.calls()) frame += "  " + describeCall(call) + "\n";
    for (; cuesSeen_ < host.cues().size(); ++cuesSeen_) {
        const int32_t cue = host.cues()[cuesSeen_].cue;
        frame += cue == 0 ? "  cues stopped\n" : "  cue " + std::to_string(cue) + "\n";
    }
    for (; profileCallsSeen_ < host.profileCalls().size(); ++profileCallsSeen_) {
        frame += "  " + describeProfileCall(host.profileCalls()[profileCallsSeen_]) + "\n";
    }
    if (frame.empty()) return;
    text_ += "frame " + std::to_string(host.frame()) + ", tick " + std::to_string(host.tick()) + "\n" + frame;
}

void Trace::note(std::string_view line) {
    text_ += line;
    text_ += '\n';
}

std::string firstDifference(std::string_view ours, std::string_view theirs, std::string_view oursName,
                            std::string_view theirsName) {
    const std::vector<std::string_view> a = linesOf(ours), b = linesOf(theirs);
    std::size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
    if (at == a.size() && at == b.size()) return {};
    std::string frame = "(before the first frame)";
    for (std::size_t index = at; index-- > 0;) {
        if (a[index].rfind("frame ", 0) == 0) {
            frame = std::string(a[index]);
            break;
        }
    }
    const std::size_t from = at > kContextLines ? at - kContextLines : 0;
    return "the traces part at line " + std::to_string(at + 1) + ", in " + frame + "\n" +
           excerpt(a, from, at + kContextLines + 1, oursName) + excerpt(b, from, at + kContextLines + 1, theirsName);
}

}  // namespace e2e
