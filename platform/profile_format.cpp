#include "profile_format.h"

#include <algorithm>
#include <iterator>
#include <optional>

namespace profile {

namespace {

constexpr std::size_t kNone = std::string_view::npos;
// The Windows integer read passes the value through a string buffer of 30 characters, its
// closing NUL among them.
constexpr std::size_t kIntegerBuffer = 30;

template <class Char>
using Text = std::basic_string_view<Char>;

template <class Char>
uint32_t unitOf(Char c) {
    if constexpr (sizeof(Char) == 1) {
        return static_cast<unsigned char>(c);
    } else {
        return static_cast<uint32_t>(c);
    }
}

// Space, tab, line ends, vertical tab, form feed and Ctrl-Z (an old end-of-file mark).
bool isBlank(uint32_t c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == 0x1a; }

// ASCII and Latin-1 letters fold to lower case, as the ANSI code page's letters do.
uint32_t foldCase(uint32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
    return c;
}

// One line of the text, as offsets into it.
struct Line {
    enum class Kind { blank, section, entry };
    Kind kind = Kind::blank;
    std::size_t begin = 0;  // first character
    std::size_t end = 0;    // before the line end
    std::size_t next = 0;   // after the line end
    std::size_t nameBegin = 0;
    std::size_t nameEnd = 0;     // the name trimmed
    std::size_t matchEnd = 0;    // the name as compared: cut at a NUL
    std::size_t valueBegin = kNone;  // kNone: an entry without '='
    std::size_t valueEnd = kNone;
};

template <class Char>
class LineScanner {
public:
    LineScanner(Text<Char> text, std::size_t start) : text_(text), position_(start) {}

    bool next(Line& line) {
        if (position_ >= text_.size()) return false;
        line = Line{};
        line.begin = position_;
        std::size_t end = position_;
        while (end < text_.size() && !isLineEnd(end)) ++end;
        line.end = end;
        if (end < text_.size()) end += (unitAt(end) == '\r' && end + 1 < text_.size() && unitAt(end + 1) == '\n') ? 2 : 1;
        line.next = position_ = end;
        classify(line);
        return true;
    }

private:
    uint32_t unitAt(std::size_t index) const { return unitOf(text_[index]); }
    bool isLineEnd(std::size_t index) const { return unitAt(index) == '\n' || unitAt(index) == '\r'; }

    std::size_t skipBlanks(std::size_t from, std::size_t to) const {
        while (from < to && isBlank(unitAt(from))) ++from;
        return from;
    }
    std::size_t trimBlanks(std::size_t from, std::size_t to) const {
        while (to > from && isBlank(unitAt(to - 1))) --to;
        return to;
    }
    std::size_t cutAtNul(std::size_t from, std::size_t to) const {
        for (std::size_t index = from; index < to; ++index) {
            if (unitAt(index) == 0) return index;
        }
        return to;
    }

    void setName(Line& line, std::size_t from, std::size_t to) const {
        line.nameBegin = skipBlanks(from, to);
        line.nameEnd = trimBlanks(line.nameBegin, to);
        line.matchEnd = cutAtNul(line.nameBegin, line.nameEnd);
    }

    void classify(Line& line) const {
        const std::size_t begin = skipBlanks(line.begin, line.end);
        const std::size_t end = trimBlanks(begin, line.end);
        if (begin == end) return;
        if (unitAt(begin) == '[') {
            // The section name runs to the line's last ']'; without one, the line is a key.
            for (std::size_t close = end; close > begin + 1; --close) {
                if (unitAt(close - 1) == ']') {
                    line.kind = Line::Kind::section;
                    setName(line, begin + 1, close - 1);
                    return;
                }
            }
        }
        // A comment is an entry too: the Windows functions treat it as a key without a value.
        line.kind = Line::Kind::entry;
        std::size_t equals = begin;
        while (equals < end && unitAt(equals) != '=') ++equals;
        setName(line, begin, equals);
        if (equals < end) {
            line.valueBegin = skipBlanks(equals + 1, end);
            line.valueEnd = cutAtNul(line.valueBegin, end);
        }
    }

