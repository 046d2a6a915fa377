#include "margin_search.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <vector>

namespace {

constexpr uint32_t white = 0xFFFFFFFF;

// A white picture in 32-bit ARGB rows; extra_bytes pads each row as a
// library's stride may.
struct picture {
    int width, height;
    ptrdiff_t stride;
    std::vector<uint8_t> bytes;

    picture(int w, int h, int extra_bytes = 0, uint32_t fill = white)
        : width(w), height(h), stride(4 * w + extra_bytes), bytes(static_cast<size_t>(stride) * h, 0xAB)
    {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                set(x, y, fill);
    }
    void set(int x, int y, uint32_t argb) { std::memcpy(&bytes[stride * y + 4 * x], &argb, 4); }
    pixel_rows rows() const
    {
        pixel_rows view;
        view.row0 = bytes.data();
        view.width = width;
        view.height = height;
        view.stride = stride;
        return view;
    }
};

struct spot {
    int x, y;
    uint32_t argb;
};

struct margin_case {
    const char* name;
    int width, height;
    std::vector<spot> spots;
    int top, bottom, left, right;
};

TEST(FindContent, KeepsTheSmallestRectangleHoldingEveryNonWhitePixel)
{
    std::vector<spot> block;
    for (int y = 50; y <= 149; ++y)
        for (int x = 100; x <= 299; x += (y == 50 || y == 149) ? 1 : 199)
            block.push_back({x, y, 0xFF000000});
    const margin_case cases[] = {
        {"rectangle in the middle", 500, 400, block, 50, 149, 100, 299},
        {"four corners", 500, 400, {{0, 0, 0xFF000000}, {499, 0, 0xFF000000}, {0, 399, 0xFF000000}, {499, 399, 0xFF000000}},
         0, 399, 0, 499},
        // The extremes come from different pixels: no side may be taken from
        // the first pixel a scan meets.
        {"two diagonal pixels", 60, 40, {{50, 5, 0xFF102030}, {3, 30, 0xFF102030}}, 5, 30, 3, 50},
        {"near white is content", 20, 10, {{7, 3, 0xFFFEFFFF}}, 3, 3, 7, 7},
        {"blue 254 is content", 20, 10, {{7, 3, 0xFFFFFFFE}}, 3, 3, 7, 7},
        {"transparent black is content", 20, 10, {{7, 3, 0x00000000}}, 3, 3, 7, 7},
        {"transparent white is background", 20, 10, {{7, 3, 0x00FFFFFF}, {2, 8, 0x7FFFFFFF}}, 0, 0, 0, 0},
        {"no content at all", 20, 10, {}, 0, 0, 0, 0},
        {"one pixel picture", 1, 1, {{0, 0, 0xFF00FF00}}, 0, 0, 0, 0},
        {"last row and column", 30, 20, {{29, 19, 0xFF00FF00}}, 19, 19, 29, 29},
        {"one column", 1, 9, {{0, 4, 0xFF0000FF}, {0, 6, 0xFF0000FF}}, 4, 6, 0, 0},
        {"one row", 9, 1, {{2, 0, 0xFF0000FF}, {5, 0, 0xFF0000FF}}, 0, 0, 2, 5},
    };
    for (int extra : {0, 12}) {
        for (const margin_case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (extra ? ", padded rows" : ""));
            picture p(c.width, c.height, extra);
            for (const spot& s : c.spots)
                p.set(s.x, s.y, s.argb);
            content_box box = find_content(p.rows());
            EXPECT_EQ(c.top, box.top);
            EXPECT_EQ(c.bottom, box.bottom);
            EXPECT_EQ(c.left, box.left);
            EXPECT_EQ(c.right, box.right);
        }
    }
}

TEST(FindContent, TheExampleCropsTo200By100AndEmptyPicturesToOnePixel)
{
    picture p(500, 400);
    for (int y = 50; y <= 149; ++y)
        for (int x = 100; x <= 299; ++x)
            p.set(x, y, 0xFF808080);
    content_box box = find_content(p.rows());
    EXPECT_EQ(200, box.width());
    EXPECT_EQ(100, box.height());

    content_box none = find_content(picture(37, 21).rows());
    EXPECT_EQ(1, none.width());
    EXPECT_EQ(1, none.height());
}

TEST(FindContent, ReadsBottomUpRowsThroughANegativeStride)
{
    picture p(10, 8);
    p.set(4, 2, 0xFF000000);  // stored row 2 is picture row 5 when read bottom-up
    pixel_rows view = p.rows();
    view.row0 = p.bytes.data() + p.stride * 7;
    view.stride = -p.stride;
    content_box box = find_content(view);
    EXPECT_EQ(5, box.top);
    EXPECT_EQ(5, box.bottom);
    EXPECT_EQ(4, box.left);
}

}  // namespace
