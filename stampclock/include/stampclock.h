/* stampclock.dll: sets the three time stamps of a file. */
#ifndef STAMPCLOCK_H
#define STAMPCLOCK_H

#ifdef __cplusplus
extern "C" {
#endif

/* Sets creation, last-access and last-write time of the existing file at
   `path` (ANSI) to the given local calendar time, normalised like mktime
   (month 13 is January of the next year, and so on).
   Returns 999 when the times were set, 0 otherwise. */
int set_file_time_tq(const char* path, int year, int month, int day, int hour, int minute, int second);

#ifdef __cplusplus
}
#endif

#endif
