#include "table_run.h"

#include "ledgerfill.h"
#include "recording_sheet.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

#define TOTAL "\xD7\xDC\xBC\xC6:"  // 总计: in code page 936
const double missing = PROGRAM_VALUE_MISSING;

// A request and its program list, zeroed like a caller's fresh records.
struct job {
    std::unique_ptr<sheet_request> request = std::make_unique<sheet_request>();
    std::vector<std::unique_ptr<program_entry>> entries;

    explicit job(const char* codes, int32_t first_row = 5, int32_t group_name_column = 3)
    {
        std::memset(request.get(), 0, sizeof *request);
        std::strcpy(request->column_codes, codes);
        request->first_row = first_row;
        request->group_name_column = group_name_column;
        request->border_weight = 2;
    }

    program_entry& add(const char* group, double minutes = missing)
    {
        auto entry = std::make_unique<program_entry>();
        std::memset(entry.get(), 0, sizeof *entry);
        std::strcpy(entry->group_name, group);
        entry->machining_minutes = minutes;
        entry->level = missing;
        if (!entries.empty())
            entries.back()->next = entry.get();
        entries.push_back(std::move(entry));
        return *entries.back();
    }

    const program_entry* first() const { return entries.empty() ? nullptr : entries.front().get(); }

    recording_sheet run(recording_sheet target = {}) const
    {
        EXPECT_TRUE(run_program_table(target, *request, first()));
        return target;
    }
};

TEST(CellReference, AbsoluteUpToZRelativeBeyond)
{
    struct {
        int32_t row, column;
        const char* text;
    } const cases[] = {
        {7, 3, "$C$7"},      {1, 1, "$A$1"},       {12, 26, "$Z$12"},     {7, 27, "AA7"},
        {7, 28, "AB7"},      {12, 52, "AZ12"},     {3, 53, "BA3"},        {9, 702, "ZZ9"},
        {9, 703, "AAA9"},    {1, 16384, "XFD1"},   {1048576, 2, "$B$1048576"},
        {7, 0, "$@$7"},      {7, -5, "$@$7"},      // no such column: refused by the sheet
        {-2147483647 - 1, 2147483647, "FXSHRXW-2147483648"},
    };
    for (const auto& c : cases) {
        char reference[cell_reference_size];
        std::memset(reference, 'x', sizeof reference);
        cell_reference(c.row, c.column, reference);
        EXPECT_STREQ(c.text, reference) << "row " << c.row << ", column " << c.column;
    }
}

