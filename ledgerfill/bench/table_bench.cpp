// Fills a table of 5,000 programs with 30 codes through ledgerfill.dll into
// the in-process spreadsheet double, then makes the very same automation
// calls on the double directly, every argument prepared beforehand. The
// difference is the library's own work; the table run over a sheet that does
// nothing is the share of the platform-free logic in it.
//   scripts/wine-do scripts/winerun build/<win dir>/bin/ledgerfill_table_bench.exe [programs] [runs]
#include "ledgerfill.h"

#include "double_model.h"
#include "recording_sheet.h"
#include "table_run.h"

#include "bench_clock.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

const char codes[] = "abcdefghijklmnopqstuvwxyz12345";  // 30 codes; without r every cell is written
constexpr int programs_per_group = 50;

struct bench_job {
    std::unique_ptr<sheet_request> request = std::make_unique<sheet_request>();
    std::vector<std::unique_ptr<program_entry>> programs;

    bench_job(const std::string& workbook, int count)
    {
        std::memset(request.get(), 0, sizeof *request);
        std::strncpy(request->workbook_path, workbook.c_str(), sizeof request->workbook_path - 1);
        std::strcpy(request->column_codes, codes);
        request->first_row = 10;
        request->group_name_column = 2;
        request->time_as_hours = 1;
        request->border_weight = 2;
        request->level_base = 50;
        for (int n = 1; n <= count; ++n) {
            auto entry = std::make_unique<program_entry>();
            std::memset(entry.get(), 0, sizeof *entry);
            std::snprintf(entry->group_name, sizeof entry->group_name, "GROUP_%d", (n - 1) / programs_per_group);
            std::snprintf(entry->text_b, sizeof entry->text_b, "O%05d", n);
            std::strcpy(entry->text_c, "\xC6\xBD\xB5\xD7\xB5\xB6");  // 平底刀
            std::snprintf(entry->text_g, sizeof entry->text_g, "CAVITY_MILL_%d", n);
            entry->tool_number = n % 20;
            entry->tool_diameter = 6;
            entry->corner_radius = 0.5;
            entry->value_f = 800 + 0.125 * n;
            entry->value_t = 0.25;
            entry->value_n = 3000 + n;
            entry->value_m = 1.2345;
            entry->level = 40 - 0.01 * n;
            entry->machining_minutes = n % 90 + 0.3;
            entry->value_y = 3.3;
            std::strcpy(entry->text_q, "HSM");
            std::strcpy(entry->text_w, "climb");
            if (!programs.empty())
                programs.back()->next = entry.get();
            programs.push_back(std::move(entry));
        }
    }
    const program_entry* first() const { return programs.front().get(); }
};

// Counts what the table run asks of a sheet and does nothing.
class null_sheet : public sheet {
public:
    long long writes = 0, frames = 0;
    bool write_cell_text(int32_t, int32_t, const char*) override { return ++writes, true; }
    bool frame_range(const char*, const char*, int16_t) override { return ++frames, true; }
    bool range_geometry(const char*, const char*, range_box*) override { return false; }
    bool add_picture(const char*, float, float, float, float) override { return false; }
    std::wstring failure() const override { return {}; }
};

// One automation call on the double, arguments in the caller's order.
HRESULT invoke(IDispatch* object, DISPID id, WORD kind, std::vector<VARIANT>& arguments, VARIANT* result)
{
    std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
    DISPID put_id = DISPID_PROPERTYPUT;
    DISPPARAMS parameters = {reversed.empty() ? nullptr : reversed.data(), nullptr,
                             static_cast<UINT>(reversed.size()), 0};
    if (kind == DISPATCH_PROPERTYPUT) {
        parameters.rgdispidNamedArgs = &put_id;
        parameters.cNamedArgs = 1;
    }
    if (result)
        VariantInit(result);
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters, result, nullptr, nullptr);
}

IDispatch* get_object(IDispatch* object, DISPID id, WORD kind, std::vector<VARIANT> arguments = {})
{
    VARIANT result;
    if (FAILED(invoke(object, id, kind, arguments, &result)) || result.vt != VT_DISPATCH)
        return nullptr;
    return result.pdispVal;
}

