// The pieces of the part picture below trim_picture and place_picture.
#pragma once

#include <windows.h>

#include <string>

// Width and height in pixels of the picture file, read from the bitmap that
// LoadImageA makes of it. False after "<path> 文件不存在." when the file is
// missing, false without a message when it is not a bitmap with an area.
bool read_bitmap_size(long* width, long* height);

// Writes the bitmap as a BMP file at the display's colour depth. 1 when the
// whole file was written, 0 otherwise (what was written may remain).
int save_bitmap_file(HBITMAP bitmap, const char* path);

// The same at a given depth: 1, 4 or 8 bits with the colour table GetDIBits
// gives, or 24.
int save_bitmap_file_at_depth(HBITMAP bitmap, const char* path, int bit_count);

// Planes x bits per pixel of the display.
int display_bits_per_pixel();

// Where the rewritten picture is made before it replaces the picture file.
std::string picture_temp_path(const char* path);