TEST(FrameWeight, IsTheLowHalfReadAsSigned)
{
    struct {
        int32_t border_weight;
        int16_t weight;
    } const cases[] = {
        {2, 2}, {-4, -4}, {0x0001FFFC, -4}, {0x12340003, 3}, {0x8000, -32768}, {0x7FFF, 32767}, {0x10000, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.weight, frame_weight(c.border_weight)) << std::hex << c.border_weight;

    job j("a");
    j.request->border_weight = 0x0001FFFC;
    j.add("A", 5);
    for (const auto& frame : j.run().frames)
        EXPECT_EQ(-4, frame.weight);
}

TEST(TimeColumn, FirstLowerCaseLCountingEveryCharacter)
{
    EXPECT_EQ(3, time_column("abl", 80));
    EXPECT_EQ(4, time_column("ab-l", 80));
    EXPECT_EQ(1, time_column("lal", 80));
    EXPECT_EQ(0, time_column("abL", 80));
    EXPECT_EQ(0, time_column("", 80));
    const char unterminated[3] = {'a', 'b', 'c'};
    EXPECT_EQ(0, time_column(unterminated, sizeof unterminated));
    char full[80];
    std::memset(full, 'a', sizeof full);
    full[79] = 'l';
    EXPECT_EQ(80, time_column(full, sizeof full));
}

TEST(ProgramTable, OneGroupWritesGroupRowFramedProgramRowAndTotals)
{
    struct {
        int32_t time_as_hours;
        const char* time;
    } const modes[] = {{1, "1:02"}, {0, "62"}};
    for (const auto& mode : modes) {
        job j("abl", 5, 2);
        j.request->time_as_hours = mode.time_as_hours;
        std::strcpy(j.add("A", 62.0).text_b, "B-1");
        recording_sheet target = j.run();
        const std::string t = mode.time;
        EXPECT_EQ((std::vector<std::string>{
                      "write 5,2 A",
                      "write 6,1 1", "frame $A$6 $A$6 2",
                      "write 6,2 B-1", "frame $B$6 $B$6 2",
                      "write 6,3 " + t, "frame $C$6 $C$6 2",
                      "write 7,2 " TOTAL, "frame $B$7 $B$7 2",
                      "write 7,3 " + t, "frame $C$7 $C$7 2",
                  }),
                  target.log)
            << "time_as_hours " << mode.time_as_hours;
    }
}

TEST(ProgramTable, MachiningTimeRoundsUpFromFiveHundredthsAndCountsAtLeastOneMinute)
{
    struct {
        double minutes;
        const char* as_hours;
        const char* as_minutes;
    } const cases[] = {
        {10.04, "0:10", "10"}, {10.2, "0:11", "11"}, {59.5, "1:00", "60"}, {0, "0:01", "1"},
        {0.5, "0:01", "1"},    {0.99, "0:01", "1"},  {1.04, "0:01", "1"},  {1.06, "0:02", "2"},
        {62, "1:02", "62"},    {125.3, "2:06", "126"},
    };
    for (const auto& c : cases) {
        for (int32_t hours : {1, 0}) {
            job j("al", 1);
            j.request->time_as_hours = hours;
            j.add("", c.minutes);
            recording_sheet target = j.run();
            const std::string text = hours ? c.as_hours : c.as_minutes;
            EXPECT_EQ((std::vector<std::string>{"1[1] 2[" + text + "]", "1[" TOTAL "] 2[" + text + "]", ""}),
                      target.rows_view(1, 3))
                << c.minutes << " minutes, time_as_hours " << hours;
        }
    }
}

struct planned_entry {
    const char* group;
    double minutes;
};

TEST(ProgramTable, GroupRowsAndTotalsFollowTheGroupsAndTheirSums)
{
    struct {
        const char* name;
        const char* codes;
        int32_t time_as_hours;
        std::vector<planned_entry> entries;
        std::vector<std::string> rows;  // from row 5
    } const cases[] = {
        {"times summed per group, hours and minutes",
         "al", 1,
         {{"A", 50}, {"A", 20}, {"B", 5}},
         {"3(A)", "1[1] 2[0:50]", "1[2] 2[0:20]", "1[" TOTAL "] 2[1:10]",
          "3(B)", "1[3] 2[0:05]", "1[" TOTAL "] 2[0:05]", ""}},
        {"times summed per group, whole minutes",
         "al", 0,
         {{"A", 50}, {"A", 20}, {"B", 5}},
         {"3(A)", "1[1] 2[50]", "1[2] 2[20]", "1[" TOTAL "] 2[70]",
          "3(B)", "1[3] 2[5]", "1[" TOTAL "] 2[5]", ""}},
        {"a group without any time has no totals row",
         "al", 0,
         {{"A", missing}, {"A", missing}, {"B", 2}},
         {"3(A)", "1[1] 2[-]", "1[2] 2[-]", "3(B)", "1[3] 2[2]", "1[" TOTAL "] 2[2]", ""}},
        {"a missing time drops what the group summed before it",
         "al", 0,
         {{"A", 5}, {"A", missing}, {"A", 7}, {"B", 1}, {"B", missing}},
         {"3(A)", "1[1] 2[5]", "1[2] 2[-]", "1[3] 2[7]", "1[" TOTAL "] 2[7]",
          "3(B)", "1[4] 2[1]", "1[5] 2[-]", ""}},
        {"a group that recurs gets a group row and a total each time",
         "al", 0,
         {{"A", 1.5}, {"B", 3}, {"A", 4}},
         {"3(A)", "1[1] 2[2]", "1[" TOTAL "] 2[2]", "3(B)", "1[2] 2[3]", "1[" TOTAL "] 2[3]",
          "3(A)", "1[3] 2[4]", "1[" TOTAL "] 2[4]", ""}},
        {"an empty first group name equals the start and gets no group row",
         "al", 0,
         {{"", 5}, {"B", 6}},
         {"1[1] 2[5]", "1[" TOTAL "] 2[5]", "3(B)", "1[2] 2[6]", "1[" TOTAL "] 2[6]", ""}},
        {"a dash takes no column, the totals follow the first l by position",
         "a-l", 0,
         {{"A", 62}},
         {"3(A)", "1[1] 2[62]", "2[" TOTAL "] 3[62]", ""}},
        {"every l writes the time and adds it again",
         "lal", 0,
         {{"A", 3}},
         {"3(A)", "1[3] 2[1] 3[3]", "1[6]", ""}},  // no column left of the first: no label
        {"no codes: one empty row per entry, group rows still, no totals",
         "", 0,
         {{"A", 5}, {"B", 6}},
         {"3(A)", "", "3(B)", "", ""}},
        {"no l: no totals",
         "a", 1,
         {{"A", 5}, {"B", 6}},
         {"3(A)", "1[1]", "3(B)", "1[2]", ""}},
    };
    for (const auto& c : cases) {
        job j(c.codes);
        j.request->time_as_hours = c.time_as_hours;
        for (const planned_entry& e : c.entries)
            j.add(e.group, e.minutes);
        recording_sheet target = j.run();
        EXPECT_EQ(c.rows, target.rows_view(5, 4 + static_cast<int32_t>(c.rows.size()))) << c.name;
        EXPECT_TRUE(target.rows_view(1, 4) == std::vector<std::string>(4)) << c.name;
    }
}

TEST(ProgramTable, EveryCodeWritesItsText)
{
    // Capitals, 0, 9, '-' and blanks are no codes and take no column.
    job j("abcdefghijkl-mnopqrstuvwxyz 12345678A09");
    sheet_request& r = *j.request;
    r.level_base = 100;
    r.e_addend = 2;
    r.x_addend = 0.25;
    r.y_addend = 0.1;

    program_entry& full = j.add("G", 12.5);
    std::strcpy(full.text_b, "\xB4\xD6\xBC\xD3\xB9\xA4");  // 粗加工
    std::strcpy(full.text_c, "c-text");
    std::strcpy(full.text_g, "g-text");
    full.tool_number = 12;
    full.tool_diameter = 10;
    full.corner_radius = 0.5;
    full.value_f = 1200.5;
    full.value_t = 0.1234;
    full.value_n = 3000;
    full.value_m = -1.0005;
    full.value_p = 2.5;
    full.value_o = 0.0004;
    full.value_h = 7.77777;
    full.value_i = 8;
    full.level = 87.345;
    full.number_z = -3;
    full.flag_1 = 1;
    full.value_u = 1.1;
    full.value_v = 2.2;
    full.value_y = 2.3;
    full.x_subtrahend = 0.5;
    std::strcpy(full.text_w, "w-text");
    std::strcpy(full.text_6, "six");
    std::strcpy(full.text_7, "seven");
    std::strcpy(full.text_q, "q-text");
    std::strcpy(full.text_2, "two");
    std::strcpy(full.text_3, "three");
    std::strcpy(full.text_4, "four");
    std::strcpy(full.text_5, "five");

    program_entry& sparse = j.add("G", 0.3);  // missing level, no radius, small y, no flag, empty texts
    sparse.tool_number = 3;
    sparse.tool_diameter = 6.35;
    sparse.value_y = 0.01;

    recording_sheet target;
    target.cells[{7, 18}] = "template";  // the r cell of the second row
    target = j.run(target);

    const std::vector<const char*> full_row = {
        "1", "\xB4\xD6\xBC\xD3\xB9\xA4", "c-text", "T12", "15", "1200.5", "g-text", "7.778", "8", "-12.66",
        "87.35", "13", "-1.001", "3000", "0", "2.5", "q-text", nullptr, "D10R0.5", "0.123", "1.1", "2.2",
        "w-text", "1200.25", "3", "-3", "Yes", "two", "three", "four", "five", "six", "seven", "seven"};
    const std::vector<const char*> sparse_row = {
        "2", "", "", "T3", "-", "0", "", "0", "0", "-", "-", "1", "0", "0", "0", "0", "", "template",
        "D6.35", "0", "0", "0", "", "0.25", "-", "0", "-", "-", "-", "-", "", "", "", ""};
    struct {
        int32_t row;
        const std::vector<const char*>& texts;  // null: not written
    } const rows[] = {{6, full_row}, {7, sparse_row}};
    for (const auto& row : rows) {
        for (int32_t column = 1; column <= 34; ++column) {
            const char* expected = row.texts[column - 1];
            auto text = target.cells.find({row.row, column});
            if (!expected) {
                EXPECT_EQ(target.cells.end(), text) << "row " << row.row << ", column " << column;
            } else {
                ASSERT_NE(target.cells.end(), text) << "row " << row.row << ", column " << column;
                EXPECT_EQ(expected, text->second) << "row " << row.row << ", column " << column;
            }
            EXPECT_EQ(1u, target.framed_cells().count({row.row, column})) << "row " << row.row << ", column " << column;
        }
        EXPECT_EQ(0u, target.cells.count({row.row, 35}));
        EXPECT_EQ(0u, target.framed_cells().count({row.row, 35}));
    }
    // The r cells were framed, never written.
    for (const std::string& line : target.log)
        EXPECT_NE(0u, line.rfind("write 7,18 ", 0)) << line;
    // Beyond column 26 the frames use the relative form.
    EXPECT_EQ("AH6", target.frames[33].first);
    // The totals: the label left of the first l, the sum of 13 and 1 minutes under it.
    EXPECT_EQ("11[" TOTAL "] 12[14]", target.row_view(8));
}

TEST(ProgramTable, TotalsBeyondColumnZFrameByTheirOwnColumns)
{
    job j("aaaaaaaaaaaaaaaaaaaaaaaaaal", 12);  // l in column 27
    j.add("", 3);
    recording_sheet target = j.run();
    std::vector<std::string> references;
    for (const auto& frame : target.frames)
        references.push_back(frame.first);
    ASSERT_EQ(29u, references.size());
    EXPECT_EQ("$Z$12", references[25]);
    EXPECT_EQ("AA12", references[26]);
    EXPECT_EQ("$Z$13", references[27]);
    EXPECT_EQ("AA13", references[28]);
    EXPECT_EQ("26[" TOTAL "] 27[3]", target.row_view(13));
}

TEST(ProgramTable, LongTextsAreCutAtACharacterBoundaryWithinTheirRoom)
{
    job j("b3");
    // A group name filling its whole field without a NUL: 79 bytes are kept.
    program_entry& first = j.add("");
    std::memset(first.group_name, 'G', sizeof first.group_name);
    // A cell text filling its field without a NUL ends at the field.
    std::memset(first.text_b, 'b', sizeof first.text_b);
    std::strcpy(first.text_5, "next field");
    // A text above 511 bytes is cut at 511 ...
    std::memset(first.text_3, 'y', 600);

    // ... or at 510 when a double-byte character would be split; a name that
    // differs only beyond the kept bytes is the same group.
    program_entry& second = j.add("");
    std::memset(second.group_name, 'G', 79);
    std::strcpy(second.group_name + 79, "H");
    std::memset(second.text_3, 'y', 510);
    std::strcpy(second.text_3 + 510, "\xB4\xD6\xBC\xD3");

    // A name of 78 bytes and a double-byte character keeps the 78 bytes.
    program_entry& third = j.add("");
    std::memset(third.group_name, 'K', 78);
    std::strcpy(third.group_name + 78, "\xB4\xD6");

    recording_sheet target = j.run();
    EXPECT_EQ(std::string(79, 'G'), target.cells[recording_sheet::cell(5, 3)]);
    EXPECT_EQ(std::string(384, 'b'), target.cells[recording_sheet::cell(6, 1)]);
    EXPECT_EQ(std::string(511, 'y'), target.cells[recording_sheet::cell(6, 2)]);
    EXPECT_EQ(std::string(510, 'y'), target.cells[recording_sheet::cell(7, 2)]);
    EXPECT_EQ(std::string(78, 'K'), target.cells[recording_sheet::cell(8, 3)]);
    EXPECT_EQ(0u, target.cells.count({7, 3}));  // no group row for the second entry
}

TEST(ProgramTable, StopsAtTheFirstFailingOperation)
{
    job j("al", 5, 3);
    j.add("A", 5);
    j.add("B", 6);
    recording_sheet all = j.run();
    ASSERT_EQ(18, all.operations);  // 2 group rows, 2 program rows and 2 totals rows of 2 framed cells each
    for (int failing : {1, 2, 3, 5, 6, 9, 10, 14, 15, 18}) {
        recording_sheet target;
        target.fail_at_operation = failing;
        EXPECT_FALSE(run_program_table(target, *j.request, j.first())) << "failing operation " << failing;
        EXPECT_EQ(failing, target.operations) << "nothing after the failure";
        EXPECT_FALSE(target.failure().empty());
    }
}

TEST(ProgramTable, NoEntriesWriteNothing)
{
    job j("abl");
    recording_sheet target = j.run();
    EXPECT_EQ(0, target.operations);
}

}  // namespace
