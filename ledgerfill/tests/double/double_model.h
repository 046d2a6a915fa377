// The spreadsheet double: an in-process COM server (excel_double.dll, beside
// the test program) registered as "Excel.Application" for the Wine tests.
// It serves exactly the members the library uses, strictly, and keeps a model
// of what a user of the real application would see.
//
// How a test drives it:
//   1. The Wine test program registers the double once at start-up
//      (register_excel_double(), done by tests/wine/double_environment.cpp).
//   2. Before a fill: double_control("reset"), then write a template with
//      write_file(path, workbook.text()) where `workbook` is a double_workbook
//      (row heights, column widths, template cells, or sheets = 0 for a
//      workbook without worksheets). Open accepts only a file whose first line
//      is double_workbook_signature.
//   3. Optional: double_control("fail_call K") makes the K-th member call of
//      the run (1-based, every Invoke counted) fail with DISP_E_EXCEPTION and
//      the description "injected fault at call K"; double_control("refuse_start")
//      makes creating the application fail.
//   4. Call excel_file_2010 (with COM initialised on the thread).
//   5. Read the model: read_double_model() gives the application's state
//      (visible, display_alerts, saved, saves, quit, live_objects, calls, the
//      call log, the opened path and ReadOnly argument) and the workbook as it
//      is in memory (cells, frames, pictures). The double writes this file on
//      every Save and whenever its last object is released, so after a fill
//      that released everything live_objects is 0. The saved workbook itself
//      is the template file: read_double_workbook(path) reads it back, so a
//      fill that must not save leaves the template's bytes unchanged.
//   Queries answer at once, without the file: double_control("starts"),
//   ("live_objects"), ("calls"), ("saves"), ("visible").
//
// Texts: cells hold the UTF-16 text converted to the ANSI code page, so a test
// compares them with ansi("...") from testsupport. Geometry: a row is 15
// points high and a column 48 points wide unless the workbook says otherwise;
// Left/Top/Width/Height of a range follow from them as on a real sheet.
// Strictness: a wrong member gives DISP_E_MEMBERNOTFOUND, a wrong kind
// DISP_E_MEMBERNOTFOUND, named arguments where none belong DISP_E_NONAMEDARGS,
// a wrong count DISP_E_BADPARAMCOUNT, a wrong variant type DISP_E_TYPEMISMATCH;
// a cell at row or column 0 or beyond the sheet, a bad reference, a missing
// picture file or a file that is not a workbook give DISP_E_EXCEPTION with a
// description; Worksheets.Item beyond the sheets gives DISP_E_BADINDEX.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

constexpr const char double_workbook_signature[] = "ledgerfill double workbook";
constexpr const char double_model_signature[] = "ledgerfill double model";
// Made up for the double; the library finds it through the ProgID.
constexpr const wchar_t excel_double_clsid[] = L"{6C9B2D1E-4F3A-4E8B-9C71-2A5D8E0F1B34}";

struct double_frame {
    int first_row = 0, first_column = 0, last_row = 0, last_column = 0;
    int line_style = 0, weight = 0, color_index = 0;
    unsigned long color = 0;
};

struct double_picture {
    std::string path;
    int link_to_file = 0, save_with_document = 0;
    float left = 0, top = 0, width = 0, height = 0;
};

struct double_workbook {
    using cell = std::pair<int, int>;  // row, column

    int sheets = 1;
    int rows = 1048576, columns = 16384;
    double default_row_height = 15, default_column_width = 48;
    std::map<int, double> row_heights, column_widths;
    std::map<cell, std::string> cells;  // ANSI text
    std::vector<double_frame> frames;   // in the order they were drawn
    std::vector<double_picture> pictures;

    bool has(int row, int column) const { return cells.count({row, column}) != 0; }
    std::string at(int row, int column) const
    {
        auto found = cells.find({row, column});
        return found == cells.end() ? std::string() : found->second;
    }
    std::string text() const;  // the file, signature first
};

struct double_model {
    bool found = false;  // the file was there
    bool visible = false, display_alerts = true, saved = true, quit = false;
    int starts = 0;  // applications created
    int saves = 0, live_objects = 0, calls = 0, failed_call = 0;
    std::string opened_path;   // Filename given to Workbooks.Open
    int read_only = -1;        // its ReadOnly argument
    std::vector<std::string> call_log;  // "Object.Member" of each call, in order
    double_workbook workbook;  // as it is in memory
};

// ---- the file format: one item a line, texts escaped (\\ \n \r \t) -------

inline std::string double_escape(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default: out += c;
        }
    }
    return out;
}

inline std::string double_unescape(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        char c = text[++i];
        out += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
    }
    return out;
}

