// The program table: group rows, one framed row per NC program, totals rows.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sheet.h"

struct sheet_request;
struct program_entry;

// Writes the table from request.first_row down. False when a sheet operation
// failed; the sheet then tells which.
bool run_program_table(sheet& target, const sheet_request& request, const program_entry* first_program);

// Room of a cell reference, NUL included.
constexpr size_t cell_reference_size = 24;

// The A1-style reference of one cell: "$C$7" for columns 1 to 26, "AB7"
// beyond. A column below 1 gives "$@$7", which no sheet accepts.
void cell_reference(int32_t row, int32_t column, char (&out)[cell_reference_size]);

// The frame weight of the table cells: the low 16 bits of border_weight,
// read as a signed value.
int16_t frame_weight(int32_t border_weight);

// Frames one cell with BorderAround of the given weight.
bool frame_cell(sheet& target, int32_t row, int32_t column, int16_t weight);

// 1-based position of the first 'l' among the codes, every character counted;
// 0 when there is none. Reads at most `room` bytes.
int32_t time_column(const char* column_codes, size_t room);

// The label of a totals row, in the ANSI code page: "总计:".
extern const char totals_label[];

// Working room of the group name and of one cell's text, NUL included: longer
// texts are cut at a character boundary of the ANSI code page.
constexpr size_t group_name_room = 80;
constexpr size_t cell_text_room = 512;
