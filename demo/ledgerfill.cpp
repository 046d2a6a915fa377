// ledgerfill's part of the demo: fills a sample program sheet as the add-on
// does, with a part picture that has white margins to trim. Where the
// spreadsheet double sits beside the demo (a build with tests), it stands in
// for the spreadsheet application for the run and keeps the sheet in its own
// text format (ledgerfill_sheet.double; tools/double_to_xlsx.py makes the
// .xlsx of it); otherwise whatever "Excel.Application" the system has is used.
#include "demo.h"

#include "../ledgerfill/include/ledgerfill.h"
#include "../ledgerfill/tests/double/double_model.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// Closes the library's message boxes, printing what they said, so that the
// demo never waits for a user.
thread_local HHOOK box_hook = nullptr;

LRESULT CALLBACK close_boxes(int code, WPARAM wparam, LPARAM lparam)
{
    HWND window = reinterpret_cast<HWND>(wparam);
    char class_name[16] = {};
    if ((code == HCBT_ACTIVATE || code == HCBT_DESTROYWND) && GetClassNameA(window, class_name, sizeof class_name) &&
        std::strcmp(class_name, "#32770") == 0) {
        if (code == HCBT_ACTIVATE) {
            PostMessageA(window, WM_COMMAND, IDOK, 0);
        } else {
            char caption[128] = {}, text[1024] = {};
            GetWindowTextA(window, caption, sizeof caption);
            GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
            std::printf("  message box [%s]: %s\n", shown(caption).c_str(), shown(text).c_str());
        }
    }
    return CallNextHookEx(box_hook, code, wparam, lparam);
}

bool write_file_bytes(const std::string& path, const std::string& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && written;
}

// Where the add-on leaves the part picture for the sheet.
const char picture_dir[] = "D:\\tq_conf\\temp";
const char picture_path[] = "D:\\tq_conf\\temp\\ledgerfill_pictrue.bmp";

// A top view of a mould plate, as NX would render it: a chamfered plate with
// a pocket, a bore and four bolt holes, on white with uneven margins (left
// 70, right 40, top 50, bottom 30 pixels) for the trimming to take off.
std::string part_picture_bmp()
{
    const int width = 360, height = 270;
    const int left = 70, top = 50, right = width - 40, bottom = height - 30;  // content: [left, right) x [top, bottom)
    const int row_size = (width * 3 + 3) / 4 * 4;
    std::string file(54 + static_cast<size_t>(row_size) * height, '\0');
    auto put32 = [&](size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            file[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<uint32_t>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, width);
    put32(22, height);
    file[26] = 1;
    file[28] = 24;
    const double bore_x = 195, bore_y = 145;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int r = 255, g = 255, b = 255;
            const int dx = std::min(x - left, right - 1 - x), dy = std::min(y - top, bottom - 1 - y);
            if (dx >= 0 && dy >= 0 && dx + dy >= 18) {  // the plate, its corners chamfered
                const double shade = 0.85 + 0.15 * (x - left + y - top) / double(right - left + bottom - top);
                r = int(150 * shade), g = int(166 * shade), b = int(186 * shade);
                if (dx < 3 || dy < 3 || dx + dy < 21)
                    r = 40, g = 58, b = 88;  // outline
                const bool in_pocket = x >= 110 && x < 280 && y >= 85 && y < 205;
                if (in_pocket)
                    r = 96, g = 112, b = 136;
                const double bore = std::hypot(x - bore_x, y - bore_y);
                if (bore < 26)
                    r = 30, g = 36, b = 48;
                else if (bore < 30)
                    r = 200, g = 206, b = 214;
                for (int hx : {88, 302})
                    for (int hy : {68, 222})
                        if (std::hypot(x - hx, y - hy) < 8)
                            r = 30, g = 36, b = 48;
            }
            char* pixel = &file[54 + static_cast<size_t>(height - 1 - y) * row_size + 3 * x];  // rows bottom-up
            pixel[0] = static_cast<char>(b);
            pixel[1] = static_cast<char>(g);
            pixel[2] = static_cast<char>(r);
        }
    }
    return file;
}

