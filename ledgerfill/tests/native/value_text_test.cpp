#include "value_text.h"

#include "value_text_cases.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

// Exactly the room the callers promise, on the heap so that a write past it
// is caught by the address sanitizer.
std::unique_ptr<char[]> caller_buffer()
{
    auto buffer = std::make_unique<char[]>(value_text_size);
    std::memset(buffer.get(), 'x', value_text_size);
    return buffer;
}

std::vector<std::string> told;
void record_told(const char* message) { told.push_back(message); }

class SplitRatio : public ::testing::Test {
protected:
    void SetUp() override
    {
        told.clear();
        split_ratio_reporter = record_told;
    }
    void TearDown() override { split_ratio_reporter = nullptr; }
};

TEST(NumberText, RoundsByOffsetPrintAndCut)
{
    for (const auto& c : number_text_cases) {
        auto out = caller_buffer();
        EXPECT_EQ(out.get(), number_text(c.value, c.decimals, out.get()));
        EXPECT_STREQ(c.text, out.get()) << "value " << c.value << " at " << c.decimals << " decimals";
    }
}

TEST_F(SplitRatio, GivesWholePartAndRemainder)
{
    struct {
        double ori, dou, whole, rest;
    } const cases[] = {
        {62, 60, 1, 2},
        {60, 60, 1, 0},
        {125, 60, 2, 5},
        {7200, 60, 120, 0},
        {7.5, 2, 3, 1.5},
        // The whole part is what the six-decimal print of the quotient shows.
        {119.99999, 60, 2, 119.99999 - 120},
        {119.9999, 60, 1, 59.9999},
    };
    for (const auto& c : cases) {
        double whole = -1, rest = -1;
        EXPECT_EQ(1, split_ratio(c.ori, c.dou, &whole, &rest)) << c.ori << " / " << c.dou;
        EXPECT_EQ(c.whole, whole) << c.ori << " / " << c.dou;
        EXPECT_DOUBLE_EQ(c.rest, rest) << c.ori << " / " << c.dou;
    }
    EXPECT_TRUE(told.empty());
}

TEST_F(SplitRatio, RefusesAFirstNumberBelowTheDivisorWithTheMessage)
{
    double whole = -1, rest = -1;
    EXPECT_EQ(0, split_ratio(59, 60, &whole, &rest));
    EXPECT_EQ(-1, whole);
    EXPECT_EQ(-1, rest);
    EXPECT_EQ(std::vector<std::string>{"ori_number < dou_number, err!"}, told);

    split_ratio_reporter = nullptr;  // nobody to tell: still refuses
    EXPECT_EQ(0, split_ratio(-std::numeric_limits<double>::infinity(), 60, &whole, &rest));
    EXPECT_EQ(-1, whole);
}

TEST_F(SplitRatio, RefusesWhatItCannotDivideWithoutAMessage)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct {
        double ori, dou;
    } const cases[] = {
        {5, 0}, {0, 0}, {5, -60}, {-60, -60}, {nan, 60}, {60, nan}, {inf, 60}, {inf, inf}, {1e308, 1e-300},
    };
    for (const auto& c : cases) {
        double whole = -1, rest = -1;
        EXPECT_EQ(0, split_ratio(c.ori, c.dou, &whole, &rest)) << c.ori << " / " << c.dou;
        EXPECT_EQ(-1, whole);
        EXPECT_EQ(-1, rest);
    }
    EXPECT_TRUE(told.empty());
}

TEST(MinutesText, ShowsHoursAndTwoDigitMinutes)
{
    for (const auto& c : minutes_text_cases) {
        auto out = caller_buffer();
        minutes_text(c.minutes, out.get());
        EXPECT_STREQ(c.text, out.get()) << c.minutes << " minutes";
    }
}

}  // namespace