    Text<Char> text_;
    std::size_t position_;
};

// Whether text[begin, end) is wanted: names in any case, values to the letter.
enum class Letters { anyCase, exact };

template <class Char>
bool textIs(Text<Char> text, std::size_t begin, std::size_t end, std::string_view wanted, Letters letters) {
    if (end - begin != wanted.size()) return false;
    for (std::size_t index = 0; index < wanted.size(); ++index) {
        uint32_t have = unitOf(text[begin + index]);
        uint32_t want = static_cast<unsigned char>(wanted[index]);
        if (letters == Letters::anyCase) {
            have = foldCase(have);
            want = foldCase(want);
        }
        if (have != want) return false;
    }
    return true;
}

std::string_view trimmed(std::string_view name) {
    while (!name.empty() && isBlank(static_cast<unsigned char>(name.front()))) name.remove_prefix(1);
    while (!name.empty() && isBlank(static_cast<unsigned char>(name.back()))) name.remove_suffix(1);
    return name;
}

// Where a section and a key stand in the text.
struct Place {
    bool sectionFound = false;
    bool keyFound = false;
    Line key;  // the key's line, when found
    // Where a new key goes: after the section's last line that is not blank (a comment
    // counts), or after its header.
    std::size_t insertAt = 0;
    bool lineEndFirst = false;  // that line is the file's last and has no line end

    void placeAfter(const Line& line) {
        insertAt = line.next;
        lineEndFirst = line.next == line.end;
    }
};

template <class Char>
Place findKey(Text<Char> text, std::size_t start, std::string_view section, std::string_view key) {
    section = trimmed(section);
    key = trimmed(key);
    Place place;
    // The lines before the first section header form a section without a name.
    if (section.empty()) {
        place.sectionFound = true;
        place.insertAt = start;
    }
    LineScanner<Char> scanner(text, start);
    Line line;
    while (scanner.next(line)) {
        if (line.kind == Line::Kind::section) {
            if (place.sectionFound) break;  // only the first matching section counts
            if (textIs(text, line.nameBegin, line.matchEnd, section, Letters::anyCase)) {
                place.sectionFound = true;
                place.placeAfter(line);
            }
        } else if (place.sectionFound && line.kind == Line::Kind::entry) {
            if (textIs(text, line.nameBegin, line.matchEnd, key, Letters::anyCase)) {
                place.keyFound = true;
                place.key = line;
                break;
            }
            place.placeAfter(line);
        }
    }
    return place;
}

template <class Char>
uint32_t parseDigits(Text<Char> text) {
    std::size_t index = 0;
    while (index < text.size() && unitOf(text[index]) <= ' ') ++index;
    bool negative = false;
    if (index < text.size() && (text[index] == '+' || text[index] == '-')) negative = text[index++] == '-';
    uint32_t base = 10;
    if (text.size() - index >= 2 && text[index] == '0') {
        const uint32_t prefix = unitOf(text[index + 1]);
        base = prefix == 'x' ? 16 : prefix == 'o' ? 8 : prefix == 'b' ? 2 : 10;
        if (base != 10) index += 2;
    }
    uint32_t total = 0;
    for (; index < text.size(); ++index) {
        const uint32_t c = unitOf(text[index]);
        uint32_t digit = base;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (c >= 'a' && c <= 'z') digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'Z') digit = c - 'A' + 10;
        if (digit >= base) break;
        total = total * base + digit;
    }
    return negative ? 0u - total : total;
}

// The value of a key, or none when the section, the key or its '=' is missing.
template <class Char>
std::optional<Text<Char>> valueOf(Text<Char> text, std::size_t start, std::string_view section, std::string_view key) {
    const Place place = findKey(text, start, section, key);
    if (!place.keyFound || place.key.valueBegin == kNone) return std::nullopt;
    return text.substr(place.key.valueBegin, place.key.valueEnd - place.key.valueBegin);
}

// What the Windows string read leaves in a buffer of bufferSize characters (its closing NUL
// among them). Matching quotes are dropped as it drops them: the opening one is skipped;
// when the rest fits in the buffer, the buffer's last character goes (the closing quote,
// or, with exactly one character too many, the last one that fitted); a longer value keeps
// what fits, its closing quote long gone.
template <class Char>
Text<Char> inBuffer(Text<Char> value, std::size_t bufferSize) {
    if (bufferSize == 0) return {};
    const bool quoted = value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0];
    if (quoted) value.remove_prefix(1);
    Text<Char> buffer = value.substr(0, bufferSize - 1);
    if (quoted && value.size() <= bufferSize && !buffer.empty()) buffer.remove_suffix(1);
    return buffer;
}

