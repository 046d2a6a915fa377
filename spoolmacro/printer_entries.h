// The spooler's two-call enumeration protocol: ask for the size, allocate,
// ask again; retried while printers are being added. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

enum class enumeration_result { done, buffer_too_small, failed };

// One enumeration call: fills at most `size` bytes of `buffer` (null when
// size is 0) and reports the bytes it needs and the entries it returned.
using enumerate_call = std::function<enumeration_result(unsigned char* buffer, uint32_t size,
                                                        uint32_t* needed, uint32_t* returned)>;

struct printer_entries {
    std::unique_ptr<unsigned char[]> buffer;
    size_t count = 0;  // entries of the caller's entry size, all inside buffer
};

// A list that keeps growing between the calls is not followed for ever.
constexpr int enumeration_attempts = 4;

// The entries of one successful enumeration, or none when it failed, when
// memory ran out, or when the list grew on every attempt. The count never
// reaches past the buffer, whatever the spooler claims.
printer_entries read_printer_entries(const enumerate_call& enumerate, size_t entry_size);
