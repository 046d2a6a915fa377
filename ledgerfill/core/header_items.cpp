#include "header_items.h"

#include "ledgerfill.h"

#include <cstring>

#define SLOT(k) {k, offsetof(sheet_request, header_text_##k), sizeof(sheet_request::header_text_##k)}

const header_text_slot header_write_order[26] = {
    SLOT(0),  SLOT(1),  SLOT(14), SLOT(15), SLOT(2),  SLOT(3),  SLOT(4),  SLOT(5),  SLOT(6),
    SLOT(7),  SLOT(8),  SLOT(9),  SLOT(10), SLOT(11), SLOT(12), SLOT(16), SLOT(17), SLOT(18),
    SLOT(19), SLOT(20), SLOT(21), SLOT(13), SLOT(22), SLOT(23), SLOT(24), SLOT(25),
};

#undef SLOT

std::string field_text(const char* field, size_t room)
{
    const void* end = std::memchr(field, '\0', room);
    size_t length = end ? static_cast<size_t>(static_cast<const char*>(end) - field) : room;
    return std::string(field, length);
}

std::string header_text(const sheet_request& request, const header_text_slot& slot)
{
    const char* record = reinterpret_cast<const char*>(&request);
    return field_text(record + slot.text_offset, slot.text_room);
}

bool write_header(sheet& target, const sheet_request& request)
{
    for (const header_text_slot& slot : header_write_order) {
        const header_item& item = request.header_items[slot.item];
        if (!item.enabled)
            continue;
        std::string text = header_text(request, slot);
        if (slot.item == header_item_written_when_not_empty && text.empty())
            continue;
        if (!target.write_cell_text(item.row, item.column, text.c_str()))
            return false;
    }
    return true;
}
