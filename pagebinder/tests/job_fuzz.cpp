// Fuzzes a whole run on an untrusted job file: the header, any number of
// records, names of any bytes (the images they name mostly do not exist).
#include "native_platform.h"
#include "page_binder.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static std::string work = [] {
        char pattern[] = "/tmp/pagebinder_fuzz.XXXXXX";
        std::string dir = mkdtemp(pattern);
        std::FILE* jpeg = std::fopen((dir + "/a.jpg").c_str(), "wb");
        static const unsigned char header_only[] = {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x11, 0x08, 0x00,
                                                    0x08, 0x00, 0x10, 0x03, 0x01, 0x22, 0x00};
        std::fwrite(header_only, 1, sizeof header_only, jpeg);
        std::fclose(jpeg);
        return dir + "/";
    }();
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
    std::FILE* job = std::fopen((work + "pagebinder_temp.dat").c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), job);
    std::fclose(job);
    std::FILE* out = std::tmpfile();
    std::FILE* in = std::tmpfile();
    binder_platform platform = {work.c_str(), out, in, native_replace_file, gbk_to_utf8};
    bind_pages(platform);
    std::fclose(out);
    std::fclose(in);
    return 0;
}
