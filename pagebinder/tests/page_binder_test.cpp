#include "native_platform.h"
#include "page_binder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A 16 x 8 baseline JPEG; its frame header is patched for other sizes (the
// library reads only the header to size a page).
const char small_jpeg[] =
    "\xff\xd8\xff\xe0\x00\x10\x4a\x46\x49\x46\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00\xff\xdb\x00\x43\x00\x10\x0b\x0c\x0e\x0c\x0a\x10\x0e\x0d\x0e\x12\x11\x10\x13\x18\x28\x1a\x18\x16\x16\x18\x31\x23"
    "\x25\x1d\x28\x3a\x33\x3d\x3c\x39\x33\x38\x37\x40\x48\x5c\x4e\x40\x44\x57\x45\x37\x38\x50\x6d\x51\x57\x5f\x62\x67\x68\x67\x3e\x4d\x71\x79\x70\x64\x78\x5c\x65\x67\x63\xff\xdb\x00\x43\x01\x11\x12"
    "\x12\x18\x15\x18\x2f\x1a\x1a\x2f\x63\x42\x38\x42\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63"
    "\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\xff\xc0\x00\x11\x08\x00\x08\x00\x10\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01\xff\xc4\x00\x15\x00\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x00\x00\x00\x00\x06\xff\xc4\x00\x16\x10\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x05\x42\xff\xc4\x00\x14\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x00\x00\x00\xff\xc4\x00\x14\x11\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\xff\xda\x00\x0c\x03\x01\x00\x02\x11\x03\x11\x00\x3f\x00\x99\x8d\x95\xe4\x6c\x80"
    "\x3f\xff\xd9"
    ;
constexpr std::size_t frame_size_offset = 158 + 5;

std::string jpeg(unsigned width, unsigned height)
{
    std::string bytes(small_jpeg, sizeof small_jpeg - 1);
    bytes[frame_size_offset + 0] = static_cast<char>(height >> 8);
    bytes[frame_size_offset + 1] = static_cast<char>(height & 0xFF);
    bytes[frame_size_offset + 2] = static_cast<char>(width >> 8);
    bytes[frame_size_offset + 3] = static_cast<char>(width & 0xFF);
    return bytes;
}

std::string le32(std::int32_t value)
{
    std::string out(4, '\0');
    std::uint32_t bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    return out;
}

struct job {
    std::int32_t fixed_width = 842, fixed_height = 595, page_count = 0, use_fixed_size = 0;
    std::string pdf_path;
    std::vector<std::string> names;

    std::string bytes() const
    {
        std::string header =
            le32(fixed_width) + le32(fixed_height) + le32(page_count) + le32(use_fixed_size) + pdf_path;
        header.resize(552, '\0');
        std::string out = header;
        for (const std::string& name : names) {
            std::string record = name;
            record.resize(88, '\0');
            out += record;
        }
        return out;
    }
};

void write_file(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool exists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

std::string read_stream(std::FILE* file)
{
    std::string out;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        out.append(buffer, n);
    return out;
}

struct run_result {
    int status;
    std::string out;
    std::string input_left;
};

const std::string open_job_failed = "\n\xB4\xF2\xBF\xAA PDF \xB5\xC4\xC1\xD9\xCA\xB1\xCE\xC4\xBC\xFE\xB4\xED\xCE\xF3!";
const std::string header_short = "\n\xB6\xC1\xCD\xB7\xD0\xC5\xCF\xA2\xB4\xED\xCE\xF3!";
const std::string record_short = "\n\xB6\xC1\xB1\xED\xCC\xE5\xD0\xC5\xCF\xA2\xB4\xED\xCE\xF3!";

class PageBinder : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/pagebinder_test.XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        root = pattern;
        work = root + "/work/";
        out_dir = root + "/out/";
        mkdir(work.c_str(), 0700);
        mkdir(out_dir.c_str(), 0700);
        pdf = out_dir + "bound.pdf";
    }
    void TearDown() override { std::system(("rm -rf '" + root + "'").c_str()); }

    std::string image(const std::string& name) const { return work + name + ".jpg"; }
    void add_image(const std::string& name, unsigned width = 16, unsigned height = 8) const
    {
        write_file(image(name), jpeg(width, height));
    }
    void write_job(const job& j) const { write_file(work + "pagebinder_temp.dat", j.bytes()); }
    job job_of(std::vector<std::string> names) const
    {
        job j;
        j.pdf_path = pdf;
        j.names = std::move(names);
        j.page_count = static_cast<std::int32_t>(j.names.size());
        return j;
    }

    run_result run(const std::string& input = "xy")
    {
        std::FILE* out = std::tmpfile();
        std::FILE* in = std::tmpfile();
        std::fwrite(input.data(), 1, input.size(), in);
        std::rewind(in);
        binder_platform platform = {work.c_str(), out, in, native_replace_file, gbk_to_utf8};
        run_result result;
        result.status = bind_pages(platform);
        std::rewind(out);
        result.out = read_stream(out);
        result.input_left = read_stream(in);
        std::fclose(out);
        std::fclose(in);
        return result;
    }

    std::string root, work, out_dir, pdf;
};

