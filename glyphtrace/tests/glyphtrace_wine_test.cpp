// get_true_font_data as the add-on calls it, tracing real fonts through the
// system's own glyph outlines; the font facts come from fontTools (see
// font_reference.py), the unfitted outlines from GetGlyphOutlineW directly.
#include "glyphtrace.h"

#include "com_server_check.h"
#include "message_box_catcher.h"
#include "test_files.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

using get_true_font_data_fn = int (*)(const char*, const char*, double, double, font_point*, int*);

const char dejavu[] = "DejaVu Sans";
const char wenquanyi[] = "WenQuanYi Zen Hei";
constexpr unsigned char marker = 0xAB;
constexpr int caller_room = 2000;

class library {
public:
    library() : module_(LoadLibraryA("glyphtrace.dll")) {}
    ~library()
    {
        if (module_)
            FreeLibrary(module_);
    }
    library(const library&) = delete;
    library& operator=(const library&) = delete;
    HMODULE get() const { return module_; }
    FARPROC entry(const char* name) const { return module_ ? GetProcAddress(module_, name) : nullptr; }

private:
    HMODULE module_;
};

struct trace_result {
    int result = -1;
    int count = -1;
    std::vector<font_point> points;  // the records written
    std::vector<caught_box> boxes;
    bool untouched_elsewhere = true;  // alignment bytes and records past the count kept the marker
};

// Calls the export as the add-on does, on a marker-filled array of 2000 records.
trace_result trace(const std::string& text, const std::string& face, double height, double width_ratio)
{
    static library dll;
    static auto get_true_font_data = reinterpret_cast<get_true_font_data_fn>(dll.entry("get_true_font_data"));
    trace_result out;
    if (!get_true_font_data) {
        ADD_FAILURE() << "glyphtrace.dll or its export is missing";
        return out;
    }
    std::vector<unsigned char> raw(caller_room * sizeof(font_point), marker);
    auto* points = reinterpret_cast<font_point*>(raw.data());
    out.count = 12345;
    {
        message_box_catcher catcher;
        out.result = get_true_font_data(text.c_str(), face.c_str(), height, width_ratio, points, &out.count);
        out.boxes = catcher.boxes();
    }
    int written = std::max(0, std::min(out.count, caller_room));
    for (int i = 0; i < written; ++i) {
        out.points.push_back(points[i]);
        for (int b = 1; b < 8; ++b)
            out.untouched_elsewhere &= raw[i * sizeof(font_point) + b] == marker;
    }
    for (size_t b = written * sizeof(font_point); b < raw.size(); ++b)
        out.untouched_elsewhere &= raw[b] == marker;
    return out;
}

// The glyph as the system gives it at cell height 500, read with Windows'
// own outline records: whole-number halves of the coordinates.
struct outline_point {
    bool is_start;
    int x, y;
};

struct system_outline {
    DWORD size = GDI_ERROR;
    std::vector<outline_point> points;
    int contours() const
    {
        return static_cast<int>(std::count_if(points.begin(), points.end(), [](auto& p) { return p.is_start; }));
    }
};

system_outline read_system_outline(const std::string& face, wchar_t character)
{
    system_outline out;
    HDC screen = GetDC(nullptr);
    LOGFONTW description = {};
    description.lfHeight = 500;
    MultiByteToWideChar(CP_ACP, 0, face.c_str(), -1, description.lfFaceName, LF_FACESIZE);
    HFONT font = CreateFontIndirectW(&description);
    HGDIOBJ previous = SelectObject(screen, font);
    static unsigned char buffer[16000];
    GLYPHMETRICS metrics;
    MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    out.size = GetGlyphOutlineW(screen, character, GGO_BEZIER, &metrics, sizeof buffer, buffer, &identity);
    SelectObject(screen, previous);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    if (out.size == GDI_ERROR)
        return out;
    for (DWORD at = 0; at < out.size;) {
        auto* header = reinterpret_cast<const TTPOLYGONHEADER*>(buffer + at);
        out.points.push_back({true, header->pfxStart.x.value, header->pfxStart.y.value});
        for (DWORD c = at + sizeof *header; c < at + header->cb;) {
            auto* curve = reinterpret_cast<const TTPOLYCURVE*>(buffer + c);
            for (int i = 0; i < curve->cpfx; ++i)
                out.points.push_back({false, curve->apfx[i].x.value, curve->apfx[i].y.value});
            c += 4 + 8 * curve->cpfx;
        }
        at += header->cb;
    }
    return out;
}

struct extents {
    double xmin, ymin, xmax, ymax;
    double width() const { return xmax - xmin; }
    double height() const { return ymax - ymin; }
};

