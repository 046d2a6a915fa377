// The library's own floor for the benchmark: the libharu calls of one
// pagebinder run and nothing else (no job file, no checks, no file moves).
//   pagebinder_bare OUT.pdf IMAGE.jpg...
#include <hpdf.h>

#include <csetjmp>
#include <cstdio>

static std::jmp_buf jump_point;

static void HPDF_STDCALL on_error(HPDF_STATUS error_no, HPDF_STATUS detail_no, void*)
{
    std::printf("ERROR: error_no=%04X, detail_no=%u\n", unsigned(error_no), unsigned(detail_no));
    std::longjmp(jump_point, 1);
}

int main(int argc, char** argv)
{
    HPDF_Doc doc = HPDF_New(on_error, nullptr);
    if (!doc || argc < 2)
        return 1;
    if (setjmp(jump_point)) {
        HPDF_Free(doc);
        return 1;
    }
    HPDF_SetPageMode(doc, HPDF_PAGE_MODE_USE_OUTLINE);
    HPDF_Font font = HPDF_GetFont(doc, "Helvetica", nullptr);
    for (int i = 2; i < argc; ++i) {
        HPDF_Image image = HPDF_LoadJpegImageFromFile(doc, argv[i]);
        HPDF_Page page = HPDF_AddPage(doc);
        HPDF_REAL width = static_cast<HPDF_REAL>(HPDF_Image_GetWidth(image));
        HPDF_REAL height = static_cast<HPDF_REAL>(HPDF_Image_GetHeight(image));
        HPDF_Page_SetWidth(page, width);
        HPDF_Page_SetHeight(page, height);
        HPDF_Page_DrawImage(page, image, 0, 0, width, height);
        HPDF_Page_SetFontAndSize(page, font, 12);
        HPDF_Outline outline = HPDF_CreateOutline(doc, nullptr, argv[i], nullptr);
        HPDF_Outline_SetOpened(outline, HPDF_TRUE);
        HPDF_Destination destination = HPDF_Page_CreateDestination(page);
        HPDF_Destination_SetXYZ(destination, 0, HPDF_Page_GetMediaBox(page).top, 1);
        HPDF_Outline_SetDestination(outline, destination);
    }
    HPDF_SaveToFile(doc, argv[1]);
    HPDF_Free(doc);
    return 0;
}
