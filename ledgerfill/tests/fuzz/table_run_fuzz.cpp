// Requests and program lists of any content, texts without terminators and
// numbers of any bit pattern included: the table run reads no byte outside
// the records, hands the sheet no text beyond its working room and no
// reference beyond its size, and the value texts stay within their buffers.
#include "ledgerfill.h"
#include "table_run.h"
#include "value_text.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

class input {
public:
    input(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    void fill(void* out, size_t size)
    {
        auto* bytes = static_cast<uint8_t*>(out);
        for (size_t i = 0; i < size; ++i)
            bytes[i] = byte();
    }
    template <typename T>
    T value()
    {
        T v;
        fill(&v, sizeof v);
        return v;
    }
    // A text field: a length (the whole room means no terminator), then a
    // repeated pattern of two bytes, which makes double-byte characters.
    template <size_t room>
    void text(char (&field)[room])
    {
        const size_t length = (static_cast<size_t>(byte()) * 8 + byte() % 8) % (room + 1);
        const char pattern[2] = {static_cast<char>(byte()), static_cast<char>(byte())};
        for (size_t i = 0; i < length; ++i)
            field[i] = pattern[i % 2] ? pattern[i % 2] : 'x';
        if (length < room)
            field[length] = '\0';
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

class checking_sheet : public sheet {
public:
    bool write_cell_text(int32_t, int32_t, const char* text) override
    {
        if (std::strlen(text) >= cell_text_room)
            std::abort();
        return true;
    }
    bool frame_range(const char* first_cell, const char* last_cell, int16_t) override
    {
        if (std::strlen(first_cell) >= cell_reference_size || std::strcmp(first_cell, last_cell) != 0)
            std::abort();
        return true;
    }
    bool range_geometry(const char*, const char*, range_box*) override { std::abort(); }
    bool add_picture(const char*, float, float, float, float) override { std::abort(); }
    std::wstring failure() const override { return {}; }
};

void check_value_texts(input& in)
{
    auto out = std::make_unique<char[]>(value_text_size);
    if (std::strlen(number_text(in.value<double>(), in.byte(), out.get())) >= value_text_size)
        std::abort();
    minutes_text(in.value<double>(), out.get());
    if (std::strlen(out.get()) >= value_text_size)
        std::abort();
    double whole = 0, rest = 0;
    split_ratio(in.value<double>(), in.value<double>(), &whole, &rest);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    input in(data, size);
    check_value_texts(in);

    auto request = std::make_unique<sheet_request>();
    std::memset(request.get(), 0, sizeof *request);
    request->border_weight = in.value<int32_t>();
    request->first_row = in.value<int32_t>();
    request->group_name_column = in.value<int32_t>();
    request->time_as_hours = in.byte() & 1;
    in.fill(request->column_codes, sizeof request->column_codes);  // maybe without a terminator
    request->level_base = in.value<double>();
    request->e_addend = in.value<double>();
    request->x_addend = in.value<double>();
    request->y_addend = in.value<double>();

    // Separate allocations, so that reading past one entry is caught.
    std::vector<std::unique_ptr<program_entry>> entries;
    const int count = 1 + in.byte() % 6;
    for (int k = 0; k < count; ++k) {
        auto entry = std::make_unique<program_entry>();
        std::memset(entry.get(), 0, sizeof *entry);
        in.text(entry->group_name);
        in.text(entry->text_b);
        in.text(entry->text_5);
        in.text(entry->text_c);
        in.text(entry->text_g);
        in.text(entry->text_w);
        in.text(entry->text_6);
        in.text(entry->text_7);
        in.text(entry->text_q);
        in.text(entry->text_2);
        in.text(entry->text_3);
        in.text(entry->text_4);
        entry->tool_number = in.value<int32_t>();
        entry->number_z = in.value<int32_t>();
        entry->flag_1 = in.value<int32_t>();
        for (double* number : {&entry->tool_diameter, &entry->corner_radius, &entry->value_f, &entry->value_t,
                               &entry->value_n, &entry->value_m, &entry->value_p, &entry->value_o, &entry->value_h,
                               &entry->value_i, &entry->value_u, &entry->value_v, &entry->value_y,
                               &entry->x_subtrahend})
            *number = in.value<double>();
        // Mostly the marked or ordinary values the caller sends, sometimes any bits.
        const uint8_t choice = in.byte();
        entry->level = choice & 1 ? PROGRAM_VALUE_MISSING : in.value<double>();
        entry->machining_minutes = choice & 2 ? PROGRAM_VALUE_MISSING
                                   : choice & 4 ? in.byte() / 4.0
                                                : in.value<double>();
        if (!entries.empty())
            entries.back()->next = entry.get();
        entries.push_back(std::move(entry));
    }
    checking_sheet target;
    run_program_table(target, *request, entries.front().get());
    return 0;
}