template <typename Points>
extents box_of(const Points& points)
{
    extents e = {double(points[0].x), double(points[0].y), double(points[0].x), double(points[0].y)};
    for (const auto& p : points) {
        e.xmin = std::min<double>(e.xmin, p.x);
        e.xmax = std::max<double>(e.xmax, p.x);
        e.ymin = std::min<double>(e.ymin, p.y);
        e.ymax = std::max<double>(e.ymax, p.y);
    }
    return e;
}

::testing::AssertionResult close_to(double expected, double actual)
{
    if (std::fabs(expected - actual) <= 1e-9 * std::max(1.0, std::fabs(expected)))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected " << expected << ", got " << actual;
}

std::string ansi_of(wchar_t character)
{
    char out[8] = {};
    WideCharToMultiByte(CP_ACP, 0, &character, 1, out, sizeof out - 1, nullptr, nullptr);
    return out;
}

TEST(Arguments, EachRefusalShowsItsMessageWithOkAndCancelAndWritesNothing)
{
    const std::string height_message = ansi("字体高度(大于)必需是大于0的数!");
    const std::string ratio_message = ansi("字体的高宽比必需是大于0的数!");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct {
        double height, width_ratio;
        const std::string& message;
    } cases[] = {
        {0, 1, height_message},        {-3, 1, height_message},  {0, -1, height_message},  // height first
        {nan, 1, height_message},      {10, -1, ratio_message},  {10, 0, ratio_message},
        {10, nan, ratio_message},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "height " << c.height << ", width ratio " << c.width_ratio);
        trace_result r = trace("A", dejavu, c.height, c.width_ratio);
        EXPECT_EQ(0, r.result);
        EXPECT_EQ(0, r.count);
        EXPECT_TRUE(r.untouched_elsewhere);
        ASSERT_EQ(1u, r.boxes.size());
        EXPECT_EQ(c.message, r.boxes[0].text);
        EXPECT_EQ("glyphtrace", r.boxes[0].caption);
        EXPECT_TRUE(r.boxes[0].has_ok);
        EXPECT_TRUE(r.boxes[0].has_cancel);
    }
}

// The font font_reference.py writes, for this process only while it lives: a
// face name of 31 units (and a Chinese one), an "A" too big for the library's
// buffer and a "B" that only just fits it.
const char test_font_name[] = "Glyphtrace Test Font Name Of 31";

class test_font {
public:
    test_font() : file_(test_program_dir() + "\\glyphtrace_test_font.ttf")
    {
        added_ = AddFontResourceExA(file_.c_str(), FR_PRIVATE, nullptr) > 0;
    }
    ~test_font()
    {
        if (added_)
            RemoveFontResourceExA(file_.c_str(), FR_PRIVATE, nullptr);
    }
    test_font(const test_font&) = delete;
    test_font& operator=(const test_font&) = delete;
    bool added() const { return added_; }
    const std::string& file() const { return file_; }

private:
    std::string file_;
    bool added_ = false;
};

TEST(Outline, AnOutlineTooBigForTheBufferIsReportedAndWritesNothing)
{
    test_font font;
    ASSERT_TRUE(font.added()) << font.file();
    ASSERT_EQ(GDI_ERROR, read_system_outline(test_font_name, L'A').size) << "the star fits the buffer";

    trace_result r = trace("A", test_font_name, 10, 1);
    EXPECT_EQ(0, r.result);
    EXPECT_EQ(0, r.count);
    EXPECT_TRUE(r.untouched_elsewhere);
    ASSERT_EQ(1u, r.boxes.size());
    EXPECT_EQ(ansi("取出字体数据错误"), r.boxes[0].text);
    EXPECT_EQ("glyphtrace", r.boxes[0].caption);
    EXPECT_TRUE(r.boxes[0].has_ok);
    EXPECT_FALSE(r.boxes[0].has_cancel);
}

TEST(Outline, AnOutlineThatOnlyJustFitsTheBufferIsTracedWhole)
{
    test_font font;
    ASSERT_TRUE(font.added()) << font.file();
    system_outline outline = read_system_outline(test_font_name, L'B');
    ASSERT_NE(GDI_ERROR, outline.size);
    ASSERT_GT(outline.size, 15500u) << "the star leaves too much of the buffer free";

    trace_result r = trace("B", test_font_name, 10, 1);
    EXPECT_EQ(1, r.result);
    EXPECT_TRUE(r.boxes.empty());
    EXPECT_TRUE(r.untouched_elsewhere);
    EXPECT_EQ(outline.points.size(), r.points.size());
}

