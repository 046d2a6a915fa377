#include "demo.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct point_record {  // font_point as the add-on lays it out
    unsigned char is_start;
    double x, y, z;
};

using get_true_font_data_fn = int (*)(const char*, const char*, double, double, point_record*, int*);

struct glyph {
    const char* label;
    std::string text;  // ANSI
    const char* face;
    std::vector<point_record> points;
};

std::string ansi_of(const wchar_t* text)
{
    char out[16] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, out, sizeof out, nullptr, nullptr);
    return out;
}

// Each contour as the closed polygon through its points (curve control points
// included, as the records give them), the points as dots.
void write_svg(const std::string& path, const std::vector<glyph>& glyphs, double cell)
{
    FILE* out = std::fopen(path.c_str(), "w");
    if (!out) {
        std::printf("  cannot write %s\n", path.c_str());
        return;
    }
    double width = cell * glyphs.size() + 20, height = cell * 1.4 + 20;
    std::fprintf(out,
                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%g\" height=\"%g\" viewBox=\"0 0 %g %g\">\n"
                 "<rect width=\"100%%\" height=\"100%%\" fill=\"white\"/>\n",
                 width * 4, height * 4, width, height);
    for (size_t g = 0; g < glyphs.size(); ++g) {
        double left = 10 + cell * g, base = 10 + cell;  // the base line; y grows upward
        std::fprintf(out, "<line x1=\"%g\" y1=\"%g\" x2=\"%g\" y2=\"%g\" stroke=\"#bbb\" stroke-width=\"0.3\"/>\n",
                     left, base, left + cell * 0.9, base);
        std::string d;
        char step[64];
        for (const point_record& p : glyphs[g].points) {
            std::snprintf(step, sizeof step, "%s%s%.2f %.2f", p.is_start && !d.empty() ? "Z " : "",
                          p.is_start ? "M" : " L", left + p.x, base - p.y);
            d += step;
        }
        if (!d.empty())
            d += " Z";
        std::fprintf(out, "<path d=\"%s\" fill=\"#9cf\" fill-rule=\"evenodd\" stroke=\"#036\" stroke-width=\"0.3\"/>\n",
                     d.c_str());
        for (const point_record& p : glyphs[g].points)
            std::fprintf(out, "<circle cx=\"%.2f\" cy=\"%.2f\" r=\"%s\" fill=\"%s\"/>\n", left + p.x, base - p.y,
                         p.is_start ? "0.9" : "0.4", p.is_start ? "#c00" : "#036");
        std::fprintf(out, "<text x=\"%g\" y=\"%g\" font-size=\"5\" font-family=\"sans-serif\">%s, %zu points</text>\n",
                     left, base + cell * 0.3, glyphs[g].label, glyphs[g].points.size());
    }
    std::fprintf(out, "</svg>\n");
    std::fclose(out);
    std::printf("  wrote %s\n", path.c_str());
}

void run(const std::string& bin_dir, const std::string& out_dir)
{
    HMODULE library = demo_load(bin_dir, "glyphtrace.dll");
    if (!library)
        return;
    auto get_true_font_data =
        reinterpret_cast<get_true_font_data_fn>(GetProcAddress(library, "get_true_font_data"));
    const double cell = 100;
    std::vector<glyph> glyphs = {
        {"A in DejaVu Sans", "A", "DejaVu Sans", {}},
        {"U+4E2D in WenQuanYi Zen Hei", ansi_of(L"\x4E2D"), "WenQuanYi Zen Hei", {}},
    };
    for (glyph& g : glyphs) {
        std::vector<point_record> points(2000);
        int count = 0;
        int result = get_true_font_data(g.text.c_str(), g.face, cell, 1.0, points.data(), &count);
        points.resize(result == 1 ? count : 0);
        g.points = points;
        int contours = static_cast<int>(
            std::count_if(points.begin(), points.end(), [](const point_record& p) { return p.is_start == 1; }));
        std::printf("  get_true_font_data(%s, height %g) -> %d, %d points in %d contours\n", g.label, cell, result,
                    count, contours);
    }
    write_svg(out_dir + "\\glyphtrace.svg", glyphs, cell);
    FreeLibrary(library);
}

demo_part part("glyphtrace: glyph outline points", run);

}  // namespace
