// The texts the program sheet shows for numbers: every number reaches the
// spreadsheet as a finished string composed here.
#pragma once

// Room of every output buffer given to these functions, NUL included.
constexpr unsigned value_text_size = 84;

// What a number without a printable text shows: not finite, or too long to
// print into value_text_size.
constexpr const char unprintable_value_text[] = "-";

// The value rounded to `decimals` places (0 to 3; any other count means 4),
// trailing zeros and a bare decimal point dropped. The rounding moves the
// value away from zero by half a unit of the last kept place, prints it with
// six decimals and cuts the print after the kept places. Returns out, which
// holds at least value_text_size bytes.
char* number_text(double value, unsigned decimals, char* out);

// Whole part and remainder of ori_number divided by dou_number. 1 when both
// were written; 0, leaving them untouched, when ori_number is below
// dou_number (told through split_ratio_reporter), when the divisor is not
// above 0 or a number is not finite (nothing to divide, told nowhere).
int split_ratio(double ori_number, double dou_number, double* whole, double* rest);

// A whole count of minutes as hours and minutes: 0:05, 1:02, 10:00. Counts
// that are negative, not finite or beyond the hours an int holds give
// unprintable_value_text. out holds at least value_text_size bytes.
void minutes_text(double minutes, char* out);

// Tells the user why split_ratio refused (an ANSI text). The Windows layer
// points it at a message box; when null, nothing is told.
using value_text_reporter = void (*)(const char* message);
extern value_text_reporter split_ratio_reporter;

// The message split_ratio tells when its first number is below its divisor.
extern const char split_ratio_below_divisor[];  // "ori_number < dou_number, err!"
