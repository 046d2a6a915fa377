#include "outline.h"
#include "outline_builder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr unsigned char marker = 0xAB;

fixed_point at(std::int16_t x, std::int16_t y) { return {{x}, {y}}; }

struct walked {
    int count = 0;
    std::vector<font_point> points;  // the records written
};

// Walks the first `size` bytes, copied to a block of exactly that size, into a
// marker-filled array of exactly the room the header promises, and checks
// that nothing but the written records' fields was touched.
walked walk(const std::vector<std::uint8_t>& bytes, std::size_t size, double height = 500,
            double width_ratio = 1)
{
    std::vector<std::uint8_t> outline(bytes.begin(), bytes.begin() + size);
    std::size_t room = most_points_of(size);
    std::vector<unsigned char> raw(room * sizeof(font_point) + 1, marker);
    auto* points = reinterpret_cast<font_point*>(raw.data());
    walked out;
    out.count = walk_outline(outline.data(), size, height, width_ratio, points);
    EXPECT_GE(out.count, 0);
    EXPECT_LE(static_cast<std::size_t>(out.count), room);
    for (int i = 0; i < out.count; ++i) {
        const unsigned char* record = raw.data() + i * sizeof(font_point);
        for (int b = 1; b < 8; ++b)
            EXPECT_EQ(marker, record[b]) << "alignment byte " << b << " of record " << i;
        out.points.push_back(points[i]);
    }
    std::size_t touched = 0;
    for (std::size_t b = out.count * sizeof(font_point); b < raw.size(); ++b)
        touched += raw[b] != marker;
    EXPECT_EQ(0u, touched) << "bytes changed past the records written";
    return out;
}

walked walk(const std::vector<std::uint8_t>& bytes, double height = 500, double width_ratio = 1)
{
    return walk(bytes, bytes.size(), height, width_ratio);
}

// Two contours with every kind of curve record, and one of an unknown type.
std::vector<std::uint8_t> two_contours()
{
    return outline_builder()
        .contour(at(10, 20))
        .curve(1, {at(30, 20), at(30, 40)})
        .curve(3, {at(25, 45), at(15, 45), at(10, 40)})
        .contour(at(-5, -6))
        .curve(2, {at(1, 2), at(3, 4)})
        .curve(7, {at(99, 99)})
        .curve(1, {at(7, 8)})
        .bytes();
}

TEST(WalkOutline, EachContourGivesItsStartThenThePointsOfItsRecordsInOrder)
{
    walked w = walk(two_contours());
    struct {
        int is_start, x, y;
    } expected[] = {
        {1, 10, 20}, {0, 30, 20}, {0, 30, 40}, {0, 25, 45}, {0, 15, 45}, {0, 10, 40},
        {1, -5, -6}, {0, 1, 2},   {0, 3, 4},   {0, 7, 8},
    };
    ASSERT_EQ(std::size(expected), w.points.size());
    for (std::size_t i = 0; i < w.points.size(); ++i) {
        EXPECT_EQ(expected[i].is_start, w.points[i].is_start) << i;
        EXPECT_DOUBLE_EQ(expected[i].x, w.points[i].x) << i;
        EXPECT_DOUBLE_EQ(expected[i].y, w.points[i].y) << i;
        EXPECT_EQ(0.0, w.points[i].z) << i;
    }
}

TEST(WalkOutline, KeepsOnlyTheWholeNumberHalfSoNegativesRoundDown)
{
    struct {
        fixed_coord coord;
        int whole;
    } cases[] = {
        {{3, 0}, 3},          {{3, 0xFFFF}, 3},       // 3.99998
        {{-2, 0xC000}, -2},   // -1.25
        {{-1, 0xFFFF}, -1},   // -0.00002
        {{-32768, 0}, -32768}, {{32767, 0xFFFF}, 32767},
    };
    std::vector<fixed_point> points;
    for (const auto& c : cases)
        points.push_back({c.coord, c.coord});
    walked w = walk(outline_builder().contour(points[0]).curve(1, {points.begin() + 1, points.end()}).bytes());
    ASSERT_EQ(std::size(cases), w.points.size());
    for (std::size_t i = 0; i < w.points.size(); ++i) {
        EXPECT_DOUBLE_EQ(cases[i].whole, w.points[i].x) << i;
        EXPECT_DOUBLE_EQ(cases[i].whole, w.points[i].y) << i;
    }
}

TEST(WalkOutline, MapsOutlineUnitsToTheHeightAndTheWidthRatio)
{
    walked w = walk(outline_builder().contour(at(250, -100)).bytes(), 10.0, 3.0);
    ASSERT_EQ(1u, w.points.size());
    EXPECT_DOUBLE_EQ(15.0, w.points[0].x);  // 250 / 500 * 10 * 3
    EXPECT_DOUBLE_EQ(-2.0, w.points[0].y);  // -100 / 500 * 10
}

