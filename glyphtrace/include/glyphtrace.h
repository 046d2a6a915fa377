/* glyphtrace.dll: one character of an installed outline font as a list of
   outline points, scaled to a character height and width ratio and fitted to
   the character cell.

   The caller owns an array of font_point records and passes its first
   element; get_true_font_data writes records 0 to *point_count - 1. The
   record layout is shared byte for byte with the add-on (32-bit build): every
   offset and size is checked below. A caller array of 2000 records is always
   enough. */
#ifndef GLYPHTRACE_H
#define GLYPHTRACE_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* One outline point. Bytes 1 to 7 are alignment and are never written. */
struct font_point {
    unsigned char is_start; /* 1: first point of a contour; 0: further point of the same contour */
    double x;               /* horizontal, in the caller's length unit */
    double y;               /* vertical, upward; 0 is the base line */
    double z;               /* always 0.0 */
};

/* Traces the first character of `char_text` (ANSI) in the font `face_name`
   (ANSI), scaled to the cell height `height` (> 0) and the horizontal factor
   `width_ratio` (> 0). Curve control points are further points of their
   contour. Returns 1 when the outline was read (a character without outline
   gives no record), 0 after a refused argument or an unreadable outline; a
   message box has then told the user. *point_count is 0 on every failure. */
int get_true_font_data(const char* char_text, const char* face_name, double height, double width_ratio,
                       struct font_point* points, int* point_count);

#ifdef __cplusplus
}
#endif

#ifdef __cplusplus
#define GLYPHTRACE_ASSERT(cond, what) static_assert(cond, what)
#else
#define GLYPHTRACE_ASSERT(cond, what) _Static_assert(cond, what)
#endif
#define GLYPHTRACE_AT(type, field, offset) \
    GLYPHTRACE_ASSERT(offsetof(struct type, field) == (offset), #type "." #field " at " #offset)

GLYPHTRACE_ASSERT(sizeof(struct font_point) == 32, "font_point is 32 bytes");
GLYPHTRACE_AT(font_point, is_start, 0);
GLYPHTRACE_AT(font_point, x, 8);
GLYPHTRACE_AT(font_point, y, 16);
GLYPHTRACE_AT(font_point, z, 24);

#undef GLYPHTRACE_AT
#undef GLYPHTRACE_ASSERT

#endif
