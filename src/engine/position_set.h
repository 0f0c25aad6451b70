// A set of the positions 0..n-1 of a table that finds its smallest member
// at or after a position in a few word operations, whatever the size: a bit
// per position, and above it a bit per non-empty word, level by level up to
// a single word.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace torv::engine {

class PositionSet {
public:
    /// Every position below `size` a member when `full`, none otherwise.
    explicit PositionSet(std::size_t size, bool full = false) : size_(size) {
        std::size_t bits = size;
        do {
            levels_.emplace_back((bits + 63) / 64, 0);
            bits = levels_.back().size();
        } while (bits > 1);
        if (full)
            for (std::size_t i = 0; i < size; ++i) insert(i);
    }

    void insert(std::size_t i) {
        for (auto& level : levels_) {
            std::uint64_t& word = level[i / 64];
            const bool wasEmpty = word == 0;
            word |= std::uint64_t{1} << (i % 64);
            if (!wasEmpty) return;   // the levels above already know this word
            i /= 64;
        }
    }

    void erase(std::size_t i) {
        for (auto& level : levels_) {
            std::uint64_t& word = level[i / 64];
            word &= ~(std::uint64_t{1} << (i % 64));
            if (word != 0) return;
            i /= 64;
        }
    }

    bool contains(std::size_t i) const { return i < size_ && (levels_[0][i / 64] >> (i % 64)) & 1; }

    /// The smallest member at or after `from`.
    std::optional<std::size_t> next(std::size_t from) const {
        if (from >= size_) return std::nullopt;
        std::size_t level = 0, i = from;
        // Up until a word holds a member at or after i ...
        for (;;) {
            if (level == levels_.size()) return std::nullopt;
            const auto& words = levels_[level];
            const std::size_t w = i / 64;
            if (w >= words.size()) return std::nullopt;
            const std::uint64_t bits = words[w] & (~std::uint64_t{0} << (i % 64));
            if (bits != 0) {
                i = w * 64 + static_cast<std::size_t>(std::countr_zero(bits));
                break;
            }
            i = w + 1;   // the words after this one, one level up
            ++level;
        }
        // ... then down along the lowest member of each word.
        while (level > 0) {
            --level;
            i = i * 64 + static_cast<std::size_t>(std::countr_zero(levels_[level][i]));
        }
        return i;
    }

private:
    std::size_t size_;
    std::vector<std::vector<std::uint64_t>> levels_;   // levels_[0]: a bit per position
};

}  // namespace torv::engine
