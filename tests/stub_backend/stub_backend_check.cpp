// The plug-in linked against the stub backend: the build proves that the stub provides every
// function of the seam; the run, that a module load starts from the initial values without
// any help from its backend, and that a frame runs on the stub's neutral answers.
#include <cstdio>

#include "menu/menu_rows.h"
#include "runtime/mod_state.h"
#include "runtime/script.h"
#include "seam.h"

int main() {
    mod.menuOpen = 1;
    mod.upgradeLevels[kWeaponUpgrade] = 4;
    mod.menuItemEnabled[kInstructionsRow] = 0;
    mod.encounterActive = true;
    moduleEntry(nullptr, 1, false);
    if (mod.menuOpen != 0 || mod.upgradeLevels[kWeaponUpgrade] != 1 || mod.menuItemEnabled[kInstructionsRow] != 1 || mod.encounterActive) {
        std::fprintf(stderr, "the module load kept the state of the one before\n");
        return 1;
    }
    runScriptFrame();
    if (mod.menuOpen != 0 || mod.encounterActive) {
        std::fprintf(stderr, "a frame without keys changed what the player sees\n");
        return 1;
    }
    return 0;
}
