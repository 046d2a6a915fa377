#include "picture_files.h"

#include "bmp_file.h"

#include "win/unique_handle.h"

#include <vector>

int display_bits_per_pixel()
{
    unique_dc display(CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
    if (!display)
        return 0;
    return GetDeviceCaps(display.get(), PLANES) * GetDeviceCaps(display.get(), BITSPIXEL);
}

int save_bitmap_file(HBITMAP bitmap, const char* path)
{
    return save_bitmap_file_at_depth(bitmap, path, bmp_depth_for_display(display_bits_per_pixel()));
}

namespace {

// Reads the rows of the bitmap at the layout's depth into block, which starts
// with the information header; below 8 bits GetDIBits puts the colour table
// right after it.
bool read_rows(HBITMAP bitmap, const bmp_layout& layout, std::vector<uint8_t>& block)
{
    unique_window_dc screen(nullptr);
    if (!screen)
        return false;
    HPALETTE previous = SelectPalette(screen.get(), static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
    RealizePalette(screen.get());
    uint8_t* rows = block.data() + bmp_info_header_size + 4 * layout.colour_count;
    int lines = GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(layout.height), rows,
                          reinterpret_cast<BITMAPINFO*>(block.data()), DIB_RGB_COLORS);
    if (previous) {
        SelectPalette(screen.get(), previous, TRUE);
        RealizePalette(screen.get());
    }
    return lines == layout.height;
}

bool write_all(HANDLE file, const void* bytes, size_t size)
{
    DWORD written = 0;
    return WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

}  // namespace

int save_bitmap_file_at_depth(HBITMAP bitmap, const char* path, int bit_count)
{
    BITMAP description = {};
    if (!GetObjectA(bitmap, sizeof description, &description))
        return 0;
    bmp_layout layout;
    if (!make_bmp_layout(description.bmWidth, description.bmHeight, bit_count, &layout))
        return 0;

    std::vector<uint8_t> block;
    try {
        block.assign(layout.file_size - bmp_file_header_size, 0);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    put_bmp_info_header(layout, block.data());
    if (!read_rows(bitmap, layout, block))
        return 0;
    // GetDIBits may fill in the image size and colour counts; the file keeps
    // the header it was asked for.
    put_bmp_info_header(layout, block.data());

    uint8_t file_header[bmp_file_header_size];
    put_bmp_file_header(layout, file_header);
    unique_file file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file)
        return 0;
    if (!write_all(file.get(), file_header, sizeof file_header) || !write_all(file.get(), block.data(), block.size()))
        return 0;
    return file.close() ? 1 : 0;
}
