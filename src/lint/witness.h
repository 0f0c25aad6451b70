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
//   model-base inconsistency the chain of models from the result (or the
//                            go-ahead condition) through the arguments back
//                            to itself, each model as written; checked by
//                            walking the chain over the model base.
//   joint model-rule         the chain from the go-ahead condition of the
//   inconsistency            relational model through the rules and models
//                            of the finding back to that condition; checked
//                            the same way.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lint/knowledge_bases.h"
#include "port/user_port.h"
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
std::vector<Witness> witnessesOf(const kb::Store& store, const verify::RuleBaseFindings& findings);
/// The witnesses of the findings of one diagnosis, a redundancy's with the
/// terminal input of its consultation over `ruleFile`.
std::vector<Witness> witnessesOf(const kb::Store& store, const verify::RuleBaseFindings& findings,
                                 port::Diagnosis diagnosis, const std::filesystem::path& ruleFile);
/// The lint code of a diagnosis's findings.
const char* codeOf(port::Diagnosis diagnosis);

/// The witnesses of one knowledge base: its bases loaded with every offer
/// answered yes; redundancies get their consultation script.
std::vector<Witness> witnesses(const KnowledgeBase& kb);

/// The base files loaded in `app`, as a knowledge base of their own.
KnowledgeBase loadedKnowledgeBase(const AppState& app);
/// Every witness as one text for a window: each finding's evidence, and
/// a redundancy's terminal input.
std::string witnessReport(const KnowledgeBase& kb, const std::vector<Witness>& ws);

// ---- the checks ----

/// One record of a chain of records: it concludes (or computes) the name
/// the step before it needs, and needs `needs` itself.
struct ChainStep {
    enum class Kind { Rule, Model };
    Kind kind = Kind::Model;
    std::int32_t numer = 0;
    std::string needs;   // an argument, a go-ahead condition or a condition
    bool operator==(const ChainStep&) const = default;
};

/// Records leading from `start` back to `start`.
struct RecordChain {
    std::string start;
    std::vector<ChainStep> steps;
};

/// Each record of the chain is in the store, concludes the name before it
/// (rules and relational models: that name or its negation; arithmetic
/// models: exactly it, as their result) and needs its `needs`, which for
/// the last one is the start again.
bool closesChain(const kb::Store& store, const RecordChain& chain);
/// The chain of a joint model-rule finding, through the rules and models it
/// lists: from the go-ahead condition of model `n` by rule `m` back to that
/// condition. Empty steps when there is none.
RecordChain modelRuleChain(const kb::Store& store, const verify::JointModelRuleFinding& finding);

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