template <class Char>
uint32_t readIntIn(Text<Char> text, std::size_t start, std::string_view section, std::string_view key,
                   int32_t defaultValue) {
    const auto fallback = static_cast<uint32_t>(defaultValue);
    const std::optional<Text<Char>> value = valueOf(text, start, section, key);
    if (!value) return fallback;
    const Text<Char> buffer = inBuffer(*value, kIntegerBuffer);
    if (buffer.empty()) return fallback;
    return parseDigits(buffer);
}

template <class Char>
void appendAscii(std::basic_string<Char>& out, std::string_view text) {
    for (const char c : text) out.push_back(static_cast<Char>(static_cast<unsigned char>(c)));
}

template <class Char>
std::basic_string<Char> editIn(Text<Char> text, std::size_t start, std::string_view section, std::string_view key,
                               std::string_view value, bool& changed) {
    section = trimmed(section);
    key = trimmed(key);
    // Blanks around a value mean nothing to a read: the value is written without them.
    value = trimmed(value);
    const Place place = findKey(text, start, section, key);
    std::basic_string<Char> out;
    changed = true;
    if (place.keyFound) {
        const Line& line = place.key;
        if (line.valueBegin != kNone && textIs(text, line.valueBegin, line.valueEnd, value, Letters::exact)) {
            // Already there: the hand-made line keeps its form.
            changed = false;
            return out;
        }
        out.reserve(text.size() + value.size() + 1);
        out.append(text.substr(0, line.nameEnd));
        out.push_back(static_cast<Char>('='));
        appendAscii(out, value);
        out.append(text.substr(line.end));
        return out;
    }
    std::basic_string<Char> lines;
    if (!place.sectionFound) {
        appendAscii(lines, "[");
        appendAscii(lines, section);
        appendAscii(lines, "]\r\n");
    }
    appendAscii(lines, key);
    appendAscii(lines, "=");
    appendAscii(lines, value);
    appendAscii(lines, "\r\n");
    std::size_t at = text.size();
    bool needsLineEnd = false;
    if (place.sectionFound) {
        at = place.insertAt;
        needsLineEnd = place.lineEndFirst;
    } else {
        needsLineEnd = text.size() > start && unitOf(text.back()) != '\n' && unitOf(text.back()) != '\r';
    }
    out.reserve(text.size() + lines.size() + 2);
    out.append(text.substr(0, at));
    if (needsLineEnd) appendAscii(out, "\r\n");
    out.append(lines);
    out.append(text.substr(at));
    return out;
}

// UTF-16 files start with their byte-order mark; anything else is read as bytes.
enum class Encoding { bytes, utf16le, utf16be };

Encoding encodingOf(std::string_view bytes) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') return Encoding::utf16le;
    if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF') return Encoding::utf16be;
    return Encoding::bytes;
}

std::size_t bytesStart(std::string_view bytes) { return bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0; }

// The units of a UTF-16 file, its byte-order mark first; an odd last byte is left over.
std::u16string decodeUtf16(std::string_view bytes, Encoding encoding) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t index = 0; index + 1 < bytes.size(); index += 2) {
        const auto first = static_cast<unsigned char>(bytes[index]);
        const auto second = static_cast<unsigned char>(bytes[index + 1]);
        units.push_back(static_cast<char16_t>(encoding == Encoding::utf16le ? first | second << 8 : second | first << 8));
    }
    return units;
}

