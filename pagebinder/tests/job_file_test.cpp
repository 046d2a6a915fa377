#include "job_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string le32(std::int32_t value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    std::string out;
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((bits >> (8 * i)) & 0xFF);
    return out;
}

// A stdio file holding exactly the given bytes, positioned at its start.
struct memory_file {
    explicit memory_file(const std::string& bytes) : file(std::tmpfile())
    {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::rewind(file);
    }
    ~memory_file() { std::fclose(file); }
    std::FILE* file;
};

TEST(PageJobHeader, DecodesSignedLittleEndianFieldsAndThePath)
{
    struct {
        std::int32_t width, height, count, fixed;
    } cases[] = {{842, 595, 3, 1}, {-1, 0x7FFFFFFF, -5, 0}, {0, 0, INT32_MIN, -2}};
    for (auto c : cases) {
        std::string path = "C:\\out\\\xB3\xCC\xD0\xF2.pdf";
        std::string bytes = le32(c.width) + le32(c.height) + le32(c.count) + le32(c.fixed) + path;
        bytes.resize(page_job_header_size, 'x');  // bytes after the terminator are the writer's
        bytes[16 + path.size()] = '\0';
        memory_file job(bytes + "next");
        page_job_header header;
        ASSERT_TRUE(read_page_job_header(job.file, &header));
        EXPECT_EQ(c.width, header.fixed_width);
        EXPECT_EQ(c.height, header.fixed_height);
        EXPECT_EQ(c.count, header.page_count);
        EXPECT_EQ(c.fixed, header.use_fixed_size);
        EXPECT_EQ(path, header.pdf_path);
        EXPECT_EQ(long(page_job_header_size), std::ftell(job.file)) << "reads one block, never ahead";
    }
}

TEST(PageJobHeader, AFieldWithoutTerminatorIsTakenWholeAndNothingBeyond)
{
    std::string bytes = le32(1) + le32(1) + le32(1) + le32(0) + std::string(pdf_path_field_size, 'p');
    memory_file job(bytes + "record");
    page_job_header header;
    ASSERT_TRUE(read_page_job_header(job.file, &header));
    EXPECT_EQ(std::string(pdf_path_field_size, 'p'), header.pdf_path);

    memory_file records(std::string(image_name_field_size, 'n') + "ZZZZ");
    page_record record;
    ASSERT_TRUE(read_page_record(records.file, &record));
    EXPECT_EQ(std::string(image_name_field_size, 'n'), record.image_name);
}

TEST(PageJobFile, ShortBlocksAreRefused)
{
    for (std::size_t size : {std::size_t(0), std::size_t(1), page_job_header_size - 1}) {
        memory_file job(std::string(size, '\0'));
        page_job_header header;
        EXPECT_FALSE(read_page_job_header(job.file, &header)) << size;
    }
    for (std::size_t size : {std::size_t(0), page_record_size - 1}) {
        memory_file records(std::string(size, 'a'));
        page_record record;
        EXPECT_FALSE(read_page_record(records.file, &record)) << size;
    }
}

TEST(PageRecord, ReadsOneRecordAtATime)
{
    std::string first = std::string("a\0garbage", 9);
    first.resize(page_record_size, '\x7f');
    std::string second = "\xCD\xBC\xD6\xBD";
    second.resize(page_record_size, '\0');
    memory_file records(first + second + "partial");
    page_record record;
    ASSERT_TRUE(read_page_record(records.file, &record));
    EXPECT_STREQ("a", record.image_name);
    EXPECT_EQ(long(page_record_size), std::ftell(records.file));
    ASSERT_TRUE(read_page_record(records.file, &record));
    EXPECT_STREQ("\xCD\xBC\xD6\xBD", record.image_name);
    EXPECT_FALSE(read_page_record(records.file, &record)) << "a trailing partial record counts as missing";
}

}  // namespace
