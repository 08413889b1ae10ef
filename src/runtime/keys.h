// The hot keys and the menu keys share one 200 ms lockout: a key counts only while it is
// down and more than 200 ms have passed since the last accepted press. A bound key may be
// named in the settings file.
#pragma once

#include <cstdint>
#include <string_view>

// The lockout has passed (elapsed time, so the tick count's wrap does not lock keys out)
// and the key is down. Reads the tick count afresh.
bool keyAccepted(int32_t virtualKey);
// Records an accepted press at the current tick count.
void stampKeyTime();

// The virtual-key code of a key's name, in any case: F1 to F24, A to Z, NUM0 to NUM9 (the
// numeric keypad), SPACE, ENTER, TAB, BACKSPACE, INSERT, DELETE, HOME, END, PAGEUP,
// PAGEDOWN, LEFT, UP, RIGHT, DOWN, SHIFT, CONTROL, ALT. 0 for anything else, digits too.
int32_t keyCodeOfName(std::string_view name);
