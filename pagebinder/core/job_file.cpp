#include "job_file.h"

#include <cstring>

namespace {

std::int32_t little_endian_int32(const unsigned char* bytes)
{
    std::uint32_t value = std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
                          std::uint32_t(bytes[3]) << 24;
    std::int32_t signed_value;
    std::memcpy(&signed_value, &value, sizeof value);
    return signed_value;
}

}  // namespace

void take_field_text(const unsigned char* field, std::size_t size, char* text)
{
    const void* end = std::memchr(field, '\0', size);
    std::size_t length = end ? static_cast<std::size_t>(static_cast<const unsigned char*>(end) - field) : size;
    std::memcpy(text, field, length);
    text[length] = '\0';
}

bool read_page_job_header(std::FILE* file, page_job_header* header)
{
    unsigned char block[page_job_header_size];
    if (std::fread(block, 1, sizeof block, file) != sizeof block)
        return false;
    header->fixed_width = little_endian_int32(block + 0);
    header->fixed_height = little_endian_int32(block + 4);
    header->page_count = little_endian_int32(block + 8);
    header->use_fixed_size = little_endian_int32(block + 12);
    take_field_text(block + 16, pdf_path_field_size, header->pdf_path);
    return true;
}

bool read_page_record(std::FILE* file, page_record* record)
{
    unsigned char block[page_record_size];
    if (std::fread(block, 1, sizeof block, file) != sizeof block)
        return false;
    take_field_text(block, image_name_field_size, record->image_name);
    return true;
}
