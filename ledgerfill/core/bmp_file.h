// Byte layout of the BMP files the picture is rewritten as: the 14-byte file
// header, the 40-byte information header, for 8 bits per pixel or fewer the
// colour table, then the pixel rows bottom-up, each filled to 4 bytes.
#pragma once

#include <cstdint>

constexpr uint32_t bmp_file_header_size = 14;
constexpr uint32_t bmp_info_header_size = 40;

// Bits per pixel of the file for a display of planes x bits per pixel.
int bmp_depth_for_display(int planes_times_bits);

struct bmp_layout {
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bit_count = 0;
    uint32_t row_size = 0;      // bytes per stored row, a multiple of 4
    uint32_t image_size = 0;    // row_size x height
    uint32_t colour_count = 0;  // entries of the colour table, 0 above 8 bits
    uint32_t pixel_offset = 0;  // from the start of the file to the first row
    uint32_t file_size = 0;
};

// False when the sizes do not fit a BMP file (negative or zero sides, an
// unsupported depth, more than 4 GiB).
bool make_bmp_layout(int32_t width, int32_t height, int bit_count, bmp_layout* layout);

// The information header as it goes into the file: uncompressed, bottom-up,
// resolutions and colour counts 0 (a full table of 2^bit_count entries).
void put_bmp_info_header(const bmp_layout& layout, uint8_t out[bmp_info_header_size]);

// The file header: "BM", the file size, the offset of the pixel rows.
void put_bmp_file_header(const bmp_layout& layout, uint8_t out[bmp_file_header_size]);
