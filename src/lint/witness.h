// Witnesses of the diagnosis findings: the concrete evidence behind each.
//
//   external inconsistency   the cycle of rules, each concluding a condition
//                            (or its negation) of the next and the last one
//                            of the first, with the askable conditions of the
//                            cycle's rules; checked by walking the cycle.
//   internal inconsistency   the flattening holding a condition and its
//                            negation; checked by finding the pair in it.
//   redundancy               the two flattenings and the assignment making
//                            the larger one hold; shown by a consultation in
//                            which both rules fire to the same conclusion.
//                            Flattenings holding a condition and its negation
//                            can never hold: such a finding is vacuous.
//   joint rule-constraint    the flattening and the two members of the
//   inconsistency            constraint it requires; checked by finding both.
//   joint rule-constraint    the flattenings, equal but for the one member
//   redundancy               of the constraint each requires; checked by
//                            comparing them without those members.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lint/knowledge_bases.h"
#include "state/findings.h"

namespace torv { struct AppState; }
namespace torv::kb { class Store; }

namespace torv::lint {

struct Witness {
    std::string code;                       // the lint code of the finding
    std::vector<std::int32_t> rules;        // the rules concerned, in order
    std::vector<std::string> assignment;    // askable conditions taken true
    std::string text;                       // the evidence, for people
    /// A redundancy resting on flattenings that can never hold.
    bool vacuous = false;
    /// Terminal input for `torv_ae_cli RULE_BASE` showing the finding.
    std::optional<std::string> script;
    /// What the consultation must show: the conclusion both rules reach.
    std::string conclusion;
};

/// The witnesses of the findings the loads left in `app`.
std::vector<Witness> witnessesOf(const AppState& app);

/// The witnesses of one knowledge base: its bases loaded with every offer
/// answered yes; redundancies get their consultation script.
std::vector<Witness> witnesses(const KnowledgeBase& kb);

/// The base files loaded in `app`, as a knowledge base of their own.
KnowledgeBase loadedKnowledgeBase(const AppState& app);
/// Every witness as one text for a window: each finding's evidence, and
/// a redundancy's terminal input.
std::string witnessReport(const KnowledgeBase& kb, const std::vector<Witness>& ws);

// ---- the checks ----

/// The chain (m first, n last) is a cycle through conclusions and conditions.
bool isCycle(const kb::Store& store, const verify::Numbers& chain);
/// A condition whose negation is in the list too; nullopt when none.
std::optional<std::string> contradictoryPair(const verify::Names& conditions);
/// The flattenings are equal but for one member of constraint `k` each.
bool differOnlyByMembers(const kb::Store& store, std::int32_t k, const std::vector<verify::FlattenedRule>& flattenings);
/// Two members of constraint `k` among the conditions; empty when fewer.
std::vector<std::string> constraintMembersIn(const kb::Store& store, std::int32_t k, const verify::Names& conditions);

/// The terminal input of a forward chaining over the rule base `ruleFile`
/// alone, answering each askable condition by the assignment and declining
/// everything else. Built by running that consultation.
std::string consultationScript(const std::filesystem::path& ruleFile, const std::vector<std::string>& assignment);

}  // namespace torv::lint
