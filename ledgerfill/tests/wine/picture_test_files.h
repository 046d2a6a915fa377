// Pictures made by the picture tests and the reading of the files rewritten
// from them, done here byte by byte rather than with the library's own code.
#pragma once

#include "test_files.h"

#include <cstdint>
#include <functional>
#include <string>

struct rgb {
    uint8_t red = 255, green = 255, blue = 255;
    bool operator==(const rgb& o) const { return red == o.red && green == o.green && blue == o.blue; }
};

// The colour of each pixel (x, y), row 0 at the top; the fourth byte of a
// 32-bit file.
using pixel_source = std::function<rgb(int x, int y)>;
using fourth_byte_source = std::function<uint8_t(int x, int y)>;

// A bottom-up BI_RGB BMP file of 24 or 32 bits per pixel.
std::string make_bmp(int width, int height, int bits, const pixel_source& pixel,
                     const fourth_byte_source& fourth = nullptr);

// An RGBA PNG file (stored, not compressed). GDI+ reads its alpha, which it
// ignores in 32-bit BMP files.
std::string make_png_with_alpha(int width, int height, const pixel_source& pixel, const fourth_byte_source& alpha);

uint32_t le32(const std::string& bytes, size_t offset);
uint16_t le16(const std::string& bytes, size_t offset);

// A BMP file as read back: its header fields and, at 24 bits, its pixels.
struct read_bmp {
    std::string bytes;
    bool ok = false;
    int width = 0, height = 0, bits = 0;
    uint32_t pixel_offset = 0, row_size = 0;
    explicit read_bmp(const std::string& file);
    rgb at(int x, int y) const;              // 24 bits only, row 0 at the top
    uint8_t index_at(int x, int y) const;    // 1, 4 and 8 bits
    rgb table_colour(uint8_t index) const;   // from the colour table
};

// Rewritten files are also left for the independent readers (Pillow and
// ImageMagick), which compare them with their source:
//   mode "crop": the content rectangle of the source;  "same": the source.
void leave_for_readers(const std::string& name, const std::string& source_bytes, const std::string& result_path,
                       const char* mode, int bits);
