// A script of profile-file reads and writes, run the same way over two implementations:
// Wine's real GetPrivateProfileIntA, GetPrivateProfileStringA and WritePrivateProfileStringA,
// and our Linux profile code. Each run writes a transcript; the two transcripts must be
// identical.
//
// One step a line; '#' starts a comment line:
//   get FILE SECTION KEY DEFAULT        the value as GetPrivateProfileIntA returns it (unsigned)
//   text FILE SECTION KEY DEFAULT SIZE  the value as GetPrivateProfileStringA leaves it in a
//                                       buffer of SIZE bytes, and the length it returns
//   set FILE SECTION KEY VALUE          writes as WritePrivateProfileStringA does: ok or failed
//   keys FILE                           each read the plug-in makes: a get of each key with its
//                                       default, and a text read of each key binding
// FILE is a name inside the run's folder. A field is a bare word or "quoted"; inside quotes
// \" \\ \t \r \n and \xHH stand for their characters. A get's DEFAULT is a 32-bit
// integer, a text read's any text; SIZE is 0 to 1024.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace settings_script {

struct Step {
    int line = 0;
    enum class Op { get, text, set, keys } op = Op::get;
    std::string file, section, key;
    std::string value;         // set; text: the default
    int32_t defaultValue = 0;  // get
    uint32_t bufferSize = 0;   // text
};

// What a text read left: the length returned, and the buffer's text up to its NUL.
struct TextRead {
    uint32_t length = 0;
    std::string text;
};

// The steps of a script; on a malformed line, error names it and the result is empty.
std::vector<Step> parseScript(std::string_view text, std::string& error);

// The profile functions of one implementation, on files named inside the run's folder.
class Backend {
public:
    virtual ~Backend() = default;
    virtual uint32_t get(const std::string& file, const std::string& section, const std::string& key,
                         int32_t defaultValue) = 0;
    virtual TextRead text(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& defaultText, uint32_t bufferSize) = 0;
    virtual bool set(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) = 0;
};

// Runs the steps in order; one transcript line a read or write: "LINE get FILE [SECTION] KEY
// -> VALUE", "LINE text FILE [SECTION] KEY -> LENGTH "TEXT"" or "LINE set FILE [SECTION]
// KEY=VALUE -> ok".
std::string runScript(const std::vector<Step>& steps, Backend& backend);

// Every file a step names, once each, in the order of first mention.
std::vector<std::string> filesNamed(const std::vector<Step>& steps);

}  // namespace settings_script
