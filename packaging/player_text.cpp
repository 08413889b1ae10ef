// player-text (markdown | plain) IN OUT: a text file of the release archive as players read
// it, in any text editor on Windows: lines of at most 78 columns ending in CRLF.
//
// markdown (the guide, the changelog): headings underlined, paragraphs and list items
// wrapped (items with a hanging indent), tables as aligned columns between two rules (a cell
// too wide for its column wraps inside it), and no Markdown marks (no '#', '**', backticks
// or pipes). It knows the Markdown these are written in: headings of levels 1 to 3,
// paragraphs, lists ("- " and "1. "), tables, bold and code spans. Anything else it refuses,
// so that no mark reaches the player's copy unnoticed.
//
// plain (the licence, the example settings file): each line as it stands, with CRLF.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kWidth = 78;
constexpr std::size_t kColumnGap = 2;

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string trimmed(const std::string& text) {
    const std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos) return {};
    return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

bool startsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

// The text without its bold and code marks; a mark the converter does not know fails.
std::string plain(const std::string& text, int line) {
    std::string out;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text.compare(at, 2, "**") == 0) {
            ++at;
            continue;
        }
        if (text[at] == '`') continue;
        if (text[at] == '|' || text.compare(at, 2, "](") == 0) {
            throw Failure("line " + std::to_string(line) + ": Markdown this converter does not know: " + text);
        }
        out.push_back(text[at]);
    }
    return out;
}

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