VARIANT text_variant(const std::string& ansi)
{
    VARIANT v;
    VariantInit(&v);
    int size = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &wide[0], size);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(wide.c_str());
    return v;
}

VARIANT number_variant(VARTYPE type, long value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = type;
    if (type == VT_I2)
        v.iVal = static_cast<SHORT>(value);
    else if (type == VT_UI4)
        v.ulVal = static_cast<ULONG>(value);
    else if (type == VT_BOOL)
        v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    else
        v.lVal = value;
    return v;
}

VARIANT omitted()
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_ERROR;
    v.scode = DISP_E_PARAMNOTFOUND;
    return v;
}

// The calls the library makes for the job, every argument built in advance.
struct prepared_call {
    bool is_write;
    std::vector<VARIANT> first;   // Item(row, column) or Range(cell, cell)
    std::vector<VARIANT> second;  // Value2 text or BorderAround line
};

std::vector<prepared_call> prepare_calls(const recording_sheet& recorded)
{
    std::vector<prepared_call> calls;
    calls.reserve(recorded.log.size());
    size_t frame = 0;
    for (const std::string& line : recorded.log) {
        prepared_call call;
        if (line.compare(0, 6, "write ") == 0) {
            call.is_write = true;
            int row = 0, column = 0, offset = 0;
            std::sscanf(line.c_str() + 6, "%d,%d %n", &row, &column, &offset);
            call.first = {number_variant(VT_I4, row), number_variant(VT_I4, column)};
            call.second = {text_variant(line.substr(6 + offset))};
        } else {
            const auto& f = recorded.frames[frame++];
            call.is_write = false;
            call.first = {text_variant(f.first), text_variant(f.last)};
            call.second = {number_variant(VT_I2, 1), number_variant(VT_I4, f.weight), number_variant(VT_I4, 1),
                           number_variant(VT_UI4, 0)};
        }
        calls.push_back(std::move(call));
    }
    return calls;
}

