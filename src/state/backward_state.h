// The tables of a backward-chaining run beyond those both chainings share.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace torv::engine {

/// numer_prawda / numer_nieprawda: the rule or relational model that proved
/// or refuted a literal.
struct NumberedLiteral {
    std::int32_t numer = 0;
    std::string literal;
    bool operator==(const NumberedLiteral&) const = default;
};

struct BackwardState {
    /// Rules taken up by the search, oldest first (the newest is the back).
    std::vector<std::int32_t> regula_stosowana;
    /// Rules that decided their conclusion; never tried again in the run.
    std::unordered_set<std::int32_t> regula_wykorzystana;
    std::vector<NumberedLiteral> numer_prawda;
    std::vector<NumberedLiteral> numer_nieprawda;
    /// The question being answered: 1 yes, 2 no, 3 why; and its condition.
    std::optional<int> odpowiedz;
    std::optional<std::string> warunek_dopytywalny_testowany;
    /// 1 narrow-sense, 2 wide-sense hypothesis.
    int opcja = 0;

    /// rbd_wstecz as a set; pamietaj_wstecz, its only writer, keeps both.
    std::unordered_set<std::string> established;
    /// Rules and models whose verification is under way. The search never
    /// takes one up again beneath itself, so cyclic bases end.
    std::unordered_set<std::int32_t> rulesInProgress;
    std::unordered_set<std::int32_t> modelsInProgress;
};

}  // namespace torv::engine
