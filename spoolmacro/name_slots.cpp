#include "name_slots.h"

#include <cstring>

namespace {

// Length of the longest prefix of `name` that ends on a character boundary
// and leaves room for the terminator in a slot.
size_t fitting_length(const char* name, lead_byte_test is_lead)
{
    size_t length = 0;
    while (name[length] != '\0') {
        size_t step = is_lead(static_cast<unsigned char>(name[length])) && name[length + 1] != '\0' ? 2 : 1;
        if (length + step > name_slot_size - 1)
            break;
        length += step;
    }
    return length;
}

}  // namespace

int fill_name_slots(char* slots, const void* entries, size_t count, size_t entry_size, lead_byte_test is_lead)
{
    const char* entry = static_cast<const char*>(entries);
    int filled = 0;
    for (size_t i = 0; i < count && filled < name_slot_count; ++i, entry += entry_size) {
        const char* name;
        std::memcpy(&name, entry, sizeof name);
        if (name == nullptr || name[0] == '\0')
            continue;
        size_t length = fitting_length(name, is_lead);
        char* slot = slots + name_slot_size * filled;
        std::memcpy(slot, name, length);
        slot[length] = '\0';
        ++filled;
    }
    return filled;
}
