// A script of profile-file reads and writes, run the same way over two implementations:
// Wine's real GetPrivateProfileIntA and WritePrivateProfileStringA, and our Linux profile
// code. Each run writes a transcript; the two transcripts must be identical.
//
// One step a line; '#' starts a comment line:
//   get FILE SECTION KEY DEFAULT   the value as GetPrivateProfileIntA returns it (unsigned)
//   set FILE SECTION KEY VALUE     writes as WritePrivateProfileStringA does: ok or failed
//   keys FILE                      a get of each key the plug-in reads, with its default
// FILE is a name inside the run's folder. A field is a bare word or "quoted"; inside quotes
// \" \\ \t \r \n and \xHH stand for their characters. DEFAULT is a 32-bit integer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace settings_script {

struct Step {
    int line = 0;
    enum class Op { get, set, keys } op = Op::get;
    std::string file, section, key;
    std::string value;         // set
    int32_t defaultValue = 0;  // get
};

// The steps of a script; on a malformed line, error names it and the result is empty.
std::vector<Step> parseScript(std::string_view text, std::string& error);

// The profile functions of one implementation, on files named inside the run's folder.
class Backend {
public:
    virtual ~Backend() = default;
    virtual uint32_t get(const std::string& file, const std::string& section, const std::string& key,
                         int32_t defaultValue) = 0;
    virtual bool set(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) = 0;
};

// Runs the steps in order; one transcript line a step: "LINE get FILE [SECTION] KEY -> VALUE"
// or "LINE set FILE [SECTION] KEY=VALUE -> ok".
std::string runScript(const std::vector<Step>& steps, Backend& backend);

// Every file a step names, once each, in the order of first mention.
std::vector<std::string> filesNamed(const std::vector<Step>& steps);

}  // namespace settings_script
