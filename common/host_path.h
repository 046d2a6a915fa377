// Cutting the file name off a host executable's path. Platform-free.
#pragma once

#include <cstddef>

// Tells whether a byte starts a double-byte character of the ANSI code page.
using lead_byte_test = bool (*)(unsigned char byte);

// GBK (code page 936): lead bytes are 0x81 to 0xFE.
bool gbk_lead_byte(unsigned char byte);

// Ends `path` at its last backslash, searching from its last character down
// to its second one (the first is never examined). A backslash that is the
// trail byte of a double-byte character is not a separator. Returns the
// position of the backslash that was cut, or 0 when there was none and the
// path stays whole.
size_t cut_file_name(char* path, lead_byte_test is_lead = gbk_lead_byte);

// The host directory for a module path as the system reported it: `path` is
// null when the query failed. Writes a NUL-terminated string of at most
// room - 1 bytes into `out`: the directory when it fits, otherwise nothing
// (an empty string), since a shortened directory would name another folder.
void host_directory(const char* path, char* out, size_t room, lead_byte_test is_lead = gbk_lead_byte);
