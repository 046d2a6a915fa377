#include "value_text.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

value_text_reporter split_ratio_reporter = nullptr;

const char split_ratio_below_divisor[] = "ori_number < dou_number, err!";

namespace {

// Room for "%f" of any finite double: up to 309 integer digits, a sign, the
// point and six decimals.
constexpr int full_print_size = 400;

char* write_unprintable(char* out)
{
    std::memcpy(out, unprintable_value_text, sizeof unprintable_value_text);
    return out;
}

// The decimal point of a "%f" print: the first character after the sign and
// the integer digits (the locale decides which character it is).
char* decimal_point_of(char* print)
{
    char* at = print;
    if (*at == '-')
        ++at;
    while (*at >= '0' && *at <= '9')
        ++at;
    return *at ? at : nullptr;
}

}  // namespace

char* number_text(double value, unsigned decimals, char* out)
{
    // The double nearest to half a unit of the last kept place.
    static const double offsets[] = {0.5, 0.05, 0.005, 0.0005, 0.00005};
    const unsigned kept = decimals <= 3 ? decimals : 4;
    if (!std::isfinite(value))
        return write_unprintable(out);

    // Zero and negative zero move up like positive values.
    const double moved = value < 0 ? value - offsets[kept] : value + offsets[kept];
    char print[full_print_size];
    const int length = std::snprintf(print, sizeof print, "%f", moved);
    if (length < 0 || length >= static_cast<int>(value_text_size))
        return write_unprintable(out);
    char* point = decimal_point_of(print);
    if (!point)
        return write_unprintable(out);

    // Cut after the kept places: the offset and the six-decimal print did
    // all the rounding there is.
    char* end = point + 1 + kept;
    *end = '\0';
    if (kept == 0) {
        *point = '\0';
    } else {
        while (end > point + 1 && end[-1] == '0')
            *--end = '\0';
        if (end == point + 1)
            *point = '\0';
        if (std::strcmp(print, "-0") == 0)
            std::strcpy(print, "0");
    }
    std::memcpy(out, print, std::strlen(print) + 1);
    return out;
}

int split_ratio(double ori_number, double dou_number, double* whole, double* rest)
{
    if (ori_number < dou_number) {
        if (split_ratio_reporter)
            split_ratio_reporter(split_ratio_below_divisor);
        return 0;
    }
    if (!(dou_number > 0) || !std::isfinite(ori_number) || !std::isfinite(dou_number))
        return 0;
    if (ori_number == dou_number) {
        *whole = 1;
        *rest = 0;
        return 1;
    }
    const double quotient = ori_number / dou_number;
    if (!std::isfinite(quotient))
        return 0;
    // The whole part is what the six-decimal print shows before its point,
    // so 119.9999999 counts as 120.
    char print[full_print_size];
    const int length = std::snprintf(print, sizeof print, "%f", quotient);
    char* point = length > 0 && length < full_print_size ? decimal_point_of(print) : nullptr;
    if (!point)
        return 0;
    *point = '\0';
    const double whole_part = std::strtod(print, nullptr);
    *whole = whole_part;
    *rest = ori_number - whole_part * dou_number;
    return 1;
}

void minutes_text(double minutes, char* out)
{
    // Negative zero counts as 0; NaN fails both tests.
    if (!(minutes >= 0) || !(minutes < 60.0 * 2147483648.0)) {
        write_unprintable(out);
        return;
    }
    if (minutes >= 60) {
        double whole = 0, rest = 0;
        // Cannot refuse: the count is at least the divisor.
        split_ratio(minutes, 60, &whole, &rest);
        if (whole > INT_MAX) {  // the print rounded up past the last int
            write_unprintable(out);
            return;
        }
        const int hours = static_cast<int>(whole);
        const int rest_minutes = static_cast<int>(rest);
        std::snprintf(out, value_text_size, rest < 10 ? "%d:0%d" : "%d:%d", hours, rest_minutes);
        return;
    }
    const int whole_minutes = static_cast<int>(minutes);
    std::snprintf(out, value_text_size, minutes < 10 ? "0:0%d" : "0:%d", whole_minutes);
}
