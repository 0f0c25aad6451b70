// Conclusion exclusivity analysis: the three menu commands that tell whether
// the conclusions of chosen rules exclude one another, over the first
// flattening of each chosen rule.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "verify/state_test.h"

namespace torv { struct AppState; }
namespace torv::kb { class Store; }
namespace torv::port { class Progress; }

namespace torv::verify {

class FlatteningBase;

/// Passes the first flattenings of one analysis may take in all: far beyond
/// real bases, and a few seconds on a base built to defeat the search.
inline constexpr std::uint64_t kMaxExclusivityPasses = 5'000'000;

/// What wyznacz_reguly and testuj leave for pisz_wnioski.
struct ExclusivityRun {
    /// regula_do_testowania, in the order picked.
    std::vector<RuleToTest> reguly;
    /// Picked rules that have no flattening: they can fire in no state.
    std::vector<std::int32_t> bez_splaszczenia;
    /// The picked rule whose first flattening was not found within the pass
    /// budget; the states are not run then.
    std::optional<std::int32_t> przerwana;
    ExclusionOutcome outcome;
};

/// wyznacz_reguly and testuj: the first flattening of each picked rule
/// (positions in the store's rule order), then every state. The caller has
/// made sure the base may be flattened (flattening_refused). Reports each
/// picked rule to `progress`, if given (port::Cancelled when stopped).
ExclusivityRun wyznacz_wykluczenie(FlatteningBase& base, Exclusion opcja, const std::vector<std::size_t>& wybrane,
                                   std::uint64_t passBudget = kMaxExclusivityPasses,
                                   port::Progress* progress = nullptr);

/// One row of the table pisz_wnioski decides by.
struct WierszWnioskow {
    std::string_view naglowek;   // message-window heading
    std::string_view tytul;      // title of each rule's note
    bool doJednego;         // the positive "exclusive to one" row, with its own line forms
    bool operator==(const WierszWnioskow&) const = default;
};
/// The first row matching the question, its "NO" record, COMMON and DIFF;
/// nothing when no row matches.
std::optional<WierszWnioskow> wiersz_wnioskow(Exclusion opcja, bool no, bool common, bool diff);

/// tworz_numer_wniosek: one picking-list entry per rule, in rule order.
std::vector<std::string> tworz_numer_wniosek(const kb::Store& store);

/// analiza_bazy_wiedzy: "Testing  rule conclusions for mutual exclusion to
/// one" (10138), "... to none" (10139) and "... for non-exclusion" (10140).
void analiza_bazy_wiedzy(AppState& app, Exclusion opcja, std::uint64_t passBudget = kMaxExclusivityPasses);

}  // namespace torv::verify
