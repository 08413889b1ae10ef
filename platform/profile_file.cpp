// The profile (INI) file on platforms without the Windows profile functions.
#include "seam.h"

// Placeholders until the settings file is built: every key reads as its default and no
// write succeeds.
uint32_t readProfileInt(const char*, const char*, int32_t defaultValue, const char*) {
    return static_cast<uint32_t>(defaultValue);
}

bool writeProfileString(const char*, const char*, const char*, const char*) { return false; }
