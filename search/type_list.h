// TTypeList: the days a search found, in the order they were added (the
// search adds them in ascending date order). The values are JournalDate
// day values copied unchanged.
//
// Held in one contiguous array, so adding a day and reading any position both
// take constant time and filling the result list stays linear in the number
// of days found.
#pragma once

#include <cstdint>
#include <vector>

namespace quillmere {

class TTypeList {
public:
    // An empty list: Count() is 0, IsEmpty() is true.
    TTypeList() = default;

    // Appends a day value at the end. Never throws except std::bad_alloc.
    void Add(double date);

    // The value at zero-based position `index`. Positions outside
    // 0 .. Count() - 1 are a caller error; checked with an assertion in debug
    // builds (callers test the position first, see ListBox1DblClick).
    double GetDate(std::int32_t index) const;

    // True when the list holds no value.
    bool IsEmpty() const { return dates_.empty(); }

    // Number of values held.
    std::int32_t Count() const { return static_cast<std::int32_t>(dates_.size()); }

    // True when `index` names a value of the list.
    bool contains(std::int32_t index) const { return index >= 0 && index < Count(); }

private:
    std::vector<double> dates_;
};

}  // namespace quillmere
