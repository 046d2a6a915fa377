// The sheet the table and the picture write to, over the first worksheet of
// the open workbook and its cell range.
#pragma once

#include "automation.h"
#include "sheet.h"

class excel_sheet : public sheet {
public:
    // Both objects stay owned by the caller and must outlive this sheet.
    excel_sheet(automation& calls, IDispatch* worksheet, IDispatch* cells)
        : calls_(calls), worksheet_(worksheet), cells_(cells)
    {
    }

    bool write_cell_text(int32_t row, int32_t column, const char* text) override;
    bool frame_range(const char* first_cell, const char* last_cell, int16_t weight) override;
    bool range_geometry(const char* first_cell, const char* last_cell, range_box* box) override;
    bool add_picture(const char* path, float left, float top, float width, float height) override;
    std::wstring failure() const override { return calls_.failure_message(); }

    // Lets go of the range of the last frame.
    void release_frame() { last_frame_.reset(); }

private:
    bool range(const char* first_cell, const char* last_cell, com_ptr<IDispatch>* result);

    automation& calls_;
    IDispatch* worksheet_;
    IDispatch* cells_;
    com_ptr<IDispatch> last_frame_;  // kept until the next frame takes its place
};
