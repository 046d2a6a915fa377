// excel_file_2010: opens the workbook in the spreadsheet application, writes
// the header, the program table and the picture, shows it and saves it.
#include "ledgerfill.h"

#include "automation.h"
#include "excel_sheet.h"
#include "header_items.h"
#include "picture.h"
#include "table_run.h"

#include "file_present.h"
#include "win/app.h"
#include "win/text.h"

#include <cstdio>
#include <optional>
#include <string>

namespace {

com_ptr<IDispatch> start_application()
{
    com_ptr<IDispatch> application;
    CLSID class_id;
    // In-process or local server: the real application is a local server.
    if (SUCCEEDED(CLSIDFromProgID(L"Excel.Application", &class_id)))
        CoCreateInstance(class_id, nullptr, CLSCTX_SERVER, IID_IDispatch, application.put_void());
    return application;
}

// The objects of one fill. The driver lets go of the workbook, its
// collection and the application first; whatever is left goes in this order.
struct fill_objects {
    com_ptr<IDispatch> application;
    com_ptr<IDispatch> workbooks;
    com_ptr<IDispatch> workbook;
    com_ptr<IDispatch> worksheet;
    com_ptr<IDispatch> worksheets;
    com_ptr<IDispatch> cells;
};

bool open_first_worksheet(automation& calls, fill_objects& objects, const std::string& path)
{
    if (!calls.get_object(objects.application.get(), member::workbooks, DISPATCH_PROPERTYGET, L"Workbooks", {},
                          &objects.workbooks))
        return false;
    argument_list open;
    open.push_back(unique_variant::text(ansi_to_wide(path)));  // Filename
    open.push_back(unique_variant::omitted());                // UpdateLinks
    open.push_back(unique_variant::i2(0));                    // ReadOnly: no
    for (int i = 0; i < 12; ++i)                              // Format ... Local
        open.push_back(unique_variant::omitted());
    if (!calls.get_object(objects.workbooks.get(), member::open, DISPATCH_METHOD, L"Workbooks.Open",
                          std::move(open), &objects.workbook))
        return false;
    if (!calls.get_object(objects.workbook.get(), member::worksheets, DISPATCH_PROPERTYGET, L"Worksheets", {},
                          &objects.worksheets))
        return false;
    argument_list first;
    first.push_back(unique_variant::i2(1));
    if (!calls.get_object(objects.worksheets.get(), member::item, DISPATCH_PROPERTYGET, L"Worksheets.Item(1)",
                          std::move(first), &objects.worksheet))
        return false;
    return calls.get_object(objects.worksheet.get(), member::cells, DISPATCH_PROPERTYGET, L"Cells", {},
                            &objects.cells);
}

bool fill_sheet(excel_sheet& target, const sheet_request& request, const program_entry* first_program)
{
    if (!write_header(target, request))
        return false;
    if (!run_program_table(target, request, first_program))
        return false;
    if (request.picture_wanted) {
        if (!request.picture_trimmed)
            trim_picture();
        bool sheet_failed = false;
        place_picture(field_text(request.picture_first_cell).c_str(), field_text(request.picture_last_cell).c_str(),
                      target, &sheet_failed);
        if (sheet_failed)
            return false;
    }
    return true;
}

bool show_and_save(automation& calls, fill_objects& objects)
{
    return calls.put(objects.application.get(), member::visible, L"Visible", unique_variant::boolean(true)) &&
           calls.put(objects.application.get(), member::display_alerts, L"DisplayAlerts",
                     unique_variant::boolean(false)) &&
           calls.call(objects.workbook.get(), member::save, L"Save", {}) &&
           calls.put(objects.workbook.get(), member::saved, L"Saved", unique_variant::boolean(true));
}

}  // namespace

extern "C" void excel_file_2010(const sheet_request* request, const program_entry* first_program)
{
    if (!request || !first_program)
        return;
    std::string path = field_text(request->workbook_path);
    if (!file_opens_for_reading(path.c_str())) {
        // 模板文件“%s”, 不存在!
        app::message_box(L"\x6A21\x677F\x6587\x4EF6\x201C" + ansi_to_wide(path) + L"\x201D, \x4E0D\x5B58\x5728!");
        return;
    }
    automation calls;
    {
        fill_objects objects;
        objects.application = start_application();
        if (!objects.application) {
            app::message_box(L"\x65E0\x6CD5\x542F\x52A8" L"excel" L"\x670D\x52A1\x5668!");  // 无法启动excel服务器!
            return;
        }
        std::optional<excel_sheet> target;
        bool filled = false;
        if (open_first_worksheet(calls, objects, path)) {
            target.emplace(calls, objects.worksheet.get(), objects.cells.get());
            filled = fill_sheet(*target, *request, first_program) && show_and_save(calls, objects);
        }
        if (!filled) {
            // Nothing was saved; leave no hidden instance behind for the user.
            automation cleanup;
            cleanup.put(objects.application.get(), member::visible, L"Visible", unique_variant::boolean(true));
        }
        objects.workbook.reset();
        objects.workbooks.reset();
        objects.application.reset();  // keeps running: it is the user's now
        if (target)
            target->release_frame();
    }
    if (calls.failed())
        app::message_box(calls.failure_message());
}
