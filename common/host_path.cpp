#include "host_path.h"

#include <cstring>
#include <string>

bool gbk_lead_byte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

size_t cut_file_name(char* path, lead_byte_test is_lead)
{
    // Walk forward so that double-byte characters are stepped over whole; the
    // last separator at position 1 or later is the one a backward search finds.
    size_t last = 0;
    for (size_t i = 0; path[i] != '\0'; ++i) {
        if (path[i] == '\\' && i >= 1)
            last = i;
        else if (is_lead(static_cast<unsigned char>(path[i])) && path[i + 1] != '\0')
            ++i;
    }
    if (last != 0)
        path[last] = '\0';
    return last;
}

void host_directory(const char* path, char* out, size_t room, lead_byte_test is_lead)
{
    if (room == 0)
        return;
    out[0] = '\0';
    if (path == nullptr)
        return;
    std::string directory = path;
    cut_file_name(&directory[0], is_lead);
    size_t length = std::strlen(directory.c_str());
    if (length < room)
        std::memcpy(out, directory.c_str(), length + 1);
}
