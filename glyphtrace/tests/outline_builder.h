// Builds outline buffers in the system's native layout by hand, for the
// tests: contours (TTPOLYGONHEADER) and their curve records (TTPOLYCURVE).
#pragma once

#include <cstdint>
#include <vector>

// A 16.16 FIXED coordinate: whole-number half and fraction half.
struct fixed_coord {
    std::int16_t value;
    std::uint16_t fract = 0;
};

struct fixed_point {
    fixed_coord x, y;
};

class outline_builder {
public:
    // Starts a contour at `start`; its byte count is set by the next contour() or bytes().
    outline_builder& contour(fixed_point start)
    {
        finish_contour();
        contour_at_ = bytes_.size();
        put32(0);  // cb, filled in when the contour ends
        put32(24);  // dwType TT_POLYGON_TYPE
        put_point(start);
        return *this;
    }
    outline_builder& curve(std::uint16_t type, const std::vector<fixed_point>& points)
    {
        put16(type);
        put16(static_cast<std::uint16_t>(points.size()));
        for (const fixed_point& p : points)
            put_point(p);
        return *this;
    }
    // Raw bytes inside the current contour (counted in its cb).
    outline_builder& raw(const std::vector<std::uint8_t>& more)
    {
        bytes_.insert(bytes_.end(), more.begin(), more.end());
        return *this;
    }
    // Overwrites the byte count of the current contour once it is finished.
    outline_builder& lie_about_size(std::uint32_t cb)
    {
        size_lie_ = cb;
        has_lie_ = true;
        return *this;
    }
    std::vector<std::uint8_t> bytes()
    {
        finish_contour();
        return bytes_;
    }

private:
    void put16(std::uint16_t v)
    {
        bytes_.push_back(static_cast<std::uint8_t>(v));
        bytes_.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void put32(std::uint32_t v)
    {
        put16(static_cast<std::uint16_t>(v));
        put16(static_cast<std::uint16_t>(v >> 16));
    }
    void put_point(fixed_point p)
    {
        put16(p.x.fract);
        put16(static_cast<std::uint16_t>(p.x.value));
        put16(p.y.fract);
        put16(static_cast<std::uint16_t>(p.y.value));
    }
    void finish_contour()
    {
        if (contour_at_ == npos)
            return;
        std::uint32_t cb = has_lie_ ? size_lie_ : static_cast<std::uint32_t>(bytes_.size() - contour_at_);
        for (int i = 0; i < 4; ++i)
            bytes_[contour_at_ + i] = static_cast<std::uint8_t>(cb >> (8 * i));
        contour_at_ = npos;
        has_lie_ = false;
    }

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    std::vector<std::uint8_t> bytes_;
    std::size_t contour_at_ = npos;
    std::uint32_t size_lie_ = 0;
    bool has_lie_ = false;
};
