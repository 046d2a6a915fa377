// The part picture: trimming its white margins and placing it on the sheet.
#pragma once

#include "sheet.h"

// The picture file the add-on leaves for the sheet.
extern const char picture_file_path[];  // "D:\\tq_conf\\temp\\ledgerfill_pictrue.bmp"

// Crops the white margins of the picture file and rewrites it as a BMP at the
// display's colour depth. 1 when the file was rewritten, 0 otherwise; the
// picture file is then as it was (or missing, as it was).
int trim_picture();

// Pastes the picture file into the range between the two cells, fitted with
// its proportions kept and centred. 1 when the picture was added, 0 otherwise.
// Sets *sheet_failed when a sheet operation failed (the sheet tells which).
int place_picture(const char* first_cell, const char* last_cell, sheet& target, bool* sheet_failed);
