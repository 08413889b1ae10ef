// The in-game menu of levels, upgrades and instructions.
#pragma once

// One frame of the open menu: drawing and its own keys.
void runMenuFrame();
