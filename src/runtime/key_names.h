// The names a key binding of the settings file may give a key, and how a binding is read:
// pure rules of text, shared with the autopilot and the soak, which press the bound keys.
#pragma once

#include <cstdint>
#include <string_view>

// The virtual-key code of a key's name, in any case: F1 to F24, A to Z, NUM0 to NUM9 (the
// numeric keypad), SPACE, ENTER, TAB, BACKSPACE, INSERT, DELETE, HOME, END, PAGEUP,
// PAGEDOWN, LEFT, UP, RIGHT, DOWN, SHIFT, CONTROL, ALT. 0 for anything else, digits too.
int32_t keyCodeOfName(std::string_view name);

// A binding written by name (open_menu_key=F10) reads as 0 as a number, as does any text:
// only then is it read again as text, into a buffer of this size, and a name taken for its
// code. Room for the longest name and more: a value cut to fit is never taken for a name.
constexpr uint32_t kKeyNameBuffer = 16;
int32_t keyCodeOfBindingText(std::string_view text);
// A binding's code as the settings load reads it: readNumber() first, and readText() (the
// text as read into kKeyNameBuffer bytes) only when the number is 0.
template <typename ReadNumber, typename ReadText>
uint32_t readBindingWith(ReadNumber readNumber, ReadText readText) {
    const uint32_t code = readNumber();
    if (code != 0) return code;
    return static_cast<uint32_t>(keyCodeOfBindingText(readText()));
}
