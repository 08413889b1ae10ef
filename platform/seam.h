// Everything the plug-in needs from outside itself, in the plug-in's own words.
//
// A backend supplies these functions: on Windows, ScriptHookV's exports and the Win32 calls
// (platform/windows); on Linux, the simulated host (sim/) and the portable profile file
// (platform/profile_file.cpp); and the stub (platform/stub), the template for a new platform.
// A program chooses its backend at link time. No other file of the plug-in knows which backend
// it runs on, and none includes an OS header.
#pragma once

#include <cstdint>

// An opaque module handle: the plug-in's own module, as the loader gave it.
using ModuleHandle = void*;
using ScriptFunction = void (*)();

// ScriptHookV's six exports. The registered function is called again, on a fresh fibre, each
// time the game loads: the fibre before never runs again, and the module's data is kept.
void scriptRegister(ModuleHandle module, ScriptFunction function);
// Forgets the module's script; called as the module is freed.
void scriptUnregister(ModuleHandle module);
// Suspends the script fibre; 0 means until the host's next frame.
void scriptWait(uint32_t milliseconds);
void nativeInit(uint64_t hash);
void nativePush64(uint64_t argument);
// Runs the call begun by nativeInit; the result lies in the slots returned.
uint64_t* nativeCall();

// Milliseconds since some start, wrapping at 2^32.
uint32_t tickCount();
// Whether the key with this virtual-key code is down now. Any integer may come from the
// settings file: codes outside 1 to 254 are simply up.
bool isKeyDown(int32_t virtualKey);
// Whether the foreground window belongs to the game's process: a key read while another
// program has the focus was typed for that program.
bool gameHasFocus();

// The profile (INI) file, as the Windows functions read and write it. The path is passed
// as the plug-in holds it (".\Rotorstrike.ini"), relative to the game's folder.
uint32_t readProfileInt(const char* section, const char* key, int32_t defaultValue,
                        const char* path);
// The value as text, into buffer (size bytes, its closing NUL among them): blanks around it
// trimmed, surrounding quotes dropped, cut to fit; the default when the key is missing.
// Returns the text's length.
uint32_t readProfileString(const char* section, const char* key, const char* defaultValue, char* buffer,
                           uint32_t size, const char* path);
// True when the value was written.
bool writeProfileString(const char* section, const char* key, const char* value,
                        const char* path);

// Whether the settings file can be read. The profile functions cannot tell: for a missing
// file and for one another program has locked they answer the same defaults. So the file is
// opened for reading, shared, and held open until closeProfileFile, which keeps any other
// program from locking it between two reads of a load; our own reads and writes still work.
enum class ProfileFileState : int32_t {
    Missing = 0,     // no file, or no folder: the defaults are the file's values
    Readable = 1,    // held open until closeProfileFile
    Unreadable = 2,  // there, but locked by another program, a folder in its place, ...
};
ProfileFileState openProfileFile(const char* path);
// Lets go of the file opened by openProfileFile; nothing when it holds none.
void closeProfileFile();

// The sound cues carried by the plug-in's module (101: salvo warning, 102: counter-attack hit).
// A cue plays in the background and replaces any cue still playing.
void playCue(int32_t cueId);
void stopCues();

// The plug-in's module entry, which the plug-in provides and every backend calls: the Windows
// DllMain, the simulated host's load and unload. On process attach (reason 1) the plug-in
// starts from its initial state, whatever ran before, and registers its script with
// scriptRegister. On process detach (reason 0) with freed set, the module is being freed
// while the process goes on (DllMain's reserved is null): it unregisters its script and does
// nothing else, since the loader's lock is held. At process exit (freed clear) and for other
// reasons it does nothing. A backend resets nothing of the plug-in itself.
void moduleEntry(ModuleHandle module, uint32_t reason, bool freed);