inline std::string double_number(double value)
{
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

inline std::string double_workbook::text() const
{
    std::string out = std::string(double_workbook_signature) + "\n";
    out += "sheets " + std::to_string(sheets) + "\n";
    out += "size " + std::to_string(rows) + " " + std::to_string(columns) + "\n";
    out += "default_row_height " + double_number(default_row_height) + "\n";
    out += "default_column_width " + double_number(default_column_width) + "\n";
    for (const auto& [row, height] : row_heights)
        out += "row_height " + std::to_string(row) + " " + double_number(height) + "\n";
    for (const auto& [column, width] : column_widths)
        out += "column_width " + std::to_string(column) + " " + double_number(width) + "\n";
    for (const auto& [where, value] : cells)
        out += "cell " + std::to_string(where.first) + " " + std::to_string(where.second) + " " +
               double_escape(value) + "\n";
    for (const double_frame& f : frames)
        out += "frame " + std::to_string(f.first_row) + " " + std::to_string(f.first_column) + " " +
               std::to_string(f.last_row) + " " + std::to_string(f.last_column) + " " +
               std::to_string(f.line_style) + " " + std::to_string(f.weight) + " " +
               std::to_string(f.color_index) + " " + std::to_string(f.color) + "\n";
    for (const double_picture& p : pictures)
        out += "picture " + std::to_string(p.link_to_file) + " " + std::to_string(p.save_with_document) + " " +
               double_number(p.left) + " " + double_number(p.top) + " " + double_number(p.width) + " " +
               double_number(p.height) + " " + double_escape(p.path) + "\n";
    return out;
}

// The rest of a line after n space-separated words.
inline std::string double_rest(const std::string& line, int words)
{
    size_t at = 0;
    for (int i = 0; i < words && at != std::string::npos; ++i) {
        at = line.find(' ', at);
        if (at != std::string::npos)
            ++at;
    }
    return at == std::string::npos ? std::string() : line.substr(at);
}

// Reads one line of the workbook part; false when it is not one.
inline bool double_read_workbook_line(const std::string& line, double_workbook& book)
{
    std::istringstream in(line);
    std::string key;
    in >> key;
    if (key == "sheets") {
        in >> book.sheets;
    } else if (key == "size") {
        in >> book.rows >> book.columns;
    } else if (key == "default_row_height") {
        in >> book.default_row_height;
    } else if (key == "default_column_width") {
        in >> book.default_column_width;
    } else if (key == "row_height") {
        int row = 0;
        double height = 0;
        in >> row >> height;
        book.row_heights[row] = height;
    } else if (key == "column_width") {
        int column = 0;
        double width = 0;
        in >> column >> width;
        book.column_widths[column] = width;
    } else if (key == "cell") {
        int row = 0, column = 0;
        in >> row >> column;
        book.cells[{row, column}] = double_unescape(double_rest(line, 3));
    } else if (key == "frame") {
        double_frame f;
        in >> f.first_row >> f.first_column >> f.last_row >> f.last_column >> f.line_style >> f.weight >>
            f.color_index >> f.color;
        book.frames.push_back(f);
    } else if (key == "picture") {
        double_picture p;
        in >> p.link_to_file >> p.save_with_document >> p.left >> p.top >> p.width >> p.height;
        p.path = double_unescape(double_rest(line, 7));
        book.pictures.push_back(p);
    } else {
        return false;
    }
    return true;
}

inline std::vector<std::string> double_lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// Parses a workbook file; false when it lacks the signature.
inline bool parse_double_workbook(const std::string& text, double_workbook* book)
{
    std::vector<std::string> lines = double_lines(text);
    if (lines.empty() || lines[0] != double_workbook_signature)
        return false;
    *book = double_workbook();
    book->sheets = 1;
    for (size_t i = 1; i < lines.size(); ++i)
        double_read_workbook_line(lines[i], *book);
    return true;
}

inline std::string double_model_text(const double_model& m)
{
    std::string out = std::string(double_model_signature) + "\n";
    out += "visible " + std::to_string(m.visible) + "\n";
    out += "display_alerts " + std::to_string(m.display_alerts) + "\n";
    out += "saved " + std::to_string(m.saved) + "\n";
    out += "starts " + std::to_string(m.starts) + "\n";
    out += "saves " + std::to_string(m.saves) + "\n";
    out += "quit " + std::to_string(m.quit) + "\n";
    out += "live_objects " + std::to_string(m.live_objects) + "\n";
    out += "calls " + std::to_string(m.calls) + "\n";
    out += "failed_call " + std::to_string(m.failed_call) + "\n";
    out += "read_only " + std::to_string(m.read_only) + "\n";
    out += "opened " + double_escape(m.opened_path) + "\n";
    for (const std::string& call : m.call_log)
        out += "call " + call + "\n";
    std::string book = m.workbook.text();
    out += book.substr(book.find('\n') + 1);
    return out;
}

inline double_model parse_double_model(const std::string& text)
{
    double_model m;
    std::vector<std::string> lines = double_lines(text);
    if (lines.empty() || lines[0] != double_model_signature)
        return m;
    m.found = true;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        std::istringstream in(line);
        std::string key;
        in >> key;
        int flag = 0;
        if (key == "visible" && in >> flag) m.visible = flag != 0;
        else if (key == "display_alerts" && in >> flag) m.display_alerts = flag != 0;
        else if (key == "saved" && in >> flag) m.saved = flag != 0;
        else if (key == "quit" && in >> flag) m.quit = flag != 0;
        else if (key == "starts") in >> m.starts;
        else if (key == "saves") in >> m.saves;
        else if (key == "live_objects") in >> m.live_objects;
        else if (key == "calls") in >> m.calls;
        else if (key == "failed_call") in >> m.failed_call;
        else if (key == "read_only") in >> m.read_only;
        else if (key == "opened") m.opened_path = double_unescape(double_rest(line, 1));
        else if (key == "call") m.call_log.push_back(double_rest(line, 1));
        else double_read_workbook_line(line, m.workbook);
    }
    return m;
}

