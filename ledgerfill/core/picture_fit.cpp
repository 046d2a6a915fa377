#include "picture_fit.h"

#include <cmath>

bool fit_picture(const range_box& range, long pixel_width, long pixel_height, picture_place* place)
{
    if (pixel_width <= 0 || pixel_height <= 0)
        return false;
    const double W = range.width, H = range.height;
    if (!(W > 0 && H > 0) || !std::isfinite(W) || !std::isfinite(H) || !std::isfinite(range.left) ||
        !std::isfinite(range.top))
        return false;

    const double ratio = static_cast<double>(pixel_height) / static_cast<double>(pixel_width);
    double w, h;
    if (H / W > ratio) {  // relatively taller than the picture: the width limits
        w = W - picture_margin;
        h = w * ratio;
    } else {  // equal proportions take this branch too
        h = H - picture_margin;
        w = h / ratio;
    }
    if (!(w > 0 && h > 0))
        return false;

    place->width = w;
    place->height = h;
    place->left = (W - w) * 0.5 + range.left;
    place->top = (H - h) * 0.5 + range.top;
    return true;
}
