// Filling the caller's printer name slots from the spooler's entries. Platform-free.
#pragma once

#include "host_path.h"

#include <cstddef>

constexpr size_t name_slot_size = 256;
constexpr int name_slot_count = 100;

// Copies the names of `count` spooler entries, `entry_size` bytes apart from
// `entries`, each with its name pointer as first member, into consecutive
// slots from slot 0. Null and empty names take no slot; a name that does not
// fit is cut to the longest run of whole characters within 255 bytes. Stops
// once every slot is filled, without looking at the entries left. Writes
// nothing after a name's terminator nor into unused slots. Returns the number
// of slots filled.
int fill_name_slots(char* slots, const void* entries, size_t count, size_t entry_size,
                    lead_byte_test is_lead = gbk_lead_byte);
