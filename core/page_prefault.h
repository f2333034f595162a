#pragma once

#include <cstddef>

// Ranges smaller than this are left alone: their faults are few, and their memory is likely in use already
// (a reused heap block).
inline constexpr std::size_t kSmallestPrefault = 1024 * 1024;

// Has the kernel map the pages of [data, data + size) for writing in one call. Fresh memory is otherwise
// mapped one 4 KB page at a time, by a fault at its first write, and when megabytes arrive at once (a
// download, a decoded page) those faults cost more than the writing. Only memory that will be written
// should be given: a mapped page counts as in use. The contents stay as they are; a range under
// kSmallestPrefault, or a kernel that cannot do this, is left to be mapped as it is written.
void PrefaultForWriting(void* data, std::size_t size);
