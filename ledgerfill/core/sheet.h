// What the program table and the part picture need of the worksheet being
// filled. The automation layer implements it over the spreadsheet
// application; tests implement it with a recording sheet.
#pragma once

#include <cstdint>
#include <string>

struct range_box {
    double left = 0, top = 0, width = 0, height = 0;  // points
};

class sheet {
public:
    virtual ~sheet() = default;

    // Writes an ANSI text into the cell (row, column), both 1-based.
    virtual bool write_cell_text(int32_t row, int32_t column, const char* text) = 0;

    // Frames the range between two cell references (e.g. "$C$7", "AB7") with
    // BorderAround: line style 1, the given weight, colour index 1, colour 0.
    virtual bool frame_range(const char* first_cell, const char* last_cell, int16_t weight) = 0;

    // Reads Left, Top, Width and Height of the range between two cell references.
    virtual bool range_geometry(const char* first_cell, const char* last_cell, range_box* box) = 0;

    // Adds a picture from a file, not linked, embedded, at the given place and size.
    virtual bool add_picture(const char* path, float left, float top, float width, float height) = 0;

    // After a call returned false: which operation failed and, when the
    // application gave one, its own description (UTF-16, for the message).
    virtual std::wstring failure() const = 0;
};
