#include "demo.h"

#include <cstdio>

static void run(const std::string& bin_dir, const std::string& out_dir)
{
    HMODULE library = demo_load(bin_dir, "stampclock.dll");
    if (!library)
        return;
    using stamp_fn = int (*)(const char*, int, int, int, int, int, int);
    auto stamp = reinterpret_cast<stamp_fn>(GetProcAddress(library, "set_file_time_tq"));
    std::string path = out_dir + "\\stamped.txt";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fputs("a file whose times were set by stampclock\n", f);
        std::fclose(f);
    }
    int result = stamp(path.c_str(), 2014, 7, 1, 12, 30, 0);
    std::printf("  set_file_time_tq(\"%s\", 2014-07-01 12:30:00) -> %d\n", path.c_str(), result);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        // With the zone's rules for that date: the current offset would show
        // a summer date set in winter an hour off.
        SYSTEMTIME utc, shown;
        FileTimeToSystemTime(&data.ftLastWriteTime, &utc);
        SystemTimeToTzSpecificLocalTime(nullptr, &utc, &shown);
        std::printf("  last write time now %04u-%02u-%02u %02u:%02u:%02u (local)\n", shown.wYear, shown.wMonth,
                    shown.wDay, shown.wHour, shown.wMinute, shown.wSecond);
    }
    std::printf("  set_file_time_tq on a missing file -> %d\n",
                stamp((out_dir + "\\no such file.txt").c_str(), 2014, 7, 1, 12, 30, 0));
    FreeLibrary(library);
}

static demo_part part("stampclock: file time stamps", run);
