// get_print_list: the printer names the spooler reports, into the caller's slots.
#include "spoolmacro.h"

#include "name_slots.h"
#include "printer_entries.h"

#include <windows.h>
#include <winspool.h>

static_assert(name_slot_size == printer_name_slot_size && name_slot_count == printer_name_slot_count,
              "the slots filled are the slots the caller provides");

namespace {

bool lead_byte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

// The local printers and the user's printer connections, at level 5.
enumeration_result enumerate_printers(unsigned char* buffer, uint32_t size, uint32_t* needed,
                                      uint32_t* returned)
{
    DWORD needed_bytes = 0;
    DWORD returned_entries = 0;
    BOOL ok = EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 5, buffer, size,
                            &needed_bytes, &returned_entries);
    DWORD error = ok ? ERROR_SUCCESS : GetLastError();
    *needed = needed_bytes;
    *returned = returned_entries;
    if (ok)
        return enumeration_result::done;
    return error == ERROR_INSUFFICIENT_BUFFER ? enumeration_result::buffer_too_small
                                              : enumeration_result::failed;
}

}  // namespace

extern "C" int get_print_list(char* name_slots, int* name_count)
{
    *name_count = 0;
    printer_entries entries = read_printer_entries(enumerate_printers, sizeof(PRINTER_INFO_5A));
    *name_count =
        fill_name_slots(name_slots, entries.buffer.get(), entries.count, sizeof(PRINTER_INFO_5A), lead_byte);
    return 1;
}
