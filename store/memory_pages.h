// Bringing in the pages of a large buffer ahead of use. The first write to
// every fresh page of memory otherwise takes a page fault of its own; for a
// buffer of tens of megabytes (the journal read at start, its table) one
// request for the whole range costs far less than thousands of faults, and
// large (2 MB) pages, where the system offers them, spare most of the
// address-translation work of reading and writing it.
#pragma once

#include <cstddef>

namespace quillmere {

// Buffers smaller than this are left alone: their faults cost little.
inline constexpr std::size_t kPopulateMinimumBytes = 1024 * 1024;

// Asks the system to back the whole pages inside [data, data + size) with
// memory now, in large pages where it can, ready for writing. Only a hint: nothing happens where the
// system cannot do it (an older kernel, another platform), and the contents
// stay as they are. Never throws.
void PopulatePages(void* data, std::size_t size) noexcept;

}  // namespace quillmere
