// What the driver's Wine tests share: the export, requests, templates.
#pragma once

#include "ledgerfill.h"

#include "double_model.h"
#include "message_box_catcher.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

using excel_file_2010_fn = void (*)(const sheet_request*, const program_entry*);

inline excel_file_2010_fn excel_file_2010_export()
{
    static excel_file_2010_fn entry = [] {
        HMODULE library = LoadLibraryA("ledgerfill.dll");
        return library ? reinterpret_cast<excel_file_2010_fn>(GetProcAddress(library, "excel_file_2010")) : nullptr;
    }();
    return entry;
}

// Zeroed records, as the add-on's are before it fills them.
inline std::unique_ptr<sheet_request> new_request(const std::string& workbook)
{
    auto request = std::make_unique<sheet_request>();
    std::memset(request.get(), 0, sizeof *request);
    std::strncpy(request->workbook_path, workbook.c_str(), sizeof request->workbook_path - 1);
    request->first_row = 10;
    request->border_weight = 2;
    return request;
}

inline std::unique_ptr<program_entry> new_entry()
{
    auto entry = std::make_unique<program_entry>();
    std::memset(entry.get(), 0, sizeof *entry);
    return entry;
}

inline void set_header(sheet_request& request, int item, int32_t row, int32_t column)
{
    request.header_items[item] = {1, row, column};
}

// A fresh template file in the double's workbook format.
inline std::string write_template(const std::string& test, const double_workbook& book)
{
    std::string path = fresh_dir_on_d(test) + "\\sheet.xlsx";
    EXPECT_TRUE(write_file(path, book.text()));
    return path;
}
