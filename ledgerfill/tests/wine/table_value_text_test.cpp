// The value texts as the Windows build makes them: its C library prints the
// six decimals the rounding relies on.
#include "value_text.h"

#include "../native/value_text_cases.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(ValueTextOnWindows, NumberTextMatchesTheCases)
{
    for (const auto& c : number_text_cases) {
        char out[value_text_size];
        std::memset(out, 'x', sizeof out);
        EXPECT_STREQ(c.text, number_text(c.value, c.decimals, out)) << c.value << " at " << c.decimals;
    }
}

TEST(ValueTextOnWindows, MinutesTextMatchesTheCases)
{
    for (const auto& c : minutes_text_cases) {
        char out[value_text_size];
        std::memset(out, 'x', sizeof out);
        minutes_text(c.minutes, out);
        EXPECT_STREQ(c.text, out) << c.minutes << " minutes";
    }
}

}  // namespace
