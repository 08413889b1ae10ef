#include "runtime/text.h"

#include <limits>

void copyText(char* destination, const char* source) {
    if (destination == source) return;
    int32_t length = 0;
    while (length < kTextCapacity - 1 && source[length] != '\0') {
        destination[length] = source[length];
        ++length;
    }
    destination[length] = '\0';
}

void appendText(TextBuffer& buffer, const char* text) {
    while (buffer.length < kTextCapacity - 1 && *text != '\0') buffer.chars[buffer.length++] = *text++;
    buffer.chars[buffer.length] = '\0';
}

DecimalText decimalText(int32_t number) {
    // Digits are produced from the unsigned magnitude, so the most negative value is safe.
    char digits[12];
    int32_t count = 0;
    uint32_t magnitude = number < 0 ? 0u - static_cast<uint32_t>(number) : static_cast<uint32_t>(number);
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (number < 0) digits[count++] = '-';
    DecimalText text;
    for (int32_t i = 0; i < count; ++i) text.chars[i] = digits[count - 1 - i];
    return text;
}

void appendNumber(TextBuffer& buffer, int32_t number) { appendText(buffer, decimalText(number).chars); }

int32_t truncateToInt(float value) {
    if (value != value) return 0;
    if (value >= 2147483648.0f) return std::numeric_limits<int32_t>::max();
    if (value < -2147483648.0f) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}
