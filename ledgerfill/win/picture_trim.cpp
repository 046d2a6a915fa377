#include "picture.h"
#include "picture_files.h"

#include "margin_search.h"

#include "file_present.h"

#include "win/app.h"
#include "win/text.h"
#include "win/unique_handle.h"

#include <objidl.h>  // PROPID, left out by WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

#include <cstring>

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

// GDI+ for the length of one call, whether or not the host runs it too: each
// start is counted and undone by its own shutdown.
class gdiplus_session {
public:
    gdiplus_session()
    {
        GdiplusStartupInput input;
        started_ = GdiplusStartup(&token_, &input, nullptr) == Ok;
    }
    ~gdiplus_session()
    {
        if (started_)
            GdiplusShutdown(token_);
    }
    gdiplus_session(const gdiplus_session&) = delete;
    gdiplus_session& operator=(const gdiplus_session&) = delete;
    bool started() const { return started_; }

private:
    ULONG_PTR token_ = 0;
    bool started_ = false;
};

struct gdiplus_bitmap_traits {
    using pointer = GpBitmap*;
    static pointer invalid() { return nullptr; }
    static bool close(pointer image) { return GdipDisposeImage(image) == Ok; }
};
using unique_gdiplus_bitmap = unique_handle<gdiplus_bitmap_traits>;

// Pixels of a bitmap locked in the 32-bit ARGB format, unlocked on the way out.
class locked_pixels {
public:
    locked_pixels(GpBitmap* bitmap, UINT width, UINT height, UINT mode) : bitmap_(bitmap)
    {
        GpRect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
        locked_ = GdipBitmapLockBits(bitmap, &all, mode, PixelFormat32bppARGB, &data_) == Ok;
    }
    ~locked_pixels()
    {
        if (locked_)
            GdipBitmapUnlockBits(bitmap_, &data_);
    }
    locked_pixels(const locked_pixels&) = delete;
    locked_pixels& operator=(const locked_pixels&) = delete;
    bool ok() const { return locked_; }
    uint8_t* row(int y) const { return static_cast<uint8_t*>(data_.Scan0) + static_cast<ptrdiff_t>(data_.Stride) * y; }
    pixel_rows rows() const
    {
        pixel_rows view;
        view.row0 = row(0);
        view.width = static_cast<int>(data_.Width);
        view.height = static_cast<int>(data_.Height);
        view.stride = data_.Stride;
        return view;
    }

private:
    GpBitmap* bitmap_;
    BitmapData data_ = {};
    bool locked_ = false;
};

// The content rectangle of the picture, copied with its alpha into a new
// 32-bit ARGB bitmap. Null when the image library cannot provide it.
unique_gdiplus_bitmap crop_to_content(GpBitmap* picture)
{
    UINT width = 0, height = 0;
    if (GdipGetImageWidth(picture, &width) != Ok || GdipGetImageHeight(picture, &height) != Ok || width == 0 ||
        height == 0)
        return {};
    locked_pixels source(picture, width, height, ImageLockModeRead);
    if (!source.ok())
        return {};
    const content_box box = find_content(source.rows());

    GpBitmap* made = nullptr;
    if (GdipCreateBitmapFromScan0(box.width(), box.height(), 0, PixelFormat32bppARGB, nullptr, &made) != Ok)
        return {};
    unique_gdiplus_bitmap cropped(made);
    locked_pixels target(cropped.get(), static_cast<UINT>(box.width()), static_cast<UINT>(box.height()),
                         ImageLockModeWrite);
    if (!target.ok())
        return {};
    const size_t row_bytes = 4 * static_cast<size_t>(box.width());
    for (int y = 0; y < box.height(); ++y)
        std::memcpy(target.row(y), source.row(box.top + y) + 4 * static_cast<size_t>(box.left), row_bytes);
    return cropped;
}

}  // namespace

std::string picture_temp_path(const char* path) { return std::string(path) + ".new"; }

int trim_picture()
{
    const char* path = picture_file_path;
    if (!file_opens_for_reading(path)) {
        app::message_box(ansi_to_wide(path) + L" 文件不存在.");
        return 0;
    }
    gdiplus_session gdiplus;
    if (!gdiplus.started())
        return 0;

    unique_gdiplus_bitmap cropped;
    {
        GpBitmap* loaded = nullptr;
        if (GdipCreateBitmapFromFile(ansi_to_wide(path).c_str(), &loaded) != Ok)
            return 0;  // not an image the library decodes: the file stays as it is
        unique_gdiplus_bitmap picture(loaded);
        cropped = crop_to_content(picture.get());
        // Leaving the block releases the loaded picture and with it the file.
    }
    if (!cropped)
        return 0;

    HBITMAP made = nullptr;
    if (GdipCreateHBITMAPFromBitmap(cropped.get(), &made, 0xFF000000u) != Ok)  // opaque black
        return 0;
    unique_gdi_object bitmap(made);

    // The new file replaces the picture only once it is whole, so the picture
    // is never missing: a failure leaves the original to be placed untrimmed.
    const std::string temp = picture_temp_path(path);
    if (!save_bitmap_file(made, temp.c_str())) {
        DeleteFileA(temp.c_str());
        return 0;
    }
    if (!MoveFileExA(temp.c_str(), path, MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(temp.c_str());
        return 0;
    }
    return 1;
}
