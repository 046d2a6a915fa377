#include "bmp_file.h"

#include <cstring>

namespace {

void put16(uint8_t* out, uint16_t value)
{
    out[0] = static_cast<uint8_t>(value);
    out[1] = static_cast<uint8_t>(value >> 8);
}

void put32(uint8_t* out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

int bmp_depth_for_display(int planes_times_bits)
{
    if (planes_times_bits <= 1)
        return 1;
    if (planes_times_bits <= 4)
        return 4;
    if (planes_times_bits <= 8)
        return 8;
    return 24;
}

bool make_bmp_layout(int32_t width, int32_t height, int bit_count, bmp_layout* layout)
{
    if (width <= 0 || height <= 0)
        return false;
    if (bit_count != 1 && bit_count != 4 && bit_count != 8 && bit_count != 24)
        return false;
    const uint64_t row_size = (static_cast<uint64_t>(bit_count) * static_cast<uint64_t>(width) + 31) / 32 * 4;
    const uint64_t image_size = row_size * static_cast<uint64_t>(height);
    const uint64_t colour_count = bit_count <= 8 ? (1u << bit_count) : 0;
    const uint64_t pixel_offset = bmp_file_header_size + bmp_info_header_size + 4 * colour_count;
    const uint64_t file_size = pixel_offset + image_size;
    if (file_size > UINT32_MAX)
        return false;

    layout->width = width;
    layout->height = height;
    layout->bit_count = static_cast<uint16_t>(bit_count);
    layout->row_size = static_cast<uint32_t>(row_size);
    layout->image_size = static_cast<uint32_t>(image_size);
    layout->colour_count = static_cast<uint32_t>(colour_count);
    layout->pixel_offset = static_cast<uint32_t>(pixel_offset);
    layout->file_size = static_cast<uint32_t>(file_size);
    return true;
}

void put_bmp_info_header(const bmp_layout& layout, uint8_t out[bmp_info_header_size])
{
    std::memset(out, 0, bmp_info_header_size);
    put32(out + 0, bmp_info_header_size);
    put32(out + 4, static_cast<uint32_t>(layout.width));
    put32(out + 8, static_cast<uint32_t>(layout.height));
    put16(out + 12, 1);  // planes
    put16(out + 14, layout.bit_count);
    // 16 compression, 20 image size, 24 and 28 resolutions, 32 colours used,
    // 36 colours important: all 0.
}

void put_bmp_file_header(const bmp_layout& layout, uint8_t out[bmp_file_header_size])
{
    std::memset(out, 0, bmp_file_header_size);
    out[0] = 'B';
    out[1] = 'M';
    put32(out + 2, layout.file_size);
    // 6 and 8: reserved, 0.
    put32(out + 10, layout.pixel_offset);
}
