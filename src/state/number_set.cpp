#include "state/number_set.h"

#include <algorithm>

namespace torv::engine {

bool NumberSet::insert(std::int32_t n) {
    if (contains(n)) return false;
    if (dense(n)) {
        const auto i = static_cast<std::size_t>(n);
        if (i >= bits_.size()) bits_.resize(std::max(i + 1, bits_.size() * 2));
        bits_[i] = true;
    } else {
        other_.insert(n);
    }
    ++size_;
    return true;
}

std::size_t NumberSet::erase(std::int32_t n) {
    if (!contains(n)) return 0;
    if (dense(n)) bits_[static_cast<std::size_t>(n)] = false;
    else other_.erase(n);
    --size_;
    return 1;
}

void NumberSet::clear() {
    bits_.clear();
    other_.clear();
    size_ = 0;
}

bool operator==(const NumberSet& a, const NumberSet& b) {
    if (a.size_ != b.size_ || a.other_ != b.other_) return false;
    const std::size_t common = std::min(a.bits_.size(), b.bits_.size());
    for (std::size_t i = 0; i < common; ++i)
        if (a.bits_[i] != b.bits_[i]) return false;
    // Past the shorter, both hold the same count already: nothing is set.
    return true;
}

}  // namespace torv::engine
