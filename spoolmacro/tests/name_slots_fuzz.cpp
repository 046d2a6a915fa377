// Printer names as the spooler might report them, split at NUL bytes: every
// filled slot is a terminated prefix of a non-empty name, cut at a character
// boundary, and nothing outside the names and their terminators is written.
#include "name_slots.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> names;
    std::string current;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            names.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(data[i]);
        }
    }
    names.push_back(current);
    std::vector<const char*> entries;
    for (const auto& name : names)
        entries.push_back(name.c_str());

    static const std::vector<char> untouched(name_slot_size * name_slot_count, '\x5A');
    std::vector<char> slots = untouched;
    int count = fill_name_slots(slots.data(), entries.data(), entries.size(), sizeof(const char*));
    if (count < 0 || count > name_slot_count)
        std::abort();
    size_t next = 0;
    for (int k = 0; k < count; ++k) {
        while (names[next].empty())
            ++next;
        const std::string& name = names[next++];
        const char* slot = slots.data() + name_slot_size * k;
        size_t length = strnlen(slot, name_slot_size);
        if (length == name_slot_size || length == 0 || name.compare(0, length, slot, length) != 0)
            std::abort();
        if (length < name.size()) {
            // Cut: only when it had to be, and never inside a double-byte character.
            if (name.size() < name_slot_size || name_slot_size - 1 - length > 1)
                std::abort();
            size_t i = 0;
            while (i < length)
                i += gbk_lead_byte(static_cast<unsigned char>(name[i])) && i + 1 < name.size() ? 2 : 1;
            if (i != length)
                std::abort();
        }
        if (std::memcmp(slot + length + 1, untouched.data(), name_slot_size - length - 1) != 0)
            std::abort();
    }
    if (std::memcmp(slots.data() + name_slot_size * count, untouched.data(),
                    slots.size() - name_slot_size * count) != 0)
        std::abort();
    return 0;
}
