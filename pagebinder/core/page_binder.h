// Binds the JPEG pages named by the page job file into one PDF with libharu.
#pragma once

#include <cstddef>
#include <cstdio>

// What the run needs of its platform.
struct binder_platform {
    // Directory of the job file and the images, ending in its separator
    // ("D:\\tq_conf\\temp\\" on the add-on's machines); at most
    // max_work_dir_length bytes.
    const char* work_dir;
    std::FILE* out;  // the console's messages
    std::FILE* in;   // the console's one-character waits
    // Moves a completely written file over the target in one step, replacing
    // what stood there; 0, or an errno value when the target is left as it was.
    int (*replace_file)(const char* from, const char* to);
    // Text in the ANSI code page to UTF-8, NUL-terminated, into a buffer of
    // the given size; false when it cannot be converted.
    bool (*ansi_to_utf8)(const char* text, char* utf8, std::size_t size);
};

constexpr std::size_t max_work_dir_length = 148;

// One run of the program; returns its exit status.
int bind_pages(const binder_platform& platform);

// Name of the job file inside the work directory.
constexpr const char* page_job_file_name = "pagebinder_temp.dat";

// The PDF is written here first, beside its target, and moved over it when complete.
constexpr const char* pdf_temp_suffix = ".part";
