#include "file_instant.h"

#include <climits>
#include <ctime>

bool local_fields_to_instant(int year, int month, int day, int hour, int minute, int second,
                             int64_t* seconds_since_1970)
{
    // So far out that the calendar offsets below would overflow: no storable instant.
    if (year < INT_MIN + 1900 || month == INT_MIN)
        return false;
    std::tm fields = {};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    // mktime's -1 is also its error; that instant is out of range anyway.
    int64_t instant = static_cast<int64_t>(std::mktime(&fields));
    if (instant < 0 || instant > INT32_MAX)
        return false;
    *seconds_since_1970 = instant;
    return true;
}

uint64_t instant_to_file_ticks(int64_t seconds_since_1970)
{
    const uint64_t seconds_1601_to_1970 = 11644473600ull;
    return (static_cast<uint64_t>(seconds_since_1970) + seconds_1601_to_1970) * 10000000ull;
}
