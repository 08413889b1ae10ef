// The module entry of Rotorstrike.asi: the loader's DllMain hands everything to the
// plug-in's portable moduleEntry, which registers the script on process attach and
// unregisters it when the module is freed (a detach with a null reserved; at process exit
// reserved is not null).
#include <windows.h>

#include "seam.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
    moduleEntry(module, reason, reason == DLL_PROCESS_DETACH && reserved == nullptr);
    return TRUE;
}
