// The module entry of Rotorstrike.asi: the loader's DllMain hands everything to the
// plug-in's portable moduleEntry, which registers the script on process attach.
#include <windows.h>

#include "seam.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    moduleEntry(module, reason);
    return TRUE;
}
