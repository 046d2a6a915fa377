// read_bitmap_size and place_picture, linked in directly, over a recording sheet.
#include "picture.h"
#include "picture_files.h"
#include "picture_test_files.h"

#include "message_box_catcher.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace {

const std::string picture = picture_file_path;

struct added_picture {
    std::string path;
    float left, top, width, height;
};

class recording_sheet : public sheet {
public:
    range_box range;
    bool geometry_fails = false, add_fails = false;
    std::vector<std::string> ranges_asked;
    std::vector<added_picture> pictures;

    bool write_cell_text(int32_t, int32_t, const char*) override { return true; }
    bool frame_range(const char*, const char*, int16_t) override { return true; }
    bool range_geometry(const char* first, const char* last, range_box* box) override
    {
        ranges_asked.push_back(std::string(first) + ":" + last);
        if (geometry_fails)
            return false;
        *box = range;
        return true;
    }
    bool add_picture(const char* path, float left, float top, float width, float height) override
    {
        pictures.push_back({path, left, top, width, height});
        return !add_fails;
    }
    std::wstring failure() const override { return L"recorded failure"; }
};

range_box box(double left, double top, double width, double height)
{
    range_box b;
    b.left = left;
    b.top = top;
    b.width = width;
    b.height = height;
    return b;
}

void write_picture(int width, int height, int bits = 24)
{
    make_dirs("D:\\tq_conf\\temp");
    ASSERT_TRUE(write_file(picture, make_bmp(width, height, bits, [](int, int) { return rgb{1, 2, 3}; })));
}

TEST(ReadBitmapSize, ReadsPixelsOfEitherDepthAndNamesAMissingFile)
{
    for (int bits : {24, 32}) {
        write_picture(37, 11, bits);
        long width = 0, height = 0;
        EXPECT_TRUE(read_bitmap_size(&width, &height));
        EXPECT_EQ(37, width);
        EXPECT_EQ(11, height);
    }

    DeleteFileA(picture.c_str());
    message_box_catcher boxes;
    long width = -1, height = -1;
    EXPECT_FALSE(read_bitmap_size(&width, &height));
    EXPECT_EQ(std::vector<std::string>{ansi("D:\\tq_conf\\temp\\ledgerfill_pictrue.bmp 文件不存在.")},
              boxes.texts());
    EXPECT_EQ(-1, width);
}

TEST(PlacePicture, FitsAndCentresThePictureNarrowedOnlyAtTheEnd)
{
    const struct {
        range_box range;
        double left, top, width, height;
    } cases[] = {
        {box(50, 20, 200, 100), (200 - 92 / 0.75) * 0.5 + 50, 24, 92 / 0.75, 92},
        {box(0, 0, 100, 200), 4, 65.5, 92, 69},
        {box(10, 30, 200, 150), (200 - 142 / 0.75) * 0.5 + 10, 34, 142 / 0.75, 142},
    };
    write_picture(400, 300);
    for (const auto& c : cases) {
        recording_sheet target;
        target.range = c.range;
        bool failed = true;
        message_box_catcher boxes;
        EXPECT_EQ(1, place_picture("B2", "$F$9", target, &failed));
        EXPECT_FALSE(failed);
        EXPECT_TRUE(boxes.boxes().empty());
        EXPECT_EQ(std::vector<std::string>{"B2:$F$9"}, target.ranges_asked);
        ASSERT_EQ(1u, target.pictures.size());
        const added_picture& p = target.pictures[0];
        EXPECT_EQ(picture, p.path);
        EXPECT_EQ(static_cast<float>(c.left), p.left);
        EXPECT_EQ(static_cast<float>(c.top), p.top);
        EXPECT_EQ(static_cast<float>(c.width), p.width);
        EXPECT_EQ(static_cast<float>(c.height), p.height);
    }
}

TEST(PlacePicture, MissingFileShowsOneMessageAndAddsNothing)
{
    DeleteFileA(picture.c_str());
    recording_sheet target;
    target.range = box(0, 0, 100, 100);
    bool failed = true;
    message_box_catcher boxes;
    EXPECT_EQ(0, place_picture("A1", "C3", target, &failed));
    EXPECT_FALSE(failed);
    ASSERT_EQ(1u, boxes.boxes().size());
    EXPECT_EQ(ansi("没有产生图片文件, 将不可以帖图!"), boxes.boxes()[0].text);
    EXPECT_TRUE(boxes.boxes()[0].has_ok);
    EXPECT_FALSE(boxes.boxes()[0].has_cancel);
    EXPECT_TRUE(target.ranges_asked.empty());
    EXPECT_TRUE(target.pictures.empty());
}

TEST(PlacePicture, PlacesNothingForAFileThatIsNoPictureOrARangeWithoutRoom)
{
    const struct {
        const char* name;
        std::string file;
        range_box range;
    } cases[] = {
        {"not a bitmap", "BM but nothing more", box(0, 0, 100, 100)},
        {"empty file", "", box(0, 0, 100, 100)},
        {"range lower than the margin", make_bmp(40, 30, 24, [](int, int) { return rgb{}; }), box(0, 0, 300, 6)},
        {"range without width", make_bmp(40, 30, 24, [](int, int) { return rgb{}; }), box(0, 0, 0, 50)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(write_file(picture, c.file));
        recording_sheet target;
        target.range = c.range;
        bool failed = true;
        message_box_catcher boxes;
        EXPECT_EQ(0, place_picture("A1", "C3", target, &failed));
        EXPECT_FALSE(failed);
        EXPECT_TRUE(boxes.boxes().empty());
        EXPECT_TRUE(target.pictures.empty());
    }
}

TEST(PlacePicture, TellsTheCallerWhenASheetOperationFailed)
{
    write_picture(20, 10);
    recording_sheet no_range;
    no_range.geometry_fails = true;
    bool failed = false;
    EXPECT_EQ(0, place_picture("A1", "ZZZ", no_range, &failed));
    EXPECT_TRUE(failed);
    EXPECT_TRUE(no_range.pictures.empty());

    recording_sheet no_picture;
    no_picture.range = box(0, 0, 100, 100);
    no_picture.add_fails = true;
    failed = false;
    EXPECT_EQ(0, place_picture("A1", "C3", no_picture, &failed));
    EXPECT_TRUE(failed);
}

}  // namespace