// Opens, fills, shows and saves as the library does; false on any failure.
bool replay(const std::string& workbook, std::vector<prepared_call>& calls)
{
    CLSID class_id;
    IDispatch* application = nullptr;
    if (FAILED(CLSIDFromProgID(L"Excel.Application", &class_id)) ||
        FAILED(CoCreateInstance(class_id, nullptr, CLSCTX_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(&application))))
        return false;
    IDispatch* workbooks = get_object(application, 0x23C, DISPATCH_PROPERTYGET);
    std::vector<VARIANT> open = {text_variant(workbook), omitted(), number_variant(VT_I2, 0)};
    for (int i = 0; i < 12; ++i)
        open.push_back(omitted());
    IDispatch* book = workbooks ? get_object(workbooks, 0x783, DISPATCH_METHOD, open) : nullptr;
    IDispatch* worksheets = book ? get_object(book, 0x1EE, DISPATCH_PROPERTYGET) : nullptr;
    IDispatch* worksheet = worksheets ? get_object(worksheets, 0xAA, DISPATCH_PROPERTYGET,
                                                   {number_variant(VT_I2, 1)})
                                      : nullptr;
    IDispatch* cells = worksheet ? get_object(worksheet, 0xEE, DISPATCH_PROPERTYGET) : nullptr;
    bool ok = cells != nullptr;
    IDispatch* last_frame = nullptr;
    for (prepared_call& call : calls) {
        if (!ok)
            break;
        if (call.is_write) {
            IDispatch* cell = get_object(cells, 0xAA, DISPATCH_PROPERTYGET, call.first);
            ok = cell && SUCCEEDED(invoke(cell, 0x56C, DISPATCH_PROPERTYPUT, call.second, nullptr));
            if (cell)
                cell->Release();
        } else {
            IDispatch* range = get_object(worksheet, 0xC5, DISPATCH_PROPERTYGET, call.first);
            if (last_frame)
                last_frame->Release();
            last_frame = range;
            VARIANT ignored;
            ok = range && SUCCEEDED(invoke(range, 0x42B, DISPATCH_METHOD, call.second, &ignored));
            VariantClear(&ignored);
        }
    }
    std::vector<VARIANT> yes = {number_variant(VT_BOOL, 1)}, no = {number_variant(VT_BOOL, 0)}, none;
    ok = ok && SUCCEEDED(invoke(application, 0x22E, DISPATCH_PROPERTYPUT, yes, nullptr)) &&
         SUCCEEDED(invoke(application, 0x157, DISPATCH_PROPERTYPUT, no, nullptr)) &&
         SUCCEEDED(invoke(book, 0x11B, DISPATCH_METHOD, none, nullptr)) &&
         SUCCEEDED(invoke(book, 0x12A, DISPATCH_PROPERTYPUT, yes, nullptr));
    for (IDispatch* object : {book, workbooks, application, last_frame, cells, worksheets, worksheet})
        if (object)
            object->Release();
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 1;
    HKEY registered = register_excel_double();
    HMODULE library = LoadLibraryA("ledgerfill.dll");
    auto excel_file_2010 = library ? reinterpret_cast<void (*)(const sheet_request*, const program_entry*)>(
                                         GetProcAddress(library, "excel_file_2010"))
                                   : nullptr;
    if (!registered || !excel_file_2010) {
        std::printf("cannot register the double or load ledgerfill.dll\n");
        return 1;
    }
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string workbook = std::string(temp) + "ledgerfill_table_bench.xlsx";
    const std::string template_text = double_workbook().text();

    bench_job job(workbook, count);
    recording_sheet recorded;
    run_program_table(recorded, *job.request, job.first());
    std::vector<prepared_call> calls = prepare_calls(recorded);
    const long long cells = recorded.writes;
    const long long frames = static_cast<long long>(recorded.frames.size());
    const long long floor_calls = 9 + 2 * cells + 2 * frames;

    double table_only = 1e300, through_library = 1e300, double_only = 1e300;
    int library_calls = 0;
    for (int run = 0; run < runs; ++run) {
        null_sheet nothing;
        double start = now_ms();
        run_program_table(nothing, *job.request, job.first());
        table_only = std::min(table_only, now_ms() - start);

        double_control("reset");
        if (FILE* f = std::fopen(workbook.c_str(), "wb")) {
            std::fwrite(template_text.data(), 1, template_text.size(), f);
            std::fclose(f);
        }
        start = now_ms();
        excel_file_2010(job.request.get(), job.first());
        through_library = std::min(through_library, now_ms() - start);
        library_calls = double_control("calls");

        double_control("reset");
        if (FILE* f = std::fopen(workbook.c_str(), "wb")) {
            std::fwrite(template_text.data(), 1, template_text.size(), f);
            std::fclose(f);
        }
        start = now_ms();
        if (!replay(workbook, calls)) {
            std::printf("the replay failed\n");
            return 1;
        }
        double_only = std::min(double_only, now_ms() - start);
    }

    const int groups = (count + programs_per_group - 1) / programs_per_group;
    const long long row_calls = library_calls - 9 - 2LL * groups - 8LL * groups;  // group and totals rows
    std::printf("table: %d programs x %d codes, %d groups: %lld cell texts, %lld frames\n", count,
                static_cast<int>(std::strlen(codes)), groups, cells, frames);
    std::printf("automation calls: %d, the floor %lld; per program row %.1f (floor %d: Item, Value2, Range, "
                "BorderAround per cell)\n",
                library_calls, floor_calls, static_cast<double>(row_calls) / count,
                4 * static_cast<int>(std::strlen(codes)));
    std::printf("total through ledgerfill.dll: %.1f ms; the same calls made directly: %.1f ms\n", through_library,
                double_only);
    std::printf("library's own work per cell: %.3f us (of which the table run %.3f us)\n",
                1000.0 * (through_library - double_only) / cells, 1000.0 * table_only / cells);
    std::printf("best of %d runs\n", runs);
    DeleteFileA(workbook.c_str());
    unregister_excel_double(registered);
    CoUninitialize();
    return library_calls == floor_calls ? 0 : 2;
}
