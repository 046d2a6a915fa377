// Fuzzes a whole run on an untrusted job file: the header, any number of
// records, names of any bytes (the images they name mostly do not exist).
#include "native_platform.h"
#include "page_binder.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string make_work_dir()
{
    // Memory-backed where there is such a file system: every run writes the job file.
    char pattern[] = "/dev/shm/pagebinder_fuzz.XXXXXX";
    char fallback[] = "/tmp/pagebinder_fuzz.XXXXXX";
    const char* made = mkdtemp(pattern);
    std::string dir = made ? made : mkdtemp(fallback);
    return dir + "/";
}

// An image named "a" for the runs to find; a successful run deletes it.
void put_image(const std::string& work)
{
    static const unsigned char frame_only[] = {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x11, 0x08, 0x00,
                                               0x08, 0x00, 0x10, 0x03, 0x01, 0x22, 0x00};
    std::FILE* jpeg = std::fopen((work + "a.jpg").c_str(), "wb");
    std::fwrite(frame_only, 1, sizeof frame_only, jpeg);
    std::fclose(jpeg);
}

const std::string& work_dir()
{
    static const std::string dir = make_work_dir();
    return dir;
}

void remove_work_dir() { std::system(("rm -rf '" + work_dir() + "'").c_str()); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string& work = work_dir();
    static const bool cleanup = std::atexit(remove_work_dir) == 0;  // before the name is destroyed
    (void)cleanup;

    // The run writes and deletes files: keep it inside its own directory.
    std::string bytes(reinterpret_cast<const char*>(data), size);
    for (char& c : bytes) {
        if (c == '/')
            c = '_';
    }
    if (bytes.size() >= 552) {
        std::string pdf_path = work + "out.pdf";
        bytes.replace(16, pdf_path.size() + 1, pdf_path.c_str(), pdf_path.size() + 1);
    }
    put_image(work);
    std::FILE* job = std::fopen((work + "pagebinder_temp.dat").c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), job);
    std::fclose(job);
    std::FILE* out = std::fopen("/dev/null", "w");
    std::FILE* in = std::fopen("/dev/null", "r");
    binder_platform platform = {work.c_str(), out, in, native_replace_file, gbk_to_utf8};
    bind_pages(platform);
    std::fclose(out);
    std::fclose(in);
    return 0;
}
