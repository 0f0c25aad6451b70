// What the rule-base diagnoses leave behind: findings the menu reports read
// and verdicts that gate later commands. A rule-base load clears them all.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
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
    bool operator==(const ExternalFindings&) const = default;
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
    bool operator==(const InternalFindings&) const = default;
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
    bool operator==(const RedundancyFindings&) const = default;
};

/// sprzecznosc_2: rule `n` is jointly inconsistent with constraint `k`.
struct JointInconsistency {
    std::int32_t n = 0;
    std::int32_t k = 0;
    bool operator==(const JointInconsistency&) const = default;
};

/// Joint rule-constraint inconsistencies.
struct JointInconsistencyFindings {
    /// One record per condition found with a later member of its constraint.
    std::vector<JointInconsistency> sprzecznosc_2;
    /// regula_splaszczona_s2: the flattenings that showed one, each once.
    std::vector<FlattenedRule> regula_splaszczona_s2;
    /// The test has run since the last load.
    bool tested = false;
    /// More were met than are kept.
    bool truncated = false;
    bool operator==(const JointInconsistencyFindings&) const = default;
};

/// reguly_nadmiarowe_n2: rules whose flattenings differ only in which member
/// of constraint `k` they require.
struct JointRedundancy {
    Numbers reguly;
    std::int32_t k = 0;
    std::vector<FlattenedRule> splaszczone;
    bool operator==(const JointRedundancy&) const = default;
};

/// Joint rule-constraint redundancies.
struct JointRedundancyFindings {
    std::vector<JointRedundancy> reguly_nadmiarowe_n2;
    /// zbadany_wniosek: conclusion and constraint already found redundant.
    std::vector<std::pair<std::string, std::int32_t>> zbadany_wniosek;
    /// A group was cut at its bound on flattenings.
    bool truncated = false;
    bool operator==(const JointRedundancyFindings&) const = default;
};

/// model_arytmetyczny_sprzeczny: model `n`'s result `r` is one of its own arguments.
struct DirectModelFinding {
    std::int32_t n = 0;
    std::string r;
    bool operator==(const DirectModelFinding&) const = default;
};

/// model_arytmetyczny_sprzeczny_gleboko: model `n`'s result `r` is an argument
/// of the last model of `chain` (which starts with n).
struct DeepModelFinding {
    std::int32_t n = 0;
    Numbers chain;
    std::string r;
    bool operator==(const DeepModelFinding&) const = default;
};

/// model_relacyjny_sprzeczny: relational model `n` concludes its go-ahead condition `c`.
struct RelationalModelFinding {
    std::int32_t n = 0;
    std::string c;
    bool operator==(const RelationalModelFinding&) const = default;
};

/// Model-base inconsistencies.
struct ModelFindings {
    std::vector<DirectModelFinding> model_arytmetyczny_sprzeczny;
    std::vector<DeepModelFinding> model_arytmetyczny_sprzeczny_gleboko;
    std::vector<RelationalModelFinding> model_relacyjny_sprzeczny;
    /// The model base tested: the report names it after the load forgot it.
    std::string nazwa;
    /// The nested search stopped at its work limit.
    bool truncated = false;
    bool operator==(const ModelFindings&) const = default;
};

/// modele_i_reguly_sprzeczne: relational model `n` is jointly inconsistent
/// with rule `m`; `reguly` and `modele` as collected (0 marks, latest first).
struct JointModelRuleFinding {
    std::int32_t n = 0;
    std::int32_t m = 0;
    Numbers reguly;
    Numbers modele;
    bool operator==(const JointModelRuleFinding&) const = default;
};

struct JointModelRuleFindings {
    std::vector<JointModelRuleFinding> modele_i_reguly_sprzeczne;
    std::string nazwa_mo, nazwa_re;
    bool truncated = false;
    bool operator==(const JointModelRuleFindings&) const = default;
};

/// The findings of the diagnoses, one record per diagnosis.
struct RuleBaseFindings {
    ExternalFindings external;
    InternalFindings internal;
    RedundancyFindings redundancy;
    JointInconsistencyFindings jointInconsistency;
    JointRedundancyFindings jointRedundancy;
    ModelFindings model;
    JointModelRuleFindings jointModelRule;
    bool operator==(const RuleBaseFindings&) const = default;
};

}  // namespace torv::verify
