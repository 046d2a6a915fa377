// The part picture through excel_file_2010, as the add-on asks for it, against
// the spreadsheet double: its range geometry and the pictures it was given.
#include "driver_test_support.h"
#include "picture_test_files.h"

#include <vector>

namespace {

const std::string picture = "D:\\tq_conf\\temp\\ledgerfill_pictrue.bmp";

// B2:E9 on the double's default sheet: columns 48 points wide, rows 15 high.
const double range_left = 48, range_top = 15, range_width = 4 * 48, range_height = 8 * 15;

rgb part(int x, int y)
{
    bool inside = x >= 100 && x <= 299 && y >= 50 && y <= 149;
    return inside ? rgb{static_cast<uint8_t>(x), static_cast<uint8_t>(y), 90} : rgb{};
}

struct fill_result {
    std::vector<caught_box> boxes;
    double_model model;
};

fill_result fill(const char* test, int32_t picture_wanted, int32_t picture_trimmed)
{
    std::string path = write_template(test, double_workbook());
    double_control("reset");
    auto request = new_request(path);
    request->picture_wanted = picture_wanted;
    request->picture_trimmed = picture_trimmed;
    std::strcpy(request->picture_first_cell, "B2");
    std::strcpy(request->picture_last_cell, "E9");
    auto entry = new_entry();
    fill_result result;
    {
        message_box_catcher boxes;
        excel_file_2010_export()(request.get(), entry.get());
        result.boxes = boxes.boxes();
    }
    result.model = read_double_model();
    return result;
}

void expect_picture(const double_model& model, double pixel_width, double pixel_height)
{
    ASSERT_EQ(1u, model.workbook.pictures.size());
    const double_picture& p = model.workbook.pictures[0];
    EXPECT_EQ(picture, p.path);
    EXPECT_EQ(0, p.link_to_file);
    EXPECT_EQ(1, p.save_with_document);
    const double ratio = pixel_height / pixel_width;
    double w, h;
    if (range_height / range_width > ratio) {
        w = range_width - 8;
        h = w * ratio;
    } else {
        h = range_height - 8;
        w = h / ratio;
    }
    EXPECT_EQ(static_cast<float>((range_width - w) * 0.5 + range_left), p.left);
    EXPECT_EQ(static_cast<float>((range_height - h) * 0.5 + range_top), p.top);
    EXPECT_EQ(static_cast<float>(w), p.width);
    EXPECT_EQ(static_cast<float>(h), p.height);
}

TEST(PictureFill, NotWantedPlacesNothingAndLeavesTheFile)
{
    make_dirs("D:\\tq_conf\\temp");
    const std::string source = make_bmp(400, 300, 24, part);
    ASSERT_TRUE(write_file(picture, source));
    fill_result r = fill("picture_unwanted", 0, 0);
    EXPECT_TRUE(r.boxes.empty());
    EXPECT_TRUE(r.model.workbook.pictures.empty());
    EXPECT_TRUE(source == read_file(picture)) << "the picture changed";
    EXPECT_EQ(1, r.model.saves);
}

TEST(PictureFill, TrimsThenPlacesTheCroppedPicture)
{
    make_dirs("D:\\tq_conf\\temp");
    for (int bits : {24, 32}) {
        SCOPED_TRACE(std::to_string(bits) + "-bit source");
        const std::string source = make_bmp(400, 300, bits, part, [](int, int) { return uint8_t{0x33}; });
        ASSERT_TRUE(write_file(picture, source));
        fill_result r = fill("picture_trimmed", 1, 0);
        EXPECT_TRUE(r.boxes.empty());
        read_bmp trimmed(read_file(picture));
        ASSERT_TRUE(trimmed.ok);
        EXPECT_EQ(200, trimmed.width);
        EXPECT_EQ(100, trimmed.height);
        EXPECT_EQ(24, trimmed.bits);
        EXPECT_TRUE(trimmed.at(0, 0) == part(100, 50));
        EXPECT_TRUE(trimmed.at(199, 99) == part(299, 149));
        expect_picture(r.model, 200, 100);
        EXPECT_EQ(1, r.model.saves);
        EXPECT_EQ(0, r.model.live_objects);
        leave_for_readers("fill_" + std::to_string(bits), source, picture, "crop", 24);
    }
}

TEST(PictureFill, AlreadyTrimmedPicturePlacedAsItIs)
{
    make_dirs("D:\\tq_conf\\temp");
    const std::string source = make_bmp(400, 300, 24, part);
    ASSERT_TRUE(write_file(picture, source));
    fill_result r = fill("picture_as_it_is", 1, 1);
    EXPECT_TRUE(r.boxes.empty());
    EXPECT_TRUE(source == read_file(picture)) << "the picture changed";
    expect_picture(r.model, 400, 300);
    EXPECT_EQ(1, r.model.saves);
}

TEST(PictureFill, MissingPictureIsReportedAndTheSheetStillSaved)
{
    const std::string trimmer = ansi("D:\\tq_conf\\temp\\ledgerfill_pictrue.bmp 文件不存在.");
    const std::string placer = ansi("没有产生图片文件, 将不可以帖图!");
    const struct {
        int32_t picture_trimmed;
        std::vector<std::string> texts;
    } cases[] = {
        {0, {trimmer, placer}},
        {1, {placer}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.picture_trimmed ? "no trimming" : "trimming asked");
        make_dirs("D:\\tq_conf\\temp");
        DeleteFileA(picture.c_str());
        fill_result r = fill("picture_missing", 1, c.picture_trimmed);
        ASSERT_EQ(c.texts.size(), r.boxes.size());
        for (size_t i = 0; i < c.texts.size(); ++i) {
            EXPECT_EQ("ledgerfill", r.boxes[i].caption);
            EXPECT_EQ(c.texts[i], r.boxes[i].text);
            EXPECT_TRUE(r.boxes[i].has_ok);
        }
        EXPECT_TRUE(r.model.workbook.pictures.empty());
        EXPECT_EQ(1, r.model.saves);
        EXPECT_TRUE(r.model.visible);
        EXPECT_EQ(GetFileAttributesA(picture.c_str()), INVALID_FILE_ATTRIBUTES);
    }
}

TEST(PictureFill, UndecodablePictureChangesNothingAndIsNotPlaced)
{
    make_dirs("D:\\tq_conf\\temp");
    const std::string junk = "BM no bitmap here";
    ASSERT_TRUE(write_file(picture, junk));
    fill_result r = fill("picture_undecodable", 1, 0);
    EXPECT_TRUE(r.boxes.empty());
    EXPECT_TRUE(junk == read_file(picture));
    EXPECT_TRUE(r.model.workbook.pictures.empty());
    EXPECT_EQ(1, r.model.saves);
}

}  // namespace
