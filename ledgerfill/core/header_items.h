// The 26 header texts of a sheet request: where each text lies, how much room
// it has, which item names its cell, and the order they are written in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "sheet.h"

struct sheet_request;

struct header_text_slot {
    int item;            // index into sheet_request::header_items
    size_t text_offset;  // byte offset of the text in the record
    size_t text_room;    // field size, NUL included
};

// In writing order: the later of two items naming one cell wins.
extern const header_text_slot header_write_order[26];

// The item whose text is written only when it is not empty.
constexpr int header_item_written_when_not_empty = 13;

// A text field read within its room: up to the first NUL or the room's end,
// never past it.
std::string field_text(const char* field, size_t room);

template <size_t room>
std::string field_text(const char (&field)[room])
{
    return field_text(field, room);
}

// The text of one header slot of the request.
std::string header_text(const sheet_request& request, const header_text_slot& slot);

// Writes every enabled header text into its cell, in writing order, without
// frames. False as soon as a write fails; the sheet then tells which.
bool write_header(sheet& target, const sheet_request& request);
