#include "file_present.h"

#include <cstdio>

bool file_opens_for_reading(const char* path)
{
    FILE* file = path ? std::fopen(path, "rb") : nullptr;
    if (!file)
        return false;
    std::fclose(file);
    return true;
}
