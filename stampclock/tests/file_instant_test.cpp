#include "file_instant.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <ctime>

namespace {

class LocalFieldsInBerlin : public testing::Test {
protected:
    void SetUp() override
    {
        const char* old = std::getenv("TZ");
        saved_ = old ? old : "";
        had_ = old != nullptr;
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
    }
    void TearDown() override
    {
        if (had_)
            setenv("TZ", saved_.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    std::string saved_;
    bool had_ = false;
};

TEST_F(LocalFieldsInBerlin, SummerAndWinterDatesTakeTheirOwnOffset)
{
    struct {
        int fields[6];
        int64_t expected;  // seconds since 1970 UTC
    } cases[] = {
        {{2014, 7, 1, 12, 0, 0}, 1404208800},   // 10:00 UTC, summer time
        {{2014, 1, 15, 12, 0, 0}, 1389783600},  // 11:00 UTC, winter time
        {{2014, 13, 1, 0, 0, 0}, 1420066800},   // month 13: 2015-01-01
        {{2014, 4, 31, 8, 0, 0}, 1398924000},   // April 31st: May 1st
        {{2014, 3, 10, 24, 0, 0}, 1394492400},  // hour 24: next day 00:00
        {{1970, 1, 1, 1, 0, 0}, 0},             // the first storable instant
        {{2038, 1, 19, 4, 14, 7}, 2147483647},  // the last one
    };
    for (const auto& c : cases) {
        int64_t instant = -1;
        const int* f = c.fields;
        ASSERT_TRUE(local_fields_to_instant(f[0], f[1], f[2], f[3], f[4], f[5], &instant)) << f[0] << "-" << f[1];
        EXPECT_EQ(c.expected, instant) << f[0] << "-" << f[1] << "-" << f[2] << " " << f[3];
    }
}

TEST_F(LocalFieldsInBerlin, InstantsOutsideThe32BitRangeAreRefused)
{
    int64_t instant = 42;
    EXPECT_FALSE(local_fields_to_instant(1970, 1, 1, 0, 59, 59, &instant));  // 1969 in UTC
    EXPECT_FALSE(local_fields_to_instant(2038, 1, 19, 4, 14, 8, &instant));
    EXPECT_FALSE(local_fields_to_instant(1900, 1, 1, 0, 0, 0, &instant));
    EXPECT_FALSE(local_fields_to_instant(2100, 6, 1, 0, 0, 0, &instant));
    // Fields so far out that taking the calendar's offsets off them would overflow.
    EXPECT_FALSE(local_fields_to_instant(INT_MIN, 6, 1, 0, 0, 0, &instant));
    EXPECT_FALSE(local_fields_to_instant(2014, INT_MIN, 1, 0, 0, 0, &instant));
    EXPECT_EQ(42, instant);
}

TEST(FileTicks, CountFrom1601InHundredNanoseconds)
{
    EXPECT_EQ(116444736000000000ull, instant_to_file_ticks(0));
    EXPECT_EQ(116444736000000000ull + 2147483647ull * 10000000ull, instant_to_file_ticks(2147483647));
}

}  // namespace
