#include "outline.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr std::size_t polygon_header_size = 16;  // cb, dwType, pfxStart
constexpr std::size_t curve_header_size = 4;     // wType, cpfx
constexpr std::size_t point_size = 8;            // POINTFX: x then y, each FIXED

std::uint16_t read_u16(const unsigned char* at) { return static_cast<std::uint16_t>(at[0] | at[1] << 8); }

std::uint32_t read_u32(const unsigned char* at)
{
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

// The whole-number half of a FIXED (fraction first, then the signed value):
// dropping the fraction rounds toward minus infinity.
int whole_part(const unsigned char* fixed) { return static_cast<std::int16_t>(read_u16(fixed + 2)); }

struct point_writer {
    font_point* points;
    double height;
    double width_ratio;
    int count = 0;

    void write(bool is_start, const unsigned char* pointfx)
    {
        font_point& p = points[count++];
        p.is_start = is_start ? 1 : 0;
        p.x = whole_part(pointfx) / outline_cell_height * height * width_ratio;
        p.y = whole_part(pointfx + 4) / outline_cell_height * height;
        p.z = 0.0;
    }
};

bool is_point_record(std::uint16_t type) { return type == 1 || type == 2 || type == 3; }  // line, qspline, cspline

}  // namespace

int walk_outline(const unsigned char* outline, std::size_t size, double height, double width_ratio,
                 font_point* points)
{
    point_writer out{points, height, width_ratio};
    std::size_t left = size;
    const unsigned char* contour = outline;
    while (left >= polygon_header_size) {
        std::uint32_t contour_size = read_u32(contour);
        if (contour_size < polygon_header_size || contour_size > left)
            break;
        out.write(true, contour + 8);
        const unsigned char* curve = contour + polygon_header_size;
        std::size_t contour_left = contour_size - polygon_header_size;
        while (contour_left > 0) {
            if (contour_left < curve_header_size)
                return out.count;
            std::uint16_t type = read_u16(curve);
            std::size_t point_count = read_u16(curve + 2);
            std::size_t curve_size = curve_header_size + point_size * point_count;
            if (curve_size > contour_left)
                return out.count;
            if (is_point_record(type)) {
                for (std::size_t i = 0; i < point_count; ++i)
                    out.write(false, curve + curve_header_size + point_size * i);
            }
            curve += curve_size;
            contour_left -= curve_size;
        }
        contour += contour_size;
        left -= contour_size;
    }
    return out.count;
}

double fitting_factor(unsigned char first_byte, const font_point* points, int count, double height,
                      double width_ratio)
{
    switch (first_byte) {
    case '.': case ',': case '_': case '"': case '\'':
        return 1.5;
    case ':': case ';':
        return 1.2;
    default:
        break;
    }
    if (count <= 0)
        return 1.0;
    double xmin = points[0].x, xmax = points[0].x, ymin = points[0].y, ymax = points[0].y;
    for (int i = 1; i < count; ++i) {
        xmin = std::min(xmin, points[i].x);
        xmax = std::max(xmax, points[i].x);
        ymin = std::min(ymin, points[i].y);
        ymax = std::max(ymax, points[i].y);
    }
    double width = xmax - xmin, tall = ymax - ymin;
    // A box without extent in one direction sets no limit there; points that
    // all coincide are left as they are.
    bool by_height = tall > 0, by_width = width > 0;
    double height_limit = by_height ? 0.9 * height / tall : 0.0;
    double width_limit = by_width ? 0.9 * height * width_ratio / width : 0.0;
    if (by_height && by_width)
        return std::min(height_limit, width_limit);
    if (by_height)
        return height_limit;
    if (by_width)
        return width_limit;
    return 1.0;
}

void scale_points(font_point* points, int count, double factor)
{
    for (int i = 0; i < count; ++i) {
        points[i].x *= factor;
        points[i].y *= factor;
    }
}
