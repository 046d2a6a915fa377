#include "demo.h"

#include <cstdio>

static void run(const std::string& bin_dir, const std::string&)
{
    HMODULE library = demo_load(bin_dir, "homelocator.dll");
    if (!library)
        return;
    auto get_ug_path = reinterpret_cast<int (*)(char*)>(GetProcAddress(library, "get_ug_path"));
    char directory[255] = {};
    int result = get_ug_path(directory);
    std::printf("  get_ug_path -> %d, host directory \"%s\"\n", result, directory);
    FreeLibrary(library);
}

static demo_part part("homelocator: host directory", run);
