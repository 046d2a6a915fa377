// Fitting the part picture into its cell rectangle: proportions kept,
// centred, a margin on the side that limits.
#pragma once

#include "sheet.h"

struct picture_place {
    double left = 0, top = 0, width = 0, height = 0;  // points
};

// Room left on the limiting side: 4 points on each of its two edges.
constexpr double picture_margin = 8.0;

// Fits a picture of pixel_width x pixel_height pixels into range. False when
// there is nothing sensible to place: a picture or a range without area, or a
// range whose limiting side leaves no room once the margin is taken off.
bool fit_picture(const range_box& range, long pixel_width, long pixel_height, picture_place* place);
