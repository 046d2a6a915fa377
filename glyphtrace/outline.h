// The platform-free half of glyphtrace: walking a glyph outline in the
// system's native layout (TTPOLYGONHEADER / TTPOLYCURVE records, 16.16 fixed
// coordinates, little-endian) into point records, and the fitting scale.
#pragma once

#include "glyphtrace.h"

#include <cstddef>

// Font cell height the outline is read at; also the divisor that maps
// outline units to the caller's height.
constexpr double outline_cell_height = 500.0;

// Most records an outline of `size` bytes can give: every record consumes at
// least 8 bytes of it.
constexpr std::size_t most_points_of(std::size_t size) { return size / 8; }

// Walks the first `size` bytes of `outline` and writes one record per point
// into `points` (room for most_points_of(size) records), mapped with
// X(v) = v / 500 * height * width_ratio and Y(v) = v / 500 * height, v being
// the whole-number half of each coordinate. Only is_start, x, y and z are
// written. The walk stops at the first contour or curve record that does not
// fit in what is left; what came before it is kept. Returns the records written.
int walk_outline(const unsigned char* outline, std::size_t size, double height, double width_ratio,
                 font_point* points);

// The second, fitting scale, chosen by the first ANSI byte of the traced text:
// fixed for a few punctuation marks, otherwise the factor that makes the
// points' box just reach 0.9 of the cell height or of the cell width.
double fitting_factor(unsigned char first_byte, const font_point* points, int count, double height,
                      double width_ratio);

// Multiplies x and y of records 0 to count - 1 by `factor`.
void scale_points(font_point* points, int count, double factor);
