// Feeds the outline walk arbitrary buffers and byte counts: it must never read
// past the count, never write more records than the count allows, and always
// leave well-formed records.
#include "outline.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

// A byte count at or below the bytes at hand, taken from the input's first
// two bytes; then the walk over exactly that many bytes on a block of its own.
void walk_and_fit(const std::uint8_t* data, std::size_t size, double height, double width_ratio)
{
    std::vector<std::uint8_t> outline(data, data + size);
    std::size_t room = most_points_of(size);
    std::vector<font_point> points(room + 1);
    std::memset(points.data(), 0xAB, points.size() * sizeof(font_point));
    int count = walk_outline(outline.data(), size, height, width_ratio, points.data());
    check(count >= 0 && static_cast<std::size_t>(count) <= room);
    check(count == 0 || points[0].is_start == 1);
    for (int i = 0; i < count; ++i) {
        check(points[i].is_start <= 1 && points[i].z == 0.0);
        const unsigned char* record = reinterpret_cast<const unsigned char*>(&points[i]);
        for (int b = 1; b < 8; ++b)
            check(record[b] == 0xAB);
    }
    const unsigned char* past = reinterpret_cast<const unsigned char*>(&points[count]);
    for (std::size_t b = 0; b < sizeof(font_point); ++b)
        check(past[b] == 0xAB);
    unsigned char first_byte = size > 0 ? data[0] : 0;
    double factor = fitting_factor(first_byte, points.data(), count, height, width_ratio);
    check(factor > 0 && std::isfinite(factor));
    scale_points(points.data(), count, factor);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    std::size_t wanted = static_cast<std::size_t>(data[0] | data[1] << 8);
    data += 2;
    size -= 2;
    std::size_t count = size == 0 ? 0 : wanted % (size + 1);
    walk_and_fit(data, count, 10.0, 1.0);
    return 0;
}
