// Test double of a libugui.dll that lacks the macro playback entries; its
// near misses record that they ran, as the full double does.
#include <windows.h>

#include <cstdio>

extern "C" void playback_plain(const char*)
{
    char record_file[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableA("LIBUGUI_RECORD", record_file, sizeof record_file);
    if (length == 0 || length >= sizeof record_file)
        return;
    if (FILE* out = std::fopen(record_file, "wb")) {
        std::fputs("near miss|||", out);
        std::fclose(out);
    }
}
