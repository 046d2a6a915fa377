// trim_picture and save_bitmap_file on the picture file, linked in directly.
#include "picture.h"
#include "picture_files.h"
#include "picture_test_files.h"

#include "message_box_catcher.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <objidl.h>  // PROPID, left out by WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

namespace {

const std::string picture = picture_file_path;
const std::string temp = picture_temp_path(picture_file_path);

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void clear_picture_dir()
{
    make_dirs("D:\\tq_conf\\temp");
    SetFileAttributesA(picture.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(picture.c_str());
    DeleteFileA(temp.c_str());
    RemoveDirectoryA(temp.c_str());
}

// Varied colours, none of them white, so that a shifted crop shows.
rgb pattern(int x, int y)
{
    return {static_cast<uint8_t>(x * 7), static_cast<uint8_t>(y * 3), static_cast<uint8_t>((x + y) % 200)};
}

pixel_source content_in(int left, int top, int right, int bottom)
{
    return [=](int x, int y) { return x >= left && x <= right && y >= top && y <= bottom ? pattern(x, y) : rgb{}; };
}

pixel_source spots(std::vector<std::pair<int, int>> where, rgb colour)
{
    return [=](int x, int y) {
        for (auto& p : where)
            if (p.first == x && p.second == y)
                return colour;
        return rgb{};
    };
}

struct trim_case {
    const char* name;
    int width, height, bits;
    pixel_source pixel;
    fourth_byte_source fourth;
    int left, top, crop_width, crop_height;
    bool alpha = false;  // a PNG whose alpha is the fourth byte
};

// Half the content pixels fully transparent: made over opaque black, they
// turn black, as do the transparent white pixels inside the crop.
uint8_t checker_alpha(int x, int y) { return (x + y) % 2 ? 255 : 0; }

TEST(TrimPicture, CropsTheWhiteMarginsAndRewritesAtTheDisplayDepth)
{
    ASSERT_EQ(32, display_bits_per_pixel());  // so the files have 24 bits
    const uint8_t varied_fourth_byte = 0x5A;
    const trim_case cases[] = {
        {"middle_24", 500, 400, 24, content_in(100, 50, 299, 149), nullptr, 100, 50, 200, 100},
        {"middle_32", 500, 400, 32, content_in(100, 50, 299, 149), [=](int, int) { return varied_fourth_byte; }, 100,
         50, 200, 100},
        {"corners_24", 120, 90, 24, spots({{0, 0}, {119, 0}, {0, 89}, {119, 89}}, {0, 0, 0}), nullptr, 0, 0, 120, 90},
        {"corners_32", 120, 90, 32, spots({{0, 0}, {119, 0}, {0, 89}, {119, 89}}, {10, 20, 30}),
         [](int x, int) { return static_cast<uint8_t>(x); }, 0, 0, 120, 90},
        {"near_white_32", 30, 20, 32, spots({{7, 3}}, {254, 255, 255}), nullptr, 7, 3, 1, 1},
        {"no_content_24", 20, 10, 24, [](int, int) { return rgb{}; }, nullptr, 0, 0, 1, 1},
        {"row_of_201_24", 300, 50, 24, content_in(50, 10, 250, 19), nullptr, 50, 10, 201, 10},
        {"diagonal_24", 64, 48, 24, spots({{50, 5}, {3, 30}}, {0, 0, 255}), nullptr, 3, 5, 48, 26},
        {"alpha_png", 40, 30, 32, content_in(10, 5, 29, 24), checker_alpha, 10, 5, 20, 20, true},
    };
    for (const trim_case& c : cases) {
        SCOPED_TRACE(c.name);
        clear_picture_dir();
        const std::string source = c.alpha ? make_png_with_alpha(c.width, c.height, c.pixel, c.fourth)
                                           : make_bmp(c.width, c.height, c.bits, c.pixel, c.fourth);
        auto expected = [&](int x, int y) { return c.alpha && c.fourth(x, y) == 0 ? rgb{0, 0, 0} : c.pixel(x, y); };
        ASSERT_TRUE(write_file(picture, source));

        message_box_catcher boxes;
        EXPECT_EQ(1, trim_picture());
        EXPECT_TRUE(boxes.boxes().empty());
        EXPECT_FALSE(exists(temp));

        read_bmp out(read_file(picture));
        ASSERT_TRUE(out.ok);
        const uint32_t row_size = (24 * c.crop_width + 31) / 32 * 4;
        EXPECT_EQ(c.crop_width, out.width);
        EXPECT_EQ(c.crop_height, out.height);
        EXPECT_EQ(24, out.bits);
        EXPECT_EQ(54u, out.pixel_offset);
        EXPECT_EQ(row_size * c.crop_height + 54, le32(out.bytes, 2));
        EXPECT_EQ(row_size * c.crop_height + 54, out.bytes.size());
        EXPECT_EQ(40u, le32(out.bytes, 14));
        EXPECT_EQ(1, le16(out.bytes, 26));
        EXPECT_EQ(0u, le32(out.bytes, 30));  // no compression
        EXPECT_EQ(0u, le32(out.bytes, 34));  // image size left 0
        int wrong = 0;
        for (int y = 0; y < out.height && out.width == c.crop_width && out.height == c.crop_height; ++y)
            for (int x = 0; x < out.width; ++x)
                if (!(out.at(x, y) == expected(c.left + x, c.top + y)) && ++wrong <= 3)
                    ADD_FAILURE() << "pixel " << x << "," << y;
        EXPECT_EQ(0, wrong);
        leave_for_readers(std::string("trim_") + c.name, source, picture, c.alpha ? "crop_over_black" : "crop", 24);
    }
}

TEST(TrimPicture, NamesAMissingFileAndCreatesNothing)
{
    clear_picture_dir();
    message_box_catcher boxes;
    EXPECT_EQ(0, trim_picture());
    ASSERT_EQ(1u, boxes.boxes().size());
    EXPECT_EQ(ansi("D:\\tq_conf\\temp\\ledgerfill_pictrue.bmp 文件不存在."), boxes.boxes()[0].text);
    EXPECT_TRUE(boxes.boxes()[0].has_ok);
    EXPECT_FALSE(exists(picture));
    EXPECT_FALSE(exists(temp));
}

TEST(TrimPicture, LeavesThePictureAsItWasWhenItCannotBeRewritten)
{
    const std::string bitmap = make_bmp(40, 30, 24, content_in(10, 10, 20, 20));
    // Someone still reading the picture, who lets others read it but not
    // replace it.
    HANDLE reader = INVALID_HANDLE_VALUE;
    const struct {
        const char* name;
        std::string bytes;
        void (*block)(HANDLE*);
    } cases[] = {
        {"not an image", std::string("BM this is no picture at all, only text"), [](HANDLE*) {}},
        {"empty file", std::string(), [](HANDLE*) {}},
        {"new file cannot be made", bitmap, [](HANDLE*) { CreateDirectoryA(temp.c_str(), nullptr); }},
        {"picture cannot be replaced", bitmap,
         [](HANDLE* open) {
             *open = CreateFileA(picture.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clear_picture_dir();
        ASSERT_TRUE(write_file(picture, c.bytes));
        c.block(&reader);
        message_box_catcher boxes;
        EXPECT_EQ(0, trim_picture());
        if (reader != INVALID_HANDLE_VALUE) {
            CloseHandle(reader);
            reader = INVALID_HANDLE_VALUE;
        }
        EXPECT_TRUE(boxes.boxes().empty());
        EXPECT_TRUE(c.bytes == read_file(picture)) << "the picture changed";
        EXPECT_FALSE(GetFileAttributesA(temp.c_str()) != INVALID_FILE_ATTRIBUTES &&
                     !(GetFileAttributesA(temp.c_str()) & FILE_ATTRIBUTE_DIRECTORY));
    }
    clear_picture_dir();
}

TEST(TrimPicture, LeavesTheHostsOwnGdiplusRunning)
{
    clear_picture_dir();
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&token, &input, nullptr));
    ASSERT_TRUE(write_file(picture, make_bmp(40, 30, 24, content_in(5, 6, 7, 8))));
    EXPECT_EQ(1, trim_picture());
    EXPECT_EQ(3, read_bmp(read_file(picture)).width);

    Gdiplus::GpBitmap* still_works = nullptr;
    EXPECT_EQ(Gdiplus::Ok, Gdiplus::DllExports::GdipCreateBitmapFromScan0(4, 4, 0, PixelFormat32bppARGB, nullptr,
                                                                            &still_works));
    if (still_works)
        Gdiplus::DllExports::GdipDisposeImage(still_works);
    Gdiplus::GdiplusShutdown(token);
}

// A 32-bit DIB section of stripes in the given colours, one column each.
HBITMAP stripes(const std::vector<rgb>& colours, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(colours.size());
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return nullptr;
    auto* pixels = static_cast<uint8_t*>(bits);
    for (int y = 0; y < height; ++y)
        for (size_t x = 0; x < colours.size(); ++x) {
            uint8_t* p = pixels + 4 * (y * colours.size() + x);
            p[0] = colours[x].blue;
            p[1] = colours[x].green;
            p[2] = colours[x].red;
            p[3] = 255;
        }
    return bitmap;
}

TEST(SaveBitmapFile, WritesTheColourTableAtEightBitsOrFewer)
{
    const rgb black{0, 0, 0}, white{255, 255, 255}, red{255, 0, 0}, blue{0, 0, 255};
    const struct {
        int bits;
        std::vector<rgb> colours;
    } cases[] = {
        {1, {black, white, white, black, black, black, white, black, white, white, black}},
        {4, {black, red, white, blue, blue, red, black}},
        {8, {red, black, blue, white, red}},
    };
    const std::string dir = fresh_dir_on_d("picture_depths");
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.bits) + " bits");
        const int height = 3;
        HBITMAP bitmap = stripes(c.colours, height);
        ASSERT_NE(nullptr, bitmap);
        const std::string path = dir + "\\depth_" + std::to_string(c.bits) + ".bmp";
        EXPECT_EQ(1, save_bitmap_file_at_depth(bitmap, path.c_str(), c.bits));

        read_bmp out(read_file(path));
        ASSERT_TRUE(out.ok);
        const uint32_t table = 4u << c.bits;
        const uint32_t row_size = (c.bits * static_cast<uint32_t>(c.colours.size()) + 31) / 32 * 4;
        EXPECT_EQ(c.bits, out.bits);
        EXPECT_EQ(54 + table, out.pixel_offset);
        EXPECT_EQ(54 + table + row_size * height, le32(out.bytes, 2));
        EXPECT_EQ(54 + table + row_size * height, out.bytes.size());
        EXPECT_EQ(0u, le32(out.bytes, 46));  // colours used 0: the whole table
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < out.width; ++x)
                EXPECT_TRUE(out.table_colour(out.index_at(x, y)) == c.colours[x]) << "pixel " << x << "," << y;

        std::string source = make_bmp(out.width, height, 24, [&](int x, int) { return c.colours[x]; });
        leave_for_readers("depth_" + std::to_string(c.bits), source, path, "same", c.bits);
        DeleteObject(bitmap);
    }
}

TEST(SaveBitmapFile, WritesNothingWhereTheFileCannotBeCreated)
{
    HBITMAP bitmap = stripes({{1, 2, 3}}, 1);
    ASSERT_NE(nullptr, bitmap);
    EXPECT_EQ(0, save_bitmap_file(bitmap, "D:\\no such directory\\picture.bmp"));
    EXPECT_EQ(0, save_bitmap_file(nullptr, (fresh_dir_on_d("picture_none") + "\\none.bmp").c_str()));
    EXPECT_FALSE(exists("D:\\t\\picture_none\\none.bmp"));
    DeleteObject(bitmap);
}

}  // namespace
