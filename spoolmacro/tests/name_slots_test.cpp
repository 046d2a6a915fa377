#include "name_slots.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

// The layout of a spooler entry at information level 5: the name comes first.
struct level5_entry {
    const char* name;
    const char* port;
    unsigned attributes, device_timeout, retry_timeout;
};

constexpr char marker = '\x5A';
const std::string gbk_char = "\xB3\xA4";  // a double-byte character, GBK for U+957F

std::string repeat(const std::string& piece, size_t times)
{
    std::string out;
    for (size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

struct filled_slots {
    int count = 0;
    std::vector<char> bytes = std::vector<char>(name_slot_size * name_slot_count, marker);
};

// Entries from names; nullopt stands for a null name pointer.
filled_slots fill(const std::vector<std::optional<std::string>>& names,
                  lead_byte_test is_lead = gbk_lead_byte)
{
    std::vector<level5_entry> entries;
    for (const auto& name : names)
        entries.push_back({name ? name->c_str() : nullptr, "FILE:", 0x40, 0, 0});
    filled_slots out;
    out.count =
        fill_name_slots(out.bytes.data(), entries.data(), entries.size(), sizeof(level5_entry), is_lead);
    return out;
}

// Checks the slots hold exactly `expected`, with every other byte still the marker.
void expect_slots(const filled_slots& got, const std::vector<std::string>& expected)
{
    ASSERT_EQ(static_cast<int>(expected.size()), got.count);
    for (size_t k = 0; k < name_slot_count; ++k) {
        const char* slot = got.bytes.data() + k * name_slot_size;
        size_t written = 0;
        if (k < expected.size()) {
            written = expected[k].size() + 1;
            EXPECT_EQ(0, std::memcmp(slot, expected[k].c_str(), written)) << "slot " << k;
        }
        for (size_t i = written; i < name_slot_size; ++i)
            ASSERT_EQ(marker, slot[i]) << "slot " << k << " byte " << i << " was written";
    }
}

bool no_lead_bytes(unsigned char) { return false; }

TEST(FillNameSlots, CopiesSkipsAndCuts)
{
    const std::string gbk_name = "\xCA\xFD\xBF\xD8\xB4\xF2\xD3\xA1";  // GBK for 数控打印
    struct {
        const char* what;
        std::vector<std::optional<std::string>> names;
        std::vector<std::string> expected;
    } cases[] = {
        {"no entries", {}, {}},
        {"only empty and null names", {std::string(), std::nullopt, std::string()}, {}},
        {"empty and null names take no slot",
         {std::string("A"), std::string(), std::nullopt, std::string("B"), std::string(), std::string("C")},
         {"A", "B", "C"}},
        {"names are copied byte for byte",
         {gbk_name, std::string("x\\y \x7F\x80\xFF")},
         {gbk_name, "x\\y \x7F\x80\xFF"}},
        {"255 bytes fit whole", {std::string(255, 'n')}, {std::string(255, 'n')}},
        {"256 bytes are cut to 255", {std::string(256, 'n')}, {std::string(255, 'n')}},
        {"a long name is cut", {std::string(600, 'n'), std::string("next")}, {std::string(255, 'n'), "next"}},
        {"double-byte characters ending at byte 255 stay whole",
         {"a" + repeat(gbk_char, 200)},
         {"a" + repeat(gbk_char, 127)}},
        {"a double-byte character across the limit is left out",
         {repeat(gbk_char, 200)},
         {repeat(gbk_char, 127)}},
        {"a name of 255 bytes ending in a lone lead byte fits",
         {std::string(254, 'n') + "\xB3"},
         {std::string(254, 'n') + "\xB3"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        expect_slots(fill(c.names), c.expected);
    }
}

TEST(FillNameSlots, CutsWhereTheLeadByteTestAllows)
{
    // Without double-byte characters the same name is cut at 255 bytes.
    std::string name = repeat(gbk_char, 200);
    expect_slots(fill({name}, no_lead_bytes), {name.substr(0, 255)});
}

TEST(FillNameSlots, StopsAtAHundredWithoutLookingFurther)
{
    std::vector<std::string> names;
    for (int i = 0; i < 101; ++i)
        names.push_back("printer " + std::to_string(i));
    names[7].clear();  // skipped, so the hundredth filled slot is entry 100
    std::vector<level5_entry> entries;
    for (const auto& name : names)
        entries.push_back({name.c_str(), nullptr, 0, 0, 0});

    filled_slots got;
    // The spooler claims 150 entries, but the array ends after entry 100:
    // reading on would be caught by AddressSanitizer.
    got.count = fill_name_slots(got.bytes.data(), entries.data(), 150, sizeof(level5_entry));
    std::vector<std::string> expected;
    for (const auto& name : names) {
        if (!name.empty())
            expected.push_back(name);
    }
    expect_slots(got, expected);
}

}  // namespace
