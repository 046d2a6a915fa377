// The program table: group rows, one framed row per NC program, totals rows.
#pragma once

#include "sheet.h"

struct sheet_request;
struct program_entry;

// Writes the table from request.first_row down. False when a sheet operation
// failed; the sheet then tells which.
bool run_program_table(sheet& target, const sheet_request& request, const program_entry* first_program);
