#include "table_run.h"

#include "ledgerfill.h"
#include "value_text.h"

#include <cmath>
#include <cstdio>
#include <cstring>

const char totals_label[] = "\xD7\xDC\xBC\xC6:";  // 总计: in code page 936

void cell_reference(int32_t row, int32_t column, char (&out)[cell_reference_size])
{
    if (column <= 26) {
        const char letter = column >= 1 ? static_cast<char>('A' + column - 1) : '@';
        std::snprintf(out, sizeof out, "$%c$%d", letter, row);
        return;
    }
    // Column letters count 1 to 26 in each place: AA follows Z, AAA follows ZZ.
    char letters[8];
    int count = 0;
    for (int64_t rest = column; rest > 0; rest = (rest - 1) / 26)
        letters[count++] = static_cast<char>('A' + (rest - 1) % 26);
    char* at = out;
    while (count > 0)
        *at++ = letters[--count];
    std::snprintf(at, sizeof out - (at - out), "%d", row);
}

int16_t frame_weight(int32_t border_weight)
{
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(border_weight) & 0xFFFFu));
}

bool frame_cell(sheet& target, int32_t row, int32_t column, int16_t weight)
{
    char reference[cell_reference_size];
    cell_reference(row, column, reference);
    return target.frame_range(reference, reference, weight);
}

int32_t time_column(const char* column_codes, size_t room)
{
    for (size_t i = 0; i < room && column_codes[i]; ++i)
        if (column_codes[i] == 'l')
            return static_cast<int32_t>(i + 1);
    return 0;
}

namespace {

// Copies a text field into a working buffer: up to the field's NUL or its
// end, and no further than the buffer holds, without splitting a double-byte
// character of code page 936 (lead bytes 0x81 to 0xFE).
void copy_text(const char* field, size_t field_room, char* out, size_t out_room)
{
    const size_t limit = out_room - 1;
    size_t length = 0;
    while (length < field_room && field[length])
        ++length;
    size_t kept = 0;
    while (kept < length) {
        const unsigned char byte = static_cast<unsigned char>(field[kept]);
        const size_t width = byte >= 0x81 && byte <= 0xFE && kept + 1 < length ? 2 : 1;
        if (kept + width > limit)
            break;
        kept += width;
    }
    std::memcpy(out, field, kept);
    out[kept] = '\0';
}

template <size_t field_room>
void copy_text(const char (&field)[field_room], char* out)
{
    copy_text(field, field_room, out, cell_text_room);
}

template <size_t field_room>
void copy_text_or_dash(const char (&field)[field_room], char* out)
{
    if (field[0])
        copy_text(field, out);
    else
        std::strcpy(out, "-");
}

// "%d" of a whole number held in a double; one an int cannot hold has no text.
void whole_number_text(double value, char* out)
{
    if (value >= -2147483648.0 && value <= 2147483647.0)
        std::snprintf(out, value_text_size, "%d", static_cast<int>(value));
    else
        std::strcpy(out, unprintable_value_text);
}

bool is_missing(double value) { return value == PROGRAM_VALUE_MISSING; }

// Rows are counted beyond the last an int32 names (a list longer than any
// sheet); those reach the sheet as its last row, which it refuses.
int32_t sheet_row(int64_t row) { return row > INT32_MAX ? INT32_MAX : static_cast<int32_t>(row); }

class table_run {
public:
    table_run(sheet& target, const sheet_request& request)
        : target_(target), request_(request), weight_(frame_weight(request.border_weight)),
          time_column_(time_column(request.column_codes, sizeof request.column_codes))
    {
    }

    bool run(const program_entry* first_program)
    {
        int64_t row = request_.first_row;
        for (const program_entry* entry = first_program; entry; entry = entry->next) {
            ++program_number_;
            char group[group_name_room];
            copy_text(entry->group_name, sizeof entry->group_name, group, sizeof group);
            if (std::strcmp(group, previous_group_) != 0) {
                if (totals_due()) {
                    if (!write_totals(sheet_row(row)))
                        return false;
                    running_minutes_ = 0;
                    ++row;
                }
                if (!target_.write_cell_text(sheet_row(row), request_.group_name_column, group))
                    return false;
                std::memcpy(previous_group_, group, sizeof group);
                ++row;
            }
            if (!write_program_row(sheet_row(row), *entry))
                return false;
            ++row;
            if (!entry->next && totals_due() && !write_totals(sheet_row(row)))
                return false;
        }
        return true;
    }

private:
    bool totals_due() const { return running_minutes_ != 0 && time_column_ != 0; }

    bool write_framed(int32_t row, int32_t column, const char* text)
    {
        return target_.write_cell_text(row, column, text) && frame_cell(target_, row, column, weight_);
    }

