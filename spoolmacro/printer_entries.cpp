#include "printer_entries.h"

#include <new>

printer_entries read_printer_entries(const enumerate_call& enumerate, size_t entry_size)
{
    uint32_t needed = 0;
    uint32_t returned = 0;
    enumerate(nullptr, 0, &needed, &returned);
    for (int attempt = 0; attempt < enumeration_attempts; ++attempt) {
        printer_entries entries;
        uint32_t size = needed;
        entries.buffer.reset(new (std::nothrow) unsigned char[size]);
        if (!entries.buffer)
            return {};
        returned = 0;
        enumeration_result result =
            enumerate(size ? entries.buffer.get() : nullptr, size, &needed, &returned);
        if (result == enumeration_result::done) {
            entries.count = returned < size / entry_size ? returned : size / entry_size;
            return entries;
        }
        // On failure the buffer holds nothing to read; only a list that grew is asked for again.
        if (result != enumeration_result::buffer_too_small || needed <= size)
            return {};
    }
    return {};
}
