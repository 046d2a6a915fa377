// stampclock.dll: sets the three time stamps of a file to one local time.
#include "stampclock.h"

#include "file_instant.h"
#include "file_present.h"
#include "win/unique_handle.h"

#include <windows.h>

namespace {

bool directory_entry_readable(const char* path)
{
    char full_path[MAX_PATH];
    DWORD length = GetFullPathNameA(path, MAX_PATH, full_path, nullptr);
    if (length == 0 || length >= MAX_PATH)
        return false;
    WIN32_FIND_DATAA entry;
    unique_find search(FindFirstFileA(full_path, &entry));
    return static_cast<bool>(search);
}

}  // namespace

extern "C" int set_file_time_tq(const char* path, int year, int month, int day, int hour, int minute,
                                int second)
{
    const int done = 999;
    const int not_done = 0;
    if (!path)
        return not_done;
    // The instant is taken with the zone's rules for that very date, so a
    // summer date set in winter (or the other way round) is not an hour off.
    int64_t instant = 0;
    if (!local_fields_to_instant(year, month, day, hour, minute, second, &instant))
        return not_done;
    if (!file_opens_for_reading(path) || !directory_entry_readable(path))
        return not_done;

    unique_file file(CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return not_done;  // read-only, or held open by a writer
    uint64_t ticks = instant_to_file_ticks(instant);
    FILETIME stamp;
    stamp.dwLowDateTime = static_cast<DWORD>(ticks);
    stamp.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    if (!SetFileTime(file.get(), &stamp, &stamp, &stamp))
        return not_done;
    return file.close() ? done : not_done;
}
