#include "page_binder.h"

#include "job_file.h"

#include <hpdf.h>

#include <csetjmp>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// Console texts, GBK bytes whatever the machine's code page.
const char open_job_failed[] = "\n\xB4\xF2\xBF\xAA PDF \xB5\xC4\xC1\xD9\xCA\xB1\xCE\xC4\xBC\xFE\xB4\xED\xCE\xF3!";
const char header_short[] = "\n\xB6\xC1\xCD\xB7\xD0\xC5\xCF\xA2\xB4\xED\xCE\xF3!";
const char record_short[] = "\n\xB6\xC1\xB1\xED\xCC\xE5\xD0\xC5\xCF\xA2\xB4\xED\xCE\xF3!";

constexpr std::size_t image_path_size = 256;
// Every GBK character becomes at most three bytes of UTF-8.
constexpr std::size_t utf8_title_size = image_name_field_size * 3 + 1;

// The error handler's way back. libharu reports every error through the
// handler and then expects it not to return; one run at a time.
std::jmp_buf jump_point;
std::FILE* error_out;

void print_error_line(unsigned error_no, unsigned detail_no)
{
    std::fprintf(error_out, "ERROR: error_no=%04X, detail_no=%u\n", error_no, detail_no);
    std::fflush(error_out);
}

void HPDF_STDCALL pdf_error_handler(HPDF_STATUS error_no, HPDF_STATUS detail_no, void*)
{
    print_error_line(static_cast<unsigned>(error_no), static_cast<unsigned>(detail_no));
    std::longjmp(jump_point, 1);
}

void print_and_wait(const binder_platform& platform, const char* message)
{
    std::fputs(message, platform.out);
    std::fflush(platform.out);
    std::fgetc(platform.in);
}

bool is_ascii(const char* text)
{
    for (; *text; ++text) {
        if (static_cast<unsigned char>(*text) >= 0x80)
            return false;
    }
    return true;
}

// Everything the assembly changes after its jump point lives here, in the
// caller's frame, so that it is intact when the error handler jumps back.
struct run_state {
    HPDF_Doc doc = nullptr;
    std::FILE* job = nullptr;
    bool utf_encodings_on = false;
    bool saving = false;
    page_job_header header;
    page_record record;
    char image_path[image_path_size];
    char utf8_title[utf8_title_size];
    char temp_path[pdf_path_field_size + 16];
    std::vector<std::string>* built_images;
};

