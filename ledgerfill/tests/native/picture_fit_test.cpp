#include "picture_fit.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

range_box range(double left, double top, double width, double height)
{
    range_box box;
    box.left = left;
    box.top = top;
    box.width = width;
    box.height = height;
    return box;
}

struct fit_case {
    const char* name;
    range_box rect;
    long pixel_width, pixel_height;
    double left, top, width, height;
};

TEST(FitPicture, KeepsProportionsCentresAndKeepsTheMarginOnTheLimitingSide)
{
    const fit_case cases[] = {
        // Wider range than the picture: the height limits.
        {"height limits", range(50, 20, 200, 100), 400, 300, 50 + (200 - 92 / 0.75) / 2, 24, 92 / 0.75, 92},
        // Taller range than the picture: the width limits.
        {"width limits", range(0, 0, 100, 200), 400, 300, 4, 65.5, 92, 69},
        // Same proportions: the height branch, w = W - 8 W / H.
        {"equal ratio", range(10, 30, 200, 150), 400, 300, 10 + 8 * 200.0 / 150 / 2, 34, 200 - 8 * 200.0 / 150, 142},
        {"square in square", range(0, 0, 50, 50), 7, 7, 4, 4, 42, 42},
        // Picture taller than a narrow range is wide: the height still limits.
        {"tall picture, narrow range", range(0, 0, 5, 100), 1, 1000, 2.5 - 0.046, 4, 0.092, 92},
    };
    for (const fit_case& c : cases) {
        SCOPED_TRACE(c.name);
        picture_place place;
        ASSERT_TRUE(fit_picture(c.rect, c.pixel_width, c.pixel_height, &place));
        EXPECT_NEAR(c.left, place.left, 1e-9);
        EXPECT_NEAR(c.top, place.top, 1e-9);
        EXPECT_NEAR(c.width, place.width, 1e-9);
        EXPECT_NEAR(c.height, place.height, 1e-9);
    }
}

TEST(FitPicture, TheWorkedExampleIsExactInDoublePrecision)
{
    picture_place place;
    ASSERT_TRUE(fit_picture(range(50, 20, 200, 100), 400, 300, &place));
    EXPECT_DOUBLE_EQ(92.0, place.height);
    EXPECT_DOUBLE_EQ(92.0 / 0.75, place.width);
    EXPECT_DOUBLE_EQ((200 - 92.0 / 0.75) * 0.5 + 50, place.left);
    EXPECT_DOUBLE_EQ(24.0, place.top);
}

TEST(FitPicture, PlacesNothingWithoutAreaOrRoomAndNeverDividesByZero)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct {
        const char* name;
        range_box rect;
        long pixel_width, pixel_height;
    } cases[] = {
        {"picture width 0", range(0, 0, 100, 100), 0, 10},
        {"picture height 0", range(0, 0, 100, 100), 10, 0},
        {"negative picture", range(0, 0, 100, 100), -4, 10},
        {"range width 0", range(0, 0, 0, 100), 10, 10},
        {"range height 0", range(0, 0, 100, 0), 10, 10},
        {"empty range", range(0, 0, 0, 0), 10, 10},
        {"negative range", range(0, 0, -20, 100), 10, 10},
        {"limiting side below the margin", range(0, 0, 100, 6), 10, 10},
        {"limiting side exactly the margin", range(0, 0, 8, 100), 10, 10},
        {"not a number", range(0, 0, nan, 100), 10, 10},
        {"infinite", range(0, 0, inf, 100), 10, 10},
        {"left not a number", range(nan, 0, 100, 100), 10, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        picture_place place;
        place.left = 123;
        EXPECT_FALSE(fit_picture(c.rect, c.pixel_width, c.pixel_height, &place));
        EXPECT_EQ(123, place.left);
    }
}

}  // namespace
