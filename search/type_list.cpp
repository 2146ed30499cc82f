#include "search/type_list.h"

#include <cassert>

namespace quillmere {

void TTypeList::Add(double date) {
    dates_.push_back(date);
}

double TTypeList::GetDate(std::int32_t index) const {
    assert(contains(index));
    return dates_[static_cast<std::size_t>(index)];
}

}  // namespace quillmere
