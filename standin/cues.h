// The sound cues as the system finds them: WAVE resources of a loaded module.
#pragma once

#include <windows.h>

#include <string>

namespace standin {

// Why resource id of type WAVE, language 1033, in module is not one of the plug-in's cues
// (a RIFF WAVE file of IEEE floats, 2 channels, 44100 Hz, 32 bits, with the cue's data
// size), read with FindResourceEx and LoadResource; empty when it is one.
std::string cueResourceFault(HMODULE module, int id);

}  // namespace standin
