#include "header_items.h"

#include "ledgerfill.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// Records what reaches the cells; can be told to fail the n-th write.
class cell_log_sheet : public sheet {
public:
    struct write {
        int32_t row, column;
        std::string text;
    };
    std::vector<write> writes;
    int fail_at_write = 0;  // 1-based; 0: never

    bool write_cell_text(int32_t row, int32_t column, const char* text) override
    {
        if (static_cast<int>(writes.size()) + 1 == fail_at_write)
            return false;
        writes.push_back({row, column, text});
        return true;
    }
    bool frame_range(const char*, const char*, int16_t) override
    {
        ADD_FAILURE() << "header cells get no frame";
        return false;
    }
    bool range_geometry(const char*, const char*, range_box*) override { return false; }
    bool add_picture(const char*, float, float, float, float) override { return false; }
    std::wstring failure() const override { return L"write failed"; }

    std::map<std::pair<int32_t, int32_t>, std::string> cells() const
    {
        std::map<std::pair<int32_t, int32_t>, std::string> result;
        for (const write& w : writes)
            result[{w.row, w.column}] = w.text;
        return result;
    }
};

std::unique_ptr<sheet_request> blank_request()
{
    auto request = std::make_unique<sheet_request>();
    std::memset(request.get(), 0, sizeof *request);
    return request;
}

void enable(sheet_request& request, int item, int32_t row, int32_t column)
{
    request.header_items[item] = {1, row, column};
}

TEST(HeaderWriteOrder, FollowsTheRecordAndCoversEveryItemOnce)
{
    const int expected_items[26] = {0,  1,  14, 15, 2,  3,  4,  5,  6,  7,  8,  9,  10,
                                    11, 12, 16, 17, 18, 19, 20, 21, 13, 22, 23, 24, 25};
    size_t next_offset = 340;
    bool seen[26] = {};
    for (int i = 0; i < 26; ++i) {
        const header_text_slot& slot = header_write_order[i];
        EXPECT_EQ(expected_items[i], slot.item) << "position " << i;
        EXPECT_EQ(next_offset, slot.text_offset) << "texts lie back to back, position " << i;
        next_offset = slot.text_offset + slot.text_room;
        EXPECT_FALSE(seen[slot.item]);
        seen[slot.item] = true;
    }
    EXPECT_EQ(offsetof(sheet_request, workbook_path), next_offset);
}

TEST(FieldText, StopsAtTheNulOrTheRoom)
{
    struct {
        const char* bytes;
        size_t room;
        const char* expected;
    } cases[] = {
        {"abc\0zz", 6, "abc"},
        {"\0abc", 4, ""},
        {"abcd", 4, "abcd"},  // no NUL: the whole room, nothing after it
        {"\xd7\xdc\xbc\xc6:", 5, "\xd7\xdc\xbc\xc6:"},
    };
    for (const auto& c : cases) {
        // Exactly the room on the heap, so that a read past it is caught.
        std::unique_ptr<char[]> field(new char[c.room]);
        std::memcpy(field.get(), c.bytes, c.room);
        EXPECT_EQ(c.expected, field_text(field.get(), c.room)) << c.bytes;
    }
}

TEST(WriteHeader, WritesEnabledItemsInOrderAndSkipsTheRest)
{
    auto request = blank_request();
    enable(*request, 0, 1, 1);
    std::strcpy(request->header_text_0, "job");
    enable(*request, 14, 2, 3);
    std::strcpy(request->header_text_14, "\xc1\xe3\xbc\xfe");  // GBK bytes pass unchanged
    enable(*request, 5, 4, 4);  // empty text: the cell is emptied
    std::strcpy(request->header_text_7, "disabled");
    request->header_items[7] = {0, 9, 9};
    enable(*request, 13, 6, 6);  // empty item 13: untouched
    enable(*request, 25, 7, 7);
    std::strcpy(request->header_text_25, "last");

    cell_log_sheet target;
    ASSERT_TRUE(write_header(target, *request));
    ASSERT_EQ(4u, target.writes.size());
    EXPECT_EQ("job", target.writes[0].text);
    EXPECT_EQ((std::pair<int32_t, int32_t>{2, 3}), std::make_pair(target.writes[1].row, target.writes[1].column));
    EXPECT_EQ("\xc1\xe3\xbc\xfe", target.writes[1].text);
    EXPECT_EQ("", target.writes[2].text);
    EXPECT_EQ(4, target.writes[2].row);
    EXPECT_EQ("last", target.writes[3].text);

    std::strcpy(request->header_text_13, "x");
    cell_log_sheet again;
    ASSERT_TRUE(write_header(again, *request));
    EXPECT_EQ("x", (again.cells()[{6, 6}]));
}

TEST(WriteHeader, LaterItemOnTheSameCellWins)
{
    // Item 2 is written after item 15, item 13 after item 21.
    auto request = blank_request();
    enable(*request, 2, 3, 3);
    std::strcpy(request->header_text_2, "item 2");
    enable(*request, 15, 3, 3);
    std::strcpy(request->header_text_15, "item 15");
    enable(*request, 13, 5, 5);
    std::strcpy(request->header_text_13, "item 13");
    enable(*request, 21, 5, 5);
    std::strcpy(request->header_text_21, "item 21");

    cell_log_sheet target;
    ASSERT_TRUE(write_header(target, *request));
    auto cells = target.cells();
    EXPECT_EQ("item 2", (cells[{3, 3}]));
    EXPECT_EQ("item 13", (cells[{5, 5}]));
}

TEST(WriteHeader, FullFieldIsReadWithinItsRoom)
{
    auto request = blank_request();
    enable(*request, 19, 1, 1);
    std::memset(request->header_text_19, 'x', sizeof request->header_text_19);
    std::strcpy(request->header_text_20, "next field");
    cell_log_sheet target;
    ASSERT_TRUE(write_header(target, *request));
    ASSERT_EQ(1u, target.writes.size());
    EXPECT_EQ(std::string(30, 'x'), target.writes[0].text);
}

TEST(WriteHeader, StopsAtTheFirstFailedWrite)
{
    auto request = blank_request();
    for (int item = 0; item < 26; ++item)
        enable(*request, item, item + 1, 1);
    std::strcpy(request->header_text_13, "x");
    cell_log_sheet target;
    target.fail_at_write = 3;
    EXPECT_FALSE(write_header(target, *request));
    EXPECT_EQ(2u, target.writes.size());
}

}  // namespace