TEST(Trace, CharactersWithoutOutlineGiveResultOneAndNoRecord)
{
    const std::pair<const char*, std::string> cases[] = {
        {dejavu, " "}, {dejavu, " A"}, {wenquanyi, " "}, {wenquanyi, ansi("　")},  // last: full-width space
    };
    for (const auto& [face, text] : cases) {
        SCOPED_TRACE(testing::Message() << face << " [" << text << "]");
        trace_result r = trace(text, face, 10, 1);
        EXPECT_EQ(1, r.result);
        EXPECT_EQ(0, r.count);
        EXPECT_TRUE(r.untouched_elsewhere);
        EXPECT_TRUE(r.boxes.empty());
    }
}

// Which character a text traces and which fitting its first byte selects.
struct traced_case {
    const char* face;
    std::string text;
    wchar_t character;
    double factor;  // 0: fitted to the cell
};

std::vector<traced_case> traced_cases()
{
    return {
        {dejavu, "A", L'A', 0},
        {dejavu, "g", L'g', 0},
        {dejavu, "Ag.", L'A', 0},  // several characters: the first one
        {dejavu, ".", L'.', 1.5},
        {dejavu, ",", L',', 1.5},
        {dejavu, "'", L'\'', 1.5},
        {dejavu, "_", L'_', 1.5},
        {dejavu, ":", L':', 1.2},
        {dejavu, ";A", L';', 1.2},
        {wenquanyi, ansi("中"), L'\x4E2D', 0},
        {wenquanyi, ansi("中文"), L'\x4E2D', 0},
        {wenquanyi, ansi("，"), L'\xFF0C', 0},  // full-width comma: its lead byte selects nothing
        {wenquanyi, ansi("："), L'\xFF1A', 0},
        {wenquanyi, "A", L'A', 0},
    };
}

TEST(Trace, GivesTheSystemOutlineScaledAndFittedByTheFirstByte)
{
    const double height = 10, width_ratio = 1.5;
    for (const traced_case& c : traced_cases()) {
        SCOPED_TRACE(testing::Message() << c.face << " [" << c.text << "]");
        system_outline outline = read_system_outline(c.face, c.character);
        ASSERT_NE(GDI_ERROR, outline.size);
        ASSERT_FALSE(outline.points.empty());
        extents units = box_of(outline.points);
        double factor = c.factor ? c.factor : 450.0 / std::max(units.width(), units.height());

        trace_result r = trace(c.text, c.face, height, width_ratio);
        EXPECT_EQ(1, r.result);
        EXPECT_TRUE(r.boxes.empty());
        EXPECT_TRUE(r.untouched_elsewhere);
        ASSERT_EQ(outline.points.size(), r.points.size());
        for (size_t i = 0; i < r.points.size(); ++i) {
            const outline_point& u = outline.points[i];
            EXPECT_EQ(u.is_start ? 1 : 0, r.points[i].is_start) << i;
            EXPECT_TRUE(close_to(u.x / 500.0 * height * width_ratio * factor, r.points[i].x)) << i;
            EXPECT_TRUE(close_to(u.y / 500.0 * height * factor, r.points[i].y)) << i;
            EXPECT_EQ(0.0, r.points[i].z) << i;
        }
    }
}

TEST(Trace, TheDefaultFittingReachesNinetyPercentOfTheCell)
{
    for (double width_ratio : {1.0, 0.4, 3.0}) {
        for (const auto& [face, text] : {std::pair<const char*, std::string>{dejavu, "A"}, {wenquanyi, ansi("中")}}) {
            SCOPED_TRACE(testing::Message() << face << " [" << text << "] width ratio " << width_ratio);
            trace_result r = trace(text, face, 8, width_ratio);
            ASSERT_FALSE(r.points.empty());
            extents box = box_of(r.points);
            double tall = box.height() / (0.9 * 8), wide = box.width() / (0.9 * 8 * width_ratio);
            EXPECT_TRUE(close_to(1.0, std::max(tall, wide)));
            EXPECT_LE(std::min(tall, wide), 1.0 + 1e-9);
        }
    }
}

