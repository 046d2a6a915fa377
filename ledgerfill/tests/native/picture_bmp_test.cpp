#include "bmp_file.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

uint32_t u32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint16_t u16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

TEST(BmpDepth, FollowsTheDisplay)
{
    const struct {
        int display, file;
    } cases[] = {{0, 1}, {1, 1}, {2, 4}, {4, 4}, {5, 8}, {8, 8}, {9, 24}, {16, 24}, {24, 24}, {32, 24}};
    for (const auto& c : cases)
        EXPECT_EQ(c.file, bmp_depth_for_display(c.display)) << "display " << c.display;
}

TEST(BmpLayout, RowsAreFilledTo4BytesAndTheColourTableMovesThePixels)
{
    const struct {
        int32_t width, height;
        int bits;
        uint32_t row_size, colours, offset;
    } cases[] = {
        {201, 3, 24, 604, 0, 54},
        {1, 1, 24, 4, 0, 54},
        {4, 2, 24, 12, 0, 54},
        {200, 100, 24, 600, 0, 54},
        {5, 2, 8, 8, 256, 54 + 1024},
        {9, 2, 4, 8, 16, 54 + 64},
        {33, 2, 1, 8, 2, 54 + 8},
        {32, 2, 1, 4, 2, 54 + 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " pixels at " + std::to_string(c.bits) + " bits");
        bmp_layout layout;
        ASSERT_TRUE(make_bmp_layout(c.width, c.height, c.bits, &layout));
        EXPECT_EQ(c.row_size, layout.row_size);
        EXPECT_EQ(c.row_size * c.height, layout.image_size);
        EXPECT_EQ(c.colours, layout.colour_count);
        EXPECT_EQ(c.offset, layout.pixel_offset);
        EXPECT_EQ(c.offset + c.row_size * c.height, layout.file_size);
    }
}

TEST(BmpLayout, RefusesWhatNoBmpFileCanHold)
{
    bmp_layout layout;
    EXPECT_FALSE(make_bmp_layout(0, 5, 24, &layout));
    EXPECT_FALSE(make_bmp_layout(5, 0, 24, &layout));
    EXPECT_FALSE(make_bmp_layout(-5, 5, 24, &layout));
    EXPECT_FALSE(make_bmp_layout(5, 5, 32, &layout));
    EXPECT_FALSE(make_bmp_layout(5, 5, 0, &layout));
    EXPECT_FALSE(make_bmp_layout(70000, 70000, 24, &layout));  // more than 4 GiB
}

TEST(BmpHeaders, CarryTheFieldsOfAnUncompressedBottomUpFile)
{
    bmp_layout layout;
    ASSERT_TRUE(make_bmp_layout(201, 7, 24, &layout));
    uint8_t file[bmp_file_header_size];
    uint8_t info[bmp_info_header_size];
    std::memset(file, 0xCC, sizeof file);
    std::memset(info, 0xCC, sizeof info);
    put_bmp_file_header(layout, file);
    put_bmp_info_header(layout, info);

    EXPECT_EQ(0x4D42, u16(file));
    EXPECT_EQ(604u * 7 + 54, u32(file + 2));
    EXPECT_EQ(0u, u32(file + 6));  // both reserved fields
    EXPECT_EQ(54u, u32(file + 10));

    EXPECT_EQ(40u, u32(info));
    EXPECT_EQ(201u, u32(info + 4));
    EXPECT_EQ(7u, u32(info + 8));  // positive: bottom-up
    EXPECT_EQ(1, u16(info + 12));
    EXPECT_EQ(24, u16(info + 14));
    for (int offset = 16; offset < 40; offset += 4)  // compression, sizes, resolutions, colours
        EXPECT_EQ(0u, u32(info + offset)) << "offset " << offset;

    ASSERT_TRUE(make_bmp_layout(3, 2, 8, &layout));
    put_bmp_file_header(layout, file);
    put_bmp_info_header(layout, info);
    EXPECT_EQ(54u + 1024 + 8, u32(file + 2));
    EXPECT_EQ(54u + 1024, u32(file + 10));
    EXPECT_EQ(8, u16(info + 14));
    EXPECT_EQ(0u, u32(info + 32));  // 0 colours used: the full table of 256
}

}  // namespace
