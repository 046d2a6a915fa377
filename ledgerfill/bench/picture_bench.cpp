// Times trim_picture on pictures of three sizes, content in the middle half,
// beside the floor: loading the same file with GDI+ and saving it as a BMP.
//   scripts/wine-do wine build/<win dir>/bin/ledgerfill_picture_bench.exe [runs]
#include "picture.h"
#include "picture_files.h"

#include "bench_clock.h"

#include <windows.h>
#include <objidl.h>  // PROPID, left out by WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

void put32(uint8_t* out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<uint8_t>(value >> (8 * i));
}

// A 24-bit picture, white but for a pattern in the middle half.
bool write_source(const std::string& path, int width, int height)
{
    const uint32_t row = (24u * width + 31) / 32 * 4;
    uint8_t header[54] = {'B', 'M'};
    put32(header + 2, 54 + row * height);
    put32(header + 10, 54);
    put32(header + 14, 40);
    put32(header + 18, width);
    put32(header + 22, height);
    header[26] = 1;
    header[28] = 24;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, header, sizeof header, &written, nullptr);
    std::vector<uint8_t> bytes(row);
    for (int y = height - 1; y >= 0 && ok; --y) {
        std::fill(bytes.begin(), bytes.end(), 0xFF);
        if (y >= height / 4 && y < height * 3 / 4)
            for (int x = width / 4; x < width * 3 / 4; ++x) {
                bytes[3 * x] = static_cast<uint8_t>(x);
                bytes[3 * x + 1] = static_cast<uint8_t>(y);
                bytes[3 * x + 2] = 0x40;
            }
        ok = WriteFile(file, bytes.data(), row, &written, nullptr) && written == row;
    }
    CloseHandle(file);
    return ok;
}

// The floor: what a trim cannot do without, start GDI+, load, save, stop.
bool load_and_save(const std::string& from, const std::string& to)
{
    static const CLSID bmp_encoder = {0x557CF400, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    ULONG_PTR token = 0;
    GdiplusStartupInput input;
    if (GdiplusStartup(&token, &input, nullptr) != Ok)
        return false;
    std::wstring wide_from(from.begin(), from.end()), wide_to(to.begin(), to.end());
    GpBitmap* image = nullptr;
    bool ok = GdipCreateBitmapFromFile(wide_from.c_str(), &image) == Ok &&
              GdipSaveImageToFile(image, wide_to.c_str(), &bmp_encoder, nullptr) == Ok;
    if (image)
        GdipDisposeImage(image);
    GdiplusShutdown(token);
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const std::string dir = "D:\\tq_conf\\temp";
    CreateDirectoryA("D:\\tq_conf", nullptr);
    CreateDirectoryA(dir.c_str(), nullptr);
    const std::string source = dir + "\\bench_source.bmp", floor_out = dir + "\\bench_floor.bmp";
    const int sizes[][2] = {{1000, 800}, {4000, 3000}, {8000, 6000}};

    std::printf("trim_picture against a GDI+ load and save of the same file, best of %d runs\n", runs);
    std::printf("%12s %12s %12s %8s\n", "pixels", "floor ms", "trim ms", "ratio");
    for (const auto& size : sizes) {
        if (!write_source(source, size[0], size[1])) {
            std::printf("cannot write %s\n", source.c_str());
            return 1;
        }
        double floor = 1e300, trim = 1e300;
        for (int run = 0; run < runs; ++run) {
            double start = now_ms();
            if (!load_and_save(source, floor_out)) {
                std::printf("GDI+ cannot load and save %dx%d\n", size[0], size[1]);
                return 1;
            }
            floor = std::min(floor, now_ms() - start);

            CopyFileA(source.c_str(), picture_file_path, FALSE);
            start = now_ms();
            int rewritten = trim_picture();
            double took = now_ms() - start;
            if (rewritten != 1) {
                std::printf("trim_picture failed on %dx%d\n", size[0], size[1]);
                return 1;
            }
            trim = std::min(trim, took);
        }
        char pixels[32];
        std::snprintf(pixels, sizeof pixels, "%dx%d", size[0], size[1]);
        std::printf("%12s %12.1f %12.1f %8.2f\n", pixels, floor, trim, trim / floor);
    }
    DeleteFileA(source.c_str());
    DeleteFileA(floor_out.c_str());
    DeleteFileA(picture_file_path);
    return 0;
}
