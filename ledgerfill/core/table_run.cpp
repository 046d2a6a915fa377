#include "table_run.h"

// Placeholder until the table run is written: the table stays empty.
bool run_program_table(sheet&, const sheet_request&, const program_entry*) { return true; }
