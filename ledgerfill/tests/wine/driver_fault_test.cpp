// A member call that fails anywhere in a whole fill: one message, nothing
// saved over the template, the application visible, every object released.
#include "driver_test_support.h"

#include <algorithm>
#include <vector>

namespace {

// A 2 x 2 picture, 24 bits per pixel, bottom-up rows of 8 bytes.
std::string small_bitmap()
{
    std::string file = std::string("BM") + std::string(52, '\0') + std::string(16, '\x40');
    auto put32 = [&](size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            file[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    put32(2, static_cast<uint32_t>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, 2);
    put32(22, 2);
    file[26] = 1;
    file[28] = 24;
    return file;
}

struct whole_fill {
    std::string path;
    std::string template_text;
    std::unique_ptr<sheet_request> request;
    std::unique_ptr<program_entry> first, second;

    explicit whole_fill(const std::string& test)
    {
        double_workbook book;
        book.cells[{12, 9}] = "kept by code r";
        book.row_heights[30] = 40;
        template_text = book.text();
        path = fresh_dir_on_d(test) + "\\sheet.xlsx";
        request = new_request(path);
        set_header(*request, 0, 1, 2);
        std::strcpy(request->header_text_0, ansi("零件").c_str());
        set_header(*request, 13, 2, 2);
        std::strcpy(request->header_text_13, "13");
        set_header(*request, 25, 3, 2);
        request->first_row = 10;
        request->group_name_column = 1;
        request->time_as_hours = 1;
        std::strcpy(request->column_codes, "abrl");
        request->picture_wanted = 1;
        request->picture_trimmed = 1;
        std::strcpy(request->picture_first_cell, "B30");
        std::strcpy(request->picture_last_cell, "D34");
        first = new_entry();
        second = new_entry();
        std::strcpy(first->group_name, "A");
        std::strcpy(first->text_b, "rough");
        first->machining_minutes = 62;
        std::strcpy(second->group_name, "A");
        std::strcpy(second->text_b, "finish");
        second->machining_minutes = 3.2;
        first->next = second.get();
        EXPECT_TRUE(make_dirs("D:\\tq_conf\\temp"));
        EXPECT_TRUE(write_file("D:\\tq_conf\\temp\\ledgerfill_pictrue.bmp", small_bitmap()));
    }

    void run() const
    {
        ASSERT_TRUE(write_file(path, template_text));
        excel_file_2010_export()(request.get(), first.get());
    }
};

TEST(ExcelFile2010, FaultAtAnyCallEndsTheFillCleanly)
{
    whole_fill fill("driver_faults");
    double_control("reset");
    std::vector<caught_box> clean_boxes;
    {
        message_box_catcher boxes;
        fill.run();
        clean_boxes = boxes.boxes();
    }
    ASSERT_TRUE(clean_boxes.empty()) << clean_boxes[0].text;
    const double_model clean = read_double_model();
    ASSERT_EQ(1, clean.saves);
    ASSERT_EQ(0, clean.live_objects);
    const std::string filled = read_file(fill.path);
    const auto save = std::find(clean.call_log.begin(), clean.call_log.end(), "Workbook.Save");
    ASSERT_NE(clean.call_log.end(), save);
    const int save_call = static_cast<int>(save - clean.call_log.begin()) + 1;
    const int calls = clean.calls;
    ASSERT_EQ(static_cast<int>(clean.call_log.size()), calls);

    for (int k = 1; k <= calls; ++k) {
        SCOPED_TRACE("fault at call " + std::to_string(k) + ", " + clean.call_log[k - 1]);
        double_control("reset");
        double_control("fail_call " + std::to_string(k));
        message_box_catcher boxes;
        fill.run();
        ASSERT_EQ(1u, boxes.boxes().size());
        EXPECT_EQ("ledgerfill", boxes.boxes()[0].caption);
        EXPECT_NE(std::string::npos, boxes.boxes()[0].text.find("injected fault at call " + std::to_string(k)))
            << boxes.boxes()[0].text;
        double_model model = read_double_model();
        EXPECT_EQ(k, model.failed_call);
        EXPECT_EQ(0, model.live_objects);
        EXPECT_EQ(1, model.starts);
        EXPECT_TRUE(model.visible);
        EXPECT_FALSE(model.quit);
        if (k <= save_call) {
            EXPECT_EQ(0, model.saves);
            EXPECT_EQ(fill.template_text, read_file(fill.path));
        } else {  // only Saved comes after Save: the whole fill is on disk
            EXPECT_EQ(1, model.saves);
            EXPECT_EQ(filled, read_file(fill.path));
        }
    }
}

// The message names the failing operation with its cell or range, whichever
// object it was made on.
TEST(ExcelFile2010, FailureMessageNamesTheOperation)
{
    whole_fill fill("driver_fault_names");
    double_control("reset");
    fill.run();
    const std::vector<std::string> log = read_double_model().call_log;
    const struct {
        const char* logged;  // the double's name of the call
        int occurrence;      // 1 for its first call in the fill
        const char* operation;
    } cases[] = {
        {"Worksheets.Item", 1, "Worksheets.Item(1)"},
        {"Range.Item", 1, "Cells.Item(1, 2)"},
        {"Range.Value2", 5, "Cells.Item(11, 1).Value2"},
        {"Worksheet.Range", 1, "Range($A$11, $A$11)"},
        {"Range.BorderAround", 3, "Range($C$11, $C$11).BorderAround"},
        {"Worksheet.Range", 11, "Range(B30, D34)"},
        {"Range.Width", 1, "Range(B30, D34).Width"},
        {"Range.Top", 1, "Range(B30, D34).Top"},
        {"Shapes.AddPicture", 1, "Shapes.AddPicture"},
        {"Workbook.Save", 1, "Save"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.operation);
        int k = 0;
        for (int seen = 0; k < static_cast<int>(log.size()) && seen < c.occurrence; ++k)
            seen += log[k] == c.logged;
        ASSERT_EQ(c.logged, log[k - 1]);
        double_control("reset");
        double_control("fail_call " + std::to_string(k));
        message_box_catcher boxes;
        fill.run();
        ASSERT_EQ(1u, boxes.boxes().size());
        EXPECT_EQ(ansi("excel操作“") + c.operation + ansi("”失败!") + "\ninjected fault at call " + std::to_string(k),
                  boxes.boxes()[0].text);
    }
}

}  // namespace
