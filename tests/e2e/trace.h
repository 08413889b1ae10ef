// What the plug-in did in a game, frame by frame, written so that it reads the same on
// every platform: each native call with its arguments and the host's answer (floats to the
// last bit, addresses left out), each cue, each profile call. The same scenario played by
// Rotorstrike.asi under Wine and by the plug-in linked into the Linux simulated host must
// leave the same trace; a difference is a fault of the build.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "host.h"

namespace e2e {

class Trace {
public:
    // Appends the frame just run; a frame in which nothing happened leaves no line.
    void recordFrame(const sim::Host& host);
    // Appends a line of the scenario's own (the settings file at the end, say).
    void note(std::string_view line);
    const std::string& text() const { return text_; }

private:
    std::string text_;
    std::size_t cuesSeen_ = 0;
    std::size_t profileCallsSeen_ = 0;
};

// A native call as the trace prints it: "getEntityCoords(257, 0) -> (1, 2.5, 3)".
std::string describeCall(const sim::LoggedCall& call);
std::string describeProfileCall(const sim::ProfileCall& call);
// Bytes with their line ends and other control characters shown: "a=1\r\n" as "a=1\\r\\n".
std::string escaped(std::string_view bytes);

// The first line where two traces part, with the lines around it from each; empty when
// they are the same.
std::string firstDifference(std::string_view ours, std::string_view theirs, std::string_view oursName,
                            std::string_view theirsName);

}  // namespace e2e