// Width, height and bits per pixel from a BMP file's headers; false when it is not one.
bool bmp_size(const std::string& path, long* width, long* height, int* bits)
{
    unsigned char header[30] = {};
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    bool read = std::fread(header, 1, sizeof header, f) == sizeof header;
    std::fclose(f);
    if (!read || header[0] != 'B' || header[1] != 'M')
        return false;
    auto get32 = [&](int at) {
        return static_cast<int32_t>(header[at] | header[at + 1] << 8 | header[at + 2] << 16 |
                                    static_cast<uint32_t>(header[at + 3]) << 24);
    };
    *width = get32(18);
    *height = std::labs(get32(22));
    *bits = header[28] | header[29] << 8;
    return true;
}

void print_picture_file(const char* when)
{
    long width = 0, height = 0;
    int bits = 0;
    if (bmp_size(picture_path, &width, &height, &bits))
        std::printf("  part picture %s: %s, %ld x %ld pixels, %d bits\n", when, picture_path, width, height, bits);
    else
        std::printf("  part picture %s: %s is not there\n", when, picture_path);
}

void set_text(char* field, size_t room, const char* text)
{
    std::strncpy(field, text, room - 1);
}
#define SET_TEXT(field, text) set_text(field, sizeof field, text)

double_workbook sample_template()
{
    double_workbook book;
    book.row_heights[1] = 30;
    book.column_widths[2] = 96;  // program names
    book.cells[{1, 1}] = "\xca\xfd\xbf\xd8\xb3\xcc\xd0\xf2\xb5\xa5";  // 数控程序单, the template's own title
    book.cells[{2, 1}] = "\xc1\xe3\xbc\xfe:";                          // 零件:
    book.cells[{3, 1}] = "\xb1\xe0\xb3\xcc:";                          // 编程:
    return book;
}

void fill_request(sheet_request& request, const std::string& workbook)
{
    std::memset(&request, 0, sizeof request);
    SET_TEXT(request.workbook_path, workbook.c_str());
    request.header_items[0] = {1, 2, 2};
    SET_TEXT(request.header_text_0, "P-2024-017");
    request.header_items[1] = {1, 3, 2};
    SET_TEXT(request.header_text_1, "\xd5\xc5\xc8\xfd");  // 张三
    request.header_items[2] = {0, 4, 2};                    // disabled: left as the template has it
    request.first_row = 6;
    request.group_name_column = 1;
    request.border_weight = 2;
    request.time_as_hours = 1;
    SET_TEXT(request.column_codes, "abdsl");
    request.picture_wanted = 1;
    request.picture_trimmed = 0;  // the picture still has its white margins
    SET_TEXT(request.picture_first_cell, "G1");
    SET_TEXT(request.picture_last_cell, "J12");
}

void fill_programs(std::vector<program_entry>& programs)
{
    const struct {
        const char* group;
        const char* name;
        int tool;
        double diameter, radius, minutes;
    } rows[] = {
        {"\xb4\xd6\xbc\xd3\xb9\xa4", "CAVITY_ROUGH", 1, 12, 0.8, 42.3},  // 粗加工
        {"\xb4\xd6\xbc\xd3\xb9\xa4", "CORE_ROUGH", 2, 10, 0.5, 18.0},
        {"\xbe\xab\xbc\xd3\xb9\xa4", "FLOOR_FINISH", 3, 6, 0, 65.5},     // 精加工
    };
    programs.assign(sizeof rows / sizeof rows[0], program_entry());
    for (size_t i = 0; i < programs.size(); ++i) {
        program_entry& entry = programs[i];
        std::memset(&entry, 0, sizeof entry);
        SET_TEXT(entry.group_name, rows[i].group);
        SET_TEXT(entry.text_b, rows[i].name);
        entry.tool_number = rows[i].tool;
        entry.tool_diameter = rows[i].diameter;
        entry.corner_radius = rows[i].radius;
        entry.machining_minutes = rows[i].minutes;
        entry.level = PROGRAM_VALUE_MISSING;
        entry.next = i + 1 < programs.size() ? &programs[i + 1] : nullptr;
    }
}

