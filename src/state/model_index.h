// Lookups in the applied models and the determined values of a run that
// stay cheap however long the run: the tables are plain vectors that any
// chaining appends to, and the index catches up with the records appended
// since it was last used.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace torv::engine {

struct ZmiennaUstalona;

class ModelIndex {
public:
    /// The model number is in `stosowane` (model_stosowany).
    bool applied(const std::vector<std::int32_t>& stosowane, std::int32_t numer);
    /// The first record of the argument in `ustalone` (zmienna_ustalona), or null.
    const ZmiennaUstalona* determined(const std::vector<ZmiennaUstalona>& ustalone, std::string_view argument);
    /// A record was taken out of zmienna_ustalona: the positions are rebuilt.
    void valueRemoved() {
        ustalone_ = 0;
        pierwsza_.clear();
    }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::size_t stosowane_ = 0;
    std::unordered_set<std::int32_t> zastosowane_;
    std::size_t ustalone_ = 0;
    std::unordered_map<std::string, std::size_t, Hash, std::equal_to<>> pierwsza_;   // argument -> first position
};

}  // namespace torv::engine
