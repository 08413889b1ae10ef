// Texts built for the screen live in fixed-size buffers: a steady frame allocates nothing,
// and a text too long for its buffer is cut, never overflowed.
#pragma once

#include <cstdint>

#include "runtime/mod_state.h"

struct TextBuffer {
    char chars[kTextCapacity] = {};
    int32_t length = 0;
};

// Copies text into a buffer of kTextCapacity bytes, cut to fit and always terminated.
void copyText(char* destination, const char* source);

// The plain decimal text of any 32-bit value: a "-" for negative ones and up to 10 digits.
struct DecimalText {
    char chars[12] = {};
};
DecimalText decimalText(int32_t number);

void appendText(TextBuffer& buffer, const char* text);
void appendNumber(TextBuffer& buffer, int32_t number);

// A float truncated toward zero, saturated to the 32-bit range; NaN gives 0. Every number
// shown or stored goes through it.
int32_t truncateToInt(float value);
