// Test host: stamper.exe PATH YEAR MONTH DAY HOUR MINUTE SECOND
// Loads stampclock.dll from its own directory, calls set_file_time_tq and
// prints "<result> <creation> <last access> <last write>" in file-time ticks.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

static unsigned long long ticks(const FILETIME& t)
{
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

int main(int argc, char** argv)
{
    if (argc != 8)
        return 2;
    _putenv("TZ=");  // as on the add-on's machines: the zone comes from Windows
    SetEnvironmentVariableA("TZ", nullptr);
    HMODULE library = LoadLibraryA("stampclock.dll");
    if (!library)
        return 3;
    using stamp_fn = int (*)(const char*, int, int, int, int, int, int);
    auto stamp = reinterpret_cast<stamp_fn>(GetProcAddress(library, "set_file_time_tq"));
    if (!stamp)
        return 4;
    int result = stamp(argv[1], atoi(argv[2]), atoi(argv[3]), atoi(argv[4]), atoi(argv[5]), atoi(argv[6]),
                       atoi(argv[7]));
    HANDLE file = CreateFileA(argv[1], FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    FILETIME created = {}, accessed = {}, written = {};
    if (file != INVALID_HANDLE_VALUE) {
        GetFileTime(file, &created, &accessed, &written);
        CloseHandle(file);
    }
    std::printf("%d %llu %llu %llu\n", result, ticks(created), ticks(accessed), ticks(written));
    FreeLibrary(library);
    return 0;
}
