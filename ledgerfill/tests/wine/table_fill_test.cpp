// The program table end to end: excel_file_2010 of the real DLL fills the
// spreadsheet double, whose model must hold, cell by cell and frame by frame,
// what the table run writes into a recording sheet, and nothing more.
#include "driver_test_support.h"

#include "../native/recording_sheet.h"
#include "table_run.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

const double missing = PROGRAM_VALUE_MISSING;

struct planned_program {
    const char* group;  // UTF-8
    double minutes;
};

// A job's records: the request and the program list, linked in order.
struct table_job {
    std::unique_ptr<sheet_request> request;
    std::vector<std::unique_ptr<program_entry>> programs;

    table_job(const std::string& workbook, const char* codes, int32_t time_as_hours,
              const std::vector<planned_program>& planned)
        : request(new_request(workbook))
    {
        std::strcpy(request->column_codes, codes);
        request->group_name_column = 2;
        request->time_as_hours = time_as_hours;
        request->border_weight = -4138;  // xlMedium
        request->level_base = 50;
        request->e_addend = 1;
        request->x_addend = 0.5;
        request->y_addend = 0.2;
        int n = 0;
        for (const planned_program& p : planned) {
            auto entry = new_entry();
            ++n;
            std::strcpy(entry->group_name, ansi(p.group).c_str());
            entry->machining_minutes = p.minutes;
            std::snprintf(entry->text_b, sizeof entry->text_b, "O%04d", n);
            std::strcpy(entry->text_c, ansi("平底刀").c_str());
            std::snprintf(entry->text_g, sizeof entry->text_g, "CAVITY_MILL_%d", n);
            entry->tool_number = n % 4 + 1;
            entry->tool_diameter = 4 + 2 * (n % 3);
            entry->corner_radius = n % 2 ? 0.5 : 0;
            entry->value_f = 800 + 12.345 * n;
            entry->value_t = 0.25 * n;
            entry->value_n = 3000 + 100 * n;
            entry->value_m = -0.0004 * n;
            entry->value_p = 1.0 / n;
            entry->value_o = 0.1;
            entry->value_h = 2.5;
            entry->value_i = -7.125;
            entry->level = n % 3 ? 40.0 - n : missing;
            entry->number_z = 100 - n;
            entry->flag_1 = n % 2;
            entry->value_u = 1.5;
            entry->value_v = 0.3333;
            entry->value_y = n % 3 ? 3.3 : 0;
            entry->x_subtrahend = 0.125;
            std::strcpy(entry->text_w, ansi("顺铣").c_str());
            std::strcpy(entry->text_6, "six");
            std::strcpy(entry->text_7, "seven");
            std::strcpy(entry->text_q, "HSM");
            if (n % 2)
                std::strcpy(entry->text_2, "two");
            std::strcpy(entry->text_3, "three");
            std::strcpy(entry->text_5, "five");
            if (!programs.empty())
                programs.back()->next = entry.get();
            programs.push_back(std::move(entry));
        }
    }
};

// Groups that recur, a group without times, a missing time amid others.
const std::vector<planned_program> machining_plan = {
    {"粗加工", 10.04}, {"粗加工", 62},     {"粗加工", 0.5},  {"半精加工", 12}, {"半精加工", missing},
    {"半精加工", 30},  {"精加工", missing}, {"精加工", missing}, {"粗加工", 125.3},
};

// A template with texts of its own: a title, and the checked column of code r.
double_workbook template_book(int r_column)
{
    double_workbook book;
    book.cells[{1, 1}] = ansi("数控程序单");
    for (int row = 10; row <= 30; ++row)
        book.cells[{row, r_column}] = ansi("检");
    return book;
}

