// The in-game menu: the rows of kMenuTable (levels, upgrades and instructions) at the left
// edge of the screen, moved through with the numeric keypad.
#pragma once

#include <cstdint>

#include "menu/menu_rows.h"
#include "rules.h"

// One frame of the open menu: drawing, then its own keys (at most one acts per frame).
void runMenuFrame();
// Which rows the cursor may stop on, from the settings in memory: the open levels and the
// upgrades the points can buy. Called after every settings load.
void updateMenuRows();
// The tier an upgrade's row sells the next of.
int32_t upgradeTier(int32_t row);
// An upgrade's row sells while its points are there and its tier is below the top.
bool upgradeForSale(int32_t row);
// A settings load, and the rows from it.
void loadMenuSettings();
// Moves the cursor to the next selectable row up or down; the first and last rows always stop it.
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