std::string encodeUtf16(const std::u16string& units, Encoding encoding, std::string_view leftOver) {
    std::string bytes;
    bytes.reserve(units.size() * 2 + leftOver.size());
    for (const char16_t unit : units) {
        const auto low = static_cast<char>(unit & 0xFF);
        const auto high = static_cast<char>(unit >> 8);
        bytes.push_back(encoding == Encoding::utf16le ? low : high);
        bytes.push_back(encoding == Encoding::utf16le ? high : low);
    }
    bytes.append(leftOver);
    return bytes;
}

// A malformed UTF-8 sequence decodes to this.
constexpr char16_t kReplacement = 0xFFFD;

// Whether a sequence of this many continuation bytes can still be well formed once the
// first one is in (code holds the lead's bits and that byte's): not an overlong form, not a
// surrogate, not past U+10FFFF.
bool wellFormedSoFar(uint32_t code, std::size_t following) {
    if (following == 2) return code >= 0x20 && (code < 0x360 || code > 0x37F);
    if (following == 3) return code >= 0x10 && code < 0x110;
    return true;
}

// A UTF-8 text as UTF-16 units, as the Windows functions decode a file marked UTF-8. A
// malformed sequence gives one U+FFFD for the bytes read until it shows itself malformed:
// a byte that cannot lead one, a lead followed by a byte that does not continue it (that
// byte starts afresh), a first continuation that makes an overlong form, a surrogate or a
// code point past U+10FFFF; a sequence that the end of the text cuts short gives one for
// all that is left.
std::u16string decodeUtf8(std::string_view bytes) {
    std::u16string units;
    units.reserve(bytes.size());
    std::size_t at = 0;
    while (at < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[at++]);
        const std::size_t following = lead >= 0xC2 && lead <= 0xDF   ? 1
                                      : lead >= 0xE0 && lead <= 0xEF ? 2
                                      : lead >= 0xF0 && lead <= 0xF4 ? 3
                                                                     : 0;
        if (lead < 0x80 || following == 0) {
            units.push_back(lead < 0x80 ? char16_t{lead} : kReplacement);
            continue;
        }
        if (bytes.size() - at < following) {
            units.push_back(kReplacement);
            break;
        }
        uint32_t code = lead & (0x3Fu >> following);
        bool wellFormed = true;
        for (std::size_t index = 0; index < following && wellFormed; ++index) {
            const auto next = static_cast<unsigned char>(bytes[at]);
            wellFormed = (next & 0xC0) == 0x80;
            if (!wellFormed) break;
            ++at;
            code = code << 6 | (next & 0x3Fu);
            if (index == 0) wellFormed = wellFormedSoFar(code, following);
        }
        if (!wellFormed) {
            units.push_back(kReplacement);
        } else if (code < 0x10000) {
            units.push_back(static_cast<char16_t>(code));
        } else {
            units.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        }
    }
    return units;
}

