// A set of rule or model numbers: a bit per number for the usual small
// non-negative ones, a hash set for the rest. A million fired rules cost
// an eighth of a megabyte instead of a hash node each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <unordered_set>
#include <vector>

namespace torv::engine {

class NumberSet {
public:
    NumberSet() = default;
    NumberSet(std::initializer_list<std::int32_t> numbers) {
        for (std::int32_t n : numbers) insert(n);
    }

    bool contains(std::int32_t n) const {
        return dense(n) ? static_cast<std::size_t>(n) < bits_.size() && bits_[static_cast<std::size_t>(n)]
                        : other_.count(n) != 0;
    }
    std::size_t count(std::int32_t n) const { return contains(n) ? 1 : 0; }
    /// False when it was there already.
    bool insert(std::int32_t n);
    /// How many were removed (0 or 1).
    std::size_t erase(std::int32_t n);
    void clear();
    bool empty() const { return size_ == 0; }
    std::size_t size() const { return size_; }

    friend bool operator==(const NumberSet& a, const NumberSet& b);

private:
    // Numbers above this go to the hash set, so a stray huge number cannot
    // make the bits large.
    static constexpr std::int32_t kDenseLimit = 1 << 24;
    static bool dense(std::int32_t n) { return n >= 0 && n < kDenseLimit; }

    std::vector<bool> bits_;
    std::unordered_set<std::int32_t> other_;
    std::size_t size_ = 0;
};

}  // namespace torv::engine