TEST(Trace, DoublingTheHeightDoublesEveryPointAndTheWidthRatioScalesOnlyX)
{
    for (const traced_case& c : traced_cases()) {
        SCOPED_TRACE(testing::Message() << c.face << " [" << c.text << "]");
        trace_result base = trace(c.text, c.face, 5, 1.25);
        trace_result doubled = trace(c.text, c.face, 10, 1.25);
        trace_result narrowed = trace(c.text, c.face, 5, 0.5);
        ASSERT_EQ(base.points.size(), doubled.points.size());
        ASSERT_EQ(base.points.size(), narrowed.points.size());
        for (size_t i = 0; i < base.points.size(); ++i) {
            EXPECT_TRUE(close_to(2 * base.points[i].x, doubled.points[i].x)) << i;
            EXPECT_TRUE(close_to(2 * base.points[i].y, doubled.points[i].y)) << i;
            EXPECT_TRUE(close_to(base.points[i].x * 0.5 / 1.25, narrowed.points[i].x)) << i;
            EXPECT_TRUE(close_to(base.points[i].y, narrowed.points[i].y)) << i;
        }
    }
}

TEST(Trace, AgreesWithTheFontFilesAsFontToolsReadsThem)
{
    std::string reference = read_file(test_program_dir() + "\\glyphtrace_font_reference.txt");
    ASSERT_FALSE(reference.empty()) << "no font reference; it is written by the glyphtrace_font_reference test";
    std::istringstream lines(reference);
    std::string line;
    int glyphs = 0;
    while (std::getline(lines, line)) {
        std::vector<std::string> f;
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, '|');)
            f.push_back(field);
        ASSERT_EQ(7u, f.size()) << line;
        SCOPED_TRACE(line);
        auto character = static_cast<wchar_t>(std::stoul(f[1], nullptr, 16));
        system_outline outline = read_system_outline(f[0], character);
        ASSERT_NE(GDI_ERROR, outline.size);
        ASSERT_FALSE(outline.points.empty());
        extents units = box_of(outline.points);
        EXPECT_NEAR(std::stod(f[3]), units.xmin, 2.0);
        EXPECT_NEAR(std::stod(f[4]), units.ymin, 2.0);
        EXPECT_NEAR(std::stod(f[5]), units.xmax, 2.0);
        EXPECT_NEAR(std::stod(f[6]), units.ymax, 2.0);

        std::string text = ansi_of(character);
        trace_result r = trace(text, f[0], 10, 1);
        int contours = static_cast<int>(
            std::count_if(r.points.begin(), r.points.end(), [](const font_point& p) { return p.is_start == 1; }));
        EXPECT_EQ(std::stoi(f[2]), contours);
        ++glyphs;
    }
    EXPECT_GT(glyphs, 0);
}

TEST(Resources, FontAndScreenContextAreGivenBackOnEveryCall)
{
    // More calls than the system has GDI handles: a font or a screen context
    // kept by each call would make a later call fail.
    library dll;
    auto get_true_font_data = reinterpret_cast<get_true_font_data_fn>(dll.entry("get_true_font_data"));
    ASSERT_NE(nullptr, get_true_font_data);
    std::vector<font_point> points(caller_room);
    message_box_catcher catcher;
    int failed_at = -1;
    for (int call = 0; call < 70000 && failed_at < 0; ++call) {
        int count = 0;
        if (get_true_font_data("A", dejavu, 10, 1, points.data(), &count) != 1 || count == 0)
            failed_at = call;
    }
    EXPECT_EQ(-1, failed_at);
    EXPECT_TRUE(catcher.boxes().empty());
}

TEST(FaceName, ANameLongerThanTheFieldIsCutTo31Units)
{
    // Only the name cut to exactly 31 units is the test font's; any other cut
    // falls back to a font whose "B" has a few dozen points.
    test_font font;
    ASSERT_TRUE(font.added()) << font.file();
    system_outline star = read_system_outline(test_font_name, L'B');
    ASSERT_GT(star.points.size(), 1000u);

    trace_result r = trace("B", std::string(test_font_name) + std::string(60, 'x'), 10, 1);
    EXPECT_EQ(1, r.result);
    EXPECT_TRUE(r.boxes.empty());
    EXPECT_TRUE(r.untouched_elsewhere);
    EXPECT_EQ(star.points.size(), r.points.size());
}

TEST(FaceName, AGbkNameIsReadThroughTheAnsiCodePage)
{
    // The test font's Simplified Chinese family name; read as anything but
    // GBK it names no font, and the substitute's "B" has a few dozen points.
    test_font font;
    ASSERT_TRUE(font.added()) << font.file();
    system_outline star = read_system_outline(test_font_name, L'B');
    ASSERT_GT(star.points.size(), 1000u);

    trace_result r = trace("B", ansi("字形测试"), 10, 1);
    EXPECT_EQ(1, r.result);
    EXPECT_TRUE(r.boxes.empty());
    EXPECT_EQ(star.points.size(), r.points.size());
}

TEST(ComServer, ServesNoClassCanUnloadAndRegistersNothing)
{
    library dll;
    expect_classless_com_server(dll.get(), false);
}

}  // namespace