// Windows-1252, the ANSI code page of the text the string read returns: the characters of
// its bytes 0x80 to 0x9F (the five it leaves undefined stand for the control characters of
// the same numbers); every other byte is the character of its own number.
constexpr char16_t kAnsiHighCharacters[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// A UTF-16 unit as a byte of the ANSI code page; '?' for one it lacks (a surrogate too).
char ansiOf(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
    for (std::size_t index = 0; index < std::size(kAnsiHighCharacters); ++index) {
        if (kAnsiHighCharacters[index] == unit) return static_cast<char>(0x80 + index);
    }
    return '?';
}

bool hasAny(std::string_view text, std::string_view characters) {
    return text.find_first_of(characters) != std::string_view::npos;
}

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

uint32_t readInt(std::string_view fileBytes, std::string_view section, std::string_view key, int32_t defaultValue) {
    const Encoding encoding = encodingOf(fileBytes);
    if (encoding == Encoding::bytes) return readIntIn(fileBytes, bytesStart(fileBytes), section, key, defaultValue);
    const std::u16string units = decodeUtf16(fileBytes, encoding);
    return readIntIn(Text<char16_t>(units), 1, section, key, defaultValue);
}

std::string readString(std::string_view fileBytes, std::string_view section, std::string_view key,
                       std::string_view defaultText, std::size_t bufferSize) {
    const Encoding encoding = encodingOf(fileBytes);
    if (encoding == Encoding::bytes && bytesStart(fileBytes) == 0) {
        const auto value = valueOf(fileBytes, 0, section, key);
        if (value) return std::string(inBuffer(*value, bufferSize));
    } else {
        // Text marked UTF-8 or UTF-16 comes back in the ANSI code page.
        const bool utf8 = encoding == Encoding::bytes;
        const std::u16string units = utf8 ? decodeUtf8(fileBytes.substr(3)) : decodeUtf16(fileBytes, encoding);
        const auto value = valueOf(Text<char16_t>(units), utf8 ? 0 : 1, section, key);
        if (value) {
            std::string text;
            for (const char16_t unit : inBuffer(*value, bufferSize)) text.push_back(ansiOf(unit));
            return text;
        }
    }
    // The default loses its trailing spaces (all but a first character), then goes through
    // the buffer as a value does.
    while (defaultText.size() > 1 && defaultText.back() == ' ') defaultText.remove_suffix(1);
    return std::string(inBuffer(defaultText, bufferSize));
}

Edit writeString(std::string_view fileBytes, std::string_view section, std::string_view key, std::string_view value) {
    Edit edit;
    const std::string_view lineEnds("\r\n\0", 3);
    if (hasAny(section, lineEnds) || hasAny(section, "]")) {
        edit.error = "a section name cannot hold a line end or ']'";
    } else if (trimmed(key).empty() || hasAny(key, lineEnds) || hasAny(key, "=")) {
        edit.error = "a key name must not be empty nor hold a line end or '='";
    } else if (hasAny(value, lineEnds)) {
        edit.error = "a value cannot hold a line end";
    }
    if (!edit.error.empty()) return edit;
    const Encoding encoding = encodingOf(fileBytes);
    if (encoding == Encoding::bytes) {
        edit.bytes = editIn(fileBytes, bytesStart(fileBytes), section, key, value, edit.changed);
    } else {
        if (!isAscii(section) || !isAscii(key) || !isAscii(value)) {
            edit.error = "only ASCII text can be written into a UTF-16 file";
            return edit;
        }
        const std::u16string units = decodeUtf16(fileBytes, encoding);
        const std::u16string edited = editIn(Text<char16_t>(units), 1, section, key, value, edit.changed);
        if (edit.changed) edit.bytes = encodeUtf16(edited, encoding, fileBytes.substr(units.size() * 2));
    }
    edit.ok = true;
    return edit;
}

std::vector<std::string> meaningOf(std::string_view text) {
    std::vector<std::string> meaning;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = at;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        const std::string_view line = trimmed(text.substr(at, end - at));
        at = end + (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n' ? 2 : 1);
        if (line.empty()) continue;
        // A NUL ends a name or a value.
        const auto name = [](std::string_view part) { return trimmed(part.substr(0, part.find('\0'))); };
        std::string& entry = meaning.emplace_back();
        const std::size_t close = line.rfind(']');
        const std::size_t equals = line.find('=');
        if (line[0] == '[' && close != std::string_view::npos && close > 0) {
            entry.append(1, '[').append(name(line.substr(1, close - 1))).append(1, ']');
        } else if (equals == std::string_view::npos) {
            entry.append(name(line));
        } else {
            entry.append(name(line.substr(0, equals))).append(1, '=').append(name(line.substr(equals + 1)));
        }
    }
    return meaning;
}

}  // namespace profile
