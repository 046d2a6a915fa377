// excel_file_2010 as the add-on calls it, against the spreadsheet double.
#include "driver_test_support.h"

#include <map>
#include <thread>
#include <vector>

namespace {

std::string failure_message(const std::string& operation, const std::string& detail)
{
    return ansi("excel操作“") + operation + ansi("”失败!") + "\n" + detail;
}

TEST(ExcelFile2010, NullArgumentsShowNothingAndStartNothing)
{
    double_control("reset");
    auto request = new_request("D:\\nowhere\\missing.xlsx");  // would be reported if it were looked at
    auto entry = new_entry();
    const struct {
        const sheet_request* request;
        const program_entry* first_program;
    } cases[] = {{nullptr, nullptr}, {request.get(), nullptr}, {nullptr, entry.get()}};
    message_box_catcher boxes;
    for (const auto& c : cases)
        excel_file_2010_export()(c.request, c.first_program);
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(0, double_control("starts"));
}

TEST(ExcelFile2010, MissingWorkbookShowsItsPathAndStartsNothing)
{
    std::string dir = fresh_dir_on_d("driver_missing");
    const std::string paths[] = {
        dir + "\\" + ansi("程序单模板") + ".xlsx",
        "D:\\" + std::string(sizeof(sheet_request::workbook_path) - 3, 'x'),  // fills the field, no NUL
    };
    for (const std::string& path : paths) {
        double_control("reset");
        auto request = new_request("");
        std::memcpy(request->workbook_path, path.data(), path.size());
        auto entry = new_entry();
        message_box_catcher boxes;
        excel_file_2010_export()(request.get(), entry.get());
        ASSERT_EQ(1u, boxes.boxes().size()) << path;
        const caught_box& box = boxes.boxes()[0];
        EXPECT_EQ("ledgerfill", box.caption);
        EXPECT_EQ(ansi("模板文件“") + path + ansi("”, 不存在!"), box.text);
        EXPECT_TRUE(box.has_ok);
        EXPECT_FALSE(box.has_cancel);
        EXPECT_EQ(0, double_control("starts"));
    }
}

TEST(ExcelFile2010, ApplicationThatCannotStartIsReported)
{
    std::string path = write_template("driver_start", double_workbook());
    const std::string original = read_file(path);
    for (bool without_com : {true, false}) {
        SCOPED_TRACE(without_com ? "thread without COM" : "server refuses");
        double_control("reset");
        if (!without_com)
            double_control("refuse_start");
        auto request = new_request(path);
        auto entry = new_entry();
        std::vector<caught_box> shown;
        auto fill = [&] {
            message_box_catcher boxes;
            excel_file_2010_export()(request.get(), entry.get());
            shown = boxes.boxes();
        };
        if (without_com)
            std::thread(fill).join();  // a new thread has no COM until it asks
        else
            fill();
        ASSERT_EQ(1u, shown.size());
        EXPECT_EQ("ledgerfill", shown[0].caption);
        EXPECT_EQ(ansi("无法启动excel服务器!"), shown[0].text);
        EXPECT_TRUE(shown[0].has_ok);
        EXPECT_EQ(0, double_control("starts"));
        EXPECT_EQ(original, read_file(path));
    }
}

TEST(ExcelFile2010, GoodTemplateGetsItsHeaderAndIsSavedOnce)
{
    double_control("reset");
    double_workbook book;
    book.cells[{1, 1}] = "template A1";
    book.cells[{2, 2}] = "disabled item";
    book.cells[{3, 3}] = "item 13 left empty";
    book.cells[{4, 4}] = "emptied by an empty text";
    book.cells[{9, 9}] = "untouched";
    std::string path = write_template("driver_header", book);

    auto request = new_request(path);
    set_header(*request, 0, 1, 1);
    std::strcpy(request->header_text_0, ansi("零件号 A-7").c_str());
    request->header_items[7] = {0, 2, 2};
    std::strcpy(request->header_text_7, "never");
    set_header(*request, 13, 3, 3);
    set_header(*request, 5, 4, 4);
    set_header(*request, 15, 5, 5);  // written 4th
    std::strcpy(request->header_text_15, "earlier");
    set_header(*request, 2, 5, 5);  // written 5th: wins
    std::strcpy(request->header_text_2, "later");
    set_header(*request, 19, 6, 6);
    std::memset(request->header_text_19, 'z', sizeof request->header_text_19);  // no NUL
    set_header(*request, 20, 7, 30);
    std::strcpy(request->header_text_20, "AD7");
    auto entry = new_entry();

    message_box_catcher boxes;
    excel_file_2010_export()(request.get(), entry.get());
    EXPECT_TRUE(boxes.boxes().empty()) << (boxes.boxes().empty() ? "" : boxes.boxes()[0].text);

    double_workbook saved;
    ASSERT_TRUE(read_double_workbook(path, &saved));
    const std::map<double_workbook::cell, std::string> expected = {
        {{1, 1}, ansi("零件号 A-7")},  {{2, 2}, "disabled item"}, {{3, 3}, "item 13 left empty"},
        {{5, 5}, "later"},            {{6, 6}, std::string(30, 'z')}, {{7, 30}, "AD7"},
        {{9, 9}, "untouched"},
    };
    EXPECT_EQ(expected, saved.cells);
    EXPECT_TRUE(saved.frames.empty());  // header cells get no frame

    double_model model = read_double_model();
    ASSERT_TRUE(model.found);
    EXPECT_EQ(1, model.starts);
    EXPECT_EQ(path, model.opened_path);
    EXPECT_EQ(0, model.read_only);
    EXPECT_EQ(1, model.saves);
    EXPECT_TRUE(model.saved);
    EXPECT_TRUE(model.visible);
    EXPECT_FALSE(model.display_alerts);
    EXPECT_FALSE(model.quit);
    EXPECT_EQ(0, model.live_objects);
    const std::vector<std::string> opening = {"Application.Workbooks", "Workbooks.Open", "Workbook.Worksheets",
                                              "Worksheets.Item", "Worksheet.Cells"};
    const std::vector<std::string> closing = {"Application.Visible", "Application.DisplayAlerts", "Workbook.Save",
                                              "Workbook.Saved"};
    ASSERT_GE(model.call_log.size(), opening.size() + closing.size());
    EXPECT_EQ(opening, std::vector<std::string>(model.call_log.begin(), model.call_log.begin() + 5));
    EXPECT_EQ(closing, std::vector<std::string>(model.call_log.end() - 4, model.call_log.end()));
}

TEST(ExcelFile2010, FailingOperationEndsTheFillWithoutSaving)
{
    double_workbook no_sheets;
    no_sheets.sheets = 0;
    const struct {
        const char* name;
        std::string template_text;
        int32_t row, column;
        std::string message;  // empty: only the operation is checked
        const char* operation;
    } cases[] = {
        {"not a workbook", "PK\x03\x04 some other file", 1, 1, "", "Workbooks.Open"},
        {"no worksheet", no_sheets.text(), 1, 1, failure_message("Worksheets.Item(1)", "0x8002000B"), ""},
        {"row 0", double_workbook().text(), 0, 3,
         failure_message("Cells.Item(0, 3)", "Application-defined or object-defined error"), ""},
        {"column beyond the sheet", double_workbook().text(), 2, 16385, "", "Cells.Item(2, 16385)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        double_control("reset");
        std::string path = fresh_dir_on_d("driver_failing") + "\\sheet.xlsx";
        ASSERT_TRUE(write_file(path, c.template_text));
        auto request = new_request(path);
        set_header(*request, 0, 1, 1);
        std::strcpy(request->header_text_0, "first");
        set_header(*request, 1, c.row, c.column);
        std::strcpy(request->header_text_1, "second");
        auto entry = new_entry();

        message_box_catcher boxes;
        excel_file_2010_export()(request.get(), entry.get());
        ASSERT_EQ(1u, boxes.boxes().size());
        EXPECT_EQ("ledgerfill", boxes.boxes()[0].caption);
        if (!c.message.empty())
            EXPECT_EQ(c.message, boxes.boxes()[0].text);
        else
            EXPECT_EQ(0u, boxes.boxes()[0].text.find(ansi("excel操作“") + c.operation + ansi("”失败!\n")))
                << boxes.boxes()[0].text;
        EXPECT_EQ(c.template_text, read_file(path));
        double_model model = read_double_model();
        EXPECT_EQ(0, model.saves);
        EXPECT_TRUE(model.visible);
        EXPECT_FALSE(model.quit);
        EXPECT_EQ(0, model.live_objects);
    }
}

}  // namespace