// The words filled into lines of at most width columns; a word longer than that stands alone.
std::vector<std::string> wrapped(const std::string& text, std::size_t width) {
    std::vector<std::string> lines;
    std::string line;
    for (const std::string& word : words(text)) {
        if (!line.empty() && line.size() + 1 + word.size() > width) {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty() || lines.empty()) lines.push_back(line);
    return lines;
}

class Writer {
public:
    void line(const std::string& text) {
        std::string kept = text;
        while (!kept.empty() && kept.back() == ' ') kept.pop_back();
        if (kept.size() > kWidth) throw Failure("a line over " + std::to_string(kWidth) + " columns: " + kept);
        out_ += kept + "\r\n";
    }
    // One blank line between blocks.
    void block() {
        if (!out_.empty()) line("");
    }
    const std::string& text() const { return out_; }

private:
    std::string out_;
};

void heading(Writer& out, int level, const std::string& title) {
    out.block();
    out.line(title);
    out.line(std::string(title.size(), level == 1 ? '=' : level == 2 ? '-' : '~'));
}

// A list item: its marker, then the text wrapped under the text's first column.
void listItem(Writer& out, const std::string& marker, const std::string& text) {
    const std::string indent(marker.size(), ' ');
    const std::vector<std::string> lines = wrapped(text, kWidth - marker.size());
    for (std::size_t index = 0; index < lines.size(); ++index) out.line((index == 0 ? marker : indent) + lines[index]);
}

std::vector<std::string> cellsOf(const std::string& row, int line) {
    const std::string inner = trimmed(row);
    if (inner.size() < 2 || inner.front() != '|' || inner.back() != '|') {
        throw Failure("line " + std::to_string(line) + ": a table row must start and end with '|'");
    }
    std::vector<std::string> cells;
    std::size_t from = 1;
    for (std::size_t bar = inner.find('|', from); bar != std::string::npos; bar = inner.find('|', from)) {
        cells.push_back(trimmed(inner.substr(from, bar - from)));
        from = bar + 1;
    }
    return cells;
}

// The columns' widths: each as wide as its widest cell; while the table is too wide, the
// widest column that can give a column gives one, down to its longest word.
std::vector<std::size_t> columnWidths(const std::vector<std::vector<std::string>>& rows) {
    const std::size_t columns = rows.front().size();
    std::vector<std::size_t> widths(columns, 0), narrowest(columns, 1);
    for (const auto& row : rows) {
        for (std::size_t column = 0; column < columns; ++column) {
            widths[column] = std::max(widths[column], row[column].size());
            for (const std::string& word : words(row[column])) narrowest[column] = std::max(narrowest[column], word.size());
        }
    }
    auto total = [&] {
        std::size_t sum = kColumnGap * (columns - 1);
        for (const std::size_t width : widths) sum += width;
        return sum;
    };
    while (total() > kWidth) {
        std::size_t widest = columns;
        for (std::size_t column = 0; column < columns; ++column) {
            if (widths[column] > narrowest[column] && (widest == columns || widths[column] > widths[widest])) widest = column;
        }
        if (widest == columns) throw Failure("a table too wide for " + std::to_string(kWidth) + " columns");
        --widths[widest];
    }
    return widths;
}

void table(Writer& out, const std::vector<std::string>& source, int firstLine) {
    if (source.size() < 2 || cellsOf(source[1], firstLine + 1).empty() ||
        trimmed(source[1]).find_first_not_of("|-: ") != std::string::npos) {
        throw Failure("line " + std::to_string(firstLine) + ": a table needs a header and a rule of '|---|'");
    }
    std::vector<std::vector<std::string>> rows;
    for (std::size_t index = 0; index < source.size(); ++index) {
        if (index == 1) continue;
        const int line = firstLine + static_cast<int>(index);
        std::vector<std::string> cells = cellsOf(source[index], line);
        for (std::string& cell : cells) cell = plain(cell, line);
        if (!rows.empty() && cells.size() != rows.front().size()) {
            throw Failure("line " + std::to_string(line) + ": a row of another number of cells");
        }
        rows.push_back(std::move(cells));
    }
    const std::vector<std::size_t> widths = columnWidths(rows);
    std::vector<std::vector<std::vector<std::string>>> laidOut;  // row, column, line
    bool wraps = false;
    for (const auto& row : rows) {
        auto& cells = laidOut.emplace_back();
        for (std::size_t column = 0; column < row.size(); ++column) {
            cells.push_back(wrapped(row[column], widths[column]));
            wraps = wraps || cells.back().size() > 1;
        }
    }
    std::string rule;
    for (std::size_t column = 0; column < widths.size(); ++column) {
        rule += (column == 0 ? "" : std::string(kColumnGap, ' ')) + std::string(widths[column], '-');
    }
    out.block();
    for (std::size_t row = 0; row < laidOut.size(); ++row) {
        // Rows of more than one line stand apart, so that each reads as one.
        if (row > 1 && wraps) out.line("");
        std::size_t height = 0;
        for (const auto& cell : laidOut[row]) height = std::max(height, cell.size());
        for (std::size_t line = 0; line < height; ++line) {
            std::string text;
            for (std::size_t column = 0; column < widths.size(); ++column) {
                const auto& cell = laidOut[row][column];
                std::string part = line < cell.size() ? cell[line] : "";
                part.resize(widths[column], ' ');
                text += (column == 0 ? "" : std::string(kColumnGap, ' ')) + part;
            }
            out.line(text);
        }
        if (row == 0) out.line(rule);
    }
    out.line(rule);
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string plainText(const std::string& text) {
    Writer out;
    for (const std::string& line : linesOf(text)) out.line(line);
    return out.text();
}

std::string convert(const std::string& markdown) {
    const std::vector<std::string> lines = linesOf(markdown);
    Writer out;
    std::size_t at = 0;
    while (at < lines.size()) {
        const std::string& line = lines[at];
        const int number = static_cast<int>(at) + 1;
        if (trimmed(line).empty()) {
            ++at;
        } else if (startsWith(line, "#")) {
            const std::size_t level = line.find_first_not_of('#');
            if (level > 3 || level == std::string::npos || line[level] != ' ') {
                throw Failure("line " + std::to_string(number) + ": a heading must be '# ', '## ' or '### '");
            }
            heading(out, static_cast<int>(level), plain(trimmed(line.substr(level)), number));
            ++at;
        } else if (startsWith(trimmed(line), "|")) {
            std::vector<std::string> rows;
            for (; at < lines.size() && startsWith(trimmed(lines[at]), "|"); ++at) rows.push_back(lines[at]);
            table(out, rows, number);
        } else if (startsWith(line, "```") || startsWith(line, ">") || startsWith(line, "    ")) {
            throw Failure("line " + std::to_string(number) + ": Markdown this converter does not know: " + line);
        } else {
            // A paragraph, or a list: its items begin with "- " or "N. " and go on in the
            // indented lines below them.
            auto markerOf = [](const std::string& text) -> std::string {
                if (startsWith(text, "- ")) return "- ";
                const std::size_t dot = text.find_first_not_of("0123456789");
                if (dot > 0 && dot != std::string::npos && text.compare(dot, 2, ". ") == 0) return text.substr(0, dot + 2);
                return {};
            };
            const bool list = !markerOf(line).empty();
            out.block();
            while (at < lines.size() && !trimmed(lines[at]).empty() && !startsWith(lines[at], "#") &&
                   !startsWith(trimmed(lines[at]), "|")) {
                std::string marker = list ? markerOf(lines[at]) : "";
                std::string text = lines[at].substr(marker.size());
                const int first = static_cast<int>(at) + 1;
                for (++at; at < lines.size() && !trimmed(lines[at]).empty() && !startsWith(lines[at], "#") &&
                           !startsWith(trimmed(lines[at]), "|") && (!list || markerOf(lines[at]).empty());
                     ++at) {
                    text += " " + trimmed(lines[at]);
                }
                listItem(out, marker, plain(text, first));
            }
        }
    }
    return out.text();
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc == 4 ? argv[1] : "";
    if (mode != "markdown" && mode != "plain") {
        std::fputs("usage: player-text (markdown | plain) IN OUT\n", stderr);
        return 2;
    }
    const char* const source = argv[2];
    const char* const target = argv[3];
    std::ifstream in(source, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "player-text: cannot read %s\n", source);
        return 1;
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    try {
        const std::string converted = mode == "markdown" ? convert(text) : plainText(text);
        std::ofstream out(target, std::ios::binary | std::ios::trunc);
        out << converted;
        if (!out.flush()) throw Failure(std::string("cannot write ") + target);
    } catch (const Failure& failure) {
        std::fprintf(stderr, "player-text: %s: %s\n", source, failure.what());
        std::remove(target);
        return 1;
    }
    return 0;
}
