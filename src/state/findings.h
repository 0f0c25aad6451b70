// What the rule-base diagnoses leave behind: findings the menu reports read
// and verdicts that gate later commands. A rule-base load clears them all.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace torv::verify {

using Names = std::vector<std::string>;
using Numbers = std::vector<std::int32_t>;

/// reguly_sprzeczne: rule `n` is externally inconsistent; `m` is the rule
/// whose condition closes the loop; `chain` runs from m to n.
struct ExternalFinding {
    std::int32_t n = 0;
    std::int32_t m = 0;
    Numbers chain;
    bool operator==(const ExternalFinding&) const = default;
};

/// External inconsistencies (the verdict itself is kb::Verdicts::sprzecznosc_1z).
struct ExternalFindings {
    std::vector<ExternalFinding> reguly_sprzeczne;
    /// The search stopped at its work limit; the findings are those met so far.
    bool truncated = false;
};

/// A flattened rule kept by a diagnosis, with its normalised rules-used list.
struct FlattenedRule {
    std::int32_t numer = 0;
    std::string wniosek;
    Names warunki;
    Numbers reguly;
    bool operator==(const FlattenedRule&) const = default;
};

/// sprzecznosc_1w: one flattening of rule `numer` and whether it was found
/// contradictory.
struct InternalVerdict {
    std::int32_t numer = 0;
    std::string wniosek;
    bool contradictory = true;
    bool operator==(const InternalVerdict&) const = default;
};

/// Internal inconsistencies.
struct InternalFindings {
    /// regula_splaszczona_1w: the flattenings the report may show.
    std::vector<FlattenedRule> regula_splaszczona_1w;
    /// The surviving per-flattening verdicts, in the order found.
    std::vector<InternalVerdict> sprzecznosc_1w;
    /// sprzecznosc_1_w: an internal inconsistency survived the test.
    bool sprzecznosc_1_w = false;
    /// More contradictory flattenings were met than are kept.
    bool truncated = false;
};

/// reguly_nadmiarowe_n1: a redundant pair of rules, `n` examined first.
struct RedundantPair {
    std::int32_t n = 0;
    std::int32_t m = 0;
    bool operator==(const RedundantPair&) const = default;
};

/// para_splaszczona_n1: the flattenings that show a redundant pair.
struct FlattenedPair {
    std::int32_t n = 0;
    std::string wniosek;
    Names f1;
    Numbers u1;
    std::int32_t m = 0;
    Names f2;
    Numbers u2;
    bool operator==(const FlattenedPair&) const = default;
};

/// Rule redundancies.
struct RedundancyFindings {
    /// jest_nadmiar: a redundancy was found.
    bool jest_nadmiar = false;
    std::vector<RedundantPair> reguly_nadmiarowe_n1;
    std::vector<FlattenedPair> para_splaszczona_n1;
};

/// The findings of the rule-base diagnoses, one record per diagnosis.
struct RuleBaseFindings {
    ExternalFindings external;
    InternalFindings internal;
    RedundancyFindings redundancy;
};

}  // namespace torv::verify
