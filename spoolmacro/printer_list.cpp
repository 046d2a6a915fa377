// get_print_list: the printer names the spooler reports, into the caller's slots.
#include "spoolmacro.h"

#include "name_slots.h"

#include <windows.h>
#include <winspool.h>

#include <memory>
#include <new>

static_assert(name_slot_size == printer_name_slot_size && name_slot_count == printer_name_slot_count,
              "the slots filled are the slots the caller provides");

namespace {

constexpr DWORD local_and_connections = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
// A printer added between the calls makes the list grow; a spooler that
// keeps growing it is not followed for ever.
constexpr int enumeration_attempts = 4;

bool lead_byte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

}  // namespace

extern "C" int get_print_list(char* name_slots, int* name_count)
{
    *name_count = 0;
    DWORD needed = 0;
    DWORD returned = 0;
    EnumPrintersA(local_and_connections, nullptr, 5, nullptr, 0, &needed, &returned);

    std::unique_ptr<BYTE[]> entries;
    DWORD size = 0;
    returned = 0;
    for (int attempt = 0; attempt < enumeration_attempts; ++attempt) {
        size = needed;
        entries.reset(new (std::nothrow) BYTE[size]);
        if (!entries)
            return 1;
        returned = 0;
        if (EnumPrintersA(local_and_connections, nullptr, 5, entries.get(), size, &needed, &returned))
            break;
        // On failure the buffer holds nothing to read.
        returned = 0;
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= size)
            break;
    }
    // Never walk past the buffer, whatever count the spooler claims.
    DWORD fit = size / sizeof(PRINTER_INFO_5A);
    if (returned > fit)
        returned = fit;
    *name_count = fill_name_slots(name_slots, entries.get(), returned, sizeof(PRINTER_INFO_5A), lead_byte);
    return 1;
}