// ---- for the test program ------------------------------------------------

inline std::string excel_double_dir()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir = path;
    return dir.substr(0, dir.find_last_of('\\'));
}

inline std::string excel_double_path() { return excel_double_dir() + "\\excel_double.dll"; }

// Where the double writes its model unless told otherwise ("model_file PATH").
inline std::string double_model_path() { return excel_double_dir() + "\\excel_double_model.txt"; }

// Sends one command to the double (loading it once, kept for the program's life).
inline int double_control(const std::string& command)
{
    using control_fn = int (*)(const char*);
    static control_fn control = [] {
        HMODULE module = LoadLibraryA(excel_double_path().c_str());
        return module ? reinterpret_cast<control_fn>(GetProcAddress(module, "double_control")) : nullptr;
    }();
    return control ? control(command.c_str()) : -2;
}

// The whole content of a file; empty when it cannot be read.
inline std::string read_double_file(const std::string& path)
{
    std::string text;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            text.append(buffer, n);
        std::fclose(f);
    }
    return text;
}

inline double_model read_double_model(const std::string& path = double_model_path())
{
    return parse_double_model(read_double_file(path));
}

inline bool read_double_workbook(const std::string& path, double_workbook* book)
{
    return parse_double_workbook(read_double_file(path), book);
}

// Registers the double as "Excel.Application" for this user, and removes it.
inline bool set_registry_text(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value)
{
    HKEY opened = nullptr;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr) != ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExW(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(opened);
    return result == ERROR_SUCCESS;
}

// True when the ProgID leads to the double rather than to anything else.
inline bool double_registered()
{
    CLSID found, ours;
    return SUCCEEDED(CLSIDFromProgID(L"Excel.Application", &found)) &&
           SUCCEEDED(CLSIDFromString(excel_double_clsid, &ours)) && IsEqualCLSID(found, ours);
}

inline void unregister_excel_double(HKEY root)
{
    std::wstring base = root == HKEY_CURRENT_USER ? L"Software\\Classes\\" : L"";
    RegDeleteTreeW(root, (base + L"Excel.Application").c_str());
    RegDeleteTreeW(root, (base + L"CLSID\\" + excel_double_clsid).c_str());
}

// Registers the double for this user; where the registry has no per-user
// classes (Wine), in the classes of the private prefix. Returns the root
// written to, for unregister_excel_double, or null on failure.
inline HKEY register_excel_double()
{
    std::wstring clsid = excel_double_clsid;
    wchar_t dll[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, excel_double_path().c_str(), -1, dll, MAX_PATH);
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_CLASSES_ROOT}) {
        std::wstring base = root == HKEY_CURRENT_USER ? L"Software\\Classes\\" : L"";
        std::wstring server = base + L"CLSID\\" + clsid + L"\\InprocServer32";
        bool written = set_registry_text(root, base + L"Excel.Application\\CLSID", nullptr, clsid) &&
                       set_registry_text(root, base + L"CLSID\\" + clsid + L"\\ProgID", nullptr,
                                         L"Excel.Application") &&
                       set_registry_text(root, server, nullptr, dll) &&
                       set_registry_text(root, server, L"ThreadingModel", L"Apartment");
        if (written && double_registered())
            return root;
        unregister_excel_double(root);
    }
    return nullptr;
}
