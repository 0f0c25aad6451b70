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

#include "kb/store.h"

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
    std::size_t stosowane_ = 0;
    std::unordered_set<std::int32_t> zastosowane_;
    std::size_t ustalone_ = 0;
    kb::NameMap<std::size_t> pierwsza_;   // argument -> first position
};

}  // namespace torv::engine
