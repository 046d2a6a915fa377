/* homelocator.dll: the directory of the host program's executable. */
#ifndef HOMELOCATOR_H
#define HOMELOCATOR_H

#ifdef __cplusplus
extern "C" {
#endif

/* Writes the host executable's directory, without a trailing backslash, as a
   NUL-terminated ANSI string into `directory` (at least 255 bytes). Returns 0. */
int get_ug_path(char* directory);

#ifdef __cplusplus
}
#endif

#endif
