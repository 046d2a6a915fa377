// Test double of NX's libugui.dll: its two macro playback entries write, to
// the file named by LIBUGUI_RECORD, which entry ran, the text and the pointer
// it was given, and where the library was loaded from:
//   <entry>|<text>|<pointer>|<library path>
#include <windows.h>

#include <cstdio>

namespace {

HMODULE self = nullptr;

void record(const char* entry, const char* macro_file)
{
    char record_file[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableA("LIBUGUI_RECORD", record_file, sizeof record_file);
    if (length == 0 || length >= sizeof record_file)
        return;
    char from[MAX_PATH * 4] = {};
    GetModuleFileNameA(self, from, sizeof from);
    if (FILE* out = std::fopen(record_file, "wb")) {
        std::fprintf(out, "%s|%s|%p|%s", entry, macro_file, static_cast<const void*>(macro_file), from);
        std::fclose(out);
    }
}

}  // namespace

extern "C" void playback_char(char* macro_file) { record("YAXPAD", macro_file); }

extern "C" void playback_const_char(const char* macro_file) { record("YAXPBD", macro_file); }

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        self = instance;
    return TRUE;
}
