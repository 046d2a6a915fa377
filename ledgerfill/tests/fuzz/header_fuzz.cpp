// The header of an arbitrary request: every text is read within its room,
// whatever the record holds, and reaches its cell whole.
#include "header_items.h"

#include "ledgerfill.h"

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

class checking_sheet : public sheet {
public:
    const sheet_request* request = nullptr;
    size_t next_slot = 0;

    bool write_cell_text(int32_t row, int32_t column, const char* text) override
    {
        // Writes come in slot order; find the slot this one belongs to.
        while (next_slot < 26) {
            const header_text_slot& slot = header_write_order[next_slot++];
            const header_item& item = request->header_items[slot.item];
            const char* field = reinterpret_cast<const char*>(request) + slot.text_offset;
            bool skipped = slot.item == header_item_written_when_not_empty && field[0] == '\0';
            if (!item.enabled || skipped || item.row != row || item.column != column)
                continue;
            size_t length = std::strlen(text);
            if (length > slot.text_room || std::memcmp(field, text, length) != 0 ||
                (length < slot.text_room && field[length] != '\0'))
                std::abort();
            return row != 7;  // now and then a write fails
        }
        std::abort();  // a write no enabled item asked for
    }
    bool frame_range(const char*, const char*, int16_t) override { std::abort(); }
    bool range_geometry(const char*, const char*, range_box*) override { std::abort(); }
    bool add_picture(const char*, float, float, float, float) override { std::abort(); }
    std::wstring failure() const override { return std::wstring(); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The record alone on the heap, so that a read past it is caught.
    auto request = std::make_unique<sheet_request>();
    std::memset(request.get(), 0, sizeof *request);
    std::memcpy(request.get(), data, size < sizeof *request ? size : sizeof *request);
    checking_sheet target;
    target.request = request.get();
    write_header(target, *request);
    return 0;
}
