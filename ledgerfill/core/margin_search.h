// The white margins of a picture: the smallest rectangle that holds every
// pixel which is not pure white.
#pragma once

#include <cstddef>
#include <cstdint>

// Rows of 32-bit pixels as the image library lays out its ARGB format: each
// pixel a little-endian 0xAARRGGBB, row 0 at the top.
struct pixel_rows {
    const uint8_t* row0 = nullptr;
    int width = 0;
    int height = 0;
    ptrdiff_t stride = 0;  // bytes from one row to the next

    const uint8_t* row(int y) const { return row0 + stride * y; }
};

// Background is red, green and blue all 255; alpha does not count.
inline bool is_content_pixel(uint32_t argb) { return (argb | 0xFF000000u) != 0xFFFFFFFFu; }

// Inclusive pixel coordinates. A picture without content gives all four 0,
// the 1 x 1 rectangle of its top-left pixel.
struct content_box {
    int top = 0, bottom = 0, left = 0, right = 0;
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

content_box find_content(const pixel_rows& picture);