TEST(WalkOutline, StopsCleanlyWhereARecordDoesNotFitAndKeepsWhatCameBefore)
{
    std::vector<std::uint8_t> good = two_contours();
    std::size_t first_contour = 16 + 4 + 2 * 8 + 4 + 3 * 8;
    struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
        std::size_t size;
        int count;
    } cases[] = {
        {"no bytes", good, 0, 0},
        {"less than a contour header", good, 15, 0},
        {"count ends inside the first contour", good, first_contour - 1, 0},
        {"count ends inside the second contour", good, first_contour + 20, 6},
        {"count leaves a few bytes after the contours", [&] { auto b = good; b.resize(b.size() + 7); return b; }(),
         good.size() + 7, 10},
        {"contour size 0", outline_builder().contour(at(1, 1)).lie_about_size(0).bytes(), 16, 0},
        {"contour size below its header", outline_builder().contour(at(1, 1)).lie_about_size(15).bytes(), 16, 0},
        {"contour size past the count",
         outline_builder().contour(at(1, 1)).curve(1, {at(2, 2)}).lie_about_size(64).bytes(), 28, 0},
        {"second contour past the count",
         outline_builder().contour(at(1, 1)).curve(1, {at(2, 2)}).contour(at(3, 3)).lie_about_size(0xFFFFFFF0).bytes(),
         44, 2},
        {"curve record past its contour",
         outline_builder().contour(at(1, 1)).raw({1, 0, 5, 0, 0, 0, 2, 0, 0, 0, 2, 0}).bytes(), 28, 1},
        {"curve record of the most points past its contour",
         outline_builder().contour(at(1, 1)).raw({3, 0, 0xFF, 0xFF}).bytes(), 20, 1},
        {"contour ends in part of a curve header",
         outline_builder().contour(at(1, 1)).curve(1, {at(2, 2)}).raw({1, 0}).contour(at(5, 5)).bytes(), 46, 2},
    };
    for (const auto& c : cases) {
        ASSERT_LE(c.size, c.bytes.size()) << c.what;
        EXPECT_EQ(c.count, walk(c.bytes, c.size).count) << c.what;
    }
}

TEST(WalkOutline, TheDensestOutlineStaysWithinAnEighthOfItsBytes)
{
    std::vector<fixed_point> many(1997, at(1, 2));
    std::vector<std::uint8_t> bytes = outline_builder().contour(at(0, 0)).curve(3, many).bytes();
    ASSERT_LE(bytes.size(), 16000u);
    EXPECT_EQ(1998, walk(bytes).count);
    EXPECT_EQ(2000u, most_points_of(16000));
}

font_point point(double x, double y) { return {0, x, y, 0.0}; }

TEST(FittingFactor, PunctuationMarksTakeAFixedFactor)
{
    std::vector<font_point> box = {point(0, 0), point(40, 60)};
    struct {
        unsigned char first_byte;
        double factor;
    } cases[] = {{'.', 1.5}, {',', 1.5}, {'_', 1.5}, {'"', 1.5}, {'\'', 1.5}, {':', 1.2}, {';', 1.2}};
    for (const auto& c : cases)
        EXPECT_EQ(c.factor, fitting_factor(c.first_byte, box.data(), 2, 10, 1)) << c.first_byte;
}

TEST(FittingFactor, OtherCharactersJustReachNinetyPercentOfTheCell)
{
    struct {
        const char* what;
        unsigned char first_byte;
        std::vector<font_point> points;
        double height, width_ratio, factor;
    } cases[] = {
        {"taller than wide", 'A', {point(0, -10), point(50, 90), point(20, 0)}, 10, 1, 0.09},
        {"wider than tall", 'A', {point(0, 0), point(200, 100)}, 10, 1, 0.045},
        {"width ratio widens the cell", 'A', {point(0, 0), point(400, 100)}, 10, 2, 0.045},
        {"a full-width mark's lead byte", 0xA3, {point(0, 0), point(40, 60)}, 10, 1, 0.15},
        {"an empty text", 0, {point(0, 0), point(40, 60)}, 10, 1, 0.15},
        {"one shared y: width alone", 'A', {point(0, 5), point(30, 5)}, 10, 1, 0.3},
        {"one shared x: height alone", 'A', {point(7, 0), point(7, 45)}, 10, 1, 0.2},
        {"all points coincide", 'A', {point(3, 4), point(3, 4)}, 10, 1, 1.0},
        {"no points", 'A', {}, 10, 1, 1.0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(c.factor, fitting_factor(c.first_byte, c.points.data(), static_cast<int>(c.points.size()),
                                                  c.height, c.width_ratio))
            << c.what;
}

// Walk and fit as the export does.
std::vector<font_point> fitted(unsigned char first_byte, double height, double width_ratio)
{
    std::vector<std::uint8_t> bytes = two_contours();
    std::vector<font_point> points(most_points_of(bytes.size()));
    int count = walk_outline(bytes.data(), bytes.size(), height, width_ratio, points.data());
    scale_points(points.data(), count, fitting_factor(first_byte, points.data(), count, height, width_ratio));
    points.resize(count);
    return points;
}

TEST(FittedTrace, HeightScalesEveryPointAndTheWidthRatioOnlyX)
{
    for (unsigned char first_byte : {'A', '.', ':'}) {
        std::vector<font_point> base = fitted(first_byte, 10, 1);
        std::vector<font_point> taller = fitted(first_byte, 20, 1);
        std::vector<font_point> wider = fitted(first_byte, 10, 1.75);
        ASSERT_EQ(base.size(), taller.size());
        ASSERT_EQ(base.size(), wider.size());
        for (std::size_t i = 0; i < base.size(); ++i) {
            EXPECT_DOUBLE_EQ(2 * base[i].x, taller[i].x) << first_byte << i;
            EXPECT_DOUBLE_EQ(2 * base[i].y, taller[i].y) << first_byte << i;
            EXPECT_DOUBLE_EQ(1.75 * base[i].x, wider[i].x) << first_byte << i;
            EXPECT_DOUBLE_EQ(base[i].y, wider[i].y) << first_byte << i;
            EXPECT_EQ(base[i].is_start, taller[i].is_start);
            EXPECT_EQ(0.0, taller[i].z);
        }
    }
}

}  // namespace
