#include "picture.h"
#include "picture_files.h"
#include "picture_fit.h"

#include "file_present.h"

#include "win/app.h"
#include "win/text.h"

#include <cstdio>

const char picture_file_path[] = "D:\\tq_conf\\temp\\ledgerfill_pictrue.bmp";

bool read_bitmap_size(long* width, long* height)
{
    if (!file_opens_for_reading(picture_file_path)) {
        app::message_box(ansi_to_wide(picture_file_path) + L" 文件不存在.");
        return false;
    }
    HANDLE image = LoadImageA(nullptr, picture_file_path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (!image)
        return false;
    BITMAP description = {};
    int got = GetObjectA(image, sizeof description, &description);
    DeleteObject(image);
    if (got == 0 || description.bmWidth <= 0 || description.bmHeight <= 0)
        return false;
    *width = description.bmWidth;
    *height = description.bmHeight;
    return true;
}

int place_picture(const char* first_cell, const char* last_cell, sheet& target, bool* sheet_failed)
{
    *sheet_failed = false;
    if (!file_opens_for_reading(picture_file_path)) {
        app::message_box(L"没有产生图片文件, 将不可以帖图!");
        return 0;
    }
    long width = 0, height = 0;
    if (!read_bitmap_size(&width, &height))
        return 0;

    range_box range;
    if (!target.range_geometry(first_cell, last_cell, &range)) {
        *sheet_failed = true;
        return 0;
    }
    picture_place place;
    if (!fit_picture(range, width, height, &place))
        return 0;
    // Single precision only here: the parameter type of AddPicture.
    if (!target.add_picture(picture_file_path, static_cast<float>(place.left), static_cast<float>(place.top),
                            static_cast<float>(place.width), static_cast<float>(place.height))) {
        *sheet_failed = true;
        return 0;
    }
    return 1;
}
