// Cases of the value texts, shared by the native test and the Windows test
// (the Windows build prints numbers through another C library).
#pragma once

#include <cmath>
#include <limits>

struct number_text_case {
    double value;
    unsigned decimals;
    const char* text;
};

// Rounding moves the value away from zero, prints six decimals and cuts; the
// borderline rows are where a second rounding or the C library's own
// rounding of the kept places would differ.
inline const number_text_case number_text_cases[] = {
    {1.23456, 3, "1.235"},
    {2.5, 3, "2.5"},
    {3, 3, "3"},
    {12.5678, 2, "12.57"},
    {0.05, 1, "0.1"},          // halves away from zero
    {0.04, 1, "0"},
    {0.0004, 3, "0"},
    {-0.0004, 3, "0"},         // never -0 once decimals are kept
    {-1.2344, 3, "-1.234"},
    {0.0004996, 3, "0.001"},   // moved to 0.0009996, printed 0.001000
    {0.0004994, 3, "0"},       // moved to 0.0009994, printed 0.000999
    {-0.0004996, 3, "-0.001"},
    {12.5, 0, "13"},
    {-2.5, 0, "-3"},
    {0.4999999, 0, "1"},       // printed 1.000000 before the cut
    {0.4999994, 0, "0"},
    {-0.3, 0, "-0"},           // no decimals: the sign stays
    {-0.0, 3, "0"},
    {-0.0, 0, "0"},
    {10, 0, "10"},             // no decimals: zeros of the integer stay
    {100, 2, "100"},           // zeros are dropped only after the point
    {100.1, 2, "100.1"},
    {1234567.891, 3, "1234567.891"},
    {7, 9, "7"},               // any count above 3 means 4
    {1.99996, 4, "2"},
    {0.00004, 4, "0"},
    {3.14159, 4294967295u, "3.1416"},
    {9e75, 3, "9000000000000000744928819314947281410796059735312488192291437337966991638528"},
    {-1e75, 1, "-999999999999999926539781176481198923508803215199467887262646419780362305536"},
    // Prints of 84 characters and more have no room; neither have non-finite values.
    {1e76, 0, "-"},
    {-9.5e75, 2, "-"},
    {1.7976931348623157e308, 3, "-"},
    {std::numeric_limits<double>::infinity(), 3, "-"},
    {-std::numeric_limits<double>::infinity(), 0, "-"},
    {std::numeric_limits<double>::quiet_NaN(), 2, "-"},
};

struct minutes_text_case {
    double minutes;
    const char* text;
};

inline const minutes_text_case minutes_text_cases[] = {
    {0, "0:00"},
    {5, "0:05"},
    {9, "0:09"},
    {10, "0:10"},
    {45, "0:45"},
    {59, "0:59"},
    {60, "1:00"},
    {62, "1:02"},
    {69, "1:09"},
    {70, "1:10"},
    {125, "2:05"},
    {600, "10:00"},
    {60.0 * 2147483647.0 + 59, "2147483647:59"},
    // No hours count for these.
    {60.0 * 2147483648.0, "-"},
    {-1, "-"},
    {std::numeric_limits<double>::infinity(), "-"},
    {std::numeric_limits<double>::quiet_NaN(), "-"},
};
