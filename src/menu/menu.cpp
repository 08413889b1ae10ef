#include "menu/menu.h"

// Placeholder until the menu is built: an open menu draws nothing and reads no keys.
void runMenuFrame() {}
