// Numbers shown or stored: truncation toward zero, saturated, and their decimal text.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "runtime/text.h"

namespace {

TEST(TruncateToInt, TruncatesTowardZeroAndSaturates) {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    const struct {
        float value;
        int32_t expected;
    } cases[] = {
        {1234.9f, 1234},     {-1234.9f, -1234},  {0.99f, 0},
        {-0.0f, 0},          {NAN, 0},           {-NAN, 0},
        {INFINITY, kMax},    {-INFINITY, kMin},  {2147483648.0f, kMax},
        {-2147483648.0f, kMin}, {3e38f, kMax},   {-3e38f, kMin},
        {2147483520.0f, 2147483520},  // the largest float below 2^31
    };
    for (const auto& c : cases) EXPECT_EQ(truncateToInt(c.value), c.expected) << c.value;
}

TEST(TextBuffer, AppendsNumbersAndCutsAtCapacity) {
    TextBuffer buffer;
    appendText(buffer, "Score: ");
    appendNumber(buffer, std::numeric_limits<int32_t>::min());
    appendText(buffer, " / ");
    appendNumber(buffer, 0);
    appendText(buffer, " / ");
    appendNumber(buffer, 2147483647);
    EXPECT_STREQ(buffer.chars, "Score: -2147483648 / 0 / 2147483647");

    for (int i = 0; i < 100; ++i) appendText(buffer, "0123456789");
    EXPECT_EQ(buffer.length, kTextCapacity - 1);
    EXPECT_EQ(buffer.chars[kTextCapacity - 1], '\0');
}

}  // namespace
