// glyphtrace.dll: get_true_font_data, one character of an outline font as
// point records, read through GDI's glyph outline at a cell height of 500.
#include "glyphtrace.h"

#include "outline.h"
#include "win/app.h"
#include "win/text.h"
#include "win/unique_handle.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string>

namespace {

constexpr DWORD outline_buffer_size = 16000;

// "字体高度(大于)必需是大于0的数!"
const wchar_t height_refused[] =
    L"\x5B57\x4F53\x9AD8\x5EA6(\x5927\x4E8E)\x5FC5\x9700\x662F\x5927\x4E8E" L"0\x7684\x6570!";
// "字体的高宽比必需是大于0的数!"
const wchar_t width_ratio_refused[] =
    L"\x5B57\x4F53\x7684\x9AD8\x5BBD\x6BD4\x5FC5\x9700\x662F\x5927\x4E8E" L"0\x7684\x6570!";
// "取出字体数据错误"
const wchar_t outline_unreadable[] = L"\x53D6\x51FA\x5B57\x4F53\x6570\x636E\x9519\x8BEF";

// LOGFONTW's face name holds 31 units and the terminator; a longer name is cut.
void copy_face_name(const std::wstring& name, wchar_t (&field)[LF_FACESIZE])
{
    size_t length = std::min<size_t>(name.size(), LF_FACESIZE - 1);
    std::wmemcpy(field, name.data(), length);
    field[length] = L'\0';
}

FIXED whole(short value)
{
    FIXED f = {};
    f.value = value;
    return f;
}

// Reads the first character of `char_text` in the font `face_name` at cell
// height 500 through a screen context and walks its outline into `points`.
// Returns the records written, or -1 when the system gives no outline. Font
// and screen context are released before it returns, on every path.
int trace_outline(const char* char_text, const char* face_name, double height, double width_ratio,
                  font_point* points)
{
    unique_window_dc screen(nullptr);
    if (!screen)
        return -1;
    LOGFONTW description = {};
    description.lfHeight = static_cast<LONG>(outline_cell_height);
    copy_face_name(ansi_to_wide(face_name), description.lfFaceName);
    unique_gdi_object font(CreateFontIndirectW(&description));
    if (!font)
        return -1;
    selected_object selection(screen.get(), font.get());  // declared last: put back first
    if (!selection.ok())
        return -1;

    std::wstring text = ansi_to_wide(char_text);
    UINT character = text.empty() ? 0 : text[0];
    GLYPHMETRICS metrics = {};
    MAT2 identity = {whole(1), whole(0), whole(0), whole(1)};
    unsigned char outline[outline_buffer_size];
    DWORD size = GetGlyphOutlineW(screen.get(), character, GGO_BEZIER, &metrics, outline_buffer_size, outline,
                                  &identity);
    if (size == GDI_ERROR)
        return -1;
    // A count above the buffer would be the system's fault; never read past it.
    return walk_outline(outline, std::min(size, outline_buffer_size), height, width_ratio, points);
}

}  // namespace

extern "C" int get_true_font_data(const char* char_text, const char* face_name, double height,
                                  double width_ratio, font_point* points, int* point_count)
{
    *point_count = 0;
    // Written so that NaN is refused as well: it would make every point NaN.
    if (!(height > 0)) {
        app::message_box(height_refused, MB_OKCANCEL | MB_ICONEXCLAMATION);
        return 0;
    }
    if (!(width_ratio > 0)) {
        app::message_box(width_ratio_refused, MB_OKCANCEL | MB_ICONEXCLAMATION);
        return 0;
    }
    int count = trace_outline(char_text, face_name, height, width_ratio, points);
    if (count < 0) {
        app::message_box(outline_unreadable, MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    *point_count = count;
    unsigned char first_byte = char_text ? static_cast<unsigned char>(char_text[0]) : 0;
    scale_points(points, count, fitting_factor(first_byte, points, count, height, width_ratio));
    return 1;
}
