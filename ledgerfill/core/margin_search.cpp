#include "margin_search.h"

#include <cstring>

namespace {

uint32_t pixel_at(const uint8_t* row, int x)
{
    uint32_t value;
    std::memcpy(&value, row + 4 * static_cast<size_t>(x), sizeof value);
    return value;
}

// First column in [0, end) holding content, or -1.
int first_content(const uint8_t* row, int end)
{
    for (int x = 0; x < end; ++x)
        if (is_content_pixel(pixel_at(row, x)))
            return x;
    return -1;
}

// Last column in (after, width) holding content, or -1.
int last_content(const uint8_t* row, int width, int after)
{
    for (int x = width - 1; x > after; --x)
        if (is_content_pixel(pixel_at(row, x)))
            return x;
    return -1;
}

}  // namespace

content_box find_content(const pixel_rows& picture)
{
    content_box box;
    const int w = picture.width, h = picture.height;
    if (w <= 0 || h <= 0 || !picture.row0)
        return box;

    int top = 0;
    while (top < h && first_content(picture.row(top), w) < 0)
        ++top;
    if (top == h)
        return box;
    int bottom = h - 1;
    while (bottom > top && first_content(picture.row(bottom), w) < 0)
        --bottom;

    // Rows outside [top, bottom] hold no content, so the columns only need
    // these rows; each row only needs looking at beyond what is already known.
    int left = w, right = -1;
    for (int y = top; y <= bottom; ++y) {
        const uint8_t* row = picture.row(y);
        int first = first_content(row, left);
        if (first >= 0)
            left = first;
        int last = last_content(row, w, right);
        if (last >= 0)
            right = last;
    }
    box.top = top;
    box.bottom = bottom;
    box.left = left;
    box.right = right;
    return box;
}
