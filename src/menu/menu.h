// The in-game menu: eleven rows of levels, upgrades and instructions at the left edge of
// the screen, moved through with the numeric keypad.
#pragma once

#include <cstdint>

// One frame of the open menu: drawing, then its own keys (at most one acts per frame).
void runMenuFrame();
// Moves the cursor to the next selectable row up or down; rows 0 and 10 always stop it.
void moveMenuCursor(bool down);
// Acts on the row under the cursor: a level, a purchase, or the instructions panel.
void activateMenuItem();
void playNavSound();

// The menu itself, and the one text style of the menu and the instructions panel.
enum MenuTextStyle : int32_t { kMenuTextWhite = 0, kMenuTextGrey = 1 };
void drawMenu();
void drawMenuText(float x, float y, const char* text, int32_t style);
// The instructions panel beside the menu.
void drawInstructions();

// Tier labels, indexed by tier - 1.
extern const char* const armorTierNames[4];
extern const char* const weaponTierNames[4];
