// The settings and progress file, .\Rotorstrike.ini, section Rotorstrike.
#pragma once

// Reads the key bindings, options, unlocked levels and upgrades, and the menu's row flags.
void loadSettings();
