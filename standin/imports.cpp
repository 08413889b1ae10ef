#include "imports.h"

#include <cstring>

namespace standin {

void forEachImport(HMODULE module, const std::function<void(const char*, const char*, void**)>& visit) {
    auto* const base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0) return;
    const auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
    for (; entry->Name != 0; ++entry) {
        const auto* dll = reinterpret_cast<const char*>(base + entry->Name);
        // The names stay in the lookup table; the loader overwrote the address table.
        const DWORD lookup = entry->OriginalFirstThunk != 0 ? entry->OriginalFirstThunk : entry->FirstThunk;
        const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA64*>(base + lookup);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA64*>(base + entry->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL64(names->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            visit(dll, reinterpret_cast<const char*>(byName->Name), reinterpret_cast<void**>(&slots->u1.Function));
        }
    }
}

void* patchImport(HMODULE module, const char* dll, const char* function, void* replacement) {
    void* original = nullptr;
    forEachImport(module, [&](const char* importDll, const char* importFunction, void** slot) {
        if (original != nullptr || _stricmp(importDll, dll) != 0 || std::strcmp(importFunction, function) != 0) return;
        DWORD protection = 0;
        if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection)) return;
        original = *slot;
        *slot = replacement;
        VirtualProtect(slot, sizeof *slot, protection, &protection);
    });
    return original;
}

}  // namespace standin
