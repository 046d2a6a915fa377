// A sheet that records what the library does to it: the cell texts, the
// frames, the geometry asked for and the pictures added. It can hold template
// content before a run and can be told to fail its n-th operation.
#pragma once

#include "sheet.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

class recording_sheet : public sheet {
public:
    using cell = std::pair<int32_t, int32_t>;  // row, column

    struct frame_call {
        std::string first, last;
        int16_t weight;
    };
    struct picture_call {
        std::string path;
        float left, top, width, height;
    };

    // Cell texts: template content put here beforehand, then every write.
    std::map<cell, std::string> cells;
    std::vector<frame_call> frames;
    std::vector<picture_call> pictures;
    // What range_geometry answers for a pair of references; others fail.
    std::map<std::pair<std::string, std::string>, range_box> geometry;
    // Every operation in order, e.g. "write 6,1 1", "frame $A$6 $A$6 2".
    std::vector<std::string> log;

    int fail_at_operation = 0;  // 1-based; 0: never
    int operations = 0;
    int writes = 0;

    bool write_cell_text(int32_t row, int32_t column, const char* text) override
    {
        if (failing("write"))
            return false;
        ++writes;
        cells[{row, column}] = text;
        log.push_back("write " + std::to_string(row) + "," + std::to_string(column) + " " + text);
        return true;
    }

    bool frame_range(const char* first_cell, const char* last_cell, int16_t weight) override
    {
        if (failing("frame"))
            return false;
        frames.push_back({first_cell, last_cell, weight});
        log.push_back(std::string("frame ") + first_cell + " " + last_cell + " " + std::to_string(weight));
        return true;
    }

    bool range_geometry(const char* first_cell, const char* last_cell, range_box* box) override
    {
        if (failing("geometry"))
            return false;
        log.push_back(std::string("geometry ") + first_cell + " " + last_cell);
        auto found = geometry.find({first_cell, last_cell});
        if (found == geometry.end()) {
            failed_ = L"Range";
            return false;
        }
        *box = found->second;
        return true;
    }

    bool add_picture(const char* path, float left, float top, float width, float height) override
    {
        if (failing("picture"))
            return false;
        pictures.push_back({path, left, top, width, height});
        log.push_back(std::string("picture ") + path);
        return true;
    }

    std::wstring failure() const override { return failed_; }

    // The cell an A1 reference names, "$C$7", "C7" and "AB7" alike; {0, 0}
    // when it names none.
    static cell parse_reference(const std::string& reference)
    {
        size_t at = 0;
        int64_t column = 0, row = 0;
        if (at < reference.size() && reference[at] == '$')
            ++at;
        size_t letters = 0;
        for (; at < reference.size() && reference[at] >= 'A' && reference[at] <= 'Z'; ++at, ++letters)
            column = column * 26 + (reference[at] - 'A' + 1);
        if (at < reference.size() && reference[at] == '$')
            ++at;
        size_t digits = 0;
        for (; at < reference.size() && reference[at] >= '0' && reference[at] <= '9'; ++at, ++digits)
            row = row * 10 + (reference[at] - '0');
        if (letters == 0 || letters > 3 || digits == 0 || digits > 7 || at != reference.size() || row == 0)
            return {0, 0};
        return {static_cast<int32_t>(row), static_cast<int32_t>(column)};
    }

    // Cells framed one by one (first and last reference the same cell).
    std::multiset<cell> framed_cells() const
    {
        std::multiset<cell> result;
        for (const frame_call& f : frames)
            if (f.first == f.last)
                result.insert(parse_reference(f.first));
        return result;
    }

    // One sheet row as text: each column that holds a text or a frame, in
    // order, as "<column>[text]" when framed and "<column>(text)" when not,
    // separated by spaces. Empty when the row was not touched.
    std::string row_view(int32_t row) const
    {
        const std::multiset<cell> framed = framed_cells();
        std::set<int32_t> columns;
        for (const auto& entry : cells)
            if (entry.first.first == row)
                columns.insert(entry.first.second);
        for (const cell& c : framed)
            if (c.first == row)
                columns.insert(c.second);
        std::string view;
        for (int32_t column : columns) {
            auto text = cells.find({row, column});
            const bool is_framed = framed.count({row, column}) > 0;
            if (!view.empty())
                view += ' ';
            view += std::to_string(column) + (is_framed ? "[" : "(");
            if (text != cells.end())
                view += text->second;
            view += is_framed ? "]" : ")";
        }
        return view;
    }

    // Rows from `first` to `last` as row_view gives them.
    std::vector<std::string> rows_view(int32_t first, int32_t last) const
    {
        std::vector<std::string> rows;
        for (int32_t row = first; row <= last; ++row)
            rows.push_back(row_view(row));
        return rows;
    }

private:
    bool failing(const char* what)
    {
        if (++operations != fail_at_operation)
            return false;
        failed_ = std::wstring(what, what + std::char_traits<char>::length(what)) + L" failed";
        return true;
    }

    std::wstring failed_;
};