// Builds the document and writes it to the temporary file. Between the jump
// point and the library calls below no object with a destructor may live: the
// jump back would skip it. Returns 0 when the temporary file is complete, or
// the exit status after a failure that has been reported.
int assemble(const binder_platform& platform, run_state* state)
{
    state->doc = HPDF_New(pdf_error_handler, nullptr);
    if (!state->doc) {
        std::fputs("error: cannot create PdfDoc object\n", platform.out);
        return 1;
    }
    if (setjmp(jump_point)) {
        HPDF_Free(state->doc);
        state->doc = nullptr;
        if (state->job)
            std::fclose(state->job);
        state->job = nullptr;
        if (state->saving)
            std::remove(state->temp_path);
        return 1;
    }

    HPDF_SetPageMode(state->doc, HPDF_PAGE_MODE_USE_OUTLINE);
    HPDF_Font font = HPDF_GetFont(state->doc, "Helvetica", nullptr);

    std::snprintf(state->image_path, sizeof state->image_path, "%s%s", platform.work_dir, page_job_file_name);
    state->job = std::fopen(state->image_path, "rb");
    if (!state->job) {
        HPDF_Free(state->doc);
        print_and_wait(platform, open_job_failed);
        return 1;
    }
    if (!read_page_job_header(state->job, &state->header)) {
        HPDF_Free(state->doc);
        std::fclose(state->job);
        state->job = nullptr;
        print_and_wait(platform, header_short);
        return 1;
    }
    const page_job_header& header = state->header;

    for (std::int32_t index = 0; index < header.page_count; ++index) {
        if (!read_page_record(state->job, &state->record)) {
            HPDF_Free(state->doc);
            print_and_wait(platform, record_short);
            std::fclose(state->job);
            state->job = nullptr;
            return 1;
        }
        const char* name = state->record.image_name;
        std::snprintf(state->image_path, sizeof state->image_path, "%s%s.jpg", platform.work_dir, name);

        HPDF_Image image = HPDF_LoadJpegImageFromFile(state->doc, state->image_path);
        HPDF_Page page = HPDF_AddPage(state->doc);
        HPDF_UINT pixel_width = HPDF_Image_GetWidth(image);
        HPDF_UINT pixel_height = HPDF_Image_GetHeight(image);
        HPDF_REAL width, height;
        if (!header.use_fixed_size) {
            width = static_cast<HPDF_REAL>(pixel_width);
            height = static_cast<HPDF_REAL>(pixel_height);
        } else if (pixel_width < pixel_height) {
            width = static_cast<HPDF_REAL>(header.fixed_height);
            height = static_cast<HPDF_REAL>(header.fixed_width);
        } else {
            width = static_cast<HPDF_REAL>(header.fixed_width);
            height = static_cast<HPDF_REAL>(header.fixed_height);
        }
        HPDF_Page_SetWidth(page, width);
        HPDF_Page_SetHeight(page, height);
        HPDF_Page_DrawImage(page, image, 0.0f, 0.0f, width, height);
        HPDF_Page_SetFontAndSize(page, font, 12.0f);

        // Raw bytes of a non-ASCII title would be read as PDFDocEncoding;
        // such a title goes in as Unicode (UTF-16BE with its byte-order mark).
        const char* title = name;
        HPDF_Encoder encoder = nullptr;
        if (!is_ascii(name) && platform.ansi_to_utf8(name, state->utf8_title, sizeof state->utf8_title)) {
            if (!state->utf_encodings_on) {
                HPDF_UseUTFEncodings(state->doc);
                state->utf_encodings_on = true;
            }
            encoder = HPDF_GetEncoder(state->doc, "UTF-8");
            title = state->utf8_title;
        }
        HPDF_Outline outline = HPDF_CreateOutline(state->doc, nullptr, title, encoder);
        HPDF_Outline_SetOpened(outline, HPDF_TRUE);
        HPDF_Destination destination = HPDF_Page_CreateDestination(page);
        HPDF_Destination_SetXYZ(destination, 0.0f, HPDF_Page_GetMediaBox(page).top, 1.0f);
        HPDF_Outline_SetDestination(outline, destination);

        // The image goes only once the PDF is safely in place.
        state->built_images->push_back(state->image_path);
    }

    std::snprintf(state->temp_path, sizeof state->temp_path, "%s%s", header.pdf_path, pdf_temp_suffix);
    state->saving = true;
    HPDF_SaveToFile(state->doc, state->temp_path);
    state->saving = false;

    HPDF_Free(state->doc);
    state->doc = nullptr;
    std::fclose(state->job);
    state->job = nullptr;
    return 0;
}

struct file_closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// libharu closes the PDF file without looking at the result, so bytes lost
// when the last buffer is flushed (a full disk) go unreported: the file is
// whole only if it still ends with the marker the library writes last.
bool written_whole(const char* path)
{
    static const char end_marker[] = "%%EOF\n";
    constexpr std::size_t marker_size = sizeof end_marker - 1;
    std::unique_ptr<std::FILE, file_closer> file(std::fopen(path, "rb"));
    char tail[marker_size];
    return file && std::fseek(file.get(), -long(marker_size), SEEK_END) == 0 &&
           std::fread(tail, 1, marker_size, file.get()) == marker_size &&
           std::memcmp(tail, end_marker, marker_size) == 0;
}

}  // namespace

int bind_pages(const binder_platform& platform)
{
    if (std::strlen(platform.work_dir) > max_work_dir_length)
        return 1;
    error_out = platform.out;

    std::vector<std::string> built_images;
    run_state state;
    state.built_images = &built_images;
    int status = assemble(platform, &state);
    if (status != 0)
        return status;

    if (!written_whole(state.temp_path)) {
        std::remove(state.temp_path);
        // Reported as the library reports a write that fails.
        print_error_line(HPDF_FILE_IO_ERROR, 0);
        return 1;
    }
    const char* pdf_path = state.header.pdf_path;
    if (int error = platform.replace_file(state.temp_path, pdf_path)) {
        std::remove(state.temp_path);
        // Reported as the library reports a PDF file it cannot open for writing.
        print_error_line(HPDF_FILE_OPEN_ERROR, static_cast<unsigned>(error));
        return 1;
    }
    for (const std::string& image : built_images) {
        if (image != pdf_path)
            std::remove(image.c_str());
    }
    return 0;
}
