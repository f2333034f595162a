#pragma once

#include <cstddef>

// Has the kernel map the pages of [data, data + size) for writing in one call. Fresh memory is otherwise
// mapped one 4 KB page at a time, by a fault at its first write, and when megabytes arrive at once (a
// download, a decoded page) those faults cost more than the writing. The contents stay as they are; a range
// under a megabyte, or a kernel that cannot do this, is left to be mapped as it is written.
void PrefaultForWriting(void* data, std::size_t size);
