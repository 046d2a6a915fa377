// The page job file: a 552-byte header, then one 88-byte record per page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

constexpr std::size_t page_job_header_size = 552;
constexpr std::size_t page_record_size = 88;
constexpr std::size_t pdf_path_field_size = 536;    // at offset 16 of the header
constexpr std::size_t image_name_field_size = 88;   // the whole record

// Texts are kept one byte longer than their field, so that a field the writer
// filled to the last byte without a terminator is taken whole and still ends.
struct page_job_header {
    std::int32_t fixed_width;
    std::int32_t fixed_height;
    std::int32_t page_count;
    std::int32_t use_fixed_size;
    char pdf_path[pdf_path_field_size + 1];
};

struct page_record {
    char image_name[image_name_field_size + 1];
};

// Each reads exactly one block and nothing more; false when the file ends first.
bool read_page_job_header(std::FILE* file, page_job_header* header);
bool read_page_record(std::FILE* file, page_record* record);

// The text of a field: its bytes up to the first NUL, or all of them.
void take_field_text(const unsigned char* field, std::size_t size, char* text);
