// From the caller's local calendar fields to the instant stored in a file's
// time stamps. Platform-free.
#pragma once

#include <cstdint>

// Reads the fields as local time the way mktime does (month 1-12, fields
// outside their range carried over, daylight-saving time decided from the
// date). False when the result lies outside what a signed 32-bit count of
// seconds since 1970-01-01 00:00:00 UTC holds.
bool local_fields_to_instant(int year, int month, int day, int hour, int minute, int second,
                             int64_t* seconds_since_1970);

// 100-nanosecond intervals since 1601-01-01 UTC, the unit of file times.
uint64_t instant_to_file_ticks(int64_t seconds_since_1970);