TEST_F(PageBinder, JobFileFailuresPrintWaitForOneCharacterAndFail)
{
    run_result missing = run();
    EXPECT_EQ(1, missing.status);
    EXPECT_EQ(open_job_failed, missing.out);
    EXPECT_EQ("y", missing.input_left);

    write_file(work + "pagebinder_temp.dat", std::string(551, '\0'));
    run_result short_header = run();
    EXPECT_EQ(1, short_header.status);
    EXPECT_EQ(header_short, short_header.out);
    EXPECT_EQ("y", short_header.input_left);

    // Two complete records of four, the second one's image built: nothing is
    // deleted and no PDF appears.
    add_image("p1");
    add_image("p2");
    job j = job_of({"p1", "p2"});
    j.page_count = 4;
    std::string bytes = j.bytes() + std::string(87, 'q');
    write_file(work + "pagebinder_temp.dat", bytes);
    run_result short_record = run();
    EXPECT_EQ(1, short_record.status);
    EXPECT_EQ(record_short, short_record.out);
    EXPECT_EQ("y", short_record.input_left);
    EXPECT_TRUE(exists(image("p1")));
    EXPECT_TRUE(exists(image("p2")));
    EXPECT_FALSE(exists(pdf));
    EXPECT_EQ(bytes, read_file(work + "pagebinder_temp.dat")) << "the job file is only read";
}

TEST_F(PageBinder, WaitsOnAnEmptyInputToo)
{
    run_result missing = run("");
    EXPECT_EQ(1, missing.status);
    EXPECT_EQ(open_job_failed, missing.out);
}

TEST_F(PageBinder, NoPagesStillGiveAPdfAndReadNoRecord)
{
    for (std::int32_t count : {0, -1, INT32_MIN}) {
        add_image("p1");
        job j = job_of({"p1"});
        j.page_count = count;
        write_job(j);
        run_result result = run();
        EXPECT_EQ(0, result.status) << count;
        EXPECT_EQ("", result.out);
        EXPECT_EQ("xy", result.input_left) << "no wait on success";
        std::string written = read_file(pdf);
        EXPECT_EQ(0u, written.find("%PDF-"));
        EXPECT_EQ(std::string::npos, written.find("/Image")) << count;
        EXPECT_TRUE(exists(image("p1"))) << "a record beyond page_count is never read";
        std::remove(pdf.c_str());
    }
}

TEST_F(PageBinder, ImagesGoOnlyAfterThePdfStandsInPlace)
{
    write_file(pdf, "old");
    add_image("p1", 800, 600);
    add_image("p2", 600, 800);
    job j = job_of({"p1", "p2", "p1"});  // the same image twice gives two pages
    write_job(j);
    run_result result = run();
    EXPECT_EQ(0, result.status);
    EXPECT_EQ("", result.out);
    std::string written = read_file(pdf);
    EXPECT_EQ(0u, written.find("%PDF-"));
    EXPECT_NE(std::string::npos, written.find("/Count 3"));
    EXPECT_FALSE(exists(image("p1")));
    EXPECT_FALSE(exists(image("p2")));
    EXPECT_FALSE(exists(pdf + ".part"));
}

TEST_F(PageBinder, LibraryErrorsLeaveImagesAndTheOldPdfAlone)
{
    struct {
        const char* what;
        unsigned width, height;
        std::int32_t use_fixed_size, fixed_width, fixed_height;
        std::string error_line;
    } cases[] = {
        {"narrow image", 2, 8, 0, 0, 0, "ERROR: error_no=1054, detail_no=0\n"},
        {"wide image", 14401, 8, 0, 0, 0, "ERROR: error_no=1054, detail_no=0\n"},
        {"widest image", 14400, 3, 0, 0, 0, ""},
        {"fixed size too small", 16, 8, 1, 2, 595, "ERROR: error_no=1054, detail_no=0\n"},
        {"fixed size negative", 8, 16, 1, 842, -595, "ERROR: error_no=1054, detail_no=0\n"},
        {"fixed size too large", 16, 16, 1, 14401, 595, "ERROR: error_no=1054, detail_no=0\n"},
    };
    for (const auto& c : cases) {
        write_file(pdf, "old");
        add_image("first");
        add_image("second", c.width, c.height);
        job j = job_of({"first", "second"});
        j.use_fixed_size = c.use_fixed_size;
        j.fixed_width = c.fixed_width;
        j.fixed_height = c.fixed_height;
        write_job(j);
        run_result result = run();
        EXPECT_EQ(c.error_line, result.out) << c.what;
        EXPECT_EQ("xy", result.input_left) << c.what;
        if (c.error_line.empty()) {
            EXPECT_EQ(0, result.status) << c.what;
            continue;
        }
        EXPECT_EQ(1, result.status) << c.what;
        EXPECT_EQ("old", read_file(pdf)) << c.what;
        EXPECT_TRUE(exists(image("first"))) << c.what;
        EXPECT_TRUE(exists(image("second"))) << c.what;
        EXPECT_FALSE(exists(pdf + ".part")) << c.what;
    }
}

