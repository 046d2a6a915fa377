#include "excel_sheet.h"

#include "win/text.h"

bool excel_sheet::write_cell_text(int32_t row, int32_t column, const char* text)
{
    argument_list position;
    position.push_back(unique_variant::i4(row));
    position.push_back(unique_variant::i4(column));
    com_ptr<IDispatch> cell;
    if (!calls_.get_object(cells_, member::item, DISPATCH_PROPERTYGET, operation_name::cell(row, column),
                           std::move(position), &cell))
        return false;
    return calls_.put(cell.get(), member::value2, operation_name::cell(row, column, L"Value2"),
                      unique_variant::text(ansi_to_wide(text)));
}

bool excel_sheet::range(const char* first_cell, const char* last_cell, com_ptr<IDispatch>* result)
{
    argument_list corners;
    corners.push_back(unique_variant::text(ansi_to_wide(first_cell)));
    corners.push_back(unique_variant::text(ansi_to_wide(last_cell)));
    return calls_.get_object(worksheet_, member::range, DISPATCH_PROPERTYGET,
                             operation_name::range(first_cell, last_cell), std::move(corners), result);
}

bool excel_sheet::frame_range(const char* first_cell, const char* last_cell, int16_t weight)
{
    com_ptr<IDispatch> framed;
    if (!range(first_cell, last_cell, &framed))
        return false;
    last_frame_ = std::move(framed);
    argument_list line;
    line.push_back(unique_variant::i2(1));       // LineStyle: continuous
    line.push_back(unique_variant::i4(weight));  // Weight
    line.push_back(unique_variant::i4(1));       // ColorIndex
    line.push_back(unique_variant::ui4(0));      // Color
    return calls_.call(last_frame_.get(), member::border_around,
                       operation_name::range(first_cell, last_cell, L"BorderAround"), std::move(line));
}

bool excel_sheet::range_geometry(const char* first_cell, const char* last_cell, range_box* box)
{
    com_ptr<IDispatch> area;
    if (!range(first_cell, last_cell, &area))
        return false;
    auto name = [&](const wchar_t* member) { return operation_name::range(first_cell, last_cell, member); };
    return calls_.get_double(area.get(), member::height, name(L"Height"), &box->height) &&
           calls_.get_double(area.get(), member::width, name(L"Width"), &box->width) &&
           calls_.get_double(area.get(), member::left, name(L"Left"), &box->left) &&
           calls_.get_double(area.get(), member::top, name(L"Top"), &box->top);
}

bool excel_sheet::add_picture(const char* path, float left, float top, float width, float height)
{
    com_ptr<IDispatch> shapes;
    if (!calls_.get_object(worksheet_, member::shapes, DISPATCH_PROPERTYGET, L"Shapes", {}, &shapes))
        return false;
    argument_list picture;
    picture.push_back(unique_variant::text(ansi_to_wide(path)));
    picture.push_back(unique_variant::i4(0));  // LinkToFile: no
    picture.push_back(unique_variant::i4(1));  // SaveWithDocument: embedded
    picture.push_back(unique_variant::r4(left));
    picture.push_back(unique_variant::r4(top));
    picture.push_back(unique_variant::r4(width));
    picture.push_back(unique_variant::r4(height));
    // The shape it returns is not used and is released at once.
    return calls_.call(shapes.get(), member::add_picture, L"Shapes.AddPicture", std::move(picture));
}