    bool write_totals(int32_t row)
    {
        // With the time in the first column the label has no cell to its left.
        if (time_column_ > 1 && !write_framed(row, time_column_ - 1, totals_label))
            return false;
        char total[value_text_size];
        if (request_.time_as_hours)
            minutes_text(running_minutes_, total);
        else
            number_text(running_minutes_, 3, total);
        return write_framed(row, time_column_, total);
    }

    bool write_program_row(int32_t row, const program_entry& entry)
    {
        const char* codes = request_.column_codes;
        int32_t column = 1;
        for (size_t i = 0; i < sizeof request_.column_codes && codes[i]; ++i) {
            const char code = codes[i];
            if (code == 'r') {
                if (!frame_cell(target_, row, column, weight_))
                    return false;
            } else if (cell_text_of(code, entry)) {
                if (!write_framed(row, column, cell_text_))
                    return false;
            } else {
                continue;  // not a code: no cell
            }
            ++column;
        }
        return true;
    }

    // Machining time: any time below one minute counts as one, others are
    // rounded up from .05; a missing time drops the group's sum so far.
    void machining_time_text(double minutes, char* out)
    {
        if (is_missing(minutes)) {
            std::strcpy(out, "-");
            running_minutes_ = 0;
            return;
        }
        const double whole = minutes >= 0 && minutes < 1 ? 1 : std::trunc(minutes + 0.95);
        if (request_.time_as_hours)
            minutes_text(whole, out);
        else
            whole_number_text(whole, out);
        running_minutes_ += whole;
    }

    // Builds cell_text_ for a code; false when the character is not a code.
    bool cell_text_of(char code, const program_entry& entry)
    {
        char* out = cell_text_;
        switch (code) {
        case 'a': std::snprintf(out, cell_text_room, "%d", program_number_); break;
        case 'b': copy_text(entry.text_b, out); break;
        case 'c': copy_text(entry.text_c, out); break;
        case 'd': std::snprintf(out, cell_text_room, "T%d", entry.tool_number); break;
        case 'e':
            if (is_missing(entry.level))
                std::strcpy(out, "-");
            else
                whole_number_text(std::floor(request_.level_base - entry.level + 0.5 + request_.e_addend), out);
            break;
        case 'f': number_text(entry.value_f, 3, out); break;
        case 'g': copy_text(entry.text_g, out); break;
        case 'h': number_text(entry.value_h, 3, out); break;
        case 'i': number_text(entry.value_i, 3, out); break;
        case 'j':
            if (is_missing(entry.level))
                std::strcpy(out, "-");
            else
                number_text(entry.level - request_.level_base, 2, out);
            break;
        case 'k':
            if (is_missing(entry.level))
                std::strcpy(out, "-");
            else
                number_text(entry.level, 2, out);
            break;
        case 'l': machining_time_text(entry.machining_minutes, out); break;
        case 'm': number_text(entry.value_m, 3, out); break;
        case 'n': number_text(entry.value_n, 3, out); break;
        case 'o': number_text(entry.value_o, 3, out); break;
        case 'p': number_text(entry.value_p, 3, out); break;
        case 'q': copy_text(entry.text_q, out); break;
        case 's': {
            out[0] = 'D';
            number_text(entry.tool_diameter, 3, out + 1);
            if (entry.corner_radius > 0) {
                char* end = out + std::strlen(out);
                *end = 'R';
                number_text(entry.corner_radius, 3, end + 1);
            }
            break;
        }
        case 't': number_text(entry.value_t, 3, out); break;
        case 'u': number_text(entry.value_u, 3, out); break;
        case 'v': number_text(entry.value_v, 3, out); break;
        case 'w': copy_text(entry.text_w, out); break;
        case 'x': number_text(entry.value_f - entry.x_subtrahend + request_.x_addend, 3, out); break;
        case 'y':
            if (entry.value_y > 0.01)
                number_text(entry.value_y + request_.y_addend + 0.5, 0, out);
            else
                std::strcpy(out, "-");
            break;
        case 'z': std::snprintf(out, cell_text_room, "%d", entry.number_z); break;
        case '1': std::strcpy(out, entry.flag_1 ? "Yes" : "-"); break;
        case '2': copy_text_or_dash(entry.text_2, out); break;
        case '3': copy_text_or_dash(entry.text_3, out); break;
        case '4': copy_text_or_dash(entry.text_4, out); break;
        case '5': copy_text(entry.text_5, out); break;
        case '6': copy_text(entry.text_6, out); break;
        case '7':
        case '8': copy_text(entry.text_7, out); break;
        default: return false;
        }
        return true;
    }

    sheet& target_;
    const sheet_request& request_;
    const int16_t weight_;
    const int32_t time_column_;
    int32_t program_number_ = 0;
    double running_minutes_ = 0;  // whole minutes since the last totals row
    char previous_group_[group_name_room] = {};
    char cell_text_[cell_text_room];
};

}  // namespace

bool run_program_table(sheet& target, const sheet_request& request, const program_entry* first_program)
{
    return table_run(target, request).run(first_program);
}
