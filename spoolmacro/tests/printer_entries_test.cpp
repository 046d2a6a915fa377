#include "printer_entries.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

constexpr uint32_t entry_size = 20;

// A spooler whose list has list_sizes[k] entries at its k-th call (the last
// size from then on), writing every byte it reports as returned.
struct scripted_spooler {
    std::vector<uint32_t> list_sizes;
    enumeration_result refusal = enumeration_result::buffer_too_small;  // when the buffer is short
    bool shrink_needed = false;    // reports a need no larger than the buffer it refused
    uint32_t claimed_entries = 0;  // when nonzero, claims this many entries on success
    int calls = 0;

    enumeration_result operator()(unsigned char* buffer, uint32_t size, uint32_t* needed, uint32_t* returned)
    {
        uint32_t entries =
            list_sizes[calls < static_cast<int>(list_sizes.size()) ? calls : list_sizes.size() - 1];
        ++calls;
        *needed = entries * entry_size;
        if (size < *needed) {
            if (shrink_needed)
                *needed = size;
            return refusal;
        }
        if (*needed)
            std::memset(buffer, 0xAB, *needed);  // AddressSanitizer checks the buffer has that room
        *returned = claimed_entries ? claimed_entries : entries;
        return enumeration_result::done;
    }
};

TEST(ReadPrinterEntries, AsksAgainWhileTheListGrows)
{
    struct {
        const char* what;
        scripted_spooler spooler;
        size_t expected_count;
        int expected_calls;
    } cases[] = {
        {"no printers", {{0}}, 0, 2},
        {"a steady list", {{7}}, 7, 2},
        {"a printer added between the calls", {{3, 5}}, 5, 3},
        {"the last attempt succeeds", {{1, 2, 3, 4}}, 4, 1 + enumeration_attempts},
        {"a list that grows on every call", {{1, 2, 3, 4, 5, 6}}, 0, 1 + enumeration_attempts},
        {"another failure", {{2, 3}, enumeration_result::failed}, 0, 2},
        {"too small without needing more", {{2, 3}, enumeration_result::buffer_too_small, true}, 0, 2},
        {"more entries claimed than fit", {{4}, enumeration_result::buffer_too_small, false, 1000}, 4, 2},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        printer_entries got = read_printer_entries(
            [&](unsigned char* buffer, uint32_t size, uint32_t* needed, uint32_t* returned) {
                return c.spooler(buffer, size, needed, returned);
            },
            entry_size);
        EXPECT_EQ(c.expected_count, got.count);
        EXPECT_EQ(c.expected_calls, c.spooler.calls);
        if (got.count)
            EXPECT_EQ(0xAB, got.buffer[got.count * entry_size - 1]);
    }
}

}  // namespace