// Fills through the DLL and checks the double's workbook against the table
// run over a recording sheet holding the same template.
void fill_and_compare(const table_job& job, const double_workbook& book, double_model* model)
{
    ASSERT_NE(nullptr, excel_file_2010_export());
    recording_sheet expected;
    expected.cells = book.cells;
    ASSERT_TRUE(run_program_table(expected, *job.request, job.programs.front().get()));

    double_control("reset");
    message_box_catcher boxes;
    excel_file_2010_export()(job.request.get(), job.programs.front().get());
    EXPECT_TRUE(boxes.texts().empty()) << boxes.texts().front();
    *model = read_double_model();
    ASSERT_TRUE(model->found);

    EXPECT_EQ(expected.cells, model->workbook.cells);
    ASSERT_EQ(expected.frames.size(), model->workbook.frames.size());
    for (size_t i = 0; i < expected.frames.size(); ++i) {
        const auto where = recording_sheet::parse_reference(expected.frames[i].first);
        const double_frame& got = model->workbook.frames[i];
        EXPECT_EQ(expected.frames[i].first, expected.frames[i].last);
        EXPECT_EQ(where.first, got.first_row) << "frame " << i << " " << expected.frames[i].first;
        EXPECT_EQ(where.second, got.first_column) << "frame " << i << " " << expected.frames[i].first;
        EXPECT_EQ(where.first, got.last_row) << "frame " << i;
        EXPECT_EQ(where.second, got.last_column) << "frame " << i;
        EXPECT_EQ(1, got.line_style);
        EXPECT_EQ(frame_weight(job.request->border_weight), got.weight);
        EXPECT_EQ(1, got.color_index);
        EXPECT_EQ(0u, got.color);
    }
    // Opening, showing and saving take nine calls; each cell text two (Item,
    // Value2) and each frame two (Range, BorderAround), and no more.
    EXPECT_EQ(9 + 2 * expected.writes + 2 * static_cast<int>(expected.frames.size()), model->calls);
    EXPECT_EQ(0, model->live_objects);
    EXPECT_EQ(1, model->saves);
}

TEST(ProgramTableFill, RealisticJobInBothTimeModes)
{
    // 20 codes; the time is the 7th, code r the 19th.
    const char codes[] = "abcdsflmnotkjyxegqrw";
    struct {
        int32_t time_as_hours;
        const char *first_total, *second_total, *last_total, *first_time;
    } const modes[] = {{1, "1:13", "0:30", "2:06", "0:10"}, {0, "73", "30", "126", "10"}};
    for (const auto& mode : modes) {
        SCOPED_TRACE(mode.time_as_hours ? "hours and minutes" : "whole minutes");
        const double_workbook book = template_book(19);
        const std::string path = write_template("table_fill_realistic", book);
        table_job job(path, codes, mode.time_as_hours, machining_plan);
        double_model model;
        fill_and_compare(job, book, &model);
        const double_workbook& sheet = model.workbook;

        // Rows from 10: group, 3 programs, total; group, 3 programs, total;
        // group, 2 programs without times and no total; group, 1 program, total.
        EXPECT_EQ(ansi("粗加工"), sheet.at(10, 2));
        EXPECT_EQ("1", sheet.at(11, 1));
        EXPECT_EQ("O0001", sheet.at(11, 2));
        EXPECT_EQ(mode.first_time, sheet.at(11, 7));
        EXPECT_EQ(ansi("总计:"), sheet.at(14, 6));
        EXPECT_EQ(mode.first_total, sheet.at(14, 7));
        EXPECT_EQ(ansi("半精加工"), sheet.at(15, 2));
        EXPECT_EQ("-", sheet.at(17, 7));
        EXPECT_EQ(mode.second_total, sheet.at(19, 7));
        EXPECT_EQ(ansi("精加工"), sheet.at(20, 2));
        EXPECT_EQ(ansi("粗加工"), sheet.at(23, 2));
        EXPECT_EQ("9", sheet.at(24, 1));
        EXPECT_EQ(mode.last_total, sheet.at(25, 7));
        EXPECT_FALSE(sheet.has(26, 6) || sheet.has(26, 7));
        EXPECT_EQ(ansi("检"), sheet.at(11, 19));  // code r framed it and left it
        EXPECT_EQ(ansi("数控程序单"), sheet.at(1, 1));
    }
}

TEST(ProgramTableFill, ThirtyCodesReachColumnAD)
{
    // A dash takes no column: the time lands in column 12, its total in 13.
    const char codes[] = "abcdefghijk-lmnopqrstuvwxyz1234";
    const double_workbook book = template_book(18);
    const std::string path = write_template("table_fill_wide", book);
    table_job job(path, codes, 0, machining_plan);
    double_model model;
    fill_and_compare(job, book, &model);
    const double_workbook& sheet = model.workbook;
    EXPECT_EQ("10", sheet.at(11, 12));
    EXPECT_EQ(ansi("总计:"), sheet.at(14, 12));
    EXPECT_EQ("73", sheet.at(14, 13));
    EXPECT_EQ("-", sheet.at(11, 30));  // code 4 with an empty text
    bool column_ad_framed = false;
    for (const double_frame& f : sheet.frames)
        column_ad_framed = column_ad_framed || (f.first_row == 11 && f.first_column == 30);
    EXPECT_TRUE(column_ad_framed);
}

}  // namespace