TEST_F(PageBinder, MissingOrUnreadableImagesAreTheLibrarysErrors)
{
    add_image("first");
    write_file(image("not_a_jpeg"), "\x89PNG\r\n\x1a\n not a JPEG at all");
    for (const char* second : {"missing", "not_a_jpeg"}) {
        job j = job_of({"first", second});
        write_job(j);
        run_result result = run();
        EXPECT_EQ(1, result.status) << second;
        EXPECT_EQ(0u, result.out.find("ERROR: error_no=")) << second << ": " << result.out;
        EXPECT_TRUE(exists(image("first")));
        EXPECT_FALSE(exists(pdf));
    }
    write_job(job_of({"first", "missing"}));
    EXPECT_EQ("ERROR: error_no=1017, detail_no=2\n", run().out);
}

TEST_F(PageBinder, AnUnwritablePdfPathKeepsEverything)
{
    add_image("p1");
    for (std::string target : {root + "/no/such/dir/out.pdf", out_dir.substr(0, out_dir.size() - 1)}) {
        job j = job_of({"p1"});
        j.pdf_path = target;
        write_job(j);
        run_result result = run();
        EXPECT_EQ(1, result.status) << target;
        EXPECT_EQ(0u, result.out.find("ERROR: error_no=1017, detail_no=")) << target << ": " << result.out;
        EXPECT_TRUE(exists(image("p1"))) << target;
        EXPECT_FALSE(exists(target + ".part")) << target;
    }
}

TEST_F(PageBinder, AFullDiskKeepsEverything)
{
    // The temporary file leads to a full disk. A small PDF waits whole in the
    // stream's buffer and is lost only when the library closes the file
    // unchecked; a large one fails while the library writes it.
    struct {
        const char* what;
        std::size_t image_padding;
        std::string error_line;
    } cases[] = {
        {"lost when closed", 0, "ERROR: error_no=1016, detail_no=0\n"},
        {"refused while written", 64 * 1024, "ERROR: error_no=1016, detail_no=1\n"},
    };
    for (const auto& c : cases) {
        write_file(pdf, "old");
        write_file(image("p1"), jpeg(16, 8) + std::string(c.image_padding, '\0'));
        std::remove((pdf + ".part").c_str());
        ASSERT_EQ(0, symlink("/dev/full", (pdf + ".part").c_str()));
        write_job(job_of({"p1"}));
        run_result result = run();
        EXPECT_EQ(1, result.status) << c.what;
        EXPECT_EQ(c.error_line, result.out) << c.what;
        EXPECT_TRUE(exists(image("p1"))) << c.what;
        EXPECT_EQ("old", read_file(pdf)) << c.what;
        struct stat link;
        EXPECT_NE(0, lstat((pdf + ".part").c_str(), &link)) << c.what << ": the temporary file is removed";
    }
}

TEST_F(PageBinder, AsciiTitlesStayBytesOthersBecomeUnicode)
{
    std::string gbk_name = "\xB9\xA4\xD0\xF2" "1";  // "工序1"
    add_image("plain");
    add_image(gbk_name);
    add_image("");
    write_job(job_of({"plain", gbk_name, ""}));
    ASSERT_EQ(0, run().status);
    std::string written = read_file(pdf);
    EXPECT_NE(std::string::npos, written.find("/Title (plain)"));
    EXPECT_NE(std::string::npos, written.find("/Title <FEFF5DE55E8F0031>"));
    EXPECT_NE(std::string::npos, written.find("/Title ()"));
    EXPECT_FALSE(exists(image(gbk_name)));
    EXPECT_FALSE(exists(image("")));
}

TEST_F(PageBinder, AnImageNameFillingItsWholeRecordIsUsedWhole)
{
    std::string name(88, 'n');
    add_image(name);
    write_job(job_of({name}));
    run_result result = run();
    EXPECT_EQ(0, result.status) << result.out;
    EXPECT_FALSE(exists(image(name)));
}

TEST_F(PageBinder, AnImageNamedLikeThePdfIsNotDeletedAfterwards)
{
    add_image("page");
    job j = job_of({"page"});
    j.pdf_path = image("page");
    write_job(j);
    ASSERT_EQ(0, run().status);
    EXPECT_EQ(0u, read_file(image("page")).find("%PDF-"));
}

}  // namespace