void print_sheet(const double_workbook& book)
{
    std::printf("  saved sheet: %u cells, %u frames, %u pictures\n", static_cast<unsigned>(book.cells.size()),
                static_cast<unsigned>(book.frames.size()), static_cast<unsigned>(book.pictures.size()));
    for (const auto& [where, text] : book.cells)
        std::printf("    R%dC%d  %s\n", where.first, where.second, shown(text).c_str());
    for (const double_picture& picture : book.pictures)
        std::printf("    picture %s: left %.1f, top %.1f, %.1f x %.1f points, linked %d, embedded %d\n",
                    picture.path.c_str(), picture.left, picture.top, picture.width, picture.height,
                    picture.link_to_file, picture.save_with_document);
}

void run(const std::string& bin_dir, const std::string& out_dir)
{
    HMODULE library = demo_load(bin_dir, "ledgerfill.dll");
    if (!library)
        return;
    auto excel_file_2010 = reinterpret_cast<void (*)(const sheet_request*, const program_entry*)>(
        GetProcAddress(library, "excel_file_2010"));
    // The add-on's thread has COM; the library does not start it.
    bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    bool with_double = GetFileAttributesA((bin_dir + "\\excel_double.dll").c_str()) != INVALID_FILE_ATTRIBUTES;
    HKEY registered = with_double ? register_excel_double() : nullptr;
    if (with_double)
        double_control("reset");
    std::printf("  spreadsheet application: %s\n",
                registered ? "the spreadsheet double" : "the system's Excel.Application");

    // The double's workbook is its own text format, not an .xlsx.
    std::string workbook = out_dir + (registered ? "\\ledgerfill_sheet.double" : "\\ledgerfill_sheet.xlsx");
    if (registered && !write_file_bytes(workbook, sample_template().text()))
        std::printf("  cannot write %s\n", workbook.c_str());
    CreateDirectoryA("D:\\tq_conf", nullptr);
    CreateDirectoryA(picture_dir, nullptr);
    if (!write_file_bytes(picture_path, part_picture_bmp()))
        std::printf("  cannot write %s\n", picture_path);
    print_picture_file("before the fill");
    auto request = std::make_unique<sheet_request>();
    fill_request(*request, workbook);
    std::vector<program_entry> programs;
    fill_programs(programs);

    box_hook = SetWindowsHookExA(WH_CBT, close_boxes, nullptr, GetCurrentThreadId());
    excel_file_2010(request.get(), programs.data());
    std::printf("  excel_file_2010(\"%s\", %u programs) returned\n", workbook.c_str(),
                static_cast<unsigned>(programs.size()));
    print_picture_file("after the fill");
    std::string missing = out_dir + "\\no such sheet.xlsx";
    SET_TEXT(request->workbook_path, missing.c_str());
    excel_file_2010(request.get(), programs.data());
    UnhookWindowsHookEx(box_hook);

    if (registered) {
        double_model model = read_double_model();
        std::printf("  application: visible %d, alerts %d, saves %d, saved %d, quit %d, objects left %d, %d calls\n",
                    model.visible, model.display_alerts, model.saves, model.saved, model.quit, model.live_objects,
                    model.calls);
        double_workbook saved;
        if (read_double_workbook(workbook, &saved))
            print_sheet(saved);
        unregister_excel_double(registered);
    }
    if (com)
        CoUninitialize();
    FreeLibrary(library);
}

}  // namespace

static demo_part part("ledgerfill: program sheet", run);
