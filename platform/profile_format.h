// The text of a profile (INI) file, read and edited as the Windows profile functions read
// and write it, so that a file means the same on every platform. Pure functions over the
// file's bytes; platform/profile_file.h puts them on real files.
//
// Reading: names are case-insensitive and trimmed of spaces (also inside the brackets);
// the first matching section and, in it, the first matching key win; the lines before the
// first section header form a section named ""; LF, CRLF and CR end lines; a NUL ends a
// name or a value. Integers and text as the Windows integer and string functions read them.
// Text is bytes (an ANSI or UTF-8 file, a UTF-8 byte-order mark skipped) or UTF-16 with
// its byte-order mark.
//
// Writing: an existing key's line becomes key=value (the key's own spelling and indent
// kept); a new key goes after the last line of its section that is not blank (a comment
// counts, as it does for the Windows functions), or after its header; a missing section is
// appended to the file. Names and the value are written without blanks around them. New
// lines end with CRLF; every other byte stays as it was.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace profile {

// The key's value read as an unsigned 32-bit integer: surrounding quotes dropped, control
// characters and spaces skipped, an optional sign, decimal digits or 0x / 0o / 0b and
// digits of that base, up to the first character that does not belong, modulo 2^32. A
// missing or empty value gives the default.
uint32_t readInt(std::string_view fileBytes, std::string_view section, std::string_view key,
                 int32_t defaultValue);

// The key's value as GetPrivateProfileStringA leaves it in a buffer of bufferSize bytes,
// its closing NUL among them: blanks around it trimmed, surrounding quotes dropped, cut to
// what fits (its size is what the function returns). A missing file, section or key, or a
// key without '=', gives the default (its trailing spaces dropped, then taken as a value
// is). The text is in the ANSI code page (Windows-1252): a UTF-8 or UTF-16 file's
// characters that it lacks read as '?'.
std::string readString(std::string_view fileBytes, std::string_view section, std::string_view key,
                       std::string_view defaultText, std::size_t bufferSize);

struct Edit {
    bool ok = false;
    bool changed = false;  // false: the file already holds the value, or the edit failed
    std::string bytes;     // the whole new file, when changed
    std::string error;     // why not, when not ok
};

// The file's bytes with key=value written into section. Fails only for text a profile
// line cannot hold (a line end, a ']' in the section, an '=' in the key, an empty key).
Edit writeString(std::string_view fileBytes, std::string_view section, std::string_view key,
                 std::string_view value);

// What a file of single bytes means: its sections and entries in order, as "[name]" and
// "key=value" with the names and values trimmed (a NUL ends each), blank lines and line
// ends gone. A line without '=' (a comment, a bare word) is a name. Two files that mean the
// same read the same.
std::vector<std::string> meaningOf(std::string_view text);

}  // namespace profile
