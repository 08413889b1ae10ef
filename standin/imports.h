// The import table of a loaded module, read in memory: which functions it imports from which
// DLL, and the slots the loader filled with their addresses.
#pragma once

#include <windows.h>

#include <functional>

namespace standin {

// Calls visit(dll, function, slot) for each function the module imports by name.
void forEachImport(HMODULE module, const std::function<void(const char* dll, const char* function, void** slot)>& visit);

// Points the module's import of dll!function at replacement; returns what the slot held,
// or null when the module does not import that function.
void* patchImport(HMODULE module, const char* dll, const char* function, void* replacement);

}  // namespace standin
