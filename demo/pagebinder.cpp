#include "demo.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

// Draws a few sample pages with GDI, saves them as JPEG through GDI+ (loaded
// at run time), writes the job file as the add-on does and starts
// pagebinder.exe, which binds them into one PDF with a bookmark per page.

namespace {

struct gdiplus_startup_input {
    UINT32 version;
    void* debug_callback;
    BOOL suppress_background_thread;
    BOOL suppress_external_codecs;
};
using startup_fn = int(WINAPI*)(ULONG_PTR*, const gdiplus_startup_input*, void*);
using shutdown_fn = void(WINAPI*)(ULONG_PTR);
using from_hbitmap_fn = int(WINAPI*)(HBITMAP, HPALETTE, void**);
using save_fn = int(WINAPI*)(void*, const WCHAR*, const CLSID*, const void*);
using dispose_fn = int(WINAPI*)(void*);

const CLSID jpeg_encoder = {0x557CF401, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

const char work_dir[] = "D:\\tq_conf\\temp\\";

struct sample_page {
    const char* name;  // GBK: the image's base name and its bookmark's title
    int width, height;
    COLORREF colour;
};

// "封面" (cover), "工序1" (operation 1), "tool list", "总结" (summary)
const sample_page pages[] = {
    {"\xB7\xE2\xC3\xE6", 595, 842, RGB(40, 90, 160)},
    {"\xB9\xA4\xD0\xF2" "1", 842, 595, RGB(30, 140, 70)},
    {"tool list", 842, 595, RGB(170, 90, 20)},
    {"\xD7\xDC\xBD\xE1", 595, 842, RGB(120, 40, 130)},
};

bool draw_page(const sample_page& page, int number, save_fn save, from_hbitmap_fn from_hbitmap,
               dispose_fn dispose, const std::string& path)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = page.width;
    info.bmiHeader.biHeight = -page.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool saved = false;
    if (dc && bitmap) {
        HGDIOBJ old_bitmap = SelectObject(dc, bitmap);
        RECT all = {0, 0, page.width, page.height};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        HBRUSH band = CreateSolidBrush(page.colour);
        RECT top = {0, 0, page.width, page.height / 6};
        FillRect(dc, &top, band);
        for (int line = 0; line < 12; ++line) {
            RECT row = {40, page.height / 4 + line * 30, page.width - 40, page.height / 4 + line * 30 + 2};
            FillRect(dc, &row, band);
        }
        DeleteObject(band);
        HFONT font = CreateFontA(page.height / 12, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
        HGDIOBJ old_font = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        char label[64];
        std::snprintf(label, sizeof label, "Page %d", number);
        TextOutA(dc, 30, page.height / 40, label, static_cast<int>(std::strlen(label)));
        SelectObject(dc, old_font);
        DeleteObject(font);
        SelectObject(dc, old_bitmap);

        void* image = nullptr;
        if (from_hbitmap(bitmap, nullptr, &image) == 0) {
            wchar_t wide_path[MAX_PATH];
            MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide_path, MAX_PATH);
            saved = save(image, wide_path, &jpeg_encoder, nullptr) == 0;
            dispose(image);
        }
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (dc)
        DeleteDC(dc);
    return saved;
}

bool make_sample_images()
{
    HMODULE gdiplus = LoadLibraryA("gdiplus.dll");
    if (!gdiplus) {
        std::printf("  gdiplus.dll: cannot load (error %lu)\n", GetLastError());
        return false;
    }
    auto startup = reinterpret_cast<startup_fn>(GetProcAddress(gdiplus, "GdiplusStartup"));
    auto shutdown = reinterpret_cast<shutdown_fn>(GetProcAddress(gdiplus, "GdiplusShutdown"));
    auto from_hbitmap = reinterpret_cast<from_hbitmap_fn>(GetProcAddress(gdiplus, "GdipCreateBitmapFromHBITMAP"));
    auto save = reinterpret_cast<save_fn>(GetProcAddress(gdiplus, "GdipSaveImageToFile"));
    auto dispose = reinterpret_cast<dispose_fn>(GetProcAddress(gdiplus, "GdipDisposeImage"));
    bool made = false;
    gdiplus_startup_input input = {1, nullptr, FALSE, FALSE};
    ULONG_PTR token = 0;
    if (startup && shutdown && from_hbitmap && save && dispose && startup(&token, &input, nullptr) == 0) {
        made = true;
        int number = 1;
        for (const sample_page& page : pages) {
            std::string path = std::string(work_dir) + page.name + ".jpg";
            if (!draw_page(page, number++, save, from_hbitmap, dispose, path)) {
                std::printf("  cannot write %s\n", path.c_str());
                made = false;
            }
        }
        shutdown(token);
    }
    FreeLibrary(gdiplus);
    return made;
}

void put_le32(std::string& out, std::int32_t value)
{
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
}

bool write_job_file(const std::string& pdf_path)
{
    std::string job;
    put_le32(job, 842);  // fixed size, unused: every page takes its image's size
    put_le32(job, 595);
    put_le32(job, static_cast<std::int32_t>(sizeof pages / sizeof pages[0]));
    put_le32(job, 0);
    job += pdf_path;
    job.resize(552, '\0');
    for (const sample_page& page : pages) {
        std::string record = page.name;
        record.resize(88, '\0');
        job += record;
    }
    std::FILE* file = std::fopen((std::string(work_dir) + "pagebinder_temp.dat").c_str(), "wb");
    if (!file)
        return false;
    bool written = std::fwrite(job.data(), 1, job.size(), file) == job.size();
    return std::fclose(file) == 0 && written;
}

// Starts the program as the add-on does, a line ready on its input in case it waits.
DWORD run_pagebinder(const std::string& bin_dir)
{
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    HANDLE read_end = nullptr, write_end = nullptr;
    if (!CreatePipe(&read_end, &write_end, &inheritable, 0))
        return 999;
    SetHandleInformation(write_end, HANDLE_FLAG_INHERIT, 0);
    DWORD written = 0;
    WriteFile(write_end, "\n", 1, &written, nullptr);
    CloseHandle(write_end);

    std::fflush(stdout);
    std::string command = "\"" + bin_dir + "\\pagebinder.exe\"";
    STARTUPINFOA startup = {sizeof startup};
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = read_end;
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    DWORD exit_code = 998;
    if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        WaitForSingleObject(process.hProcess, 60000);
        GetExitCodeProcess(process.hProcess, &exit_code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        std::printf("  cannot start %s (error %lu)\n", command.c_str(), GetLastError());
    }
    CloseHandle(read_end);
    return exit_code;
}

void run(const std::string& bin_dir, const std::string& out_dir)
{
    CreateDirectoryA("D:\\tq_conf", nullptr);
    CreateDirectoryA("D:\\tq_conf\\temp", nullptr);
    if (!make_sample_images())
        return;
    std::string pdf_path = out_dir + "\\pagebinder_demo.pdf";
    if (!write_job_file(pdf_path)) {
        std::printf("  cannot write the job file in %s\n", work_dir);
        return;
    }
    DWORD status = run_pagebinder(bin_dir);
    if (status == 0)
        std::printf("  pagebinder.exe -> exit 0, %zu pages with bookmarks in %s\n", sizeof pages / sizeof pages[0],
                    pdf_path.c_str());
    else
        std::printf("  pagebinder.exe -> exit %lu, no PDF\n", status);
}

}  // namespace

static demo_part part("pagebinder: page images to PDF", run);
